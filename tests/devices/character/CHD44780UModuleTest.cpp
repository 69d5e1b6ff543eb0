#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <typeinfo>

#include "core/Catalogue.h"
#include "devices/CDeviceFactory.h"
#include "devices/character/CHD44780UModule.h"
#include "render/QtCanvas.h"

namespace radove {
namespace {

Colour PixelAt(const ImageTarget& t, int x, int y) { return FromQColor(t.Image().pixelColor(x, y)); }

// Feeds preset items (kind, value) and runs the queue dry, as a run does.
void Feed(CDeviceBase& d, std::initializer_list<std::pair<int, std::int64_t>> items) {
  for (auto [kind, value] : items) d.FeedItem(kind, 0, 0, value, 0);
  while (d.QueuedItems() > 0) d.ProcessNextItem();
}

constexpr int kCmd = 0, kData = 1;

// A user glyph whose dots tell rows and columns apart.
constexpr std::array<int, 8> kGlyph = {0x10, 0x08, 0x04, 0x02, 0x01, 0x1F, 0x11, 0x0A};

// Defines CGRAM glyph 3 as kGlyph through the device's own input words.
void DefineGlyph(CDeviceBase& d) {
  d.FeedItem(kCmd, 0, 0, 0x40 | 3 << 3, 0);
  for (int row : kGlyph) d.FeedItem(kData, 0, 0, row, 0);
  while (d.QueuedItems() > 0) d.ProcessNextItem();
}

// Every dot of the glyph drawn at (panel line, column) must be lit exactly where
// the geometry puts it: x = content left + (6 column + dot) w, y = content top +
// (10 line + row) h, with w = h = 10 on every module.
void ExpectGlyphAt(const CHD44780UModule& m, const ImageTarget& img, int line, int column) {
  const CSurfaceBase& s = m.Surface();
  const Colour lit = s.pixelColour;
  const Colour panel = s.panelColourActive;
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 5; ++c) {
      const int x = s.contentLeft + (6 * column + c) * 10;
      const int y = s.contentTop + (10 * line + r) * 10;
      const bool on = (kGlyph[static_cast<std::size_t>(r)] >> (4 - c)) & 1;
      // Both corners of the dot: the rectangle covers [x, x+10) x [y, y+10).
      for (auto [px, py] : {std::pair{x, y}, std::pair{x + 9, y + 9}, std::pair{x + 5, y + 5}}) {
        EXPECT_EQ(PixelAt(img, px, py), on ? lit : panel)
            << "line " << line << " column " << column << " row " << r << " dot " << c;
      }
    }
    // The gap column after the five dots stays dark.
    EXPECT_EQ(PixelAt(img, s.contentLeft + (6 * column + 5) * 10 + 5, s.contentTop + (10 * line + r) * 10 + 5),
              panel);
  }
}

