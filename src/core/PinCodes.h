#pragma once
// The codes a pin carries from the device library (PinRecord fields and the
// library's gpio_lib columns). Devices look their special pins up by function
// code, never by name, so a renamed pin keeps working.

namespace radove {

namespace pin_io {
constexpr int kNone = 0;  // supply pin or no signal; shown as "-"
constexpr int kInput = 10;
constexpr int kOutput = 11;
constexpr int kBidirectional = 12;
}  // namespace pin_io

// active_level and output_level.
namespace pin_level {
constexpr int kNone = -1;
constexpr int kLow = 10;
constexpr int kHigh = 11;
}  // namespace pin_level

// The library's input_level: what a pin is tied to before the user connects it.
namespace pin_tie {
constexpr int kNone = -1;
constexpr int kGnd = 10;
constexpr int kVcc = 11;
}  // namespace pin_tie

// clk_trigger: -1 for a pin that is not a clock input.
namespace pin_clock {
constexpr int kNotClock = -1;
constexpr int kRisingEdge = 1;
constexpr int kFallingEdge = 2;
constexpr int kBothEdges = 3;
}  // namespace pin_clock

// special_type: the pin's special function.
namespace pin_function {
constexpr int kNone = 0;
constexpr int kChipSelect1 = 1;
constexpr int kChipSelect2 = 2;
constexpr int kChipSelect3 = 3;
constexpr int kReset = 4;
constexpr int kInterfaceSelect = 5;  // bus type or parallel/serial strap (PSB, P/S, C86)
constexpr int kOscillator = 6;
constexpr int kExtendedCommands = 7;  // ILI9341 EXTC: extended command set enabled while high
constexpr int kInterfaceMode0 = 8;    // ILI9341 IM0; IM1..IM3 follow
constexpr int kInterfaceMode1 = 9;
constexpr int kInterfaceMode2 = 10;
constexpr int kInterfaceMode3 = 11;
constexpr int kSupply = 12;
constexpr int kGround = 13;
constexpr int kBacklight = 14;
constexpr int kDriveVoltage = 15;  // LCD contrast or drive voltage (V0, VEE, VLCD)
}  // namespace pin_function

}  // namespace radove
