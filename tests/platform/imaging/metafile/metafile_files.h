// Reading the metafiles of tests/data/metafiles and looking at the pictures they decode to.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/imaging/image_decode.h"

namespace kvtest {

inline std::vector<uint8_t> MetafileBytes(const std::string& name) {
  std::ifstream in(std::string(KV_TEST_METAFILES) + "/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 0;
};

// A decoded picture; empty (w and h 0) when refused.
struct Picture {
  int w = 0, h = 0;
  std::vector<uint8_t> rgba;

  Rgba At(int x, int y) const {
    if (x < 0 || y < 0 || x >= w || y >= h) return {};
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
    return Rgba{p[0], p[1], p[2], p[3]};
  }
  // Pixels in [x1, x2) x [y1, y2) within tolerance of an opaque colour.
  int Count(int x1, int y1, int x2, int y2, Rgba colour, int tolerance = 40) const {
    int count = 0;
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x) {
        Rgba p = At(x, y);
        if (p.a > 128 && std::abs(p.r - colour.r) <= tolerance &&
            std::abs(p.g - colour.g) <= tolerance && std::abs(p.b - colour.b) <= tolerance)
          ++count;
      }
    return count;
  }
};

inline Picture Decode(const std::vector<uint8_t>& bytes) {
  Picture picture;
  if (!platform::imaging::DecodeImage(bytes.data(), bytes.size(), &picture.w, &picture.h,
                                      &picture.rgba))
    return Picture{};
  return picture;
}

inline ::testing::AssertionResult Near(Rgba got, Rgba want) {
  int tolerance = 8;
  if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
      std::abs(got.b - want.b) <= tolerance && std::abs(got.a - want.a) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got " << int(got.r) << "," << int(got.g) << "," << int(got.b) << "," << int(got.a)
         << " want " << int(want.r) << "," << int(want.g) << "," << int(want.b) << ","
         << int(want.a);
}

}  // namespace kvtest
