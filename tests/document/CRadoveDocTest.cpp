// The document as the view and the run control use it: lifecycle, the per-device
// maps, the model, and files that fail to open or save.

#include "document/CRadoveDoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "document/Archive.h"
#include "document/DocumentTestData.h"

namespace radove {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class ImmediateHost : public SimulationHost {
 public:
  void RequestRedraw(std::shared_ptr<HostReply> reply) override { reply->Complete(); }
  void StepExecuted(std::shared_ptr<HostReply> reply) override { reply->Complete(); }
};

class DocFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("radove-doc-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static void WriteBytes(const std::string& path, const Bytes& b) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  }
  std::size_t FilesInDir() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

// A document holding RichContents with a model, as after opening a file.
void Open(CRadoveDoc& doc, const DocumentContents& c) {
  doc.LoadFromBytes(EncodeDocument(c));
  doc.TakeDeviceReload();
  doc.TakePanesReset();
  doc.CreateDeviceModel(DeviceColours{});
}

TEST(CRadoveDoc, NewDocumentIsEmptyAndUnmodified) {
  CRadoveDoc doc;
  Open(doc, test::RichContents());
  doc.SetModified();
  doc.NewDocument();
  EXPECT_EQ(doc.Contents(), DocumentContents{});
  EXPECT_EQ(doc.CurrentDeviceId(), -1);
  EXPECT_EQ(doc.Device(), nullptr);
  EXPECT_EQ(doc.Title(), "新的仿真");
  EXPECT_TRUE(doc.PathName().empty());
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(doc.TakePanesReset());
  EXPECT_FALSE(doc.PanesResetPending());
}

TEST(CRadoveDoc, ChoosingAnotherDeviceDropsTheOldEntries) {
  CRadoveDoc doc;
  Open(doc, test::RichContents());
  ASSERT_NE(doc.Presets(), nullptr);
  EXPECT_FALSE(doc.ChooseDevice(100090)) << "the current device is kept as it is";
  EXPECT_FALSE(doc.IsModified());
  EXPECT_NE(doc.Presets(), nullptr);

  EXPECT_TRUE(doc.ChooseDevice(100000));
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.CurrentDeviceId(), 100000);
  EXPECT_TRUE(doc.Contents().presetLists.empty());
  EXPECT_TRUE(doc.Contents().pinLists.empty());
  EXPECT_TRUE(doc.Contents().pairTables.empty());
  EXPECT_TRUE(doc.Contents().propertySets.empty());
  EXPECT_EQ(doc.PresetListFor(100090), nullptr);
}

TEST(CRadoveDoc, SettersStoreUnderTheCurrentDevice) {
  CRadoveDoc doc;
  doc.ChooseDevice(100000);
  doc.SetModified(false);
  doc.SetPresets({MakeDataItem(1, true, 0, 1)});
  doc.SetPins({PinRecord{}});
  doc.SetPairs({{1, 2}});
  doc.SetProperties({{0x10000u, "x"}});
  EXPECT_FALSE(doc.IsModified()) << "the caller marks the change";
  const DocumentContents& c = doc.Contents();
  EXPECT_EQ(c.presetLists.count(100000), 1u);
  EXPECT_EQ(c.pinLists.count(100000), 1u);
  EXPECT_EQ(c.pairTables.count(100000), 1u);
  EXPECT_EQ(c.propertySets.count(100000), 1u);
  EXPECT_EQ(doc.PresetListFor(100000), doc.Presets());
  ASSERT_NE(doc.MutableProperties(), nullptr);
  (*doc.MutableProperties())[0x10000u] = "y";
  EXPECT_EQ(doc.Properties()->at(0x10000u), "y");
}

TEST(CRadoveDoc, LoadRaisesDeviceReloadAndMarksUnmodified) {
  CRadoveDoc doc;
  doc.SetModified();
  doc.LoadFromBytes(EncodeDocument(test::RichContents()));
  EXPECT_EQ(doc.Contents(), test::RichContents());
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(doc.TakeDeviceReload());
  EXPECT_FALSE(doc.DeviceReloadPending());
  EXPECT_EQ(doc.Device(), nullptr) << "the view re-creates the model";
}

TEST(CRadoveDoc, LoadingAFileWithoutDeviceRaisesPanesReset) {
  CRadoveDoc doc;
  CRadoveDoc empty;
  doc.LoadFromBytes(empty.SaveToBytes());
  EXPECT_TRUE(doc.PanesResetPending());
  EXPECT_TRUE(doc.DeviceReloadPending());
}

TEST(CRadoveDoc, ModelGetsTheStoredPropertiesOrMakesDefaults) {
  DocumentContents c = test::RichContents();
  c.propertySets.clear();
  CRadoveDoc doc;
  doc.LoadFromBytes(EncodeDocument(c));
  CDeviceBase* device = doc.CreateDeviceModel(DeviceColours{});
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(doc.Device(), device);
  EXPECT_NE(doc.Properties(), nullptr) << "the device's own set is stored";

  doc.ChooseDevice(999);
  EXPECT_EQ(doc.CreateDeviceModel(DeviceColours{}), nullptr);
  EXPECT_EQ(doc.Device(), nullptr);
}

TEST(CRadoveDoc, RunControlReadsThePresetList) {
  CRadoveDoc doc;
  Open(doc, test::RichContents());
  ImmediateHost host;
  Simulation sim(doc, host);
  doc.AttachSimulation(&sim);
  sim.LoadItems(doc.CurrentDeviceId(), true);
  EXPECT_EQ(doc.Device()->QueuedItems(), test::RichContents().presetLists.at(100090).size());
  doc.AttachSimulation(nullptr);
}

// Clearing the contents while a run goes on stops it before the model goes away.
TEST(CRadoveDoc, ClearContentsStopsARunningSimulation) {
  CRadoveDoc doc;
  Open(doc, test::RichContents());
  ImmediateHost host;
  Simulation sim(doc, host);
  doc.AttachSimulation(&sim);
  sim.SetTiming({1, 1, 1});
  sim.Run();
  ASSERT_TRUE(sim.WorkerPresent());
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  doc.ClearContents();
  EXPECT_EQ(sim.State(), kStopped);
  EXPECT_FALSE(sim.WorkerPresent());
  EXPECT_FALSE(sim.StepMode());
  EXPECT_EQ(sim.Counter().Value(), 1);
  EXPECT_EQ(doc.Device(), nullptr);
  doc.AttachSimulation(nullptr);
}

TEST(CRadoveDoc, ReplacingTheModelStopsARun) {
  CRadoveDoc doc;
  Open(doc, test::RichContents());
  ImmediateHost host;
  Simulation sim(doc, host);
  doc.AttachSimulation(&sim);
  sim.Run();
  doc.CreateDeviceModel(DeviceColours{});
  EXPECT_EQ(sim.State(), kStopped);
  EXPECT_FALSE(sim.WorkerPresent());
  doc.AttachSimulation(nullptr);
}

TEST_F(DocFiles, SaveThenLoadRestoresEverything) {
  CRadoveDoc doc;
  Open(doc, test::RichContents());
  doc.SetModified();
  const std::string path = Path("交通灯.redu");
  doc.Save(path);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.PathName(), path);
  EXPECT_EQ(doc.Title(), "交通灯.redu");
  EXPECT_EQ(ReadBytes(path), EncodeDocument(test::RichContents()));
  EXPECT_EQ(FilesInDir(), 1u) << "no temporary file is left behind";

