#include "core/Simulation.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace radove {
namespace {

using namespace std::chrono_literals;

// Records every word it executes; throws on the values it is told to.
class RecordingDevice : public CDeviceBase {
 public:
  RecordingDevice() : CDeviceBase(DeviceColours{}) { SetIdleRedraw(false); }
  bool ProcessNextItem(std::int32_t) override {
    if (Queue().Empty()) return false;
    CountItem();
    const std::int64_t w = Queue().Pop();
    if (w == throwOnProcess) throw std::runtime_error("bad word");
    std::lock_guard<std::mutex> l(m);
    taken.push_back(w);
    return true;
  }
  void FeedItem(int kind, std::uint32_t additional, int, std::int64_t value, int) override {
    if (value == throwOnFeed) throw std::invalid_argument("bad item");
    PushItem(value * 1000 + kind * 100 + additional);
  }
  void Reset() override {
    ++resets;
    if (throwOnReset) throw std::runtime_error("reset failed");
  }
  std::vector<std::int64_t> Taken() {
    std::lock_guard<std::mutex> l(m);
    return taken;
  }
  std::mutex m;
  std::vector<std::int64_t> taken;
  std::int64_t throwOnProcess = -1;
  std::int64_t throwOnFeed = -1;
  bool throwOnReset = false;
  int resets = 0;
};

// Executes each word but ends the batch after it, as a chip does for a word that
// needs a redraw at once.
class BatchEndingDevice : public RecordingDevice {
 public:
  bool ProcessNextItem(std::int32_t r) override {
    RecordingDevice::ProcessNextItem(r);
    return false;
  }
};

class FakeModel : public SimulationModel {
 public:
  CDeviceBase* Device() override { return device; }
  int CurrentDeviceId() const override { return id; }
  const PresetList* PresetListFor(int deviceId) const override {
    return deviceId == id ? &items : nullptr;
  }
  CDeviceBase* device = nullptr;
  int id = 100000;
  PresetList items;
};

struct Event {
  bool step;
  std::int64_t counter;
};

class FakeHost : public SimulationHost {
 public:
  void RequestRedraw(std::shared_ptr<HostReply> reply) override { Record(false, reply); }
  void StepExecuted(std::shared_ptr<HostReply> reply) override { Record(true, reply); }
  std::vector<Event> Events() {
    std::lock_guard<std::mutex> l(m);
    return events;
  }
  std::size_t Count(bool step) {
    std::size_t n = 0;
    for (const Event& e : Events()) n += e.step == step;
    return n;
  }
  Simulation* sim = nullptr;
  bool answer = true;

 private:
  void Record(bool step, const std::shared_ptr<HostReply>& reply) {
    {
      std::lock_guard<std::mutex> l(m);
      events.push_back({step, sim ? sim->Counter().Value() : 0});
    }
    if (answer) reply->Complete();
  }
  std::mutex m;
  std::vector<Event> events;
};

template <class Pred>
bool WaitUntil(Pred pred) {
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!pred()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

class SimulationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model.device = &device;
    host.sim = &sim;
    sim.SetTiming({10, 1, 1});
  }
  void Feed(int n) {
    for (int i = 1; i <= n; ++i) model.items.push_back(MakeDataItem(i, true, 0, i));
  }
  static std::int64_t Word(std::int64_t value) { return value * 1000 + 100; }

  RecordingDevice device;
  FakeModel model;
  FakeHost host;
  Simulation sim{model, host};
};

TEST_F(SimulationTest, ThreeSingleStepsExecuteOneItemEach) {
  Feed(3);
  for (int step = 1; step <= 3; ++step) {
    ASSERT_TRUE(sim.CanStep());
    EXPECT_TRUE(sim.Step());  // the data tree advances
    ASSERT_TRUE(WaitUntil([&] { return host.Count(true) == static_cast<std::size_t>(step) &&
                                       sim.State() == kPaused; }));
    EXPECT_EQ(device.Taken().size(), static_cast<std::size_t>(step));
    EXPECT_TRUE(sim.StepMode());
  }
  EXPECT_EQ(device.Taken(), (std::vector<std::int64_t>{Word(1), Word(2), Word(3)}));
  EXPECT_EQ(sim.Counter().Value(), 4);
  // The single-step request is sent with the item already counted.
  EXPECT_EQ(host.Events().front().counter, 2);
}

