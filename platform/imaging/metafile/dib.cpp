// Decoding device-independent bitmaps, every read checked against the bytes given.
#include "platform/imaging/metafile/dib.h"

#include <algorithm>
#include <cstdlib>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/embedded_image.h"
#include "platform/imaging/metafile/palette.h"
#include "platform/imaging/run_length_rows.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kJpeg = 4, kPng = 5;
constexpr uint32_t kPaletteIndices = 1;  // a colour table of 16-bit palette indices
constexpr int64_t kLargestSide = 32767;
constexpr uint32_t kOpaque = 0xff000000u;

struct Layout {
  int64_t width = 0, height = 0;  // height negative: top row first
  uint32_t bits = 0, compression = kRgb;
  size_t headerSize = 0, entrySize = 4, entries = 0;  // the colour table
  size_t tableAt = 0;
  uint32_t masks[3] = {0x7c00, 0x03e0, 0x001f};  // 16-bit pixels without bit fields: 5-5-5
};

bool ReadLayout(RecordReader& info, Layout* out) {
  out->headerSize = info.U32(0);
  if (out->headerSize == 12) {
    out->width = info.U16(4);
    out->height = info.U16(6);
    out->bits = info.U16(10);
    out->entrySize = 3;
  } else if (out->headerSize >= 40) {
    out->width = info.S32(4);
    out->height = info.S32(8);
    out->bits = info.U16(14);
    out->compression = info.U32(16);
    out->entries = info.U32(32);
  } else {
    return false;
  }
  out->tableAt = out->headerSize;
  if (out->compression == kBitFields) {
    if (out->bits != 16 && out->bits != 32) return false;
    // A 40-byte header keeps its three masks after it; longer ones inside.
    size_t at = 40;
    for (uint32_t& mask : out->masks) mask = info.U32(at), at += 4;
    if (out->headerSize == 40) out->tableAt += 12;
  } else if (out->bits == 32) {
    out->masks[0] = 0xff0000, out->masks[1] = 0xff00, out->masks[2] = 0xff;
  }
  // A JPEG or PNG picture carries its own depth.
  bool embedded = out->compression == kJpeg || out->compression == kPng;
  bool known = out->bits == 1 || out->bits == 4 || out->bits == 8 || out->bits == 16 ||
               out->bits == 24 || out->bits == 32 || embedded;
  if (!known || out->compression > kPng) return false;
  if ((out->compression == kRle8 && out->bits != 8) ||
      (out->compression == kRle4 && out->bits != 4))
    return false;
  if (out->bits <= 8 && out->entries == 0 && !embedded) out->entries = size_t{1} << out->bits;
  if (out->entries > 1u << 16) return false;
  int64_t height = out->height < 0 ? -out->height : out->height;
  return !info.Short() && out->width >= 1 && out->width <= kLargestSide && height >= 1 &&
         height <= kLargestSide;
}

// The value under mask, scaled to 0..255.
uint32_t Channel(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  uint32_t top = mask >> shift;
  return ((value & mask) >> shift) * 255 / top;
}

class Decoder {
 public:
  Decoder(const Layout& layout, const uint32_t* table, DibPixels* out, bool alpha)
      : layout_(layout), table_(table), out_(out), alpha_(alpha) {}

  void Put(int64_t x, int64_t row, uint32_t colour) {
    // Rows count from the bottom unless the bitmap is stored top row first.
    if (x < 0 || x >= out_->width || row < 0 || row >= out_->height) return;
    int64_t y = layout_.height < 0 ? row : out_->height - 1 - row;
    out_->pixels[y * out_->width + x] = colour;
  }
  uint32_t Indexed(uint32_t index) const {
    return index < layout_.entries ? table_[index] : table_[0];
  }

  bool Plain(const uint8_t* bits, size_t size);

 private:
  const Layout& layout_;
  const uint32_t* table_;
  DibPixels* out_;
  bool alpha_;
};

// A premultiplied pixel whose colour exceeds its alpha is damage; cairo needs each channel kept
// within it.
uint32_t Premultiplied(const uint8_t* p) {
  uint32_t a = p[3];
  return a << 24 | std::min<uint32_t>(p[2], a) << 16 | std::min<uint32_t>(p[1], a) << 8 |
         std::min<uint32_t>(p[0], a);
}

