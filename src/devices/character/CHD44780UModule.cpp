#include "devices/character/CHD44780UModule.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace radove {
namespace {

// The model name is "LCM1601" for the parallel 16x1 module only; every other module
// reports "LCM1602", whatever its size.
constexpr LcmVariant kVariants[] = {
    {700000, "CLCM1601HD44780U", 16, 1, false, "LCM1601", 1000, 180},
    {700001, "CLCM1602HD44780U", 16, 2, false, "LCM1602", 1000, 290},
    {700002, "CLCM2002HD44780U", 20, 2, false, "LCM1602", 1250, 290},
    {700003, "CLCM3202HD44780U", 32, 2, false, "LCM1602", 2000, 290},
    {700004, "CLCM4002HD44780U", 40, 2, false, "LCM1602", 2460, 290},
    {700005, "CLCM1604HD44780U", 16, 4, false, "LCM1602", 1000, 480},
    {700006, "CLCM2004HD44780U", 20, 4, false, "LCM1602", 1250, 480},
    {700010, "CLCM1601HD44780UUART", 16, 1, true, "LCM1602", 1000, 180},
    {700020, "CLCM1602HD44780UUART", 16, 2, true, "LCM1602", 1000, 290},
    {700030, "CLCM2002HD44780UUART", 20, 2, true, "LCM1602", 1250, 290},
    {700040, "CLCM3202HD44780UUART", 32, 2, true, "LCM1602", 2000, 290},
    {700050, "CLCM4002HD44780UUART", 40, 2, true, "LCM1602", 2460, 290},
    {700060, "CLCM1604HD44780UUART", 16, 4, true, "LCM1602", 1000, 480},
    {700070, "CLCM2004HD44780UUART", 20, 4, true, "LCM1602", 1250, 480},
};

// Panel margins, content insets and corners are the same on every module; with
// them every module draws dots of 10 x 10 canvas units.
FrameGeometry GeometryOf(const LcmVariant& v) {
  return FrameGeometry{v.canvasWidth, v.canvasHeight, 10, 20, 10, 20, 20, 20, 20, 20, 10, 10};
}

// Where each panel line starts: the DDRAM line and the offset within it.
struct PanelLineSource {
  int firstCell;
  int offset;
};
constexpr PanelLineSource kPanelLines[4] = {{0, 0}, {40, 0}, {0, 20}, {40, 20}};

}  // namespace

std::span<const LcmVariant> LcmVariants() { return kVariants; }

const LcmVariant& LcmVariantOf(int typeCode) {
  for (const LcmVariant& v : kVariants) {
    if (v.typeCode == typeCode) return v;
  }
  throw std::out_of_range("no character module has type code " + std::to_string(typeCode));
}

CHD44780UModule::CHD44780UModule(const DeviceColours& colours, const LcmVariant& variant)
    : CDeviceBase(colours), variant_(variant) {
  chip_.AttachTimerLock([this] { return Lock(); });
  CHD44780UModule::Reset();
  surface_.LayoutFrame(geometry_);
}

// The blink timer takes this device's lock, so it must be gone before the lock is.
CHD44780UModule::~CHD44780UModule() { chip_.ShutdownBlink(); }

void CHD44780UModule::Reset() {
  chip_.PowerOn();
  geometry_ = GeometryOf(variant_);
}

void CHD44780UModule::Render(RenderTarget& target, int mode) { RenderStandard(target, mode); }

int CHD44780UModule::CellAt(int panelLine, int column) const {
  const PanelLineSource& src = kPanelLines[panelLine & 3];
  return src.firstCell + (src.offset + chip_.displayShift + column) % HD44780UChip::kLineLength;
}

void CHD44780UModule::DrawContents() {
  Canvas& canvas = CanvasRef();
  canvas.SetBrush(surface_.pixelColour);
  canvas.SetPen(surface_.pixelColour2, 1);
  if (!chip_.D) return;

  const int columns = variant_.columns;
  const int rows = kRowsPerLine * variant_.panelLines;
  const int contentWidth = surface_.contentRight - surface_.contentLeft;
  const int contentHeight = surface_.contentBottom - surface_.contentTop;
  const int w = static_cast<int>(std::lround(contentWidth / (columns * double{kDotsPerCell})));
  const int h = contentHeight / rows;

  for (int line = 0; line < variant_.panelLines; ++line) {
    for (int i = 0; i < columns; ++i) {
      const HD44780UChip::Rows& cell = chip_.cells[static_cast<std::size_t>(CellAt(line, i))];
      const int x = surface_.contentLeft + i * kDotsPerCell * w;
      for (int r = 0; r < kRowsPerLine; ++r) {
        const std::int32_t dots = cell[static_cast<std::size_t>(r)];
        if ((dots & 0x1F) == 0) continue;
        const int y = surface_.contentTop + (kRowsPerLine * line + r) * h;
        for (int c = 0; c < 5; ++c) {
          if ((dots >> (4 - c)) & 1) canvas.Rectangle(x + c * w, y, x + (c + 1) * w, y + h);
        }
      }
    }
  }
}