TEST_F(SimulationTest, AStepWhoseWordEndsTheBatchOrFailsIsStillReported) {
  BatchEndingDevice ending;
  model.device = &ending;
  ending.throwOnProcess = Word(2);
  Feed(3);
  for (std::size_t step = 1; step <= 3; ++step) {
    sim.Step();
    ASSERT_TRUE(WaitUntil([&] { return host.Count(true) == step && sim.State() == kPaused; }));
  }
  EXPECT_EQ(ending.Taken(), (std::vector<std::int64_t>{Word(1), Word(3)}));
  // Past the end nothing is executed and nothing reported.
  sim.Step();
  ASSERT_TRUE(WaitUntil([&] { return sim.State() == kPaused; }));
  EXPECT_EQ(host.Count(true), 3u);
  sim.Stop();
}

TEST_F(SimulationTest, StepOnAnEmptyListPausesWithoutAStepReport) {
  EXPECT_TRUE(sim.Step());
  EXPECT_TRUE(sim.WorkerPresent());
  ASSERT_TRUE(WaitUntil([&] { return sim.State() == kPaused; }));
  EXPECT_EQ(host.Count(true), 0u);
  EXPECT_TRUE(device.Taken().empty());
}

TEST_F(SimulationTest, CommandEnablingFollowsTheRunState) {
  Feed(3);
  sim.SetTiming({1, 10000, 10000});  // one item, then a long sleep: the run stays put
  EXPECT_TRUE(sim.CanRun());
  EXPECT_TRUE(sim.CanStep());
  EXPECT_FALSE(sim.CanPause());
  EXPECT_FALSE(sim.CanStop());

  sim.Run();
  EXPECT_EQ(sim.State(), kRunning);
  EXPECT_FALSE(sim.CanRun());
  EXPECT_FALSE(sim.CanStep());
  EXPECT_TRUE(sim.CanPause());
  EXPECT_TRUE(sim.CanStop());

  sim.Pause();
  EXPECT_EQ(sim.State(), kPaused);
  EXPECT_TRUE(sim.CanRun());
  EXPECT_FALSE(sim.CanStep());  // step mode is off after Run
  EXPECT_FALSE(sim.CanPause());

  sim.Run();  // resumes
  EXPECT_EQ(sim.State(), kRunning);
  EXPECT_FALSE(sim.StepMode());

  sim.Stop();
  EXPECT_EQ(sim.State(), kStopped);
  EXPECT_FALSE(sim.WorkerPresent());
  EXPECT_FALSE(sim.CanStop());

  model.id = -1;  // no device chosen
  EXPECT_FALSE(sim.CanRun());
  EXPECT_FALSE(sim.CanStep());
}

TEST_F(SimulationTest, StepAfterAStepContinuesAndRunLeavesStepMode) {
  Feed(3);
  sim.Step();
  ASSERT_TRUE(WaitUntil([&] { return sim.State() == kPaused && host.Count(true) == 1; }));
  EXPECT_TRUE(sim.CanStep());
  sim.Run();
  ASSERT_TRUE(WaitUntil([&] { return device.Taken().size() == 3; }));
  EXPECT_EQ(host.Count(true), 1u);  // run mode fills no panes
  EXPECT_FALSE(sim.StepMode());
}

TEST_F(SimulationTest, RunRedrawsAfterEveryBatchAndAtTheEndOfTheData) {
  Feed(25);
  sim.Run();
  ASSERT_TRUE(WaitUntil([&] { return host.Count(false) >= 5; }));
  sim.Stop();
  const auto events = host.Events();
  // Counter = 1 + items taken at the moment of each redraw.
  EXPECT_EQ(events[0].counter, 11);
  EXPECT_EQ(events[1].counter, 21);
  EXPECT_EQ(events[2].counter, 26);
  EXPECT_EQ(events[3].counter, 26);  // the run never ends by itself: it keeps redrawing
  EXPECT_EQ(device.Taken().size(), 25u);
}

