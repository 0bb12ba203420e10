// GIF decoding beyond the files tools write: an image smaller than the screen lies on the
// background colour where the file names one (else on transparent black), pixels of colours the
// table lacks are transparent, and an image reaching past the screen is refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/imaging/gif_decode.h"

namespace {

// A 4 x 2 screen with a global table of two colours (red, blue) and the given background index,
// and one image of 2 x 1 pixels at (left, 1) whose pixels are the colour indices 0 and
// `second`, LZW-coded in 3-bit codes: clear, 0, `second`, end.
std::vector<uint8_t> SmallGif(uint8_t background, uint8_t left, uint8_t second) {
  std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 2, 0, 0x80, background, 0};
  gif.insert(gif.end(), {255, 0, 0, 0, 0, 255});                // the table
  gif.insert(gif.end(), {0x2c, left, 0, 1, 0, 2, 0, 1, 0, 0});  // the image's descriptor
  uint32_t bits = 4 | 0 << 3 | second << 6 | 5u << 9;           // codes from the lowest bit
  gif.insert(gif.end(), {2, 2, static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8), 0});
  gif.push_back(0x3b);
  return gif;
}

std::vector<uint8_t> Decode(const std::vector<uint8_t>& gif) {
  int w = 0, h = 0;
  std::vector<uint8_t> rgba;
  if (!platform::imaging::DecodeGif(gif.data(), gif.size(), &w, &h, &rgba)) return {};
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 2);
  return rgba;
}

std::vector<uint8_t> Pixel(const std::vector<uint8_t>& rgba, int x, int y) {
  return std::vector<uint8_t>(rgba.begin() + (y * 4 + x) * 4, rgba.begin() + (y * 4 + x) * 4 + 4);
}

const std::vector<uint8_t> kRed = {255, 0, 0, 255}, kBlue = {0, 0, 255, 255}, kClear = {0, 0, 0, 0};

}  // namespace

TEST(GifDecode, AnImageSmallerThanTheScreenLiesOnTheBackground) {
  std::vector<uint8_t> onBlue = Decode(SmallGif(1, 1, 1));
  ASSERT_EQ(onBlue.size(), 4u * 2 * 4);
  EXPECT_EQ(Pixel(onBlue, 0, 0), kBlue);
  EXPECT_EQ(Pixel(onBlue, 3, 1), kBlue);
  EXPECT_EQ(Pixel(onBlue, 1, 1), kRed);
  EXPECT_EQ(Pixel(onBlue, 2, 1), kBlue);
  // Background index 0 names no background: the rest is transparent.
  std::vector<uint8_t> onNothing = Decode(SmallGif(0, 1, 1));
  ASSERT_FALSE(onNothing.empty());
  EXPECT_EQ(Pixel(onNothing, 0, 0), kClear);
  EXPECT_EQ(Pixel(onNothing, 1, 1), kRed);
}

TEST(GifDecode, AColourTheTableLacksIsTransparent) {
  std::vector<uint8_t> rgba = Decode(SmallGif(0, 1, 3));
  ASSERT_FALSE(rgba.empty());
  EXPECT_EQ(Pixel(rgba, 1, 1), kRed);
  EXPECT_EQ(Pixel(rgba, 2, 1), kClear);
}

TEST(GifDecode, AnImageReachingPastTheScreenIsRefused) {
  ASSERT_FALSE(Decode(SmallGif(0, 2, 1)).empty());
  EXPECT_TRUE(Decode(SmallGif(0, 3, 1)).empty());
  EXPECT_TRUE(Decode(SmallGif(0, 200, 1)).empty());
}
