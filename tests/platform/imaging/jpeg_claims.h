// Damaged JPEG files for the tests of image loaders: a real baseline JPEG whose frame header is
// rewritten to claim other sides and whose entropy-coded data is cut short.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// The baseline JPEG `jpeg` with its sides rewritten to w x h and only the first scanBytes bytes
// of its entropy-coded data kept before the end-of-image marker. A decoder that reads past the
// data as zeros makes a flat picture of the claimed size out of it. Empty when `jpeg` has no
// baseline frame header or no scan.
inline std::vector<uint8_t> JpegClaiming(const std::vector<uint8_t>& jpeg, uint16_t w, uint16_t h,
                                         size_t scanBytes) {
  std::vector<uint8_t> out(jpeg);
  bool framed = false;
  for (size_t at = 2; at + 4 <= out.size() && out[at] == 0xff;) {
    uint8_t marker = out[at + 1];
    size_t length = static_cast<size_t>(out[at + 2]) << 8 | out[at + 3];
    if (marker == 0xc0 && at + 9 <= out.size()) {  // FF C0, length, precision, height, width
      out[at + 5] = static_cast<uint8_t>(h >> 8);
      out[at + 6] = static_cast<uint8_t>(h);
      out[at + 7] = static_cast<uint8_t>(w >> 8);
      out[at + 8] = static_cast<uint8_t>(w);
      framed = true;
    }
    if (marker == 0xda) {
      if (!framed) break;
      out.resize(std::min(out.size(), at + 2 + length + scanBytes));
      out.insert(out.end(), {0xff, 0xd9});
      return out;
    }
    at += 2 + length;
  }
  return {};
}
