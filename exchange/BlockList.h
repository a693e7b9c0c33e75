// A list that keeps its count beside its storage and grows in blocks of
// 1000 entries. Blocks are never moved once allocated: a list of two
// million records grows without copying itself over and over, and its peak
// memory stays close to its final size. An entry is constructed (all
// fields zero) when it is appended, not when its block is allocated, so
// the untouched rest of a block costs no memory traffic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace ZizAvodi {

template <typename T>
class BlockList {
 public:
  static constexpr std::int32_t BlockSize = 1000;

  BlockList() = default;
  BlockList(const BlockList&) = delete;
  BlockList& operator=(const BlockList&) = delete;
  BlockList(BlockList&& other) noexcept { Swap(other); }
  BlockList& operator=(BlockList&& other) noexcept {
    if (this != &other) {
      ReleaseStorage();
      count_ = 0;
      Swap(other);
    }
    return *this;
  }
  ~BlockList() { ReleaseStorage(); }

  std::int32_t Count() const { return count_; }
  // Allocated length: a multiple of 1000, at least the count.
  std::int32_t Capacity() const { return static_cast<std::int32_t>(blocks_.size()) * BlockSize; }

  // Appends a value-initialised entry and returns it. Throws std::bad_alloc
  // when memory runs out; the entries before stay valid.
  T& Append() {
    // A loop, not an if: after ReleaseStorage the count may exceed the storage.
    while (count_ >= Capacity()) AddBlock();
    // Entries the count covers but that were never constructed (only after a
    // release) are constructed too, so that every counted entry is valid.
    while (constructed_ <= count_) {
      ::new (static_cast<void*>(Slot(constructed_))) T();
      ++constructed_;
    }
    return *Slot(count_++);
  }

  T& operator[](std::int32_t i) { return *Slot(i); }
  const T& operator[](std::int32_t i) const {
    return blocks_[static_cast<std::size_t>(i / BlockSize)][i % BlockSize];
  }

  // Storage released; the count is left alone (the release keeps counts).
  void ReleaseStorage() {
    for (std::int32_t i = 0; i < constructed_; ++i) Slot(i)->~T();
    std::allocator<T> alloc;
    for (T* block : blocks_) alloc.deallocate(block, BlockSize);
    blocks_.clear();
    blocks_.shrink_to_fit();
    constructed_ = 0;
  }
  void Clear() {
    ReleaseStorage();
    count_ = 0;
  }

 private:
  void AddBlock() {
    blocks_.reserve(blocks_.size() + 1); // may throw before anything changes
    std::allocator<T> alloc;
    blocks_.push_back(alloc.allocate(BlockSize));
  }
  T* Slot(std::int32_t i) {
    return &blocks_[static_cast<std::size_t>(i / BlockSize)][i % BlockSize];
  }
  void Swap(BlockList& other) noexcept {
    blocks_.swap(other.blocks_);
    std::swap(count_, other.count_);
    std::swap(constructed_, other.constructed_);
  }

  std::vector<T*> blocks_;
  std::int32_t count_ = 0;
  std::int32_t constructed_ = 0; // entries 0..constructed_-1 hold live objects
};

} // namespace ZizAvodi
