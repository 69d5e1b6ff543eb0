// radove-cli with simulation documents: convert between .redu and CSV, and render
// and inspect from a .redu file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "document/CRadoveDoc.h"
#include "tools/PresetCsv.h"

namespace radove::cli {
namespace {

namespace fs = std::filesystem;

struct Result {
  int code;
  std::string out;
  std::string err;
};

Result Cli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = Run(args, out, err);
  return {code, out.str(), err.str()};
}

// A CSV in the form the writer produces, so a round trip must give it back byte
// for byte: Chinese remarks, quoting, negative and large values, hex additional.
constexpr const char* kCanonicalCsv =
    "kind,additional,value,remark\n"
    "data,0,4,红灯\n"
    "cmd,1F,-3,\"comma, and \"\"quotes\"\"\"\n"
    "data,FFFFFFFF,9223372036854775807,\n"
    "cmd,0,0,\" padded \"\n"
    "data,A,2,\"two\nlines\"\n";

class CliDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("radove-cli-doc-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }

  fs::path dir_;
};

TEST_F(CliDocument, CsvThroughReduAndBackIsUnchanged) {
  WriteText(Path("in.csv"), kCanonicalCsv);
  const Result toRedu = Cli({"convert", Path("in.csv"), Path("sim.redu"), "--device", "100090"});
  ASSERT_EQ(toRedu.code, kOk) << toRedu.err;
  EXPECT_EQ(toRedu.out, Path("sim.redu") + ": 5 items of device 100090 (CTrafficRGYColorA)\n");
  const Result toCsv = Cli({"convert", Path("sim.redu"), Path("out.csv")});
  ASSERT_EQ(toCsv.code, kOk) << toCsv.err;
  EXPECT_EQ(ReadText(Path("out.csv")), kCanonicalCsv);
}

TEST_F(CliDocument, WrittenDocumentHasTheExpectedLayout) {
  WriteText(Path("in.csv"), "kind,additional,value,remark\ndata,0,4,红灯\n");
  ASSERT_EQ(Cli({"convert", Path("in.csv"), Path("sim.redu"), "--device", "100090"}).code, kOk);
  const std::string bytes = ReadText(Path("sim.redu"));
  std::string expected("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"  // library selection
                       "\xFA\x86\x01\x00"                                  // device 100090
                       "\x11" "CTrafficRGYColorA"                          // class name
                       "\x13" "CTrafficRGYColorA.h"                        // class file name
                       "\x00\x00\x00\x00"                                  // user-created flag
                       "\x01\x00\x00\x00\x01\x00\x00\x00"                  // one list, one item
                       "\x01" "1" "\x01" "1" "\x01" "0" "\x01" "4" "\x01" "4"
                       "\x04\xBA\xEC\xB5\xC6"                              // 红灯 in GBK
                       "\x00\x00\x00\x00"                                  // reserved texts
                       "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00",  // no pins, pairs, properties
                       12 + 4 + 18 + 20 + 4 + 8 + 10 + 5 + 4 + 12);
  EXPECT_EQ(bytes, expected);

  CRadoveDoc doc;
  doc.Load(Path("sim.redu"));
  EXPECT_EQ(doc.ClassName(), "CTrafficRGYColorA");
  EXPECT_EQ(doc.ClassFileName(), "CTrafficRGYColorA.h");
  EXPECT_EQ(doc.UserCreated(), 0);
  EXPECT_EQ(doc.GetLibrarySelection(), LibrarySelection{});
  EXPECT_EQ(doc.Pins(), nullptr);
  EXPECT_EQ(doc.Properties(), nullptr);
}

TEST_F(CliDocument, RenderAndInspectFromReduMatchTheCsvSource) {
  WriteText(Path("in.csv"), "kind,additional,value,remark\ndata,0,4,\ndata,0,3,\n");
  ASSERT_EQ(Cli({"convert", Path("in.csv"), Path("sim.redu"), "--device", "100090"}).code, kOk);

  const Result fromRedu = Cli({"inspect", Path("sim.redu"), "--steps", "1"});
  const Result fromCsv = Cli({"inspect", "--device", "100090", "--preset", Path("in.csv"), "--steps", "1"});
  ASSERT_EQ(fromRedu.code, kOk) << fromRedu.err;
  EXPECT_EQ(fromRedu.out, fromCsv.out);

  for (const char* steps : {"1", "2"}) {
    ASSERT_EQ(Cli({"render", Path("sim.redu"), "--out", Path("a.png"), "--steps", steps}).code, kOk);
    ASSERT_EQ(Cli({"render", "--device", "100090", "--preset", Path("in.csv"), "--out", Path("b.png"),
                   "--steps", steps})
                  .code,
              kOk);
    EXPECT_EQ(ReadText(Path("a.png")), ReadText(Path("b.png"))) << steps << " steps";
  }
  ASSERT_EQ(Cli({"render", Path("sim.redu"), "--out", Path("c.png"), "--steps", "1"}).code, kOk);
  EXPECT_NE(ReadText(Path("a.png")), ReadText(Path("c.png"))) << "the steps reach the picture";
}

TEST_F(CliDocument, ErrorsNameTheFileAndUseTheContractsExitCodes) {
  WriteText(Path("in.csv"), "kind,additional,value,remark\ndata,0,4,\n");
  WriteText(Path("bad.redu"), std::string("\x01\x02\x03", 3));
  WriteText(Path("bad.csv"), "kind,additional,value,remark\nwhat,0,4,\n");
  CRadoveDoc empty;
  empty.Save(Path("empty.redu"));
  DocumentContents unknown;
  unknown.currentDeviceId = 4242;
  {
    const auto bytes = EncodeDocument(unknown);
    std::ofstream(Path("unknown.redu"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  const struct {
    std::vector<std::string> args;
    int code;
    std::string fragment;
  } cases[] = {
      {{"convert", Path("in.csv"), Path("o.redu")}, kUsage, "needs --device CODE"},
      {{"convert", Path("in.csv")}, kUsage, "IN and OUT"},
      {{"convert", Path("in.csv"), Path("o.txt"), "--device", "100090"}, kUsage, "FILE.csv into FILE.redu"},
      {{"convert", Path("empty.redu"), Path("o.csv"), "--device", "100090"}, kUsage, "own device"},
      {{"convert", Path("in.csv"), Path("o.redu"), "--device", "12"}, kUnknownDevice, "12"},
      {{"convert", Path("none.csv"), Path("o.redu"), "--device", "100090"}, kUnreadableInput, Path("none.csv")},
      {{"convert", Path("bad.csv"), Path("o.redu"), "--device", "100090"}, kUnreadableInput, Path("bad.csv") + ":2:"},
      {{"convert", Path("bad.redu"), Path("o.csv")}, kUnreadableInput, Path("bad.redu") + ": "},
      {{"convert", Path("in.csv"), Path("no-dir/o.redu"), "--device", "100090"}, kUnreadableInput, Path("no-dir/o.redu")},
      {{"inspect", Path("bad.redu")}, kUnreadableInput, "ends early at byte 3"},
      {{"inspect", Path("none.redu")}, kUnreadableInput, Path("none.redu")},
      {{"inspect", Path("empty.redu")}, kUnknownDevice, "no device"},
      {{"render", Path("unknown.redu"), "--out", Path("x.png")}, kUnknownDevice, Path("unknown.redu") + ": unknown device type code 4242"},
      {{"inspect", Path("empty.redu"), "--device", "100090"}, kUsage, "not both"},
      {{"inspect", Path("empty.redu"), Path("empty.redu")}, kUsage, "more than one SOURCE"},
      {{"inspect", Path("in.csv")}, kUsage, "--preset"},
  };
  for (const auto& k : cases) {
    const Result r = Cli(k.args);
    EXPECT_EQ(r.code, k.code) << k.args[0] << " " << k.args[1] << "\n" << r.err;
    EXPECT_NE(r.err.find(k.fragment), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
  EXPECT_FALSE(fs::exists(Path("o.redu")));
  EXPECT_FALSE(fs::exists(Path("o.csv")));
}

TEST_F(CliDocument, DocumentWithoutPresetListGivesAnEmptyCsv) {
  DocumentContents c;
  c.currentDeviceId = 100000;
  CRadoveDoc doc;
  doc.LoadFromBytes(EncodeDocument(c));
  doc.Save(Path("bare.redu"));
  const Result r = Cli({"convert", Path("bare.redu"), Path("bare.csv")});
  ASSERT_EQ(r.code, kOk) << r.err;
  EXPECT_EQ(ReadText(Path("bare.csv")), "kind,additional,value,remark\n");
}

// The example simulation the build makes from data/examples.
TEST_F(CliDocument, ExampleCsvConvertsAndReadsBack) {
  const fs::path source = RADOVE_SOURCE_DIR;
  const std::string csv = (source / "data/examples/traffic_light.csv").string();
  ASSERT_TRUE(fs::exists(csv)) << csv;
  ASSERT_EQ(Cli({"convert", csv, Path("t.redu"), "--device", "100090"}).code, kOk);
  ASSERT_EQ(Cli({"convert", Path("t.redu"), Path("t.csv")}).code, kOk);
  EXPECT_EQ(ReadPresetCsvFile(Path("t.csv")), ReadPresetCsvFile(csv));
}

}  // namespace
}  // namespace radove::cli
