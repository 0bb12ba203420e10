// A block of bytes that is not cleared when it is made, for memory that is written whole before
// anything reads it: decoded pixels, a file's bytes, the copy a lock hands out. A std::vector
// clears every byte it grows by, a pass over memory that the next pass overwrites anyway (a
// seventh of a large JPEG's load into a texture went on such clearing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace platform {

class ByteBlock {
 public:
  ByteBlock() = default;

  // Replaces the block by one of size bytes whose contents are undefined; false, leaving the
  // block empty, when memory runs out.
  bool Allocate(size_t size) {
    bytes_.reset();
    size_ = 0;
    if (size == 0) return true;
    // new of an array of bytes without "()" leaves them uninitialised.
    bytes_.reset(new (std::nothrow) uint8_t[size]);
    if (bytes_ == nullptr) return false;
    size_ = size;
    return true;
  }
  // Gives the memory back; the block is then empty.
  void Clear() {
    bytes_.reset();
    size_ = 0;
  }

  uint8_t* data() { return bytes_.get(); }
  const uint8_t* data() const { return bytes_.get(); }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

 private:
  std::unique_ptr<uint8_t[]> bytes_;
  size_t size_ = 0;
};

}  // namespace platform
