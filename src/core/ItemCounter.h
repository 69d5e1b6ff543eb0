#pragma once
// Counts the input words devices take during a run. It starts at 1 and is set back
// to 1 when the simulation stops, so while a run goes on it holds 1 + words taken.
// Written by the worker, read by the user-interface thread.

#include <atomic>
#include <cstdint>

namespace radove {

class ItemCounter {
 public:
  void Increment() { value_.fetch_add(1, std::memory_order_relaxed); }
  void Reset() { value_.store(1, std::memory_order_relaxed); }
  std::int64_t Value() const { return value_.load(std::memory_order_relaxed); }

 private:
  std::atomic<std::int64_t> value_{1};
};

}  // namespace radove
