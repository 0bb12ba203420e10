// Building a colour key's mask from a frame's pixels.
#include "platform/windows/color_key_mask.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// A pixel is compared as one little-endian word whose low three bytes are its colour (blue
// lowest) and whose top byte, alpha, is masked off; the key is put in the same form.
constexpr uint32_t kColourBits = 0x00ffffff;

uint32_t KeyWord(COLORREF key) {
  const uint32_t red = key & 0xff, green = (key >> 8) & 0xff, blue = (key >> 16) & 0xff;
  return blue | (green << 8) | (red << 16);
}

// The mask byte of eight pixels from the first (count of them; the rest stay shown), each bit
// clear where the pixel has the key colour.
uint8_t MaskByte(const uint8_t* pixels, int count, uint32_t key) {
  uint8_t bits = 0xff;
  for (int i = 0; i < count; ++i) {
    uint32_t word;
    std::memcpy(&word, pixels + static_cast<size_t>(i) * 4, sizeof word);
    if ((word & kColourBits) == key) bits &= static_cast<uint8_t>(~(1u << i));
  }
  return bits;
}

}  // namespace

std::vector<uint8_t> ColorKeyMask(const uint8_t* pixels, int w, int h, COLORREF key) {
  if (pixels == nullptr || w <= 0 || h <= 0) return {};
  const size_t rowBytes = (static_cast<size_t>(w) + 7) / 8;
  std::vector<uint8_t> mask(rowBytes * h);
  const uint32_t keyWord = KeyWord(key);
  uint8_t all = 0xff;
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = pixels + static_cast<size_t>(y) * w * 4;
    uint8_t* maskRow = mask.data() + rowBytes * y;
    for (size_t byte = 0; byte < rowBytes; ++byte) {
      const int first = static_cast<int>(byte * 8);
      maskRow[byte] =
          MaskByte(row + static_cast<size_t>(first) * 4, std::min(8, w - first), keyWord);
      all &= maskRow[byte];
    }
  }
  // Every bit still set: no pixel has the key colour.
  if (all == 0xff) mask.clear();
  return mask;
}

}  // namespace platform
