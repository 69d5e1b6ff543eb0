#include <gtest/gtest.h>

#include <set>

#include "devices/character/HD44780Rom.h"

namespace radove {
namespace {

TEST(HD44780RomTest, TellingGlyphsOfTheA00Set) {
  const struct {
    int code;
    HD44780Glyph rows;
  } cases[] = {
      {0x30, {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E, 0, 0, 0}},        // 0
      {0x41, {0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0, 0, 0}},        // A
      {0x5C, {0x11, 0x0A, 0x1F, 0x04, 0x1F, 0x04, 0x04, 0, 0, 0}},        // yen, not backslash
      {0x7E, {0, 0x04, 0x02, 0x1F, 0x02, 0x04, 0, 0, 0, 0}},              // right arrow
      {0x7F, {0, 0x04, 0x08, 0x1F, 0x08, 0x04, 0, 0, 0, 0}},              // left arrow
      {0xB1, {0x1F, 0x01, 0x05, 0x06, 0x04, 0x04, 0x08, 0, 0, 0}},        // katakana a
      {0xE7, {0, 0, 0x0F, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x01, 0x0E}},     // g with descender
      {0xFF, {0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F}},
  };
  for (const auto& c : cases) EXPECT_EQ(HD44780RomGlyph(c.code), c.rows) << std::hex << c.code;
  EXPECT_EQ(HD44780RomGlyph(0x1FF), HD44780RomGlyph(0xFF));  // only the low byte counts
}

TEST(HD44780RomTest, BlankRangesFiveBySevenBodyAndTheDescenders) {
  const std::set<int> descenders = {0xE4, 0xE6, 0xE7, 0xEA, 0xF0, 0xF1, 0xF9, 0xFF};
  for (int code = 0; code < 256; ++code) {
    const HD44780Glyph& g = HD44780RomGlyph(code);
    const bool blank = code <= 0x20 || (code >= 0x80 && code <= 0xA0) || code == 0xFE;
    bool any = false, low = false;
    for (int r = 0; r < 10; ++r) {
      EXPECT_EQ(g[static_cast<std::size_t>(r)] & ~0x1F, 0) << std::hex << code;  // five dots only
      if (g[static_cast<std::size_t>(r)]) any = true;
      if (r >= 7 && g[static_cast<std::size_t>(r)]) low = true;
    }
    EXPECT_EQ(any, !blank) << std::hex << code;
    EXPECT_EQ(low, descenders.count(code) == 1) << std::hex << code;
  }
}

}  // namespace
}  // namespace radove
