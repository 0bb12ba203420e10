// Reading EMF+ pixel bitmaps, format by format.
#include "platform/imaging/metafile/emfplus_bitmap.h"

#include <algorithm>
#include <array>

namespace platform::metafile {

namespace {

// The palette an indexed bitmap carries: its flags, a count, then ARGB words.
constexpr uint32_t kPaletteHasAlpha = 0x1;
constexpr size_t kMostPaletteEntries = 256;

// An indexed bitmap's colours as premultiplied words; indices past its count are transparent.
struct Palette {
  std::array<uint32_t, kMostPaletteEntries> words{};
  size_t count = 0;
  uint32_t At(size_t index) const { return index < count ? words[index] : 0; }
};

uint32_t Word(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return a << 24 | r << 16 | g << 8 | b;
}

// Straight alpha made premultiplied, rounded as cairo rounds.
uint32_t Straight(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  auto times = [a](uint32_t v) { return (v * a + 127) / 255; };
  return Word(a, times(r), times(g), times(b));
}

// Premultiplied channels larger than their alpha are damage; cairo needs each kept within it.
uint32_t Premultiplied(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return Word(a, std::min(r, a), std::min(g, a), std::min(b, a));
}

uint32_t Opaque(uint32_t r, uint32_t g, uint32_t b) { return Word(255, r, g, b); }

uint32_t U16(const uint8_t* p) { return static_cast<uint32_t>(p[0] | p[1] << 8); }
// A 16-bit channel as 8 bits, rounded.
uint32_t Wide(const uint8_t* p) { return (U16(p) * 255 + 32767) / 65535; }
// A channel of bits bits widened to 8 by repeating its high bits.
uint32_t Widen(uint32_t v, int bits) { return v << (8 - bits) | v >> (2 * bits - 8); }

// ---- pixels, one reader a format: the row's bytes and the pixel's number in it ---------------

using PixelReader = uint32_t (*)(const uint8_t* row, size_t x, const Palette& palette);

uint32_t Indexed1(const uint8_t* row, size_t x, const Palette& p) {
  return p.At(row[x / 8] >> (7 - x % 8) & 1);
}
uint32_t Indexed4(const uint8_t* row, size_t x, const Palette& p) {
  return p.At(row[x / 2] >> (x % 2 == 0 ? 4 : 0) & 15);
}
uint32_t Indexed8(const uint8_t* row, size_t x, const Palette& p) { return p.At(row[x]); }
uint32_t Gray16(const uint8_t* row, size_t x, const Palette&) {
  uint32_t v = Wide(row + x * 2);
  return Opaque(v, v, v);
}
uint32_t Rgb555(const uint8_t* row, size_t x, const Palette&) {
  uint32_t v = U16(row + x * 2);
  return Opaque(Widen(v >> 10 & 31, 5), Widen(v >> 5 & 31, 5), Widen(v & 31, 5));
}
uint32_t Rgb565(const uint8_t* row, size_t x, const Palette&) {
  uint32_t v = U16(row + x * 2);
  return Opaque(Widen(v >> 11 & 31, 5), Widen(v >> 5 & 63, 6), Widen(v & 31, 5));
}
uint32_t Argb1555(const uint8_t* row, size_t x, const Palette&) {
  uint32_t v = U16(row + x * 2);
  if ((v & 0x8000) == 0) return 0;
  return Opaque(Widen(v >> 10 & 31, 5), Widen(v >> 5 & 31, 5), Widen(v & 31, 5));
}
uint32_t Rgb24(const uint8_t* row, size_t x, const Palette&) {
  const uint8_t* p = row + x * 3;
  return Opaque(p[2], p[1], p[0]);
}
uint32_t Rgb32(const uint8_t* row, size_t x, const Palette&) {
  const uint8_t* p = row + x * 4;
  return Opaque(p[2], p[1], p[0]);
}
uint32_t Argb32(const uint8_t* row, size_t x, const Palette&) {
  const uint8_t* p = row + x * 4;
  return Straight(p[3], p[2], p[1], p[0]);
}
uint32_t Pargb32(const uint8_t* row, size_t x, const Palette&) {
  const uint8_t* p = row + x * 4;
  return Premultiplied(p[3], p[2], p[1], p[0]);
}
uint32_t Rgb48(const uint8_t* row, size_t x, const Palette&) {
  const uint8_t* p = row + x * 6;
  return Opaque(Wide(p + 4), Wide(p + 2), Wide(p));
}
uint32_t Argb64(const uint8_t* row, size_t x, const Palette&) {
  const uint8_t* p = row + x * 8;
  return Straight(Wide(p + 6), Wide(p + 4), Wide(p + 2), Wide(p));
}
uint32_t Pargb64(const uint8_t* row, size_t x, const Palette&) {
  const uint8_t* p = row + x * 8;
  return Premultiplied(Wide(p + 6), Wide(p + 4), Wide(p + 2), Wide(p));
}

// Pixel format numbers to their bits a pixel and reader; a number missing here is refused. The
// number's own bits say it too (bits a pixel in its second byte, an indexed format's flag).
struct PixelFormat {
  uint32_t number;
  int bits;
  bool indexed;
  PixelReader read;
};
constexpr PixelFormat kFormats[] = {
    {0x00030101, 1, true, Indexed1},   {0x00030402, 4, true, Indexed4},
    {0x00030803, 8, true, Indexed8},   {0x00101004, 16, false, Gray16},
    {0x00021005, 16, false, Rgb555},   {0x00021006, 16, false, Rgb565},
    {0x00061007, 16, false, Argb1555}, {0x00021808, 24, false, Rgb24},
    {0x00022009, 32, false, Rgb32},    {0x0026200A, 32, false, Argb32},
    {0x000E200B, 32, false, Pargb32},  {0x0010300C, 48, false, Rgb48},
    {0x0034400D, 64, false, Argb64},   {0x001A400E, 64, false, Pargb64},
};

const PixelFormat* FormatOf(uint32_t number) {
  for (const PixelFormat& format : kFormats)
    if (format.number == number) return &format;
  return nullptr;
}

// The palette at *at; entries without the alpha flag are opaque whatever their high byte.
bool ReadPalette(RecordReader& r, size_t* at, Palette* out) {
  uint32_t flags = r.U32(*at);
  size_t count = r.U32(*at + 4);
  if (r.Short() || count > kMostPaletteEntries || !r.Has(*at + 8, count * 4)) return false;
  for (size_t i = 0; i < count; ++i) {
    uint32_t argb = r.U32(*at + 8 + i * 4);
    uint32_t a = (flags & kPaletteHasAlpha) ? argb >> 24 : 255;
    out->words[i] = Straight(a, argb >> 16 & 0xFF, argb >> 8 & 0xFF, argb & 0xFF);
  }
  out->count = count;
  *at += 8 + count * 4;
  return true;
}

}  // namespace

bool ReadPixelBitmap(RecordReader& r, size_t at, const BitmapLayout& layout, PlusImage* out) {
  const PixelFormat* format = FormatOf(layout.format);
  if (format == nullptr || layout.width <= 0 || layout.height <= 0 || layout.stride <= 0)
    return false;
  Palette palette;
  if (format->indexed && !ReadPalette(r, &at, &palette)) return false;
  // Every row must lie inside the data before any memory is taken for the pixels.
  size_t width = static_cast<size_t>(layout.width), height = static_cast<size_t>(layout.height);
  size_t rowBytes = (width * format->bits + 7) / 8, stride = static_cast<size_t>(layout.stride);
  if (stride < rowBytes || height - 1 > (r.Size() - std::min(at, r.Size())) / stride ||
      !r.Has(at + (height - 1) * stride, rowBytes) || !MakeImage(layout.width, layout.height, out))
    return false;
  for (size_t y = 0; y < height; ++y) {
    const uint8_t* row = r.Bytes(at + y * stride, rowBytes);
    uint32_t* pixels = out->pixels.data() + y * width;
    for (size_t x = 0; x < width; ++x) pixels[x] = format->read(row, x, palette);
  }
  return true;
}

}  // namespace platform::metafile
