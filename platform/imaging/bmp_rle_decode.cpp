// Reading the headers and colour table of a run-length BMP, then its rows.
#include "platform/imaging/bmp_rle_decode.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "platform/imaging/run_length_rows.h"

namespace platform::imaging {

namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kSmallestInfo = 40;  // the first info header with a compression field
constexpr uint32_t kRle8 = 1, kRle4 = 2;
// As for every other BMP, which stb_image reads: no longer side, and a picture of R, G, B, A
// bytes that a signed 32-bit number can count.
constexpr int64_t kLongestSide = 1 << 24;
constexpr int64_t kMostBytes = INT32_MAX;

uint32_t Le16(const uint8_t* p) { return static_cast<uint32_t>(p[1]) << 8 | p[0]; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

struct Layout {
  RunLengthBitmap bitmap;
  size_t tableAt = 0, entries = 0;  // the colour table: B, G, R and a spare byte an entry
  size_t rowsAt = 0;
};

bool ReadLayout(const uint8_t* data, size_t size, Layout* out) {
  if (!IsRunLengthBmp(data, size)) return false;
  uint32_t infoSize = Le32(data + kFileHeader);
  int64_t width = static_cast<int32_t>(Le32(data + 18));
  int64_t height = static_cast<int32_t>(Le32(data + 22));
  uint32_t bits = Le16(data + 28);
  uint32_t used = Le32(data + 46);
  int64_t rows = height < 0 ? -height : height;
  if (width < 1 || width > kLongestSide || rows < 1 || rows > kLongestSide ||
      width * rows > kMostBytes / 4)
    return false;
  size_t most = size_t{1} << bits;
  if (used > most) return false;
  out->bitmap.code = bits == 8 ? RunLengthCode::Rle8 : RunLengthCode::Rle4;
  out->bitmap.width = static_cast<int>(width);
  out->bitmap.height = static_cast<int>(rows);
  out->bitmap.bottomUp = height > 0;
  out->tableAt = kFileHeader + infoSize;
  out->entries = used == 0 ? most : used;
  out->rowsAt = Le32(data + 10);
  // The table lies in the file, and the rows after the headers (not inside them) and in the file.
  return out->tableAt <= size && out->entries * 4 <= size - out->tableAt &&
         out->rowsAt >= out->tableAt && out->rowsAt <= size;
}

// The colour table as R, G, B, A pixels, opaque; an index past it takes its first colour.
void ReadTable(const uint8_t* data, const Layout& layout, uint32_t (&table)[256]) {
  for (size_t i = 0; i < 256; ++i) {
    const uint8_t* entry = data + layout.tableAt + (i < layout.entries ? i : 0) * 4;
    const uint8_t rgba[4] = {entry[2], entry[1], entry[0], 255};
    std::memcpy(&table[i], rgba, 4);
  }
}

}  // namespace

bool IsRunLengthBmp(const uint8_t* data, size_t size) {
  if (data == nullptr || size < kFileHeader + kSmallestInfo || data[0] != 'B' || data[1] != 'M')
    return false;
  uint32_t infoSize = Le32(data + kFileHeader);
  uint32_t bits = Le16(data + 28), compression = Le32(data + 30);
  return infoSize >= kSmallestInfo &&
         ((compression == kRle8 && bits == 8) || (compression == kRle4 && bits == 4));
}

bool RunLengthBmpSides(const uint8_t* data, size_t size, int* w, int* h) {
  Layout layout;
  if (!ReadLayout(data, size, &layout)) return false;
  *w = layout.bitmap.width;
  *h = layout.bitmap.height;
  return true;
}

bool DecodeRunLengthBmp(const uint8_t* data, size_t size, int* w, int* h,
                        std::vector<uint8_t>* rgba) {
  Layout layout;
  if (!ReadLayout(data, size, &layout)) return false;
  const uint8_t* rows = data + layout.rowsAt;
  size_t rowBytes = size - layout.rowsAt;
  // Rows that are cut short or run past their ends are refused before the picture is taken.
  if (!RunLengthWhole(rows, rowBytes, layout.bitmap)) return false;
  uint32_t table[256];
  ReadTable(data, layout, table);
  try {
    // Cleared: the pixels the rows skip are transparent.
    rgba->assign(static_cast<size_t>(layout.bitmap.width) * layout.bitmap.height * 4, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!DecodeRunLength(rows, rowBytes, layout.bitmap, table, rgba->data())) {
    rgba->clear();
    return false;
  }
  *w = layout.bitmap.width;
  *h = layout.bitmap.height;
  return true;
}

}  // namespace platform::imaging
