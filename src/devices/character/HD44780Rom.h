#pragma once
// The character generator ROM of the HD44780U, ROM code A00 (the Japanese standard
// font): 256 glyphs of ten dot rows. A row keeps its five dots in the low five bits,
// bit 4 the leftmost dot.

#include <array>
#include <cstdint>

namespace radove {

using HD44780Glyph = std::array<std::int32_t, 10>;

// The glyph of a character code (only the low eight bits are used).
const HD44780Glyph& HD44780RomGlyph(int code);

}  // namespace radove
