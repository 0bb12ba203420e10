// The mask a colour key cuts out of a frame: exactly the pixels of the key colour, alpha aside.
#include "platform/windows/color_key_mask.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr COLORREF kMagenta = 0x00ff00ff;  // red in the low byte, blue in the third

// A w x h frame of pixels, bytes blue, green, red, alpha, all of one colour.
std::vector<uint8_t> Frame(int w, int h, uint8_t blue, uint8_t green, uint8_t red) {
  std::vector<uint8_t> pixels;
  for (int i = 0; i < w * h; ++i) pixels.insert(pixels.end(), {blue, green, red, 255});
  return pixels;
}

void Paint(std::vector<uint8_t>& pixels, int w, int x, int y, uint8_t blue, uint8_t green,
           uint8_t red, uint8_t alpha = 255) {
  uint8_t* pixel = pixels.data() + (static_cast<size_t>(y) * w + x) * 4;
  pixel[0] = blue;
  pixel[1] = green;
  pixel[2] = red;
  pixel[3] = alpha;
}

bool Shows(const std::vector<uint8_t>& mask, int w, int x, int y) {
  const size_t rowBytes = (static_cast<size_t>(w) + 7) / 8;
  return (mask[rowBytes * y + x / 8] >> (x % 8)) & 1;
}

}  // namespace

TEST(ColorKeyMask, CutsExactlyTheKeyPixelsWhateverTheirAlpha) {
  // 11 pixels wide: two bytes a row, the second holding three pixels.
  const int w = 11, h = 3;
  std::vector<uint8_t> frame = Frame(w, h, 200, 10, 20);
  Paint(frame, w, 0, 0, 255, 0, 255);       // the key, first pixel
  Paint(frame, w, 10, 1, 255, 0, 255, 0);   // the key with alpha 0: still the key
  Paint(frame, w, 5, 2, 255, 0, 255, 128);  // and half transparent
  Paint(frame, w, 6, 2, 255, 1, 255);       // one step off the key: shown
  Paint(frame, w, 7, 2, 255, 0, 254);       // red one step off: shown
  std::vector<uint8_t> mask = platform::ColorKeyMask(frame.data(), w, h, kMagenta);
  ASSERT_EQ(mask.size(), 2u * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      bool key = (x == 0 && y == 0) || (x == 10 && y == 1) || (x == 5 && y == 2);
      EXPECT_EQ(Shows(mask, w, x, y), !key) << x << ", " << y;
    }
  }
}

TEST(ColorKeyMask, KeyBytesFollowTheColourWordNotTheFrameOrder) {
  // The key 0x00332211 is red 0x11, green 0x22, blue 0x33; the frame holds blue first.
  std::vector<uint8_t> frame = Frame(2, 1, 0x33, 0x22, 0x11);
  Paint(frame, 2, 1, 0, 0x11, 0x22, 0x33);  // the bytes in the word's order: not the key
  std::vector<uint8_t> mask = platform::ColorKeyMask(frame.data(), 2, 1, 0x00332211);
  ASSERT_EQ(mask.size(), 1u);
  EXPECT_FALSE(Shows(mask, 2, 0, 0));
  EXPECT_TRUE(Shows(mask, 2, 1, 0));
}

TEST(ColorKeyMask, NoKeyPixelOrNoFrameGivesNoMask) {
  std::vector<uint8_t> frame = Frame(16, 16, 0, 0, 0);
  EXPECT_TRUE(platform::ColorKeyMask(frame.data(), 16, 16, kMagenta).empty());
  EXPECT_TRUE(platform::ColorKeyMask(nullptr, 16, 16, kMagenta).empty());
  EXPECT_TRUE(platform::ColorKeyMask(frame.data(), 0, 16, kMagenta).empty());
  // A frame all of the key colour cuts every pixel.
  std::vector<uint8_t> keyed = Frame(9, 2, 255, 0, 255);
  std::vector<uint8_t> mask = platform::ColorKeyMask(keyed.data(), 9, 2, kMagenta);
  ASSERT_EQ(mask.size(), 4u);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_FALSE(Shows(mask, 9, x, y));
}
