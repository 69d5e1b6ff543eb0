#include "core/Simulation.h"

#include <algorithm>
#include <exception>

#include "core/TextParse.h"

namespace radove {

void HostReply::Complete() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    completed_ = true;
  }
  done_.notify_all();
}

bool HostReply::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return done_.wait_for(lock, timeout, [this] { return completed_; });
}

bool HostReply::Completed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return completed_;
}

Simulation::Simulation(SimulationModel& model, SimulationHost& host)
    : model_(model), host_(host) {}

Simulation::~Simulation() { EndWorker(); }

namespace {
int ClampSetting(int v) { return std::clamp(v, 1, 10000); }
}  // namespace

void Simulation::SetTiming(const RunTiming& t) {
  batch_ = ClampSetting(t.batch);
  runSleepMs_ = ClampSetting(t.runSleepMs);
  pausedSleepMs_ = ClampSetting(t.pausedSleepMs);
}

RunTiming Simulation::Timing() const { return {batch_.load(), runSleepMs_.load(), pausedSleepMs_.load()}; }

bool Simulation::CanStop() const { return State() != kStopped; }

bool Simulation::CanRun() const {
  const int s = State();
  return (s == kStopped || s == kPaused) && model_.CurrentDeviceId() != -1;
}

bool Simulation::CanPause() const {
  const int s = State();
  return s == kRunning || s == kSingleStep;
}

bool Simulation::CanStep() const {
  const int s = State();
  return model_.CurrentDeviceId() != -1 && (s == kStopped || (s == kPaused && StepMode()));
}

void Simulation::Run() {
  const int s = State();
  if (s == kPaused) {
    state_ = kRunning;
    stepMode_ = false;
    Wake();
    return;
  }
  if (s != kStopped) return;
  state_ = kRunning;
  stepMode_ = false;
  if (workerPresent_) return;
  workerPresent_ = true;
  LoadItems(model_.CurrentDeviceId(), true);
  StartWorker();
}

bool Simulation::Step() {
  const int old = state_.exchange(kSingleStep);
  if (old == kRunning || old == kSingleStep) return false;
  if (old == kPaused) {
    Wake();
    return true;
  }
  stepMode_ = true;
  if (!workerPresent_) {
    workerPresent_ = true;
    LoadItems(model_.CurrentDeviceId(), true);
    StartWorker();
  }
  return true;
}

void Simulation::Pause() {
  int s = State();
  while ((s == kRunning || s == kSingleStep) && !state_.compare_exchange_weak(s, kPaused)) {
  }
}

void Simulation::Stop() {
  state_ = kStopped;
  // End the worker before the reset so no word is half executed while the chips
  // are put back to their power-on state.
  EndWorker();
  counter_.Reset();
  LoadItems(model_.CurrentDeviceId(), false);
}

void Simulation::ResetForNewDocument() {
  if (State() != kStopped && model_.CurrentDeviceId() != -1) Stop();
  state_ = kStopped;
  EndWorker();
  stepMode_ = false;
  counter_.Reset();
}

void Simulation::LoadItems(int deviceId, bool feed) {
  CDeviceBase* device = model_.Device();
  if (device) {
    auto lock = device->Lock();
    device->AttachItemCounter(&counter_);
    try {
      device->Reset();
    } catch (...) {
    }
    try {
      device->ClearItems();
    } catch (...) {
    }
  }
  if (!feed) return;
  const PresetList* list = model_.PresetListFor(deviceId);
  if (!list || list->empty() || !device) return;
  auto lock = device->Lock();
  for (const DataItem& item : *list) {
    const int kind = static_cast<int>(LeadingNumber(item.kind));
    const std::uint64_t additional = ParseHex64(item.additional).value_or(0);
    const std::int64_t value = ParseDecimal64(item.value).value_or(0);
    try {
      device->FeedItem(kind, static_cast<std::uint32_t>(additional), 0, value, 0);
    } catch (...) {
      // A faulty item is skipped; the rest of the list still loads.
    }
  }
}

void Simulation::StartWorker() {
  {
    std::lock_guard<std::mutex> lock(wakeMutex_);
    quit_ = false;
  }
  worker_ = std::thread([this] { WorkerLoop(); });
}

void Simulation::EndWorker() {
  std::shared_ptr<HostReply> pending;
  {
    std::lock_guard<std::mutex> lock(wakeMutex_);
    quit_ = true;
    ++wakeups_;
    pending = pending_;
  }
  wakeCv_.notify_all();
  // The worker may be waiting for this very thread to answer a request: answer it
  // so the join does not wait out the timeout.
  if (pending) pending->Complete();
  if (worker_.joinable()) worker_.join();
  workerPresent_ = false;
}

void Simulation::Wake() {
  {
    std::lock_guard<std::mutex> lock(wakeMutex_);
    ++wakeups_;
  }
  wakeCv_.notify_all();
}

void Simulation::SleepFor(std::chrono::milliseconds duration, std::uint64_t seenWakeups) {
  std::unique_lock<std::mutex> lock(wakeMutex_);
  wakeCv_.wait_for(lock, duration, [&] { return quit_ || wakeups_ != seenWakeups; });
}

void Simulation::Send(bool step) {
  auto reply = std::make_shared<HostReply>();
  {
    std::lock_guard<std::mutex> lock(wakeMutex_);
    if (quit_) return;
    pending_ = reply;
  }
  if (step) {
    host_.StepExecuted(reply);
  } else {
    host_.RequestRedraw(reply);
  }
  reply->WaitFor(replyTimeout_);
  std::lock_guard<std::mutex> lock(wakeMutex_);
  pending_.reset();
}

void Simulation::WorkerLoop() {
  // How long the worker waits while nothing is due: short enough that a device's
  // idle-redraw flag is seen promptly while paused.
  constexpr std::chrono::milliseconds kIdlePoll{10};
  int batch = batch_;
  for (;;) {
    std::uint64_t seen;
    {
      std::lock_guard<std::mutex> lock(wakeMutex_);
      if (quit_) return;
      seen = wakeups_;
    }
    CDeviceBase* device = model_.Device();
    int state = State();
    if (state == kRunning || state == kSingleStep) {
      if (!device) {
        batch = 0;
      } else {
        bool took = false;
        bool failed = false;
        const std::int64_t before = counter_.Value();
        try {
          auto lock = device->Lock();
          took = device->ProcessNextItem(0);
        } catch (...) {
          failed = true;  // the batch counter stays as it was
        }
        // A word may end its batch (false) or fail after it was taken; a single
        // step still executed it, so the panes must hear of it.
        const bool executed = took || counter_.Value() != before;
        if (executed && State() == kSingleStep) {
          Send(true);
          if (!took && !failed) batch = 0;
        } else if (!failed) {
          if (!took) {
            batch = 0;
          } else {
            --batch;
          }
        }
      }
      int single = kSingleStep;
      state_.compare_exchange_strong(single, kPaused);
      state = State();
    }
    if (state == kPaused && device && device->NeedsIdleRedraw()) {
      device->SetIdleRedraw(false);
      Send(false);
      SleepFor(std::chrono::milliseconds(pausedSleepMs_.load()), seen);
      continue;
    }
    if (batch > 0) {
      // Running: go straight on. Paused or stopped: nothing to do until a command.
      if (state == kPaused || state == kStopped) SleepFor(kIdlePoll, seen);
      continue;
    }
    batch = batch_;
    Send(false);
    SleepFor(std::chrono::milliseconds(runSleepMs_.load()), seen);
  }
}

}  // namespace radove
