#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "devices/character/CHD44780UModule.h"
#include "devices/character/HD44780Rom.h"

namespace radove {
namespace {

// A clock the test advances by hand. A tick goes to the newest pacer only, so a
// stopped timer never leaves one behind for its successor. Every pacer counts the
// times its thread came back to wait, so the test knows when a step has finished.
class ManualClock {
 public:
  void Tick() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ticks_.empty()) ++ticks_.back();
    cv_.notify_all();
  }
  // Waits until timer threads have come to wait `n` times in all.
  void AwaitWaits(int n) {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [&] { return waits_ >= n; });
  }
  int Pacers() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(ticks_.size());
  }

  class Pacer : public TimerPacer {
   public:
    Pacer(std::shared_ptr<ManualClock> clock, std::size_t id) : clock_(std::move(clock)), id_(id) {}
    bool WaitNextTick() override {
      std::unique_lock<std::mutex> lock(clock_->mutex_);
      ++clock_->waits_;
      clock_->cv_.notify_all();
      int& ticks = clock_->ticks_[id_];
      clock_->cv_.wait(lock, [&] { return interrupted_ || ticks > 0; });
      if (interrupted_) return false;
      --ticks;
      return true;
    }
    void Interrupt() override {
      std::lock_guard<std::mutex> lock(clock_->mutex_);
      interrupted_ = true;
      clock_->cv_.notify_all();
    }

   private:
    std::shared_ptr<ManualClock> clock_;
    std::size_t id_;
    bool interrupted_ = false;  // guarded by the clock's mutex
  };

  static std::function<std::unique_ptr<TimerPacer>()> Factory(const std::shared_ptr<ManualClock>& clock) {
    return [clock] {
      std::lock_guard<std::mutex> lock(clock->mutex_);
      clock->ticks_.push_back(0);
      return std::make_unique<Pacer>(clock, clock->ticks_.size() - 1);
    };
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<int> ticks_;  // per pacer; a deque keeps references stable
  int waits_ = 0;
};

class BlinkTest : public ::testing::Test {
 protected:
  BlinkTest() { lcm->Chip().SetBlinkPacerFactory(ManualClock::Factory(clock)); }

  // Executes words the way the run control does: under the device lock.
  void Words(std::initializer_list<std::pair<int, int>> items) {
    for (auto [kind, value] : items) lcm->FeedItem(kind, 0, 0, value, 0);
    auto lock = lcm->Lock();
    while (lcm->QueuedItems() > 0) lcm->ProcessNextItem();
  }
  HD44780UChip::Rows CellLocked(int i) {
    auto lock = lcm->Lock();
    return lcm->Chip().cells[static_cast<std::size_t>(i)];
  }

  std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
  std::unique_ptr<CLCM1602HD44780U> lcm = std::make_unique<CLCM1602HD44780U>(DeviceColours{});
};

constexpr int kCmd = 0, kData = 1;

TEST_F(BlinkTest, CursorCellAlternatesBetweenBlockAndCharacterOnEachTick) {
  Words({{kCmd, 0x38}, {kData, 'A'}, {kCmd, 0x10}, {kCmd, 0x0F}});  // cursor back on the A
  clock->AwaitWaits(1);  // the first step ran as the blink started
  {
    auto lock = lcm->Lock();
    EXPECT_TRUE(lcm->Chip().blinkRunning);
    const auto& cell = lcm->Chip().cells[0];
    for (int r = 0; r < 7; ++r) EXPECT_EQ(cell[static_cast<std::size_t>(r)], 0xFF) << r;
    EXPECT_EQ(cell[7], 0);
    EXPECT_EQ(cell[8], 0xFF);  // the underline with C = 1
    EXPECT_TRUE(lcm->NeedsIdleRedraw());
    lcm->SetIdleRedraw(false);
  }
  clock->Tick();
  clock->AwaitWaits(2);
  {
    auto lock = lcm->Lock();
    const auto& cell = lcm->Chip().cells[0];
    const auto& glyph = HD44780RomGlyph('A');
    for (int r = 0; r < 8; ++r) EXPECT_EQ(cell[static_cast<std::size_t>(r)], glyph[static_cast<std::size_t>(r)]) << r;
    EXPECT_EQ(cell[8], 0);
    EXPECT_TRUE(lcm->NeedsIdleRedraw());  // raised again by the step
  }
  clock->Tick();
  clock->AwaitWaits(3);
  EXPECT_EQ(CellLocked(0)[0], 0xFF);

  // Blink off while the block is shown: the character comes back with its cursor
  // line, and the timer steps no more.
  Words({{kCmd, 0x0E}});
  {
    auto lock = lcm->Lock();
    EXPECT_FALSE(lcm->Chip().blinkRunning);
    EXPECT_EQ(lcm->Chip().cells[0][0], HD44780RomGlyph('A')[0]);
    EXPECT_EQ(lcm->Chip().cells[0][8], 0xFF);
  }
  clock->Tick();
  EXPECT_EQ(CellLocked(0)[0], HD44780RomGlyph('A')[0]);
}

