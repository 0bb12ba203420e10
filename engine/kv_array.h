// KV_ARRAY: a counted heap block with a stream cursor and one spare element, the
// fallback, that every out-of-range access returns instead of failing. The array owns
// its block; the elements lie packed in index order, because the engine reads and
// fills some arrays directly. Header-only and free of other code: the engine allocates
// and frees blocks through this template, and the framework above uses the same one.
#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "engine/large_block_cache.h"

template <class T>
struct KV_ARRAY {
  unsigned int count;    // number of elements
  T* data;               // first element; null when empty
  T* cursor;             // stream position; data after every allocation, null when empty
  T fallback;            // returned for every index out of range
  unsigned char shared;  // when set, the destructor leaves the block alone

  // Empty.
  KV_ARRAY() : count(0), data(nullptr), cursor(nullptr), fallback(), shared(0) {}
  // A block of n default elements.
  explicit KV_ARRAY(unsigned int n) : KV_ARRAY() { Resize(n); }
  // Copies the elements into a block of its own and the fallback; cursor at the start.
  KV_ARRAY(const KV_ARRAY& other) : KV_ARRAY() { CopyFrom(other); }
  KV_ARRAY& operator=(const KV_ARRAY& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  ~KV_ARRAY() {
    if (!shared) Free();
  }

  // Number of elements.
  unsigned int Size() const { return count; }
  // Size of the elements in bytes.
  unsigned int ByteSize() const { return count * (unsigned int)sizeof(T); }
  // True when there is no element.
  bool IsEmpty() const { return data == nullptr || count == 0; }
  // Pointer to element i; the fallback for an empty array or i >= count.
  T* Get(unsigned int i) { return (IsEmpty() || i >= count) ? &fallback : &data[i]; }
  const T* Get(unsigned int i) const { return (IsEmpty() || i >= count) ? &fallback : &data[i]; }
  // The cursor when atCursor, else the block.
  T* Buffer(bool atCursor) const { return atCursor ? cursor : data; }

  // Replaces the block by n default elements; the old contents are lost.
  void Resize(unsigned int n) {
    Free();
    if (n == 0) return;
    data = new T[n]();
    cursor = data;
    count = n;
  }

  // Replaces the block by n elements, keeping the first min(count, n) by assignment.
  void ResizeKeep(unsigned int n) {
    if (n == 0) {
      Free();
      return;
    }
    T* block = new T[n]();
    unsigned int keep = count < n ? count : n;
    for (unsigned int i = 0; i < keep; ++i) block[i] = data[i];
    Free();
    data = cursor = block;
    count = n;
  }

  // Destroys the elements and frees the block; a large byte block is kept for reuse.
  void Free() {
    if constexpr (std::is_same_v<T, unsigned char>)
      kv::engine::ReleaseByteBlock(data);
    else
      delete[] data;
    data = cursor = nullptr;
    count = 0;
  }

  // ---- stream ----
  // Cursor position in bytes from the start.
  unsigned int Tell() const {
    return data ? (unsigned int)((const char*)cursor - (const char*)data) : 0;
  }

  // Moves the cursor: mode 0 to offset, 1 offset back from the end, 2 forward by offset,
  // 3 back by offset, 4 to byte offset (landing on the element holding that byte);
  // positions count elements and stop at either end. Other modes do nothing.
  void Seek(unsigned int offset, int mode) {
    if (IsEmpty()) return;
    size_t at = (size_t)(cursor - data);
    size_t n;
    switch (mode) {
      case 0: n = Clamp(offset); break;
      case 1: n = count - Clamp(offset); break;
      case 2: n = Clamp(at + offset); break;
      case 3: n = at - (offset < at ? offset : at); break;
      case 4: {
        size_t bytes = (size_t)count * sizeof(T);
        n = (offset < bytes ? offset : bytes) / sizeof(T);
        break;
      }
      default: return;
    }
    cursor = data + n;
  }

  // Copies up to n bytes from the cursor to destination; returns the number copied
  // (0 for n 0 or an empty array).
  unsigned int Read(void* destination, unsigned int n) {
    if (n == 0 || IsEmpty() || destination == nullptr) return 0;
    size_t available = (size_t)((const char*)(data + count) - (const char*)cursor);
    size_t copied = n < available ? n : available;
    memcpy(destination, cursor, copied);
    cursor = (T*)((char*)cursor + copied);
    return (unsigned int)copied;
  }

  // Copies up to n elements from source to the cursor; the block never grows. Returns
  // the number of elements copied (0 for n 0 or an empty array).
  unsigned int Write(const void* source, unsigned int n) {
    if (n == 0 || IsEmpty() || source == nullptr) return 0;
    size_t available = (size_t)(data + count - cursor);
    size_t copied = n < available ? n : available;
    const T* from = (const T*)source;
    for (size_t i = 0; i < copied; ++i) cursor[i] = from[i];
    cursor += copied;
    return (unsigned int)copied;
  }

 private:
  size_t Clamp(size_t n) const { return n < count ? n : count; }

  void CopyFrom(const KV_ARRAY& other) {
    Resize(other.count);
    for (unsigned int i = 0; i < count; ++i) data[i] = other.data[i];
    fallback = other.fallback;
  }
};
