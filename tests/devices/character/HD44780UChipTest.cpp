#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "devices/character/HD44780Rom.h"
#include "devices/character/HD44780UChip.h"

namespace radove {
namespace {

using Rows = HD44780UChip::Rows;

// Rows 0..7 of a cell, the part a glyph write and the cursor backup deal with.
std::array<std::int32_t, 8> Top8(const Rows& rows) {
  std::array<std::int32_t, 8> top{};
  std::copy(rows.begin(), rows.begin() + 8, top.begin());
  return top;
}

class ChipTest : public ::testing::Test {
 protected:
  // Parallel bus words: an instruction, a data write, a read.
  bool Cmd(int byte) { return chip.ExecuteWord(byte, false); }
  bool Data(int byte) { return chip.ExecuteWord(0x100 | byte, false); }
  void Text(const std::string& s) {
    for (unsigned char ch : s) Data(ch);
  }
  // Function set with the given N, display on, clear.
  void Init(bool twoLines) {
    Cmd(twoLines ? 0x38 : 0x30);
    Cmd(0x0C);
    Cmd(0x01);
  }
  const Rows& Cell(int i) { return chip.cells[static_cast<std::size_t>(i)]; }

  HD44780UChip chip;
};

TEST_F(ChipTest, PowerOnStateHoldsTheGreetingTextWithTheDisplayOff) {
  EXPECT_EQ(chip.name, "HD44780U");
  EXPECT_EQ(chip.AC, 0);
  EXPECT_EQ(chip.backupIndex, 0);
  EXPECT_EQ(chip.displayShift, 0);
  EXPECT_TRUE(chip.ID);
  EXPECT_TRUE(chip.DL);
  EXPECT_FALSE(chip.S || chip.B || chip.C || chip.D || chip.SC || chip.RL || chip.N || chip.F ||
               chip.BF || chip.blinkRunning);
  EXPECT_TRUE(chip.redrawPending.load());
  EXPECT_EQ(chip.rsLatch, 1);
  EXPECT_EQ(chip.writeLatch, 1);
  EXPECT_EQ(chip.addressTarget, HD44780UChip::kDdram);

  const std::string text = HD44780UChip::kPowerOnText;
  ASSERT_EQ(text.size(), 80u);
  EXPECT_EQ(text.substr(0, 40), " join weixin mp  join weixin mp  join we");
  EXPECT_EQ(text.substr(40), "     dediroz         dediroz         hal");
  for (int i = 0; i < 80; ++i) {
    EXPECT_EQ(chip.ddram[static_cast<std::size_t>(i)], static_cast<unsigned char>(text[static_cast<std::size_t>(i)]));
    EXPECT_EQ(Cell(i), HD44780RomGlyph(text[static_cast<std::size_t>(i)])) << "cell " << i;
  }
  for (const Rows& glyph : chip.cgram) EXPECT_EQ(Top8(glyph), (std::array<std::int32_t, 8>{}));
}

TEST_F(ChipTest, EachInstructionStoresItsFieldsAndReportsItsResult) {
  struct Case {
    int byte;
    bool result;
    const char* fields;  // S ID C D SC RL DL N F after the word, from power-on
  } cases[] = {
      {0x00, false, "010000100"},  // selects nothing
      {0x01, true, "010000100"},   // clear display
      {0x03, true, "010000100"},   // return home, low bit ignored
      {0x04, true, "000000100"},   // entry mode: decrement, no shift
      {0x07, true, "110000100"},   // entry mode: increment and shift
      {0x0E, true, "011100100"},   // display on, cursor on, no blink
      {0x1C, true, "010011100"},   // display shift right
      {0x10, true, "010000100"},   // cursor left
      {0x3C, true, "010000111"},   // 8 bits, two lines, 5x10
      {0x23, true, "010000000"},   // 4 bits, one line, low bits ignored
      {0x40, false, "010000100"},  // set CGRAM address
      {0x80, false, "010000100"},  // set DDRAM address
  };
  for (const Case& c : cases) {
    chip.PowerOn();
    EXPECT_EQ(Cmd(c.byte), c.result) << std::hex << c.byte;
    std::string fields;
    for (bool f : {chip.S, chip.ID, chip.C, chip.D, chip.SC, chip.RL, chip.DL, chip.N, chip.F}) {
      fields += f ? '1' : '0';
    }
    EXPECT_EQ(fields, c.fields) << std::hex << c.byte;
    EXPECT_FALSE(chip.BF);
  }
}

TEST_F(ChipTest, DataWritesReturnTrueAndReadsChangeNothing) {
  Init(true);
  EXPECT_TRUE(Data('A'));
  EXPECT_EQ(chip.AC, 1);
  // R/W set: neither a data read nor a busy-flag read does anything.
  const auto cells = chip.cells;
  EXPECT_FALSE(chip.ExecuteWord(0x300 | 'B', false));
  EXPECT_FALSE(chip.ExecuteWord(0x200 | 0x01, false));
  EXPECT_EQ(chip.AC, 1);
  EXPECT_EQ(chip.cells, cells);
  EXPECT_EQ(chip.writeLatch, 0);
  EXPECT_TRUE(Data('B'));  // the next write is a write again
  EXPECT_EQ(chip.ddram[1], 'B');
}

// Each DDRAM line is a ring of 40 positions, in one-line and two-line mode alike.
TEST_F(ChipTest, EachDdramLineIsARingOfFortyInBothLineModes) {
  struct Case {
    bool twoLines;
    int address;   // set DDRAM address
    int start;     // the cell it reaches
    bool increment;
    int after40;   // AC after 40 writes
    int afterOne;  // AC after the first write
  } cases[] = {
      {true, 0x00, 0, true, 0, 1},     {false, 0x00, 0, true, 0, 1},
      {true, 0x40, 40, true, 40, 41},  {false, 0x28, 40, true, 40, 41},
      {true, 0x00, 0, false, 0, 39},   {false, 0x00, 0, false, 0, 39},
      {true, 0x40, 40, false, 40, 79}, {false, 0x28, 40, false, 40, 79},
  };
  for (const Case& c : cases) {
    chip.PowerOn();
    Init(c.twoLines);
    Cmd(c.increment ? 0x06 : 0x04);
    Cmd(0x80 | c.address);
    ASSERT_EQ(chip.AC, c.start);
    Data('0');
    EXPECT_EQ(chip.AC, c.afterOne) << "N=" << c.twoLines << " start " << c.start;
    for (int i = 1; i < 40; ++i) Data('0' + i % 10);
    EXPECT_EQ(chip.AC, c.after40) << "N=" << c.twoLines << " start " << c.start;
    // The other line was not touched.
    const int other = c.start == 0 ? 40 : 0;
    for (int i = other; i < other + 40; ++i) EXPECT_EQ(chip.ddram[static_cast<std::size_t>(i)], 0x20);
  }
}

TEST_F(ChipTest, CursorMovesStopAtBothEndsAndRunFromLineOneIntoLineTwo) {
  Init(true);
  struct Case {
    int from;
    int instruction;
    int to;
  } cases[] = {
      {39, 0x14, 40},  // right from the end of line 1 goes on to line 2
      {79, 0x14, 79},  // right at the last cell stays
      {0, 0x10, 0},    // left at the first cell stays
      {40, 0x10, 39},
      {5, 0x14, 6},
  };
  for (const Case& c : cases) {
    Cmd(0x80 | (c.from < 40 ? c.from : c.from - 40 + 0x40));
    ASSERT_EQ(chip.AC, c.from);
    EXPECT_TRUE(Cmd(c.instruction));
    EXPECT_EQ(chip.AC, c.to) << "from " << c.from;
    EXPECT_EQ(chip.backupIndex, c.to);
  }
  // With CGRAM as the target the address wraps within 0..63.
  Cmd(0x40 | 63);
  Cmd(0x14);
  EXPECT_EQ(chip.AC, 0);
  Cmd(0x10);
  EXPECT_EQ(chip.AC, 63);
}

TEST_F(ChipTest, DisplayShiftWrapsAtTheLineLengthOfTheMode) {
  Init(true);
  Cmd(0x1C);  // right from 0
  EXPECT_EQ(chip.displayShift, 39);
  Cmd(0x18);  // left from 39
  EXPECT_EQ(chip.displayShift, 0);
  EXPECT_EQ(chip.AC, 0);  // the cursor stays

  Init(false);
  for (int i = 0; i < 79; ++i) Cmd(0x18);
  EXPECT_EQ(chip.displayShift, 79);
  Cmd(0x18);
  EXPECT_EQ(chip.displayShift, 0);
  Cmd(0x1C);
  EXPECT_EQ(chip.displayShift, 79);

  // Entry mode with S shifts on every data write, in the direction of I/D.
  Init(true);
  Cmd(0x07);
  Text("ab");
  EXPECT_EQ(chip.displayShift, 2);
  Cmd(0x05);
  Text("abc");
  EXPECT_EQ(chip.displayShift, 39);
  // Return home puts the shift back and leaves the text.
  Cmd(0x02);
  EXPECT_EQ(chip.displayShift, 0);
  EXPECT_EQ(chip.AC, 0);
  EXPECT_EQ(chip.ddram[0], 'c');
}

TEST_F(ChipTest, SetDdramAddressC0ReachesCell40InTwoLineModeAnd64InOneLineMode) {
  Init(true);
  EXPECT_FALSE(Cmd(0xC0));
  EXPECT_EQ(chip.AC, 40);
  Init(false);
  EXPECT_FALSE(Cmd(0xC0));
  EXPECT_EQ(chip.AC, 64);
  EXPECT_FALSE(Cmd(0xCF));
  EXPECT_EQ(chip.AC, 79);
}

// Addresses that reach no position leave AC alone but still take a blink block off
// the cursor cell and draw the cursor line again.
TEST_F(ChipTest, UnreachableDdramAddressesKeepAcButRefreshTheCursorLine) {
  struct Case {
    bool twoLines;
    int address;
  } cases[] = {{true, 0x28}, {true, 0x3F}, {true, 0x68}, {true, 0x7F},
               {false, 0x50}, {false, 0x7F}};
  for (const Case& c : cases) {
    chip.PowerOn();
    Init(c.twoLines);
    Cmd(0x0E);  // cursor on
    Text("AB");
    Cmd(0x10);  // back onto the B
    ASSERT_EQ(chip.AC, 1);
    chip.BlinkStep();  // the blink block covers the B
    ASSERT_EQ(Cell(1)[0], 0xFF);
    EXPECT_FALSE(Cmd(0x80 | c.address));
    EXPECT_EQ(chip.AC, 1) << std::hex << c.address;
    EXPECT_EQ(chip.addressTarget, HD44780UChip::kDdram);
    EXPECT_EQ(Top8(Cell(1)), Top8(HD44780RomGlyph('B'))) << std::hex << c.address;
    EXPECT_EQ(Cell(1)[8], 0xFF) << std::hex << c.address;
  }
}

TEST_F(ChipTest, RedefiningACgramGlyphLeavesPlacedCharactersAlone) {
  Init(true);
  const std::array<int, 8> first = {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F, 0x00};
  const std::array<int, 8> second = {0x04, 0x0E, 0x1F, 0x0E, 0x04, 0x00, 0x15, 0x0A};
  auto define = [&](int glyph, const std::array<int, 8>& rows) {
    EXPECT_FALSE(Cmd(0x40 | glyph << 3));
    for (int r : rows) EXPECT_TRUE(Data(r));
  };
  define(0, first);
  EXPECT_EQ(chip.AC, 8);
  Cmd(0x80);
  Data(0x00);
  Data(0x08);  // 0x08..0x0F show the same glyphs as 0x00..0x07
  for (int cell : {0, 1}) {
    for (int r = 0; r < 8; ++r) EXPECT_EQ(Cell(cell)[static_cast<std::size_t>(r)], first[static_cast<std::size_t>(r)]);
  }
  define(0, second);
  for (int r = 0; r < 8; ++r) EXPECT_EQ(Cell(0)[static_cast<std::size_t>(r)], first[static_cast<std::size_t>(r)]);
  EXPECT_EQ(chip.ddram[0], 0x00);
  EXPECT_EQ(chip.ddram[1], 0x08);
  Cmd(0x80);
  Data(0x00);  // writing the code again shows the new glyph
  for (int r = 0; r < 8; ++r) EXPECT_EQ(Cell(0)[static_cast<std::size_t>(r)], second[static_cast<std::size_t>(r)]);
  EXPECT_EQ(chip.cgram[0][6], 0x15);
}

TEST_F(ChipTest, CgramWritesLandInGlyphRowsAndWrapAt64) {
  Init(true);
  const auto cells = chip.cells;
  Cmd(0x40 | 0x3F);
  Data(0xAB);
  EXPECT_EQ(chip.cgram[7][7], 0xAB);  // the whole byte is kept; only five bits are drawn
  EXPECT_EQ(chip.AC, 0);
  Data(0x11);
  EXPECT_EQ(chip.cgram[0][0], 0x11);
  // CGRAM writes never touch the panel's rows 0..7.
  for (int i = 0; i < 80; ++i) EXPECT_EQ(Top8(Cell(i)), Top8(cells[static_cast<std::size_t>(i)]));
}

TEST_F(ChipTest, BlankCodesShowEmptyCells) {
  Init(true);
  for (int code : {0x10, 0x1F, 0x20, 0x80, 0x9A, 0xA0, 0xFE}) {
    Cmd(0x80);
    Data(code);
    EXPECT_EQ(Cell(0), Rows{}) << std::hex << code;
  }
}

// The ninth row of a 5x10 glyph is the cursor line, so it goes when the cursor
// leaves; the tenth row stays.
TEST_F(ChipTest, DescenderRowEightIsErasedWhenTheCursorLeaves) {
  for (bool cursor : {false, true}) {
    Init(true);
    Cmd(cursor ? 0x0E : 0x0C);
    Data(0xE7);
    const Rows& rom = HD44780RomGlyph(0xE7);
    EXPECT_EQ(Top8(Cell(0)), Top8(rom));
    EXPECT_EQ(Cell(0)[8], 0);
    EXPECT_EQ(Cell(0)[9], 0x0E);
    EXPECT_EQ(Cell(1)[8], cursor ? 0xFF : 0);
  }
}

TEST_F(ChipTest, UserGlyphDoesNotInheritTheTenthRowOfTheCharacterItReplaces) {
  Init(true);
  Data(0xE7);
  ASSERT_EQ(Cell(0)[9], 0x0E);
  Cmd(0x80);
  Data(0x00);
  EXPECT_EQ(Cell(0), Rows{});
}

TEST_F(ChipTest, ClearDisplayWithTheCursorOnShowsTheUnderlineAtCellZeroAtOnce) {
  Init(true);
  Cmd(0x0E);
  Cmd(0x07);
  Text("hello");
  Cmd(0x05);  // decrement, still shifting
  ASSERT_EQ(chip.AC, 5);
  ASSERT_EQ(chip.displayShift, 5);
  EXPECT_TRUE(Cmd(0x01));
  EXPECT_EQ(chip.AC, 0);
  EXPECT_EQ(chip.displayShift, 0);
  EXPECT_TRUE(chip.ID);
  EXPECT_TRUE(chip.S);  // entry shift, display and cursor flags stay
  EXPECT_TRUE(chip.C);
  EXPECT_TRUE(chip.D);
  EXPECT_EQ(Cell(0)[8], 0xFF);
  for (int i = 0; i < 80; ++i) {
    EXPECT_EQ(chip.ddram[static_cast<std::size_t>(i)], 0x20);
    if (i > 0) {
      EXPECT_EQ(Cell(i), Rows{}) << i;
    }
  }
  EXPECT_EQ(chip.cursorBackup, Rows{});
}

TEST_F(ChipTest, FunctionSetChangesNoPixelAndFourBitModeStillTakesWholeBytes) {
  Init(true);
  Text("Hi");
  const auto cells = chip.cells;
  Cmd(0x2C);  // 4 bits, two lines, 5x10
  EXPECT_EQ(chip.cells, cells);
  EXPECT_FALSE(chip.DL);
  EXPECT_TRUE(chip.F);
  Data('!');
  EXPECT_EQ(chip.ddram[2], '!');
  EXPECT_EQ(chip.AC, 3);
}

TEST_F(ChipTest, CgramAddressDrawsTheCursorLineOnTheMatchingPanelCell) {
  Init(true);
  Cmd(0x0E);
  Cmd(0x40 | 9);
  EXPECT_EQ(chip.AC, 9);
  EXPECT_EQ(chip.addressTarget, HD44780UChip::kCgram);
  EXPECT_EQ(Cell(9)[8], 0xFF);
  EXPECT_EQ(Cell(0)[8], 0);
  Data(0x1F);
  EXPECT_EQ(chip.cgram[1][1], 0x1F);
  EXPECT_EQ(Cell(10)[8], 0xFF);
  EXPECT_EQ(Cell(9)[8], 0);
}

TEST_F(ChipTest, RegisterBuilderNamesEveryFieldWithItsFormat) {
  Init(true);
  Cmd(0xC0);
  chip.BuildRegisters();
  ASSERT_EQ(chip.registers.size(), 2u);
  EXPECT_EQ(chip.registers[0].name, "组1");
  ASSERT_EQ(chip.registers[0].entries.size(), 1u);
  const InspectionEntry& ac = chip.registers[0].entries[0];
  EXPECT_EQ(ac.name, "AC");
  EXPECT_EQ(ac.value, "0x28");
  EXPECT_EQ(ac.description,
            "HD44780U内部DDRAM与CGRAM地址计数器（Address Count），前者计数值与光标位置对应");
  EXPECT_EQ(ac.tag, 0);

  const InspectionGroup& g2 = chip.registers[1];
  EXPECT_EQ(g2.name, "组2");
  const char* names[] = {"I/D", "S", "D", "C", "B", "S/C", "R/L", "DL", "N", "F", "BF"};
  const char* values[] = {"1", "0", "1", "0", "0", "0", "0", "1", "1", "0", "0"};
  ASSERT_EQ(g2.entries.size(), 11u);
  for (std::size_t i = 0; i < 11; ++i) {
    EXPECT_EQ(g2.entries[i].name, names[i]);
    EXPECT_EQ(g2.entries[i].value, values[i]) << names[i];
  }
  EXPECT_EQ(g2.entries[9].description, "字体（Font）选择标记位，0为5x8，1为5x10");
  EXPECT_EQ(g2.entries[10].description, "忙状态标记位(Busy Flag)，0为空闲，1为忙碌");
}

TEST_F(ChipTest, MemoryBuilderListsBothDdramLinesAndSixteenCgramGlyphs) {
  Init(true);
  Cmd(0xC0 | 0x27);
  Data(0x7E);
  Cmd(0x40 | 0x0A);
  Data(0x15);
  chip.BuildMemory();
  ASSERT_EQ(chip.memory.size(), 18u);
  for (int line = 0; line < 2; ++line) {
    const InspectionGroup& block = chip.memory[static_cast<std::size_t>(line)];
    EXPECT_EQ(block.name, "DDRAM(地址:数据)");
    ASSERT_EQ(block.entries.size(), 40u);
  }
  EXPECT_EQ(chip.memory[0].entries[0].name, "0x0");
  EXPECT_EQ(chip.memory[0].entries[0].value, "0x20");
  EXPECT_EQ(chip.memory[0].entries[0].description, "DDRAM地址0x00中存储的字模地址");
  EXPECT_EQ(chip.memory[0].entries[39].name, "0x27");
  EXPECT_EQ(chip.memory[1].entries[0].name, "0x40");
  const InspectionEntry& last = chip.memory[1].entries[39];
  EXPECT_EQ(last.name, "0x67");
  EXPECT_EQ(last.value, "0x7E");
  EXPECT_EQ(last.description, "DDRAM地址0x67中存储的字模地址");

  for (int g = 0; g < 16; ++g) {
    const InspectionGroup& block = chip.memory[static_cast<std::size_t>(2 + g)];
    EXPECT_EQ(block.name, "CGRAM(地址:数据)");
    ASSERT_EQ(block.entries.size(), 8u);
  }
  const InspectionEntry& row = chip.memory[3].entries[2];  // glyph 1, row 2
  EXPECT_EQ(row.name, "0x0A");
  EXPECT_EQ(row.value, "0x15");
  EXPECT_EQ(row.description, "CGRAM字模地址为0x01(5*8点阵)");
  EXPECT_EQ(chip.memory[17].entries[7].name, "0x7F");
  EXPECT_EQ(chip.memory[17].entries[7].description, "CGRAM字模地址为0x0F(5*8点阵)");
}

// --- serial front end ----------------------------------------------------------

TEST_F(ChipTest, SerialStreamTakesOneInstructionAfterEachFFPrefix) {
  auto serial = [&](int byte) { return chip.ExecuteWord(byte, true); };
  EXPECT_FALSE(serial(0xFF));
  EXPECT_TRUE(serial(0x38));
  EXPECT_TRUE(chip.N);
  EXPECT_FALSE(serial(0xFF));
  EXPECT_TRUE(serial(0x0C));
  EXPECT_TRUE(chip.D);
  // Bit 8 does not matter: both words are data.
  EXPECT_TRUE(chip.ExecuteWord(0x48, true));
  EXPECT_TRUE(chip.ExecuteWord(0x169, true));
  EXPECT_EQ(chip.ddram[0], 'H');
  EXPECT_EQ(chip.ddram[1], 'i');
  // Two prefixes in a row still announce one instruction; clear runs once and the
  // next byte is data again.
  EXPECT_FALSE(serial(0xFF));
  EXPECT_FALSE(serial(0xFF));
  EXPECT_TRUE(serial(0x01));
  EXPECT_EQ(chip.ddram[0], 0x20);
  EXPECT_EQ(chip.AC, 0);
  EXPECT_TRUE(serial(0x01));  // data now: the user glyph 1
  EXPECT_EQ(chip.ddram[0], 0x01);
  EXPECT_EQ(chip.AC, 1);
  // The prefix swallows a 0xFF data byte: it can never be written.
  EXPECT_FALSE(serial(0xFF));
  EXPECT_FALSE(serial(0x80));  // set DDRAM address 0
  EXPECT_EQ(chip.AC, 0);
  EXPECT_EQ(chip.rsLatch, 1);
}

}  // namespace
}  // namespace radove
