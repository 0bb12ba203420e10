// Little-endian fields of one metafile record, read by offset from the record's start. A field
// that lies past the record's end reads as 0 and marks the reader short, so a record too small
// for what its type needs is noticed once, after its fields are read, instead of at each field.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::metafile {

class RecordReader {
 public:
  RecordReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t U8(size_t at) { return Has(at, 1) ? data_[at] : 0; }
  uint16_t U16(size_t at) {
    return Has(at, 2) ? static_cast<uint16_t>(data_[at] | data_[at + 1] << 8) : 0;
  }
  int16_t S16(size_t at) { return static_cast<int16_t>(U16(at)); }
  uint32_t U32(size_t at) {
    return Has(at, 4)
               ? static_cast<uint32_t>(data_[at]) | static_cast<uint32_t>(data_[at + 1]) << 8 |
                     static_cast<uint32_t>(data_[at + 2]) << 16 |
                     static_cast<uint32_t>(data_[at + 3]) << 24
               : 0;
  }
  int32_t S32(size_t at) { return static_cast<int32_t>(U32(at)); }
  float F32(size_t at);

  // True when count bytes from at lie inside the record; marks the reader short otherwise.
  bool Has(size_t at, size_t count) {
    if (at <= size_ && count <= size_ - at) return true;
    short_ = true;
    return false;
  }
  // The record's bytes from at, or null (and short) when fewer than count remain.
  const uint8_t* Bytes(size_t at, size_t count) { return Has(at, count) ? data_ + at : nullptr; }

  size_t Size() const { return size_; }
  // True once any field was asked for past the record's end.
  bool Short() const { return short_; }

 private:
  const uint8_t* data_;
  size_t size_;
  bool short_ = false;
};

}  // namespace platform::metafile
