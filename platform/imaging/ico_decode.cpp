// Icon files: the directory, the choice of image, and the bitmap images with their masks (PNG
// images go to the PNG decoder).
#include "platform/imaging/ico_decode.h"

#include <cstring>

#include "platform/imaging/png_decode.h"

namespace platform::imaging {

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kLeastBitmapHeader = 40;

uint32_t Le16(const uint8_t* p) { return static_cast<uint32_t>(p[1]) << 8 | p[0]; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

struct Entry {
  const uint8_t* data = nullptr;  // the image's bytes, inside the file
  size_t size = 0;
  uint64_t pixels = 0;  // as the directory gives them
  uint32_t bits = 0;
};

// Colour bits of a directory entry: its bit count, else what its colour count needs.
uint32_t EntryBits(const uint8_t* entry) {
  uint32_t bits = Le16(entry + 6), colours = entry[2];
  if (bits != 0) return bits;
  while (colours > 1u << bits) ++bits;
  return bits;
}

// The entry a decode takes, after checking that every entry lies in the file behind the
// directory.
bool ChooseEntry(const uint8_t* data, size_t size, Entry* chosen) {
  if (!IsIco(data, size)) return false;
  size_t count = Le16(data + 4);
  size_t images = kHeaderSize + count * kEntrySize;
  if (images > size) return false;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = data + kHeaderSize + i * kEntrySize;
    size_t bytes = Le32(entry + 8), offset = Le32(entry + 12);
    if (bytes == 0 || offset < images || offset > size || bytes > size - offset) return false;
    // A side of 0 stands for 256.
    uint64_t pixels = static_cast<uint64_t>(entry[0] != 0 ? entry[0] : 256) *
                      static_cast<uint64_t>(entry[1] != 0 ? entry[1] : 256);
    uint32_t bits = EntryBits(entry);
    if (chosen->data == nullptr || pixels > chosen->pixels ||
        (pixels == chosen->pixels && bits > chosen->bits))
      *chosen = Entry{data + offset, bytes, pixels, bits};
  }
  return chosen->data != nullptr;
}

bool IsPngEntry(const Entry& entry) { return IsPng(entry.data, entry.size); }

// A bitmap image's header, colour table and where its colour rows and mask rows lie.
struct Bitmap {
  int width = 0;
  int height = 0;  // of the picture: half the header's, which counts the mask's rows too
  uint32_t bits = 0;
  const uint8_t* colours = nullptr;  // B, G, R, 0 for each table colour
  uint32_t colourCount = 0;
  const uint8_t* rows = nullptr;  // the colour rows, bottom row first
  size_t rowBytes = 0;
  const uint8_t* maskRows = nullptr;  // the AND mask, bottom row first; null when left out
  size_t maskRowBytes = 0;
};

bool ReadBitmap(const Entry& entry, Bitmap* out) {
  const uint8_t* p = entry.data;
  if (entry.size < kLeastBitmapHeader) return false;
  size_t headerSize = Le32(p);
  int32_t width = static_cast<int32_t>(Le32(p + 4)), doubled = static_cast<int32_t>(Le32(p + 8));
  uint32_t bits = Le16(p + 14), compression = Le32(p + 16), used = Le32(p + 32);
  bool knownBits = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (headerSize < kLeastBitmapHeader || headerSize > entry.size || width < 1 || doubled < 2 ||
      !knownBits || compression != 0)
    return false;
  uint32_t colourCount = bits <= 8 ? (used != 0 ? used : 1u << bits) : 0;
  if (colourCount > 256) return false;
  out->width = width;
  out->height = doubled / 2;
  out->bits = bits;
  out->rowBytes = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  out->maskRowBytes = (static_cast<size_t>(width) + 31) / 32 * 4;
  // Everything must be in the entry before any pixel memory is taken. Some writers leave the
  // mask out of 32-bit images, whose alpha makes it redundant.
  uint64_t colours = headerSize + colourCount * 4ull;
  uint64_t withRows = colours + static_cast<uint64_t>(out->rowBytes) * out->height;
  uint64_t withMask = withRows + static_cast<uint64_t>(out->maskRowBytes) * out->height;
  bool masked = withMask <= entry.size;
  if (!masked && (bits != 32 || withRows > entry.size)) return false;
  out->colours = p + headerSize;
  out->colourCount = colourCount;
  out->rows = p + colours;
  out->maskRows = masked ? p + withRows : nullptr;
  return true;
}

// Five bits of a 16-bit pixel as eight.
uint8_t Widen5(uint32_t value) { return static_cast<uint8_t>((value * 255 + 15) / 31); }

// Pixel x of a colour row as R, G, B and the alpha it stores (255 for those without one).
void ReadPixel(const Bitmap& bitmap, const uint8_t* row, int x, uint8_t* out) {
  uint32_t bits = bitmap.bits;
  if (bits <= 8) {
    size_t bit = static_cast<size_t>(x) * bits;
    uint32_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
    const uint8_t black[4] = {0, 0, 0, 0};
    const uint8_t* colour = index < bitmap.colourCount ? bitmap.colours + index * 4 : black;
    out[0] = colour[2], out[1] = colour[1], out[2] = colour[0], out[3] = 255;
  } else if (bits == 16) {
    uint32_t value = Le16(row + x * 2);  // 5 bits each of R, G, B
    out[0] = Widen5(value >> 10 & 31), out[1] = Widen5(value >> 5 & 31);
    out[2] = Widen5(value & 31), out[3] = 255;
  } else {
    const uint8_t* pixel = row + static_cast<size_t>(x) * (bits / 8);
    out[0] = pixel[2], out[1] = pixel[1], out[2] = pixel[0];
    out[3] = bits == 32 ? pixel[3] : 255;
  }
}

// Whether a 32-bit image carries alpha of its own: icons written before alpha existed leave it
// all zero and rely on the mask.
bool HasOwnAlpha(const Bitmap& bitmap) {
  if (bitmap.bits != 32) return false;
  for (int y = 0; y < bitmap.height; ++y) {
    const uint8_t* row = bitmap.rows + static_cast<size_t>(y) * bitmap.rowBytes;
    for (int x = 0; x < bitmap.width; ++x)
      if (row[x * 4 + 3] != 0) return true;
  }
  return false;
}

void DecodeBitmap(const Bitmap& bitmap, std::vector<uint8_t>* rgba) {
  bool ownAlpha = HasOwnAlpha(bitmap);
  rgba->resize(static_cast<size_t>(bitmap.width) * bitmap.height * 4);
  for (int y = 0; y < bitmap.height; ++y) {
    size_t stored = static_cast<size_t>(bitmap.height - 1 - y);  // rows are stored bottom up
    const uint8_t* row = bitmap.rows + stored * bitmap.rowBytes;
    const uint8_t* mask =
        bitmap.maskRows != nullptr ? bitmap.maskRows + stored * bitmap.maskRowBytes : nullptr;
    uint8_t* out = rgba->data() + static_cast<size_t>(y) * bitmap.width * 4;
    for (int x = 0; x < bitmap.width; ++x, out += 4) {
      ReadPixel(bitmap, row, x, out);
      if (!ownAlpha) out[3] = mask != nullptr && (mask[x / 8] >> (7 - x % 8) & 1) != 0 ? 0 : 255;
    }
  }
}

bool DecodePngEntry(const Entry& entry, int* w, int* h, std::vector<uint8_t>* rgba) {
  ByteBlock pixels;
  if (!DecodePng(entry.data, entry.size, PixelOrder::Rgba, w, h, &pixels)) return false;
  rgba->assign(pixels.data(), pixels.data() + pixels.size());
  return true;
}

}  // namespace

bool IsIco(const uint8_t* data, size_t size) {
  return data != nullptr && size >= kHeaderSize && Le16(data) == 0 && Le16(data + 2) == 1 &&
         Le16(data + 4) > 0;
}

bool IcoSides(const uint8_t* data, size_t size, int* w, int* h) {
  Entry entry;
  if (!ChooseEntry(data, size, &entry)) return false;
  if (IsPngEntry(entry)) return PngSides(entry.data, entry.size, w, h);
  Bitmap bitmap;
  if (!ReadBitmap(entry, &bitmap)) return false;
  *w = bitmap.width;
  *h = bitmap.height;
  return true;
}

bool DecodeIco(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba) {
  Entry entry;
  if (!ChooseEntry(data, size, &entry)) return false;
  if (IsPngEntry(entry)) return DecodePngEntry(entry, w, h, rgba);
  Bitmap bitmap;
  if (!ReadBitmap(entry, &bitmap)) return false;
  DecodeBitmap(bitmap, rgba);
  *w = bitmap.width;
  *h = bitmap.height;
  return true;
}

}  // namespace platform::imaging
