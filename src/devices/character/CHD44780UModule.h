#pragma once
// The fourteen character LCD modules built on one HD44780U: seven panel sizes, each
// with a parallel bus and with a serial front end. One implementation, driven by a
// table; the named classes only pick their row of it.
//
// Serial front end (the ...UART classes): the kind of a data item does not matter.
// A byte 0xFF announces that the next byte is an instruction; every other byte is
// written as data. So clearing the display takes 0xFF 0x01, and 0xFF itself cannot
// be written as a character.

#include <cstdint>
#include <functional>
#include <span>

#include "core/DeviceBase.h"
#include "devices/character/HD44780UChip.h"

namespace radove {

struct LcmVariant {
  int typeCode;
  const char* className;
  int columns;
  int panelLines;  // 1, 2 or 4
  bool serial;
  const char* modelName;  // what the inspection reports
  int canvasWidth;
  int canvasHeight;
};

// Every module, in type-code order.
std::span<const LcmVariant> LcmVariants();
// Throws std::out_of_range for a code that is not a character module.
const LcmVariant& LcmVariantOf(int typeCode);

class CHD44780UModule : public CDeviceBase {
 public:
  static constexpr int kDotsPerCell = 6;  // five dots and a one-dot gap
  static constexpr int kRowsPerLine = 10;

  CHD44780UModule(const DeviceColours& colours, const LcmVariant& variant);
  ~CHD44780UModule() override;

  void Render(RenderTarget& target, int mode) override;
  void DrawContents() override;
  bool ProcessNextItem(std::int32_t reserved = 0) override;
  void FeedItem(int kind, std::uint32_t additional, int auxiliary, std::int64_t value,
                int flag) override;
  void Reset() override;
  const InspectionRoot& BuildInspection() override;
  void NotifyRunState(int state) override;
  bool NeedsIdleRedraw() const override;
  void SetIdleRedraw(bool value) override;

  HD44780UChip& Chip() { return chip_; }
  const HD44780UChip& Chip() const { return chip_; }
  const LcmVariant& Variant() const { return variant_; }
  const FrameGeometry& Geometry() const { return geometry_; }

  // The cell shown at a panel line (0-based, top to bottom) and column under the
  // current display shift. Four-line panels show cells 0.., 40.., 20.. and 60..:
  // lines 3 and 4 continue DDRAM lines 1 and 2.
  int CellAt(int panelLine, int column) const;

 private:
  const LcmVariant& variant_;
  FrameGeometry geometry_;
  HD44780UChip chip_;
};

class CLCM1601HD44780U : public CHD44780UModule {
 public:
  explicit CLCM1601HD44780U(const DeviceColours& colours);
};
class CLCM1602HD44780U : public CHD44780UModule {
 public:
  explicit CLCM1602HD44780U(const DeviceColours& colours);
};
class CLCM2002HD44780U : public CHD44780UModule {
 public:
  explicit CLCM2002HD44780U(const DeviceColours& colours);
};
class CLCM3202HD44780U : public CHD44780UModule {
 public:
  explicit CLCM3202HD44780U(const DeviceColours& colours);
};
class CLCM4002HD44780U : public CHD44780UModule {
 public:
  explicit CLCM4002HD44780U(const DeviceColours& colours);
};
class CLCM1604HD44780U : public CHD44780UModule {
 public:
  explicit CLCM1604HD44780U(const DeviceColours& colours);
};

// The 20x4 module is also what devices that show their state as text embed. They
// drive it through the members below, in this order: ResetForText() from their own
// Reset(); WriteText() whenever the text changes (their DrawContents() does it before
// calling this module's DrawContents()); RenderFor() as their Render(). Its input
// queue, inspection and idle redraw are not used then.
class CLCM2004HD44780U : public CHD44780UModule {
 public:
  static constexpr int kTextCodes = 80;

  explicit CLCM2004HD44780U(const DeviceColours& colours);

  // Reset(), then function set 0x38 (8 bits, two lines, 5x8), clear display 0x01
  // and display on 0x0C (no cursor, no blink), all in parallel mode.
  void ResetForText();
  // Codes 0..39 go from DDRAM address 0x00 (panel lines 1 and 3, twenty each),
  // codes 40..79 from 0x40 (panel lines 2 and 4). Each DDRAM line is a ring of 40,
  // so AC is back at the start of its line afterwards.
  void WriteText(std::span<const std::uint8_t, kTextCodes> codes);
  // The composite form of Render: this module's canvas frames the owner's
  // DrawContents, which draws through this module's DrawContents(). The owner's
  // contents run in the active mode only, or in every mode when asked.
  void RenderFor(RenderTarget& target, int mode, bool contentsInEveryMode,
                 const std::function<void()>& ownerDrawContents);
};

class CLCM1601HD44780UUART : public CHD44780UModule {
 public:
  explicit CLCM1601HD44780UUART(const DeviceColours& colours);
};
class CLCM1602HD44780UUART : public CHD44780UModule {
 public:
  explicit CLCM1602HD44780UUART(const DeviceColours& colours);
};
class CLCM2002HD44780UUART : public CHD44780UModule {
 public:
  explicit CLCM2002HD44780UUART(const DeviceColours& colours);
};
class CLCM3202HD44780UUART : public CHD44780UModule {
 public:
  explicit CLCM3202HD44780UUART(const DeviceColours& colours);
};
class CLCM4002HD44780UUART : public CHD44780UModule {
 public:
  explicit CLCM4002HD44780UUART(const DeviceColours& colours);
};
class CLCM1604HD44780UUART : public CHD44780UModule {
 public:
  explicit CLCM1604HD44780UUART(const DeviceColours& colours);
};
class CLCM2004HD44780UUART : public CHD44780UModule {
 public:
  explicit CLCM2004HD44780UUART(const DeviceColours& colours);
};

}  // namespace radove
