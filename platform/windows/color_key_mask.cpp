// Building a colour key's mask from a frame's pixels.
#include "platform/windows/color_key_mask.h"

#include <cstring>

namespace platform {
namespace {

// The key as the frame's first three bytes hold a colour: blue, green, red.
struct KeyBytes {
  uint8_t blue, green, red;
};

KeyBytes BytesOf(COLORREF key) {
  return KeyBytes{static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 8),
                  static_cast<uint8_t>(key)};
}

bool IsKey(const uint8_t* pixel, KeyBytes key) {
  return pixel[0] == key.blue && pixel[1] == key.green && pixel[2] == key.red;
}

// Clears the bits of the row's key pixels; true when there was any.
bool CutRow(const uint8_t* row, int w, KeyBytes key, uint8_t* maskRow) {
  bool cut = false;
  for (int x = 0; x < w; ++x) {
    if (IsKey(row + static_cast<size_t>(x) * 4, key)) {
      maskRow[x / 8] &= static_cast<uint8_t>(~(1u << (x % 8)));
      cut = true;
    }
  }
  return cut;
}

}  // namespace

std::vector<uint8_t> ColorKeyMask(const uint8_t* pixels, int w, int h, COLORREF key) {
  if (pixels == nullptr || w <= 0 || h <= 0) return {};
  const size_t rowBytes = (static_cast<size_t>(w) + 7) / 8;
  std::vector<uint8_t> mask(rowBytes * h, 0xff);
  const KeyBytes keyBytes = BytesOf(key);
  bool cut = false;
  for (int y = 0; y < h; ++y) {
    cut |= CutRow(pixels + static_cast<size_t>(y) * w * 4, w, keyBytes, mask.data() + rowBytes * y);
  }
  if (!cut) mask.clear();
  return mask;
}

}  // namespace platform
