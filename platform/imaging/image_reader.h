// Hands an image file in memory to the decoder through reading callbacks (read, skip, at end),
// in the blocks it asks for, and notes whether it ever needed a byte the file does not hold.
// The decoder reads ahead into a buffer of its own, so a block for that buffer that the file ends
// inside is normal; what is not: asking that buffer for more once the whole file was delivered,
// a read straight into the decoder's output that the file cannot fill, or a skip past the end.
// The decoder fills such missing bytes with zeros and carries on, so a file cut short would
// otherwise come back as a whole picture.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::stb {

class ImageReader {
 public:
  ImageReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // The three callbacks, with user data pointing at the reader.
  static int Read(void* user, char* out, int size);
  static void Skip(void* user, int count);
  static int AtEnd(void* user);

  // True once the decoder needed bytes after the last one.
  bool AskedPastEnd() const { return askedPastEnd_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
  const char* readAhead_ = nullptr;  // the decoder's own buffer: where its first read goes
  bool askedPastEnd_ = false;
};

}  // namespace platform::stb
