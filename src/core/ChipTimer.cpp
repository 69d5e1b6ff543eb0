#include "core/ChipTimer.h"

#include <algorithm>

namespace radove {

bool SteadyPacer::WaitNextTick() {
  std::unique_lock<std::mutex> lock(mutex_);
  return !wake_.wait_for(lock, period_, [this] { return interrupted_; });
}

void SteadyPacer::Interrupt() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    interrupted_ = true;
  }
  wake_.notify_all();
}

void ChipTimer::Body(Run& run) {
  for (;;) {
    {
      std::unique_lock<std::mutex> lock = run.lock();
      // Stop() is called under the same lock, so a stopped run never steps again.
      if (run.stopped.load()) break;
      run.step();
    }
    if (!run.pacer->WaitNextTick()) break;
  }
  run.finished.store(true);
}

void ChipTimer::Start(std::unique_ptr<TimerPacer> pacer, LockFn lock, StepFn step) {
  Stop();
  ReapFinished();
  auto run = std::make_unique<Run>();
  run->pacer = std::move(pacer);
  run->lock = std::move(lock);
  run->step = std::move(step);
  Run& r = *run;
  run->thread = std::thread([&r] { Body(r); });
  current_ = std::move(run);
}

void ChipTimer::Stop() {
  if (!current_) return;
  current_->stopped.store(true);
  current_->pacer->Interrupt();
  stopped_.push_back(std::move(current_));
}

void ChipTimer::ReapFinished() {
  auto done = std::partition(stopped_.begin(), stopped_.end(),
                             [](const std::unique_ptr<Run>& r) { return !r->finished.load(); });
  for (auto it = done; it != stopped_.end(); ++it) (*it)->thread.join();
  stopped_.erase(done, stopped_.end());
}

void ChipTimer::Shutdown() {
  Stop();
  for (auto& run : stopped_) {
    if (run->thread.joinable()) run->thread.join();
  }
  stopped_.clear();
}

}  // namespace radove