TEST_F(SimulationTest, StopWhilePausedEndsTheWorkerAndTheNextRunStartsAfresh) {
  Feed(5);
  sim.SetTiming({2, 1, 1});
  sim.Run();
  ASSERT_TRUE(WaitUntil([&] { return device.Taken().size() == 5; }));
  sim.Pause();
  sim.Stop();
  EXPECT_FALSE(sim.WorkerPresent());
  EXPECT_EQ(sim.Counter().Value(), 1);
  EXPECT_EQ(device.QueuedItems(), 0u);
  const int resetsAfterStop = device.resets;
  EXPECT_GE(resetsAfterStop, 2);  // the run's load and the stop

  sim.Run();
  EXPECT_TRUE(sim.WorkerPresent());
  ASSERT_TRUE(WaitUntil([&] { return device.Taken().size() == 10; }));
  EXPECT_EQ(device.resets, resetsAfterStop + 1);
  sim.Stop();
}

TEST_F(SimulationTest, PauseHaltsProcessingAtOnce) {
  Feed(200);
  sim.SetTiming({1, 5, 1});
  sim.Run();
  ASSERT_TRUE(WaitUntil([&] { return !device.Taken().empty(); }));
  sim.Pause();
  const std::size_t atPause = device.Taken().size();
  std::this_thread::sleep_for(50ms);
  // At most the word under way when Pause came.
  EXPECT_LE(device.Taken().size(), atPause + 1);
  sim.Run();
  ASSERT_TRUE(WaitUntil([&] { return device.Taken().size() > atPause + 1; }));
  sim.Stop();
}

TEST_F(SimulationTest, DeviceExceptionsAreCaughtAndTheRunGoesOn) {
  Feed(4);
  device.throwOnFeed = 2;             // item 2 is skipped while loading
  device.throwOnProcess = Word(3);    // item 3 fails while executing
  device.throwOnReset = true;
  sim.Run();
  ASSERT_TRUE(WaitUntil([&] { return device.Taken().size() == 2 && host.Count(false) >= 1; }));
  EXPECT_EQ(device.Taken(), (std::vector<std::int64_t>{Word(1), Word(4)}));
  sim.Stop();
}

TEST_F(SimulationTest, ItemsAreParsedWithTheForgivingRules) {
  DataItem odd = MakeDataItem(1, true, 0, 0);
  odd.kind = "1xyz";
  odd.additional = "zz";   // not hexadecimal: 0
  odd.value = "hello";     // not a number: 0
  DataItem hex = MakeDataItem(2, false, 0, 7);
  hex.additional = "1F";
  model.items = {odd, hex};
  sim.LoadItems(model.id, true);
  ASSERT_EQ(device.QueuedItems(), 2u);
  device.ProcessNextItem(0);
  device.ProcessNextItem(0);
  EXPECT_EQ(device.Taken(), (std::vector<std::int64_t>{100, 7000 + 0x1F}));
}

TEST_F(SimulationTest, AnUnansweredRequestIsGivenUpAndTheRunGoesOn) {
  Feed(3);
  host.answer = false;
  sim.SetReplyTimeout(20ms);
  sim.SetTiming({1, 1, 1});
  sim.Run();
  ASSERT_TRUE(WaitUntil([&] { return device.Taken().size() == 3 && host.Count(false) >= 3; }));
  sim.Stop();  // also prompt while a request is outstanding
  EXPECT_FALSE(sim.WorkerPresent());
}

TEST_F(SimulationTest, PausedDeviceWithIdleRedrawIsRedrawn) {
  Feed(1);
  sim.Step();
  ASSERT_TRUE(WaitUntil([&] { return sim.State() == kPaused && host.Count(true) == 1; }));
  const std::size_t before = host.Count(false);
  device.SetIdleRedraw(true);
  ASSERT_TRUE(WaitUntil([&] { return host.Count(false) > before; }));
  EXPECT_FALSE(device.NeedsIdleRedraw());  // the worker lowered it
  sim.Stop();
}

TEST_F(SimulationTest, NewDocumentStopsAndResets) {
  Feed(3);
  sim.Step();
  ASSERT_TRUE(WaitUntil([&] { return sim.State() == kPaused; }));
  sim.ResetForNewDocument();
  EXPECT_EQ(sim.State(), kStopped);
  EXPECT_FALSE(sim.StepMode());
  EXPECT_FALSE(sim.WorkerPresent());
  EXPECT_EQ(sim.Counter().Value(), 1);
}

}  // namespace
}  // namespace radove
