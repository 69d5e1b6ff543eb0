#pragma once
// Run control: the run state machine (stopped, running, paused, single step), the
// loading of a preset list into the device, and the worker thread that executes one
// input word at a time and asks the host (the view) to redraw.
//
// The worker talks to the host only through SimulationHost. Each request carries a
// HostReply; the worker waits for it at most replyTimeout (200 ms) and then goes on,
// so a busy or frozen window never stalls the simulation for long.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "core/DeviceBase.h"
#include "core/ItemCounter.h"
#include "core/Records.h"

namespace radove {

enum RunState { kStopped = 0, kRunning = 1, kPaused = 2, kSingleStep = 3 };

// What the run control reads from the document.
class SimulationModel {
 public:
  virtual ~SimulationModel() = default;
  // The current device model, or nullptr. Replaced only while the run is stopped.
  virtual CDeviceBase* Device() = 0;
  virtual int CurrentDeviceId() const = 0;
  // The preset list stored for the device id, or nullptr.
  virtual const PresetList* PresetListFor(int deviceId) const = 0;
};

// The answer to one host request. The host calls Complete from any thread once it
// has handled the request.
class HostReply {
 public:
  void Complete();
  // True when completed within the timeout.
  bool WaitFor(std::chrono::milliseconds timeout);
  bool Completed() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable done_;
  bool completed_ = false;
};

class SimulationHost {
 public:
  virtual ~SimulationHost() = default;
  // Draw the device in the active mode.
  virtual void RequestRedraw(std::shared_ptr<HostReply> reply) = 0;
  // One item was executed in single-step mode: draw, and when step mode is on,
  // refresh the inspection panes and append the decoded sentences.
  virtual void StepExecuted(std::shared_ptr<HostReply> reply) = 0;
};

struct RunTiming {
  int batch = 10;          // mcproccontinous
  int runSleepMs = 10;     // excutetime
  int pausedSleepMs = 100; // pexcutetime
};

class Simulation {
 public:
  Simulation(SimulationModel& model, SimulationHost& host);
  ~Simulation();
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;

  // The four commands. Step returns true when the data tree's selection should
  // advance to the next item (the step came from the stopped or paused state).
  void Run();
  bool Step();
  void Pause();
  // Ends the worker, resets the device and empties its queue, sets the item counter
  // to 1. The caller then resets the panes and redraws in the stopped mode.
  void Stop();

  bool CanRun() const;
  bool CanStep() const;
  bool CanPause() const;
  bool CanStop() const;

  // Resets the device and empties its queue; with feed, feeds it the preset list
  // stored for deviceId.
  void LoadItems(int deviceId, bool feed);

  // A new document: stop if needed, then state 0, step mode off, no worker,
  // item counter 1.
  void ResetForNewDocument();

  int State() const { return state_.load(); }
  bool StepMode() const { return stepMode_.load(); }
  bool WorkerPresent() const { return workerPresent_.load(); }
  ItemCounter& Counter() { return counter_; }
  const ItemCounter& Counter() const { return counter_; }

  // Read by the worker each time it uses them; values are clamped to 1..10000.
  void SetTiming(const RunTiming& timing);
  RunTiming Timing() const;
  void SetReplyTimeout(std::chrono::milliseconds timeout) { replyTimeout_ = timeout; }

 private:
  void StartWorker();
  void EndWorker();
  void WorkerLoop();
  void Send(bool step);
  // Sleeps until the time passes, a command wakes the worker, or it must quit.
  void SleepFor(std::chrono::milliseconds duration, std::uint64_t seenWakeups);
  void Wake();

  SimulationModel& model_;
  SimulationHost& host_;
  ItemCounter counter_;

  std::atomic<int> state_{kStopped};
  std::atomic<bool> stepMode_{false};
  std::atomic<bool> workerPresent_{false};
  std::atomic<int> batch_{10}, runSleepMs_{10}, pausedSleepMs_{100};
  std::chrono::milliseconds replyTimeout_{200};

  std::thread worker_;
  std::mutex wakeMutex_;
  std::condition_variable wakeCv_;
  bool quit_ = false;             // guarded by wakeMutex_
  std::uint64_t wakeups_ = 0;     // guarded by wakeMutex_
  std::shared_ptr<HostReply> pending_;  // guarded by wakeMutex_
};

}  // namespace radove