TEST_F(BlinkTest, WritesUnderABlinkingCursorLeaveNoBlockBehind) {
  Words({{kCmd, 0x38}, {kCmd, 0x0D}, {kCmd, 0x01}});
  clock->AwaitWaits(1);
  EXPECT_EQ(CellLocked(0)[0], 0xFF);
  Words({{kData, 'H'}, {kData, 'i'}});
  {
    auto lock = lcm->Lock();
    EXPECT_EQ(lcm->Chip().cells[0], HD44780RomGlyph('H'));
    EXPECT_EQ(lcm->Chip().AC, 2);
  }
  // The writes already put the cell back: the next step only forgets the block,
  // the one after shows it on the new cursor cell.
  clock->Tick();
  clock->AwaitWaits(2);
  clock->Tick();
  clock->AwaitWaits(3);
  EXPECT_EQ(CellLocked(2)[0], 0xFF);
  EXPECT_EQ(CellLocked(1)[2], HD44780RomGlyph('i')[2]);
}

TEST_F(BlinkTest, ResetUnderTheDeviceLockStopsTheTimerWithoutWaitingForIt) {
  Words({{kCmd, 0x0F}});
  clock->AwaitWaits(1);
  {
    auto lock = lcm->Lock();
    clock->Tick();  // the timer now wants the lock this thread holds
    lcm->Reset();   // must not wait for the timer
    EXPECT_FALSE(lcm->Chip().blinkRunning);
  }
  // Whatever the stopped timer does once it gets the lock, it steps no more.
  Words({{kCmd, 0x0C}});
  EXPECT_EQ(CellLocked(0), HD44780RomGlyph(' '));
  // A new blink gets a new timer.
  Words({{kCmd, 0x0D}});
  EXPECT_EQ(clock->Pacers(), 2);
  clock->AwaitWaits(2);
  EXPECT_EQ(CellLocked(0)[3], 0xFF);
  lcm.reset();  // joins the timer threads; a hang here is the failure
  SUCCEED();
}

TEST_F(BlinkTest, BlockKeepsTheTenthRowOfADescender) {
  Words({{kCmd, 0x38}, {kCmd, 0x0C}, {kCmd, 0x01}, {kData, 0xE7}, {kCmd, 0x10}, {kCmd, 0x0D}});
  clock->AwaitWaits(1);
  const auto cell = CellLocked(0);
  EXPECT_EQ(cell[0], 0xFF);
  EXPECT_EQ(cell[9], 0x0E);
  clock->Tick();
  clock->AwaitWaits(2);
  EXPECT_EQ(CellLocked(0)[9], 0x0E);
  EXPECT_EQ(CellLocked(0)[2], 0x0F);
}

TEST(BlinkStepTest, OneStepShowsTheBlockAndTheNextTakesItDown) {
  HD44780UChip chip;  // the step alone, no thread
  chip.ExecuteWord(0x0E, false);
  chip.redrawPending = false;
  chip.BlinkStep();
  EXPECT_EQ(chip.cells[0][6], 0xFF);
  EXPECT_EQ(chip.cells[0][8], 0xFF);
  EXPECT_TRUE(chip.redrawPending.load());
  chip.BlinkStep();
  EXPECT_EQ(chip.cells[0], HD44780RomGlyph(' '));
}

}  // namespace
}  // namespace radove
