// A list that keeps its count beside its storage and grows in blocks of
// 1000 zeroed entries. Blocks are never moved once allocated: a list of two
// million records grows without copying itself over and over, and its peak
// memory stays close to its final size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace ZizAvodi {

template <typename T>
class BlockList {
 public:
  static constexpr std::int32_t BlockSize = 1000;

  std::int32_t Count() const { return count_; }
  // Allocated length: a multiple of 1000, at least the count.
  std::int32_t Capacity() const { return static_cast<std::int32_t>(blocks_.size()) * BlockSize; }

  // Appends a value-initialised entry and returns it. Throws std::bad_alloc
  // when memory runs out; the entries before stay valid.
  T& Append() {
    // A loop, not an if: after ReleaseStorage the count may exceed the storage.
    while (count_ >= Capacity()) {
      blocks_.reserve(blocks_.size() + 1);
      blocks_.push_back(std::make_unique<T[]>(BlockSize));
    }
    const std::int32_t i = count_++;
    return blocks_[static_cast<std::size_t>(i / BlockSize)][i % BlockSize];
  }

  T& operator[](std::int32_t i) {
    return blocks_[static_cast<std::size_t>(i / BlockSize)][i % BlockSize];
  }
  const T& operator[](std::int32_t i) const {
    return blocks_[static_cast<std::size_t>(i / BlockSize)][i % BlockSize];
  }

  // Storage released; the count is left alone (the release keeps counts).
  void ReleaseStorage() {
    blocks_.clear();
    blocks_.shrink_to_fit();
  }
  void Clear() {
    ReleaseStorage();
    count_ = 0;
  }

 private:
  std::vector<std::unique_ptr<T[]>> blocks_;
  std::int32_t count_ = 0;
};

} // namespace ZizAvodi
