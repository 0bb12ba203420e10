// Walking run-length rows, writing their pixels or only checking them.
#include "platform/imaging/run_length_rows.h"

#include <algorithm>
#include <cstring>

namespace platform::imaging {

namespace {

constexpr uint8_t kEndOfRow = 0, kEndOfBitmap = 1, kJump = 2;

// The position in the bitmap as the data walks it: x along the row, row counting in the order
// the data stores the rows. Pixels go to out through table, or nowhere when out is null. A row
// reaches as far as an uncompressed row's bytes would (to a whole four-byte word): writers fill
// that padding with runs too, whose pixels are dropped.
class Walk {
 public:
  Walk(const RunLengthBitmap& bitmap, const uint32_t* table, uint8_t* out)
      : bitmap_(bitmap), table_(table), out_(out) {
    int64_t perWord = bitmap.code == RunLengthCode::Rle4 ? 8 : 4;
    reach_ = (bitmap.width + perWord - 1) / perWord * perWord;
  }

  // Room for count more pixels in the current row, which must be one of the bitmap's.
  bool Fits(uint32_t count) const { return row_ < bitmap_.height && x_ + count <= reach_; }
  void Put(uint32_t index) {
    if (out_ != nullptr && x_ < bitmap_.width) {
      int64_t y = bitmap_.bottomUp ? bitmap_.height - 1 - row_ : row_;
      std::memcpy(out_ + (y * bitmap_.width + x_) * 4, &table_[index], 4);
    }
    ++x_;
  }
  void NextRow() { x_ = 0, ++row_; }
  // A jump may land at the end of a row or on the row after the last, but no further.
  bool Jump(uint32_t right, uint32_t down) {
    x_ += right, row_ += down;
    return x_ <= reach_ && row_ <= bitmap_.height;
  }

 private:
  const RunLengthBitmap& bitmap_;
  const uint32_t* table_;
  uint8_t* out_;
  int64_t reach_;
  int64_t x_ = 0, row_ = 0;
};

// The index of the i-th pixel of an absolute run: RLE4 holds two in a byte, high half first.
uint32_t IndexAt(const uint8_t* bytes, uint32_t i, bool four) {
  if (!four) return bytes[i];
  uint8_t byte = bytes[i / 2];
  return i % 2 == 0 ? byte >> 4 : byte & 15;
}

bool Run(const uint8_t* data, size_t size, const RunLengthBitmap& bitmap, Walk& walk) {
  bool four = bitmap.code == RunLengthCode::Rle4;
  size_t at = 0;
  while (size - at >= 2) {
    uint32_t count = data[at], code = data[at + 1];
    at += 2;
    if (count > 0) {
      if (!walk.Fits(count)) return false;
      uint32_t first = four ? code >> 4 : code, second = four ? code & 15 : code;
      for (uint32_t i = 0; i < count; ++i) walk.Put(i % 2 == 0 ? first : second);
    } else if (code == kEndOfRow) {
      walk.NextRow();
    } else if (code == kEndOfBitmap) {
      return true;
    } else if (code == kJump) {
      if (size - at < 2 || !walk.Jump(data[at], data[at + 1])) return false;
      at += 2;
    } else {
      size_t bytes = four ? (code + 1) / 2 : code;
      if (bytes > size - at || !walk.Fits(code)) return false;
      for (uint32_t i = 0; i < code; ++i) walk.Put(IndexAt(data + at, i, four));
      // Absolute runs are padded to whole 16-bit words.
      at = std::min(size, at + bytes + bytes % 2);
    }
  }
  // The data ended before the end-of-bitmap escape: cut short.
  return false;
}

}  // namespace

bool RunLengthWhole(const uint8_t* data, size_t size, const RunLengthBitmap& bitmap) {
  Walk walk(bitmap, nullptr, nullptr);
  return data != nullptr && Run(data, size, bitmap, walk);
}

bool DecodeRunLength(const uint8_t* data, size_t size, const RunLengthBitmap& bitmap,
                     const uint32_t (&table)[256], uint8_t* pixels) {
  Walk walk(bitmap, table, pixels);
  return data != nullptr && pixels != nullptr && Run(data, size, bitmap, walk);
}

}  // namespace platform::imaging
