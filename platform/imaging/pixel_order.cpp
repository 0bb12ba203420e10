// Copying pixels between the two byte orders.
#include "platform/imaging/pixel_order.h"

#include <cstring>

namespace platform::imaging {

namespace {

void SwapRow(const uint8_t* from, uint8_t* to, int w) {
  for (int x = 0; x < w; ++x, from += 4, to += 4) {
    to[0] = from[2];
    to[1] = from[1];
    to[2] = from[0];
    to[3] = from[3];
  }
}

}  // namespace

void CopyPixels(const PixelRows& from, int w, int h, PixelOrder to, uint8_t* out) {
  size_t rowBytes = static_cast<size_t>(w) * 4;
  if (from.order == to && from.stride == rowBytes) {
    std::memcpy(out, from.top, rowBytes * h);
    return;
  }
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = from.top + static_cast<size_t>(y) * from.stride;
    uint8_t* target = out + static_cast<size_t>(y) * rowBytes;
    if (from.order == to) {
      std::memcpy(target, row, rowBytes);
    } else {
      SwapRow(row, target, w);
    }
  }
}

}  // namespace platform::imaging
