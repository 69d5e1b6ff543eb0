#include "devices/character/HD44780UChip.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace radove {
namespace {

std::string Format(const char* format, int value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

const char* Bit(bool value) { return value ? "1" : "0"; }

}  // namespace

HD44780UChip::HD44780UChip() {
  name = "HD44780U";
  PowerOn();
}

HD44780UChip::~HD44780UChip() { blinkWorker_.Shutdown(); }

void HD44780UChip::PowerOn() {
  reserved = 1;
  rsLatch = 1;
  writeLatch = 1;
  AC = 0;
  backupIndex = 0;
  displayShift = 0;
  addressTarget = kDdram;
  S = false;
  ID = true;
  B = false;
  C = false;
  D = false;
  SC = false;
  RL = false;
  DL = true;
  N = false;
  F = false;
  BF = false;
  redrawPending.store(true);

  for (int i = 0; i < kCells; ++i) {
    ddram[static_cast<std::size_t>(i)] = static_cast<unsigned char>(kPowerOnText[i]);
    cells[static_cast<std::size_t>(i)] = HD44780RomGlyph(ddram[static_cast<std::size_t>(i)]);
  }
  for (Rows& glyph : cgram) std::fill(glyph.begin(), glyph.begin() + 8, 0);
  cursorBackup.fill(0);

  // The cells were just rebuilt, so the blink block needs no restoring.
  if (blinkRunning) StopBlink();
  blinkRunning = false;
  blockShown_ = false;

  cells[0][kCursorRow] = 0;
  BackupCursorCell();
}

// --- the three cursor steps --------------------------------------------------

void HD44780UChip::RestoreCursorCell() {
  if (AC < 0 || AC >= kCells) return;
  Rows& cell = cells[static_cast<std::size_t>(AC)];
  std::copy(cursorBackup.begin(), cursorBackup.begin() + 8, cell.begin());
  if (C) cell[kCursorRow] = 0;
}

void HD44780UChip::MoveCursor(int n) {
  if (AC >= 0 && AC < kCells) cells[static_cast<std::size_t>(AC)][kCursorRow] = 0;
  AC = n;
  DrawCursorLine();
}

void HD44780UChip::BackupCursorCell() {
  if (AC >= 0 && AC < kCells) {
    const Rows& cell = cells[static_cast<std::size_t>(AC)];
    std::copy(cell.begin(), cell.begin() + 8, cursorBackup.begin());
  }
  backupIndex = AC;
}

void HD44780UChip::DrawCursorLine() {
  if (AC >= 0 && AC < kCells) cells[static_cast<std::size_t>(AC)][kCursorRow] = C ? kCursorLine : 0;
}

// --- words -------------------------------------------------------------------

bool HD44780UChip::ExecuteWord(std::int64_t word, bool serial) {
  const int byte = static_cast<int>(word & 0xFF);
  if (serial) {
    if (byte == 0xFF) {
      rsLatch = 0;
      return false;
    }
  } else {
    rsLatch = static_cast<std::int32_t>((word >> 8) & 1);
    writeLatch = (word >> 9) & 1 ? 0 : 1;
  }

  bool result = false;
  if (rsLatch == 1) {
    if (writeLatch == 1) {
      WriteData(byte);
      result = true;
    }
  } else if (writeLatch == 1) {
    result = ExecuteInstruction(byte);
  }
  if (serial) rsLatch = 1;
  return result;
}

// The highest set bit selects the instruction; bits below its fields are ignored.
bool HD44780UChip::ExecuteInstruction(int byte) {
  if (byte & 0x80) {
    SetDdramAddress(byte & 0x7F);
    return false;
  }
  if (byte & 0x40) {
    SetCgramAddress(byte & 0x3F);
    return false;
  }
  if (byte & 0x20) {
    FunctionSet(byte);
  } else if (byte & 0x10) {
    CursorOrDisplayShift(byte);
  } else if (byte & 0x08) {
    DisplayControl(byte);
  } else if (byte & 0x04) {
    EntryModeSet(byte);
  } else if (byte & 0x02) {
    ReturnHome();
  } else if (byte & 0x01) {
    ClearDisplay();
  } else {
    return false;  // 0x00 selects nothing
  }
  return true;
}

void HD44780UChip::ClearDisplay() {
  MoveCursor(0);
  for (Rows& cell : cells) cell.fill(0);
  ddram.fill(0x20);
  DrawCursorLine();
  displayShift = 0;
  ID = true;
  addressTarget = kDdram;
  BackupCursorCell();
}

void HD44780UChip::ReturnHome() {
  RestoreCursorCell();
  MoveCursor(0);
  addressTarget = kDdram;
  BackupCursorCell();
  displayShift = 0;
}

void HD44780UChip::EntryModeSet(int byte) {
  ID = (byte & 0x02) != 0;
  S = (byte & 0x01) != 0;
}

void HD44780UChip::DisplayControl(int byte) {
  if (byte & 0x01) {
    B = true;
    if (!blinkRunning) {
      blinkRunning = true;
      StartBlink();
    }
  } else {
    B = false;
    if (blinkRunning) {
      StopBlink();
      // What the timer does on its way out: take the block off the cursor cell.
      RestoreCursorCell();
      DrawCursorLine();
      blinkRunning = false;
    }
  }
  C = (byte & 0x02) != 0;
  RestoreCursorCell();
  DrawCursorLine();
  D = (byte & 0x04) != 0;
}

void HD44780UChip::CursorOrDisplayShift(int byte) {
  RL = (byte & 0x04) != 0;
  SC = (byte & 0x08) != 0;
  if (SC) {
    // The display moves; AC and the cursor stay.
    if (RL) {
      if (--displayShift < 0) displayShift = MaxShift();
    } else {
      if (++displayShift > MaxShift()) displayShift = 0;
    }
    return;
  }
  RestoreCursorCell();
  if (addressTarget == kDdram) {
    MoveCursor(std::clamp(RL ? AC + 1 : AC - 1, 0, kCells - 1));
  } else {
    MoveCursor((RL ? AC + 1 : AC - 1) & 0x3F);
  }
  BackupCursorCell();
}

void HD44780UChip::FunctionSet(int byte) {
  DL = (byte & 0x10) != 0;
  N = (byte & 0x08) != 0;
  F = (byte & 0x04) != 0;
}

void HD44780UChip::SetCgramAddress(int address) {
  RestoreCursorCell();
  MoveCursor(address);  // the cursor line shows on cell `address` of the panel
  addressTarget = kCgram;
  BackupCursorCell();
}

void HD44780UChip::SetDdramAddress(int address) {
  RestoreCursorCell();
  addressTarget = kDdram;
  if (N) {
    if (address <= 0x27) {
      MoveCursor(address);
    } else if (address >= 0x40 && address <= 0x67) {
      MoveCursor(address - 0x18);
    }
  } else if (address <= 0x4F) {
    MoveCursor(address);
  }
  // Addresses that reach no position leave AC where it was.
  BackupCursorCell();
  DrawCursorLine();
}

void HD44780UChip::WriteData(int byte) {
  byte &= 0xFF;
  RestoreCursorCell();
  if (addressTarget == kDdram) {
    Rows& cell = cells[static_cast<std::size_t>(AC)];
    if (byte >= 0x10) {
      cell = HD44780RomGlyph(byte);
    } else {
      const Rows& glyph = cgram[static_cast<std::size_t>(byte & 7)];
      std::copy(glyph.begin(), glyph.begin() + 8, cell.begin());
      // A user glyph has eight rows: the tenth row of whatever stood here before
      // (a descender) must not hang below it.
      cell[9] = 0;
    }
    ddram[static_cast<std::size_t>(AC)] = byte;
    if (S) {
      if (ID) {
        if (++displayShift > MaxShift()) displayShift = 0;
      } else {
        if (--displayShift < 0) displayShift = MaxShift();
      }
    }
    // Each DDRAM line is a ring of 40 positions, whatever N says.
    int next;
    if (ID) {
      next = AC == kLineLength - 1 ? 0 : AC == kCells - 1 ? kLineLength : AC + 1;
    } else {
      next = AC == 0 ? kLineLength - 1 : AC == kLineLength ? kCells - 1 : AC - 1;
    }
    MoveCursor(next);
  } else {
    cgram[static_cast<std::size_t>((AC >> 3) & 7)][static_cast<std::size_t>(AC & 7)] = byte;
    MoveCursor((ID ? AC + 1 : AC - 1) & 0x3F);
  }
  BackupCursorCell();
}

// --- blink -------------------------------------------------------------------

void HD44780UChip::StartBlink() {
  blockShown_ = false;
  auto pacer = pacerFactory_ ? pacerFactory_() : std::make_unique<SteadyPacer>(kBlinkPeriod);
  ChipTimer::LockFn lock = timerLock_;
  if (!lock) lock = [this] { return std::unique_lock<std::mutex>(ownLock_); };
  blinkWorker_.Start(std::move(pacer), std::move(lock), [this] { BlinkStep(); });
}

void HD44780UChip::StopBlink() {
  blinkWorker_.Stop();
  blockShown_ = false;
}

void HD44780UChip::BlinkStep() {
  if (blockShown_) {
    // Only the cell the block was drawn on is put back; after a cursor move the
    // word that moved it has already restored that cell.
    if (backupIndex == AC) {
      RestoreCursorCell();
      blockShown_ = false;
    }
  } else if (backupIndex >= 0 && backupIndex < kCells) {
    Rows& cell = cells[static_cast<std::size_t>(backupIndex)];
    std::fill(cell.begin(), cell.begin() + 7, 0xFF);
    cell[7] = 0;
    cell[kCursorRow] = C ? kCursorLine : 0;
    // Row 9 keeps the glyph's tenth row: the block restores only rows 0..7.
    blockShown_ = true;
  }
  redrawPending.store(true);
}

// --- inspection --------------------------------------------------------------

void HD44780UChip::BuildRegisters() {
  InspectionGroup group1{"组1", {}};
  group1.entries.push_back(
      {"AC", Format("0x%X", AC),
       "HD44780U内部DDRAM与CGRAM地址计数器（Address Count），前者计数值与光标位置对应", 0});
  registers.push_back(std::move(group1));

  const struct {
    const char* name;
    bool value;
    const char* description;
  } kFlags[] = {
      {"I/D", ID, "地址计数器自加或自减控制位，0为自减，1为自加"},
      {"S", S, "往DDRAM中写入数据时是否进行屏移(Shift Count)的控制位，0为关闭，1为开启"},
      {"D", D, "显示开关标记位，0为关闭，1为开启"},
      {"C", C, "光标显示开关标记位，0为关闭，1为开启"},
      {"B", B, "光标闪烁（Cursor Blink）标记位，0为关闭，1为开启"},
      {"S/C", SC, "光标与屏移标记位，与R/L位配合，0为光标移动，1为屏移"},
      {"R/L", RL, "光标与屏移方向标记位，与S/C位配合，0为左移，1为右移"},
      {"DL", DL, "总线数据长度标记位，0为4位，1为8位"},
      {"N", N, "显示行数量标记位，0为1行，1为2行"},
      {"F", F, "字体（Font）选择标记位，0为5x8，1为5x10"},
      {"BF", BF, "忙状态标记位(Busy Flag)，0为空闲，1为忙碌"},
  };
  InspectionGroup group2{"组2", {}};
  for (const auto& flag : kFlags) {
    group2.entries.push_back({flag.name, Bit(flag.value), flag.description, 0});
  }
  registers.push_back(std::move(group2));
}

void HD44780UChip::BuildMemory() {
  for (int line = 0; line < 2; ++line) {
    InspectionGroup block{"DDRAM(地址:数据)", {}};
    block.entries.reserve(kLineLength);
    for (int i = 0; i < kLineLength; ++i) {
      const int address = line * 0x40 + i;
      block.entries.push_back({Format("0x%X", address),
                               Format("0x%02X", ddram[static_cast<std::size_t>(line * kLineLength + i)]),
                               Format("DDRAM地址0x%02X中存储的字模地址", address), 0});
    }
    memory.push_back(std::move(block));
  }
  for (int g = 0; g < 16; ++g) {
    InspectionGroup block{"CGRAM(地址:数据)", {}};
    block.entries.reserve(8);
    for (int k = 0; k < 8; ++k) {
      block.entries.push_back({Format("0x%02X", 8 * g + k),
                               Format("0x%02X", cgram[static_cast<std::size_t>(g)][static_cast<std::size_t>(k)]),
                               Format("CGRAM字模地址为0x%02X(5*8点阵)", g), 0});
    }
    memory.push_back(std::move(block));
  }
}

}  // namespace radove
