// Lower bounds on the length of TGA, BMP and JPEG files from their headers and sides.
#include "platform/imaging/image_length.h"

#include <algorithm>
#include <cstring>

namespace platform::imaging {

namespace {

constexpr size_t kDamaged = static_cast<size_t>(-1);  // a header or packet cut off

uint32_t Le16(const uint8_t* p) { return static_cast<uint32_t>(p[1]) << 8 | p[0]; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

// Header, id, colour map (of a colour-mapped image), then every pixel stored once or, run-length
// encoded, the packets that cover them: a packet byte, then one pixel value for a run of up to
// 128 pixels or one value per pixel for a raw packet. The packets are walked, not decoded.
size_t ShortestTga(const uint8_t* data, size_t size, size_t pixels) {
  if (size < 18) return kDamaged;
  uint8_t idLength = data[0], imageType = data[2];
  bool colorMapped = imageType == 1 || imageType == 9;
  size_t colorMapBytes = colorMapped ? Le16(data + 5) * ((data[7] + 7u) / 8) : 0;
  size_t pixelSize = (data[16] + 7u) / 8;
  size_t at = 18 + idLength + colorMapBytes;
  if (imageType < 9) return at + pixels * pixelSize;
  for (size_t covered = 0; covered < pixels;) {
    if (at >= size) return kDamaged;
    uint8_t packet = data[at++];
    size_t count = (packet & 0x7fu) + 1;
    at += (packet & 0x80) != 0 ? pixelSize : count * pixelSize;
    covered += count;
  }
  return at;
}

// Up to the pixel data (which the header's offset places after the info header), then every row
// padded to four bytes. Compressed BMPs have no such bound (stb_image refuses most of them).
size_t ShortestBmp(const uint8_t* data, size_t size, size_t width, size_t height) {
  if (size < 18) return kDamaged;
  uint32_t infoSize = Le32(data + 14);
  bool old = infoSize == 12;  // the oldest header: 16-bit sides, no compression field
  if (size < (old ? 26u : 34u)) return kDamaged;
  uint32_t bits = Le16(data + (old ? 24 : 28));
  uint32_t compression = old ? 0 : Le32(data + 30);
  if (compression != 0 && compression != 3) return 0;  // 3: plain pixels with bit masks
  // Pixels that start inside the headers are damage the decoder would read a colour table of
  // minus some entries from.
  size_t start = Le32(data + 10);
  if (start < 14 + static_cast<size_t>(infoSize)) return kDamaged;
  return start + (width * bits + 31) / 32 * 4 * height;
}

// Every 8 x 8 block of the full-size picture carries at least one bit: the shortest Huffman code
// of its DC value, in a baseline scan and in the first DC scan of a progressive one. (Real files
// spend several bits even on a flat block, so the bound only catches cut-off data.)
size_t ShortestJpeg(size_t width, size_t height) {
  return ((width + 7) / 8) * ((height + 7) / 8) / 8;
}

}  // namespace

bool LongEnough(const uint8_t* data, size_t size, int w, int h) {
  if (data == nullptr || w <= 0 || h <= 0) return false;
  size_t width = static_cast<size_t>(w), height = static_cast<size_t>(h);
  if (size >= 4 && (data[0] == 0x89 || std::memcmp(data, "GIF8", 4) == 0)) return true;
  if (size >= 2 && data[0] == 0xff && data[1] == 0xd8) return size >= ShortestJpeg(width, height);
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
    return size >= ShortestBmp(data, size, width, height);
  }
  return size >= ShortestTga(data, size, width * height);
}

}  // namespace platform::imaging
