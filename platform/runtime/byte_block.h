// A block of bytes that is not cleared when it is made, for memory that is written whole before
// anything reads it: decoded pixels, a file's bytes, the copy a lock hands out. A std::vector
// clears every byte it grows by, a pass over memory that the next pass overwrites anyway (a
// seventh of a large JPEG's load into a texture went on such clearing). A block can also be
// placed a given distance past a cache line's start, for a writer whose stores depend on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

namespace platform {

class ByteBlock {
 public:
  // The cache line a skewed block is placed against.
  static constexpr size_t kLine = 64;

  ByteBlock() = default;
  ByteBlock(ByteBlock&& other) noexcept { *this = std::move(other); }
  ByteBlock& operator=(ByteBlock&& other) noexcept {
    memory_ = std::move(other.memory_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    return *this;
  }

  // Replaces the block by one of size bytes whose contents are undefined; false, leaving the
  // block empty, when memory runs out.
  bool Allocate(size_t size) { return Place(size, 0, false); }
  // The same, with the first byte skew bytes (below kLine) past the start of a cache line.
  bool Allocate(size_t size, size_t skew) { return Place(size, skew % kLine, true); }
  // Gives the memory back; the block is then empty.
  void Clear() {
    memory_.reset();
    data_ = nullptr;
    size_ = 0;
  }

  uint8_t* data() { return data_; }
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

 private:
  struct Free {
    void operator()(uint8_t* memory) const { std::free(memory); }
  };

  bool Place(size_t size, size_t skew, bool skewed) {
    Clear();
    if (size == 0) return true;
    size_t extra = skewed ? kLine : 0;
    if (size > SIZE_MAX - extra) return false;
    memory_.reset(static_cast<uint8_t*>(std::malloc(size + extra)));
    if (memory_ == nullptr) return false;
    uintptr_t start = reinterpret_cast<uintptr_t>(memory_.get());
    data_ = memory_.get() + (skewed ? (kLine + skew - start % kLine) % kLine : 0);
    size_ = size;
    return true;
  }

  std::unique_ptr<uint8_t, Free> memory_;
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace platform