TEST(LcmModuleTest, EveryModuleCodeCreatesItsNamedClassAndRenders) {
  const std::map<int, std::function<bool(CDeviceBase*)>> named = {
      {700000, [](CDeviceBase* d) { return dynamic_cast<CLCM1601HD44780U*>(d) != nullptr; }},
      {700001, [](CDeviceBase* d) { return dynamic_cast<CLCM1602HD44780U*>(d) != nullptr; }},
      {700002, [](CDeviceBase* d) { return dynamic_cast<CLCM2002HD44780U*>(d) != nullptr; }},
      {700003, [](CDeviceBase* d) { return dynamic_cast<CLCM3202HD44780U*>(d) != nullptr; }},
      {700004, [](CDeviceBase* d) { return dynamic_cast<CLCM4002HD44780U*>(d) != nullptr; }},
      {700005, [](CDeviceBase* d) { return dynamic_cast<CLCM1604HD44780U*>(d) != nullptr; }},
      {700006, [](CDeviceBase* d) { return dynamic_cast<CLCM2004HD44780U*>(d) != nullptr; }},
      {700010, [](CDeviceBase* d) { return dynamic_cast<CLCM1601HD44780UUART*>(d) != nullptr; }},
      {700020, [](CDeviceBase* d) { return dynamic_cast<CLCM1602HD44780UUART*>(d) != nullptr; }},
      {700030, [](CDeviceBase* d) { return dynamic_cast<CLCM2002HD44780UUART*>(d) != nullptr; }},
      {700040, [](CDeviceBase* d) { return dynamic_cast<CLCM3202HD44780UUART*>(d) != nullptr; }},
      {700050, [](CDeviceBase* d) { return dynamic_cast<CLCM4002HD44780UUART*>(d) != nullptr; }},
      {700060, [](CDeviceBase* d) { return dynamic_cast<CLCM1604HD44780UUART*>(d) != nullptr; }},
      {700070, [](CDeviceBase* d) { return dynamic_cast<CLCM2004HD44780UUART*>(d) != nullptr; }},
  };
  ASSERT_EQ(LcmVariants().size(), 14u);
  CDeviceFactory factory;
  for (const LcmVariant& v : LcmVariants()) {
    SCOPED_TRACE(v.className);
    ASSERT_NE(FindCatalogueEntry(v.typeCode), nullptr);
    EXPECT_STREQ(FindCatalogueEntry(v.typeCode)->className, v.className);
    std::unique_ptr<CDeviceBase> device = factory.Create(DeviceColours{}, v.typeCode);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(factory.LastTypeCode(), v.typeCode);
    ASSERT_TRUE(named.count(v.typeCode));
    EXPECT_TRUE(named.at(v.typeCode)(device.get()));
    auto& module = dynamic_cast<CHD44780UModule&>(*device);
    EXPECT_EQ(module.Surface().canvasWidth, v.canvasWidth);
    EXPECT_EQ(module.Surface().canvasHeight, v.canvasHeight);
    EXPECT_EQ(device->BuildInspection().model, v.typeCode == 700000 ? "LCM1601" : "LCM1602");

    // A user glyph at the last column of the last panel line, written through the
    // module's own bus (serial modules take a 0xFF before each instruction).
    auto cmd = [&](int byte) {
      if (v.serial) device->FeedItem(kCmd, 0, 0, 0xFF, 0);
      device->FeedItem(kCmd, 0, 0, byte, 0);
    };
    auto data = [&](int byte) { device->FeedItem(kData, 0, 0, byte, 0); };
    cmd(0x38);
    cmd(0x0C);
    cmd(0x01);
    cmd(0x40 | 3 << 3);
    for (int row : kGlyph) data(row);
    const int line = v.panelLines - 1, column = v.columns - 1;
    const int cell = module.CellAt(line, column);
    cmd(0x80 | (cell < 40 ? cell : cell - 40 + 0x40));
    data(3);
    while (device->QueuedItems() > 0) device->ProcessNextItem();

    ImageTarget stopped(v.canvasWidth, v.canvasHeight);
    device->Render(stopped, kModeStopped);
    EXPECT_EQ(PixelAt(stopped, v.canvasWidth / 2, v.canvasHeight / 2), module.Surface().panelColourStopped);
    ImageTarget active(v.canvasWidth, v.canvasHeight);
    device->Render(active, kModeActive);
    ExpectGlyphAt(module, active, line, column);
  }
}

