#pragma once
// A chip's own timer thread (a cursor blink, a clock tick): one step per tick, each
// step taken under the owning device's lock so drawing never sees a half-done step.
//
// Stopping never waits for the thread: Stop() may be called while the device lock is
// held (from an executed word or a reset) and the thread may at that moment be
// waiting for the same lock. A stopped thread does no further step and ends as soon
// as it gets the lock or its pacer is interrupted; Shutdown() joins every thread the
// timer ever started and must be called without the device lock.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace radove {

// Decides when the next tick is due. The steady pacer waits for a fixed period;
// tests use a pacer they release tick by tick.
class TimerPacer {
 public:
  virtual ~TimerPacer() = default;
  // Blocks until the next tick is due. Returns false once Interrupt was called.
  virtual bool WaitNextTick() = 0;
  // Makes the current and every later WaitNextTick return false at once.
  virtual void Interrupt() = 0;
};

class SteadyPacer : public TimerPacer {
 public:
  explicit SteadyPacer(std::chrono::milliseconds period) : period_(period) {}
  bool WaitNextTick() override;
  void Interrupt() override;

 private:
  std::chrono::milliseconds period_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool interrupted_ = false;
};

class ChipTimer {
 public:
  using LockFn = std::function<std::unique_lock<std::mutex>()>;
  using StepFn = std::function<void()>;

  ChipTimer() = default;
  ~ChipTimer() { Shutdown(); }
  ChipTimer(const ChipTimer&) = delete;
  ChipTimer& operator=(const ChipTimer&) = delete;

  // Starts a thread that runs `step` under `lock` at once and then after every tick
  // of `pacer`. A running thread is stopped first.
  void Start(std::unique_ptr<TimerPacer> pacer, LockFn lock, StepFn step);
  // Ends the running thread's steps; returns at once (see above).
  void Stop();
  bool Running() const { return current_ != nullptr; }
  // Stops and joins every thread. Never call it with the device lock held.
  void Shutdown();

 private:
  struct Run {
    std::unique_ptr<TimerPacer> pacer;
    LockFn lock;
    StepFn step;
    std::atomic<bool> stopped{false};
    std::atomic<bool> finished{false};
    std::thread thread;
  };
  static void Body(Run& run);
  // Joins the stopped threads that have already ended.
  void ReapFinished();

  std::unique_ptr<Run> current_;
  std::vector<std::unique_ptr<Run>> stopped_;
};

}  // namespace radove
