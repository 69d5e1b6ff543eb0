#pragma once
// The HD44780U character LCD controller: DDRAM, CGRAM, the A00 character ROM, the
// address counter with its cursor, the cursor blink and the display shift.
//
// A display model, not a timing model: every word executes at once and the busy
// flag never rises; the 4-bit interface is not modelled (a word always carries a
// whole byte). The panel is a cell buffer: a cell receives a copy of a glyph's rows
// when the character is written, so redefining a CGRAM glyph later leaves the
// characters already on the panel alone.
//
// Threads: the owning device's lock guards every field. The blink timer takes the
// same lock for one blink step; everything else is called with it held by the caller.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "core/Records.h"
#include "core/ChipTimer.h"
#include "devices/character/HD44780Rom.h"

namespace radove {

struct HD44780UChip : ChipDescriptor {
  using Rows = HD44780Glyph;  // ten dot rows, five dots in the low bits, bit 4 leftmost

  static constexpr int kCells = 80;          // two DDRAM lines of 40 positions
  static constexpr int kLineLength = 40;
  static constexpr int kCursorRow = 8;       // the cursor line, also a 5x10 glyph's ninth row
  static constexpr std::int32_t kCursorLine = 0xFF;
  static constexpr int kDdram = 0, kCgram = 1;  // address targets
  static constexpr std::chrono::milliseconds kBlinkPeriod{380};
  // The text the panel holds after power-on, 40 codes per DDRAM line.
  static constexpr const char* kPowerOnText =
      " join weixin mp  join weixin mp  join we     dediroz         dediroz         hal";

  HD44780UChip();
  ~HD44780UChip();
  HD44780UChip(const HD44780UChip&) = delete;
  HD44780UChip& operator=(const HD44780UChip&) = delete;

  void PowerOn();
  // Executes one input word: bits 0-7 the bus byte, bit 8 RS (1 data), bit 9 R/W
  // (1 read). With `serial` the byte stream of the serial front end is decoded
  // instead: 0xFF announces an instruction, every other byte is data. True after a
  // data write and the instructions from clear display to function set.
  bool ExecuteWord(std::int64_t word, bool serial);
  void WriteData(int byte);

  // The register pane's two groups and the memory pane's DDRAM and CGRAM blocks.
  void BuildRegisters();
  void BuildMemory();

  // One step of the blink timer: shows or hides the solid block on the cursor
  // cell and raises the redraw flag. Called with the device lock held.
  void BlinkStep();

  // The lock the blink timer takes for a step: the owning device's mutex. Without
  // one the timer takes a lock of the chip's own, which only suits a chip nobody
  // else drives while its blink is on.
  void AttachTimerLock(ChipTimer::LockFn lock) { timerLock_ = std::move(lock); }
  // How the blink timer waits between steps (tests pace it by hand).
  void SetBlinkPacerFactory(std::function<std::unique_ptr<TimerPacer>()> factory) {
    pacerFactory_ = std::move(factory);
  }
  // Stops and joins the blink timer; call without the device lock.
  void ShutdownBlink() { blinkWorker_.Shutdown(); }

  // --- state, in the datasheet's terms ----------------------------------------
  std::int32_t reserved = 1;
  std::int32_t AC = 0;           // cell index 0..79 (DDRAM) or CGRAM address 0..63
  std::int32_t backupIndex = 0;  // the cell whose rows cursorBackup holds
  bool blinkRunning = false;
  std::int32_t displayShift = 0;  // positions shifted left: 0..39 (N = 1), 0..79 (N = 0)
  // entry mode set
  bool S = false;
  bool ID = true;
  // display on/off control
  bool B = false;
  bool C = false;
  bool D = false;
  // cursor or display shift
  bool SC = false;
  bool RL = false;
  // function set
  bool DL = true;
  bool N = false;
  bool F = false;
  bool BF = false;
  std::atomic<bool> redrawPending{true};
  Rows cursorBackup{};
  std::array<Rows, kCells> cells{};
  std::array<std::int32_t, kCells> ddram{};
  std::array<Rows, 16> cgram{};
  std::int32_t rsLatch = 1;
  std::int32_t writeLatch = 1;
  std::int32_t addressTarget = kDdram;

 private:
  bool ExecuteInstruction(int byte);
  void ClearDisplay();
  void ReturnHome();
  void EntryModeSet(int byte);
  void DisplayControl(int byte);
  void CursorOrDisplayShift(int byte);
  void FunctionSet(int byte);
  void SetCgramAddress(int address);
  void SetDdramAddress(int address);

  // The three steps every cursor movement is made of.
  void RestoreCursorCell();
  void MoveCursor(int n);
  void BackupCursorCell();
  void DrawCursorLine();  // row 8 of cell AC after C
  int MaxShift() const { return N ? kLineLength - 1 : kCells - 1; }

  void StartBlink();
  void StopBlink();

  ChipTimer::LockFn timerLock_;
  std::function<std::unique_ptr<TimerPacer>()> pacerFactory_;
  std::mutex ownLock_;          // the timer's lock while no device is attached
  bool blockShown_ = false;     // the blink block is on the panel
  // The BlinkWorker thread. Last, so its threads end before the fields go away.
  ChipTimer blinkWorker_;
};

}  // namespace radove