  CRadoveDoc other;
  other.Load(path);
  EXPECT_EQ(other.Contents(), test::RichContents());
  EXPECT_EQ(other.Title(), "交通灯.redu");
}

// What the user had before a failed open is still there, exactly.
TEST_F(DocFiles, FailedOpenKeepsTheOpenDocument) {
  CRadoveDoc doc;
  Open(doc, test::RichContents());
  doc.SetModified();
  const std::string good = Path("good.redu");
  doc.Save(good);
  doc.SetModified();
  const CDeviceBase* device = doc.Device();
  const Bytes full = EncodeDocument(test::RichContents());

  for (std::size_t cut : {std::size_t{0}, std::size_t{3}, std::size_t{20}, std::size_t{57},
                          full.size() / 2, full.size() - 1}) {
    const std::string bad = Path("cut.redu");
    WriteBytes(bad, Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)));
    try {
      doc.Load(bad);
      ADD_FAILURE() << "a file cut at " << cut << " was opened";
    } catch (const DocumentError& e) {
      EXPECT_EQ(e.Path(), bad);
      EXPECT_EQ(std::string(e.what()).rfind(bad + ": ", 0), 0u) << e.what();
      EXPECT_NE(e.Reason().find("byte"), std::string::npos) << e.what();
    }
    EXPECT_EQ(doc.Contents(), test::RichContents());
    EXPECT_EQ(doc.Device(), device);
    EXPECT_EQ(doc.PathName(), good);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.DeviceReloadPending());
    EXPECT_FALSE(doc.PanesResetPending());
  }
  EXPECT_THROW(doc.Load(Path("missing.redu")), DocumentError);
  EXPECT_THROW(doc.Load(dir_.string()), DocumentError);
  EXPECT_EQ(doc.Contents(), test::RichContents());
}

TEST_F(DocFiles, FailedOpenDoesNotStopTheRun) {
  CRadoveDoc doc;
  Open(doc, test::RichContents());
  ImmediateHost host;
  Simulation sim(doc, host);
  doc.AttachSimulation(&sim);
  sim.Run();
  WriteBytes(Path("bad.redu"), {1, 2, 3});
  EXPECT_THROW(doc.Load(Path("bad.redu")), DocumentError);
  EXPECT_EQ(sim.State(), kRunning);
  sim.Stop();
  doc.AttachSimulation(nullptr);
}

// A save that cannot be completed leaves the old file as it was.
TEST_F(DocFiles, FailedSaveKeepsTheOldFile) {
  CRadoveDoc doc;
  Open(doc, test::RichContents());
  const std::string path = Path("sim.redu");
  doc.Save(path);
  const Bytes before = ReadBytes(path);

  PresetList items = *doc.Presets();
  items[2].remark = "no GBK form: 😀";
  doc.SetPresets(items);
  doc.SetModified();
  try {
    doc.Save(path);
    FAIL() << "saved";
  } catch (const DocumentError& e) {
    const std::string m = e.what();
    EXPECT_NE(m.find("U+1F600"), std::string::npos) << m;
    EXPECT_NE(m.find("the preset section (item 3 of 20)"), std::string::npos) << m;
  }
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(FilesInDir(), 1u);

  EXPECT_THROW(doc.Save(Path("no-such-folder/sim.redu")), DocumentError);
  EXPECT_THROW(doc.Save(dir_.string()), DocumentError);
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(DocFiles, SavingThroughALinkUpdatesItsTarget) {
  CRadoveDoc doc;
  doc.Save(Path("real.redu"));
  fs::create_symlink(Path("real.redu"), Path("link.redu"));
  Open(doc, test::RichContents());
  doc.Save(Path("link.redu"));
  EXPECT_TRUE(fs::is_symlink(Path("link.redu")));
  EXPECT_EQ(ReadBytes(Path("real.redu")), EncodeDocument(test::RichContents()));
}

}  // namespace
}  // namespace radove