TEST(LcmModuleTest, UserGlyphDotsLandWhereTheGeometryPutsThemOn16x2And20x4) {
  {
    CLCM1602HD44780U lcm{DeviceColours{}};
    const CSurfaceBase& s = lcm.Surface();
    EXPECT_EQ(s.contentRight - s.contentLeft, 940);
    EXPECT_EQ(s.contentBottom - s.contentTop, 210);
    Feed(lcm, {{kCmd, 0x38}, {kCmd, 0x0C}, {kCmd, 0x01}});
    DefineGlyph(lcm);
    Feed(lcm, {{kCmd, 0x80 | 2}, {kData, 3}, {kCmd, 0xC0 | 7}, {kData, 0x0B}});  // 0x0B = glyph 3
    ImageTarget img(s.canvasWidth, s.canvasHeight);
    lcm.Render(img, kModeActive);
    ExpectGlyphAt(lcm, img, 0, 2);
    ExpectGlyphAt(lcm, img, 1, 7);
  }
  {
    // Four-line panel: panel line 3 continues DDRAM line 1 at cell 20, line 4
    // continues DDRAM line 2 at cell 60.
    CLCM2004HD44780U lcm{DeviceColours{}};
    const CSurfaceBase& s = lcm.Surface();
    Feed(lcm, {{kCmd, 0x38}, {kCmd, 0x0C}, {kCmd, 0x01}});
    DefineGlyph(lcm);
    Feed(lcm, {{kCmd, 0x80 | 20}, {kData, 3}, {kCmd, 0xC0 | 39}, {kData, 3}, {kCmd, 0x80 | 19}, {kData, 3}});
    ImageTarget img(s.canvasWidth, s.canvasHeight);
    lcm.Render(img, kModeActive);
    ExpectGlyphAt(lcm, img, 2, 0);   // cell 20
    ExpectGlyphAt(lcm, img, 3, 19);  // cell 79
    ExpectGlyphAt(lcm, img, 0, 19);  // cell 19
  }
}

TEST(LcmModuleTest, PanelLinesFollowTheDisplayShiftModulo40) {
  CLCM2004HD44780U lcm{DeviceColours{}};
  struct Case {
    int shift;
    int line, column, cell;
  } cases[] = {{0, 0, 0, 0},   {0, 1, 0, 40},  {0, 2, 0, 20},  {0, 3, 19, 79},
               {5, 0, 0, 5},   {5, 2, 19, 4},  {5, 3, 19, 44}, {39, 1, 0, 79},
               {79, 0, 0, 39}, {45, 0, 1, 6}};
  for (const Case& c : cases) {
    lcm.Chip().displayShift = c.shift;
    EXPECT_EQ(lcm.CellAt(c.line, c.column), c.cell) << "shift " << c.shift;
  }
  // A character at DDRAM address 0x10 of a 16x4 module goes to cell 16, which no
  // panel line shows.
  CLCM1604HD44780U small{DeviceColours{}};
  Feed(small, {{kCmd, 0x38}, {kCmd, 0x90}, {kData, 'X'}});
  EXPECT_EQ(small.Chip().ddram[16], 'X');
  for (int line = 0; line < 4; ++line) {
    for (int column = 0; column < 16; ++column) EXPECT_NE(small.CellAt(line, column), 16);
  }
  EXPECT_EQ(small.CellAt(2, 0), 20);
}

TEST(LcmModuleTest, StoppedModeAndDisplayOffShowOnlyThePanel) {
  const DeviceColours colours{0x111111, 0x222222, 0x333333, 0x444444, 0x0000FF};
  CLCM1602HD44780U lcm{colours};
  // Display on without a clear: the power-on text shows.
  Feed(lcm, {{kCmd, 0x0C}});
  ImageTarget on(1000, 290);
  lcm.Render(on, kModeActive);
  int lit = 0;
  for (int y = 40; y < 250; y += 10) {
    for (int x = 40; x < 960; x += 10) lit += PixelAt(on, x + 5, y + 5) == 0x0000FFu;
  }
  EXPECT_GT(lit, 100);
  EXPECT_EQ(PixelAt(on, 3, 3), 0x222222u);

  ImageTarget stopped(1000, 290);
  lcm.Render(stopped, kModeStopped);
  ImageTarget off(1000, 290);
  Feed(lcm, {{kCmd, 0x08}});
  lcm.Render(off, kModeActive);
  for (int y = 40; y < 250; y += 10) {
    for (int x = 40; x < 960; x += 10) {
      ASSERT_EQ(PixelAt(stopped, x + 5, y + 5), 0x333333u);
      ASSERT_EQ(PixelAt(off, x + 5, y + 5), 0x444444u);
    }
  }
}

