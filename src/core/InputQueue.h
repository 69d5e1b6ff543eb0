#pragma once
// The device's first-in first-out queue of input words. Contiguous storage with a
// read index: pushing a preset list of 76,800 words allocates a handful of times,
// taking a word never allocates.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace radove {

class InputQueue {
 public:
  void Push(std::int64_t word) { words_.push_back(word); }
  bool Empty() const { return head_ >= words_.size(); }
  std::size_t Size() const { return words_.size() - head_; }
  std::int64_t Front() const { return words_[head_]; }
  // Removes and returns the front word; the queue must not be empty.
  std::int64_t Pop() {
    const std::int64_t w = words_[head_++];
    if (head_ == words_.size()) Clear();
    return w;
  }
  void Clear() {
    words_.clear();
    head_ = 0;
  }
  void Reserve(std::size_t n) { words_.reserve(n); }

 private:
  std::vector<std::int64_t> words_;
  std::size_t head_ = 0;
};

}  // namespace radove
