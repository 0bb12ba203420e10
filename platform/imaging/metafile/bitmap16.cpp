// Decoding device-dependent bitmaps, every read checked against the bytes given.
#include "platform/imaging/metafile/bitmap16.h"

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/palette.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

namespace {

constexpr uint32_t kOpaque = 0xff000000u;
constexpr size_t kStaticColours = 10;  // at each end of the system palette

uint32_t Word(Color c) {
  return kOpaque | static_cast<uint32_t>(c.r) << 16 | static_cast<uint32_t>(c.g) << 8 | c.b;
}

// The sixteen standard colours, in the order of their 4-bit numbers.
uint32_t Standard(uint32_t index) {
  static constexpr uint32_t kColours[16] = {
      0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
      0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  return kOpaque | kColours[index & 15];
}

// An index of the system palette of 256 entries.
uint32_t SystemEntry(uint32_t index, const DcState& state) {
  const Palette& fixed = DefaultPalette();
  if (index < kStaticColours) return Word(fixed.entries[index]);
  if (index >= 256 - kStaticColours) return Word(fixed.entries[index - (256 - 2 * kStaticColours)]);
  size_t entry = index - kStaticColours;
  if (state.palette != nullptr && entry < state.palette->entries.size())
    return Word(state.palette->entries[entry]);
  return kOpaque;
}

uint32_t Pixel(const uint8_t* row, int x, int bits, const DcState& state, uint32_t fore,
               uint32_t back) {
  switch (bits) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1 ? back : fore;
    case 4: return Standard(row[x / 2] >> (x % 2 == 0 ? 4 : 0));
    case 8: return SystemEntry(row[x], state);
    case 16: {
      uint32_t v = row[x * 2] | row[x * 2 + 1] << 8;
      auto five = [v](int shift) { return ((v >> shift) & 31) * 255 / 31; };
      return kOpaque | five(10) << 16 | five(5) << 8 | five(0);
    }
    case 24: return kOpaque | row[x * 3 + 2] << 16 | row[x * 3 + 1] << 8 | row[x * 3];
    default: return kOpaque | row[x * 4 + 2] << 16 | row[x * 4 + 1] << 8 | row[x * 4];
  }
}

}  // namespace

bool DecodeBitmap16(const uint8_t* data, size_t size, size_t bitsAt, const DcState& state,
                    Color fore, Color back, DibPixels* out) {
  RecordReader r(data, size);
  int width = r.S16(2), height = r.S16(4), planes = r.U8(8), bits = r.U8(9);
  bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (r.Short() || planes != 1 || !known || width < 1 || height < 1) return false;
  size_t rowBytes = (static_cast<size_t>(width) * bits + 15) / 16 * 2;
  const uint8_t* rows = r.Bytes(bitsAt, rowBytes * height);
  if (rows == nullptr) return false;
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  out->pixels = static_cast<uint32_t*>(imaging::BudgetMalloc(count * 4));
  if (out->pixels == nullptr) return false;
  out->width = width;
  out->height = height;
  out->bottomUp = false;
  uint32_t foreWord = Word(fore), backWord = Word(back);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out->pixels[static_cast<size_t>(y) * width + x] =
          Pixel(rows + y * rowBytes, x, bits, state, foreWord, backWord);
  return true;
}

}  // namespace platform::metafile