bool Decoder::Plain(const uint8_t* bits, size_t size) {
  size_t rowBytes = (static_cast<size_t>(out_->width) * layout_.bits + 31) / 32 * 4;
  if (rowBytes * static_cast<size_t>(out_->height) > size) return false;
  for (int64_t row = 0; row < out_->height; ++row) {
    const uint8_t* p = bits + row * rowBytes;
    for (int64_t x = 0; x < out_->width; ++x) {
      uint32_t colour = 0;
      switch (layout_.bits) {
        case 1: colour = Indexed((p[x / 8] >> (7 - x % 8)) & 1); break;
        case 4: colour = Indexed((p[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15); break;
        case 8: colour = Indexed(p[x]); break;
        case 24: colour = kOpaque | p[x * 3 + 2] << 16 | p[x * 3 + 1] << 8 | p[x * 3]; break;
        case 32:
          if (alpha_ && layout_.compression == kRgb) {
            colour = Premultiplied(p + x * 4);
            break;
          }
          [[fallthrough]];
        default: {
          uint32_t value = layout_.bits == 16
                               ? static_cast<uint32_t>(p[x * 2] | p[x * 2 + 1] << 8)
                               : static_cast<uint32_t>(p[x * 4]) | p[x * 4 + 1] << 8 |
                                     p[x * 4 + 2] << 16 | static_cast<uint32_t>(p[x * 4 + 3]) << 24;
          colour = kOpaque | Channel(value, layout_.masks[0]) << 16 |
                   Channel(value, layout_.masks[1]) << 8 | Channel(value, layout_.masks[2]);
        }
      }
      Put(x, row, colour);
    }
  }
  return true;
}

// How the run-length rows of a bitmap of this layout lie.
imaging::RunLengthBitmap RunLengthShape(const Layout& layout) {
  imaging::RunLengthBitmap bitmap;
  bitmap.code =
      layout.compression == kRle4 ? imaging::RunLengthCode::Rle4 : imaging::RunLengthCode::Rle8;
  bitmap.width = static_cast<int>(layout.width);
  bitmap.height = static_cast<int>(layout.height < 0 ? -layout.height : layout.height);
  bitmap.bottomUp = layout.height > 0;
  return bitmap;
}

// Run-length rows, decoded as the BMP reader decodes them; an index past the colour table takes
// its first colour.
bool RunLength(const Layout& layout, const uint32_t* table, const uint8_t* bits, size_t size,
               DibPixels* out) {
  uint32_t full[256];
  for (size_t i = 0; i < 256; ++i) full[i] = i < layout.entries ? table[i] : table[0];
  return imaging::DecodeRunLength(bits, size, RunLengthShape(layout), full,
                                  reinterpret_cast<uint8_t*>(out->pixels));
}

// The colour of a table entry of 16-bit palette indices.
uint32_t PaletteWord(const uint8_t* entry, const Palette* palette) {
  Color color;
  color.indexed = true;
  color.index = static_cast<uint16_t>(entry[0] | entry[1] << 8);
  color = Resolved(color, palette);
  return kOpaque | static_cast<uint32_t>(color.r) << 16 | static_cast<uint32_t>(color.g) << 8 |
         color.b;
}

size_t EntrySize(const Layout& layout, uint32_t usage) {
  return usage == kPaletteIndices ? 2 : layout.entrySize;
}

// The pixels of rows or runs through a colour table of 256 entries.
bool DecodeRows(const Layout& layout, const uint32_t* table, const uint8_t* bits, size_t bitsSize,
                DibPixels* out, bool alpha) {
  Layout used = layout;
  if (used.entries > 256) used.entries = 256;
  out->width = static_cast<int>(layout.width);
  out->height = static_cast<int>(layout.height < 0 ? -layout.height : layout.height);
  out->bottomUp = layout.height > 0;
  size_t bytes = static_cast<size_t>(out->width) * static_cast<size_t>(out->height) * 4;
  // Plain rows must all be there, and run-length rows whole, before anything is taken.
  bool runLength = layout.compression == kRle8 || layout.compression == kRle4;
  if (!runLength &&
      (static_cast<size_t>(out->width) * layout.bits + 31) / 32 * 4 * out->height > bitsSize)
    return false;
  if (runLength && !imaging::RunLengthWhole(bits, bitsSize, RunLengthShape(layout))) return false;
  out->pixels = static_cast<uint32_t*>(imaging::BudgetMalloc(bytes));
  if (out->pixels == nullptr) return false;
  Decoder decoder(used, table, out, alpha);
  if (runLength) return RunLength(used, table, bits, bitsSize, out);
  return decoder.Plain(bits, bitsSize);
}

}  // namespace

DibPixels::~DibPixels() { std::free(pixels); }

size_t DibInfoSize(const uint8_t* info, size_t size, uint32_t usage) {
  RecordReader reader(info, size);
  Layout layout;
  if (usage > kPaletteIndices || !ReadLayout(reader, &layout)) return 0;
  size_t total = layout.tableAt + layout.entries * EntrySize(layout, usage);
  return total <= size ? total : 0;
}

bool DecodeDib(const uint8_t* info, size_t infoSize, const uint8_t* bits, size_t bitsSize,
               uint32_t usage, DibPixels* out, bool alpha, const Palette* palette) {
  RecordReader reader(info, infoSize);
  Layout layout;
  if (usage > kPaletteIndices || !ReadLayout(reader, &layout)) return false;
  if (layout.compression == kJpeg || layout.compression == kPng) {
    int64_t height = layout.height < 0 ? -layout.height : layout.height;
    out->bottomUp = layout.height > 0;
    return DecodeEmbeddedImage(layout.compression == kPng, bits, bitsSize,
                               static_cast<int>(layout.width), static_cast<int>(height), out);
  }
  size_t entrySize = EntrySize(layout, usage);
  size_t tableBytes = layout.entries * entrySize;
  if (layout.tableAt > infoSize || tableBytes > infoSize - layout.tableAt) return false;
  uint32_t table[256] = {};
  for (size_t i = 0; i < layout.entries && i < 256; ++i) {
    const uint8_t* entry = info + layout.tableAt + i * entrySize;
    table[i] = usage == kPaletteIndices ? PaletteWord(entry, palette)
                                        : kOpaque | entry[2] << 16 | entry[1] << 8 | entry[0];
  }
  return DecodeRows(layout, table, bits, bitsSize, out, alpha);
}

bool DecodeMask(const uint8_t* info, size_t infoSize, const uint8_t* bits, size_t bitsSize,
                DibPixels* out) {
  RecordReader reader(info, infoSize);
  Layout layout;
  if (!ReadLayout(reader, &layout) || layout.bits != 1 || layout.compression != kRgb) return false;
  const uint32_t table[256] = {kOpaque, 0xffffffff};
  return DecodeRows(layout, table, bits, bitsSize, out, false);
}

}  // namespace platform::metafile