TEST(LcmModuleTest, SerialModulesIgnoreTheItemKindAndNeedTheFFPrefix) {
  CLCM1602HD44780UUART uart{DeviceColours{}};
  // A command item without the prefix is written as a character.
  Feed(uart, {{kCmd, 0x01}});
  EXPECT_EQ(uart.Chip().ddram[0], 0x01);
  // 0xFF 0xFF 0x01 clears the display once.
  uart.FeedItem(kData, 0, 0, 0xFF, 0);
  uart.FeedItem(kCmd, 0, 0, 0xFF, 0);
  uart.FeedItem(kData, 0, 0, 0x01, 0);
  EXPECT_FALSE(uart.ProcessNextItem());
  EXPECT_FALSE(uart.ProcessNextItem());
  EXPECT_TRUE(uart.ProcessNextItem());
  EXPECT_EQ(uart.Chip().ddram[0], 0x20);
  EXPECT_EQ(uart.Chip().AC, 0);
  Feed(uart, {{kCmd, 'H'}, {kData, 'i'}});
  EXPECT_EQ(uart.Chip().ddram[0], 'H');
  EXPECT_EQ(uart.Chip().ddram[1], 'i');

  // The parallel module of the same size reads bit 8 instead.
  CLCM1602HD44780U parallel{DeviceColours{}};
  Feed(parallel, {{kCmd, 0x01}, {kData, 'H'}});
  EXPECT_EQ(parallel.Chip().ddram[0], 'H');
  EXPECT_FALSE(parallel.ProcessNextItem());  // empty queue
}

TEST(LcmModuleTest, InspectionPublishesTheChipGroupsAndMemories) {
  CLCM4002HD44780U lcm{DeviceColours{}};
  Feed(lcm, {{kCmd, 0x38}, {kCmd, 0xC0}});
  const InspectionRoot& root = lcm.BuildInspection();
  EXPECT_EQ(root.model, "LCM1602");
  ASSERT_EQ(root.chips.size(), 1u);
  const ChipDescriptor& chip = *root.chips[0];
  EXPECT_EQ(chip.name, "HD44780U");
  EXPECT_EQ(chip.decoded, "");
  ASSERT_EQ(chip.registers.size(), 2u);
  EXPECT_EQ(chip.registers[0].entries[0].value, "0x28");
  EXPECT_EQ(chip.memory.size(), 18u);
  // Building again replaces, never appends.
  lcm.BuildInspection();
  EXPECT_EQ(root.chips.size(), 1u);
  EXPECT_EQ(chip.registers.size(), 2u);
  EXPECT_EQ(chip.memory.size(), 18u);
  // The snapshot the view keeps is a plain copy.
  const InspectionSnapshot snap = InspectionSnapshot::From(root);
  ASSERT_EQ(snap.chips.size(), 1u);
  EXPECT_EQ(snap.chips[0].memory[1].entries[0].name, "0x40");
}

TEST(LcmModuleTest, ResetReturnsToPowerOnAndCountsItems) {
  CLCM1602HD44780U lcm{DeviceColours{}};
  ItemCounter counter;
  lcm.AttachItemCounter(&counter);
  Feed(lcm, {{kCmd, 0x38}, {kCmd, 0x0C}, {kCmd, 0x01}, {kData, 'Z'}});
  EXPECT_EQ(counter.Value(), 5);
  lcm.Reset();
  EXPECT_EQ(lcm.Chip().ddram[0], ' ');
  EXPECT_EQ(lcm.Chip().ddram[1], 'j');
  EXPECT_FALSE(lcm.Chip().D);
  EXPECT_TRUE(lcm.NeedsIdleRedraw());
  lcm.SetIdleRedraw(false);
  EXPECT_FALSE(lcm.NeedsIdleRedraw());
  lcm.NotifyRunState(3);
  EXPECT_EQ(lcm.RunState(), 3);
}