void CHD44780UModule::FeedItem(int kind, std::uint32_t, int, std::int64_t value, int) {
  PushItem(ByteBusWord(kind, value), 0);
}

bool CHD44780UModule::ProcessNextItem(std::int32_t) {
  if (Queue().Empty()) return false;
  CountItem();
  return chip_.ExecuteWord(Queue().Pop(), variant_.serial);
}

const InspectionRoot& CHD44780UModule::BuildInspection() {
  root_.model = variant_.modelName;
  root_.chips.clear();
  chip_.registers.clear();
  chip_.memory.clear();
  chip_.name = "HD44780U";
  chip_.BuildRegisters();
  chip_.BuildMemory();
  root_.chips.push_back(&chip_);
  return root_;
}

void CHD44780UModule::NotifyRunState(int state) { SetRunState(state); }

bool CHD44780UModule::NeedsIdleRedraw() const { return chip_.redrawPending.load(); }

void CHD44780UModule::SetIdleRedraw(bool value) { chip_.redrawPending.store(value); }

// --- the named modules -------------------------------------------------------

CLCM1601HD44780U::CLCM1601HD44780U(const DeviceColours& c) : CHD44780UModule(c, LcmVariantOf(700000)) {}
CLCM1602HD44780U::CLCM1602HD44780U(const DeviceColours& c) : CHD44780UModule(c, LcmVariantOf(700001)) {}
CLCM2002HD44780U::CLCM2002HD44780U(const DeviceColours& c) : CHD44780UModule(c, LcmVariantOf(700002)) {}
CLCM3202HD44780U::CLCM3202HD44780U(const DeviceColours& c) : CHD44780UModule(c, LcmVariantOf(700003)) {}
CLCM4002HD44780U::CLCM4002HD44780U(const DeviceColours& c) : CHD44780UModule(c, LcmVariantOf(700004)) {}
CLCM1604HD44780U::CLCM1604HD44780U(const DeviceColours& c) : CHD44780UModule(c, LcmVariantOf(700005)) {}
CLCM2004HD44780U::CLCM2004HD44780U(const DeviceColours& c) : CHD44780UModule(c, LcmVariantOf(700006)) {}
CLCM1601HD44780UUART::CLCM1601HD44780UUART(const DeviceColours& c)
    : CHD44780UModule(c, LcmVariantOf(700010)) {}
CLCM1602HD44780UUART::CLCM1602HD44780UUART(const DeviceColours& c)
    : CHD44780UModule(c, LcmVariantOf(700020)) {}
CLCM2002HD44780UUART::CLCM2002HD44780UUART(const DeviceColours& c)
    : CHD44780UModule(c, LcmVariantOf(700030)) {}
CLCM3202HD44780UUART::CLCM3202HD44780UUART(const DeviceColours& c)
    : CHD44780UModule(c, LcmVariantOf(700040)) {}
CLCM4002HD44780UUART::CLCM4002HD44780UUART(const DeviceColours& c)
    : CHD44780UModule(c, LcmVariantOf(700050)) {}
CLCM1604HD44780UUART::CLCM1604HD44780UUART(const DeviceColours& c)
    : CHD44780UModule(c, LcmVariantOf(700060)) {}
CLCM2004HD44780UUART::CLCM2004HD44780UUART(const DeviceColours& c)
    : CHD44780UModule(c, LcmVariantOf(700070)) {}

// --- embedding the 20x4 module -----------------------------------------------

void CLCM2004HD44780U::ResetForText() {
  Reset();
  HD44780UChip& chip = Chip();
  chip.ExecuteWord(0x38, false);
  chip.ExecuteWord(0x01, false);
  chip.ExecuteWord(0x0C, false);
}

void CLCM2004HD44780U::WriteText(std::span<const std::uint8_t, kTextCodes> codes) {
  HD44780UChip& chip = Chip();
  chip.ExecuteWord(0x80, false);
  for (int i = 0; i < HD44780UChip::kLineLength; ++i) chip.WriteData(codes[static_cast<std::size_t>(i)]);
  chip.ExecuteWord(0xC0, false);
  for (int i = HD44780UChip::kLineLength; i < kTextCodes; ++i) {
    chip.WriteData(codes[static_cast<std::size_t>(i)]);
  }
}

void CLCM2004HD44780U::RenderFor(RenderTarget& target, int mode, bool contentsInEveryMode,
                                 const std::function<void()>& ownerDrawContents) {
  PrepareCanvas(target, mode);
  try {
    if (contentsInEveryMode || mode == kModeActive) ownerDrawContents();
  } catch (...) {
    Present(target);  // the frame is shown even when the owner's drawing failed
    throw;
  }
  Present(target);
}

}  // namespace radove