// A device that shows its state as text on an embedded 20x4 module, the way the
// logic, memory and clock devices do.
class CTextProbe : public CDeviceBase {
 public:
  explicit CTextProbe(const DeviceColours& colours)
      : CDeviceBase(colours), lcm_(std::make_unique<CLCM2004HD44780U>(colours)) {
    CTextProbe::Reset();
    surface_.LayoutFrame(lcm_->Geometry());
  }
  void Reset() override {
    count_ = 0;
    lcm_->ResetForText();
    WriteText();
  }
  void Render(RenderTarget& target, int mode) override {
    lcm_->RenderFor(target, mode, false, [this] { DrawContents(); });
  }
  void DrawContents() override {
    WriteText();
    lcm_->DrawContents();
  }
  void FeedItem(int, std::uint32_t, int, std::int64_t value, int) override { PushItem(value); }
  bool ProcessNextItem(std::int32_t = 0) override {
    if (Queue().Empty()) return false;
    CountItem();
    count_ += static_cast<int>(Queue().Pop());
    return true;
  }
  const CLCM2004HD44780U& Module() const { return *lcm_; }

  // Line A: "COUNT nnn" and a terminator; line B: blanks. Lines A and B fill panel
  // lines 1/3 and 2/4.
  std::array<std::uint8_t, 80> Codes() const {
    std::array<std::uint8_t, 80> codes;
    codes.fill(' ');
    const std::string a = "COUNT " + std::to_string(count_);
    std::copy(a.begin(), a.end(), codes.begin());
    codes[a.size()] = 0;
    codes[20] = 'L';
    codes[79] = 'Z';
    return codes;
  }

 private:
  void WriteText() { lcm_->WriteText(Codes()); }
  std::unique_ptr<CLCM2004HD44780U> lcm_;
  int count_ = 0;
};

TEST(LcmEmbeddingTest, CompositeDrawsItsTextExactlyAsTheModuleDrivenByItsBus) {
  CTextProbe probe{DeviceColours{}};
  Feed(probe, {{kData, 40}, {kData, 2}});
  ImageTarget composite(1250, 480);
  probe.Render(composite, kModeActive);

  const HD44780UChip& chip = probe.Module().Chip();
  const auto codes = probe.Codes();
  for (int i = 0; i < 80; ++i) EXPECT_EQ(chip.ddram[static_cast<std::size_t>(i)], codes[static_cast<std::size_t>(i)]);
  EXPECT_EQ(chip.AC, 40);  // the ring brought AC back to the start of line 2
  EXPECT_TRUE(chip.D);
  EXPECT_FALSE(chip.C);
  EXPECT_FALSE(chip.blinkRunning);
  EXPECT_EQ(probe.Surface().canvasWidth, 1250);

  // The same bytes sent to a stand-alone module through its input words.
  CLCM2004HD44780U direct{DeviceColours{}};
  Feed(direct, {{kCmd, 0x38}, {kCmd, 0x01}, {kCmd, 0x0C}, {kCmd, 0x80}});
  for (int i = 0; i < 40; ++i) direct.FeedItem(kData, 0, 0, codes[static_cast<std::size_t>(i)], 0);
  direct.FeedItem(kCmd, 0, 0, 0xC0, 0);
  for (int i = 40; i < 80; ++i) direct.FeedItem(kData, 0, 0, codes[static_cast<std::size_t>(i)], 0);
  while (direct.QueuedItems() > 0) direct.ProcessNextItem();
  ImageTarget reference(1250, 480);
  direct.Render(reference, kModeActive);
  EXPECT_TRUE(composite.Image() == reference.Image());

  // Stopped: the composite shows only the module's empty panel.
  ImageTarget stopped(1250, 480), emptyPanel(1250, 480);
  probe.Render(stopped, kModeStopped);
  direct.Render(emptyPanel, kModeStopped);
  EXPECT_TRUE(stopped.Image() == emptyPanel.Image());
}

}  // namespace
}  // namespace radove
