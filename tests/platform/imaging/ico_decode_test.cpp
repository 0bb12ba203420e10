// Icon decoding beyond the files tools write: 16- and 24-bit images with their masks, a 32-bit
// image whose alpha is all zero taking the mask's transparency, any directory entry reaching
// past the end of the file or into the directory refusing the file, and an image naming sides
// its bytes cannot hold refused before its picture's memory is taken.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/imaging/image_decode.h"
#include "platform/imaging/image_variants.h"

namespace {

void Put(std::vector<uint8_t>* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A bitmap image of an icon: its header (the height counting the mask's rows too), the colour
// rows as given (bottom row first, each padded to 4 bytes) and the AND mask rows.
std::vector<uint8_t> BitmapImage(int w, int h, int bits, const std::vector<uint8_t>& rows,
                                 const std::vector<uint8_t>& mask) {
  std::vector<uint8_t> out;
  Put(&out, 40, 4), Put(&out, w, 4), Put(&out, 2 * h, 4), Put(&out, 1, 2), Put(&out, bits, 2);
  out.resize(40, 0);
  out.insert(out.end(), rows.begin(), rows.end());
  out.insert(out.end(), mask.begin(), mask.end());
  return out;
}

// An icon file of the images, each listed with the sides and bits given.
struct Listed {
  int w, h, bits;
  std::vector<uint8_t> image;
};
std::vector<uint8_t> IconFile(const std::vector<Listed>& images) {
  std::vector<uint8_t> out;
  Put(&out, 0, 2), Put(&out, 1, 2), Put(&out, static_cast<uint32_t>(images.size()), 2);
  uint32_t at = 6 + 16 * static_cast<uint32_t>(images.size());
  for (const Listed& listed : images) {
    Put(&out, listed.w, 1), Put(&out, listed.h, 1), Put(&out, 0, 2), Put(&out, 1, 2);
    Put(&out, listed.bits, 2), Put(&out, static_cast<uint32_t>(listed.image.size()), 4);
    Put(&out, at, 4);
    at += static_cast<uint32_t>(listed.image.size());
  }
  for (const Listed& listed : images)
    out.insert(out.end(), listed.image.begin(), listed.image.end());
  return out;
}

std::vector<uint8_t> Decode(const std::vector<uint8_t>& file, int* w, int* h) {
  std::vector<uint8_t> rgba;
  if (!platform::imaging::DecodeImage(file.data(), file.size(), w, h, &rgba)) return {};
  return rgba;
}

// A 2 x 2 mask with the bottom-left pixel transparent: rows of 4 bytes, bottom row first.
const std::vector<uint8_t> kCornerMask = {0x80, 0, 0, 0, 0, 0, 0, 0};

}  // namespace

TEST(IcoDecode, SixteenAndTwentyFourBitImagesTakeTheirMasksTransparency) {
  // 2 x 2, bottom row first: B, G, R pixels padded to 8 bytes a row.
  std::vector<uint8_t> rows24 = {10, 20, 30, 40, 50, 60, 0, 0, 70, 80, 90, 1, 2, 3, 0, 0};
  // 5 bits each of R, G, B: pure red, green, blue, white.
  std::vector<uint8_t> rows16 = {0x00, 0x7c, 0xe0, 0x03, 0x1f, 0x00, 0xff, 0x7f};
  int w = 0, h = 0;
  EXPECT_EQ(Decode(IconFile({{2, 2, 24, BitmapImage(2, 2, 24, rows24, kCornerMask)}}), &w, &h),
            (std::vector<uint8_t>{90, 80, 70, 255, 3, 2, 1, 255, 30, 20, 10, 0, 60, 50, 40, 255}));
  EXPECT_EQ(
      Decode(IconFile({{2, 2, 16, BitmapImage(2, 2, 16, rows16, kCornerMask)}}), &w, &h),
      (std::vector<uint8_t>{0, 0, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255}));
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
}

TEST(IcoDecode, AThirtyTwoBitImageWithoutAlphaTakesTheMasks) {
  std::vector<uint8_t> rows(16, 0);
  for (int i = 0; i < 4; ++i) rows[i * 4 + 2] = 200;  // red, alpha 0 everywhere
  int w = 0, h = 0;
  std::vector<uint8_t> rgba =
      Decode(IconFile({{2, 2, 32, BitmapImage(2, 2, 32, rows, kCornerMask)}}), &w, &h);
  ASSERT_EQ(rgba.size(), 16u);
  EXPECT_EQ(rgba[3], 255);
  EXPECT_EQ(rgba[8 + 3], 0);  // the bottom-left pixel
  // With alpha of its own, the mask is not looked at.
  rows[3] = 128;
  rgba = Decode(IconFile({{2, 2, 32, BitmapImage(2, 2, 32, rows, kCornerMask)}}), &w, &h);
  ASSERT_EQ(rgba.size(), 16u);
  EXPECT_EQ(rgba[8 + 3], 128);
  EXPECT_EQ(rgba[3], 0);
}

TEST(IcoDecode, AnEntryReachingPastTheEndOrIntoTheDirectoryRefusesTheFile) {
  std::vector<uint8_t> file = kvtest::ReadVariant("ico_sizes.ico");
  int w = 0, h = 0;
  ASSERT_FALSE(Decode(file, &w, &h).empty());
  // The smallest image, never the one decoded, said one byte longer than the file holds.
  std::vector<uint8_t> longer = file;
  size_t third = 6 + 2 * 16;
  longer[third + 8] += 1;
  EXPECT_TRUE(Decode(longer, &w, &h).empty());
  // The same image said to start inside the directory.
  std::vector<uint8_t> inside = file;
  std::memset(&inside[third + 12], 0, 4);
  inside[third + 12] = 20;
  EXPECT_TRUE(Decode(inside, &w, &h).empty());
  // A directory of more entries than the file holds.
  std::vector<uint8_t> counted = file;
  counted[4] = 200;
  EXPECT_TRUE(Decode(counted, &w, &h).empty());
}

TEST(IcoDecode, AnImageNamingSidesItsBytesCannotHoldIsRefused) {
  // 30000 x 30000 pixels of 32 bits (3.6 GB) said over the 16 bytes of a 2 x 2 image.
  std::vector<uint8_t> image = BitmapImage(2, 2, 32, std::vector<uint8_t>(16, 255), kCornerMask);
  uint32_t side = 30000, doubled = 60000;
  std::memcpy(&image[4], &side, 4);
  std::memcpy(&image[8], &doubled, 4);
  std::vector<uint8_t> file = IconFile({{0, 0, 32, image}});
  int w = 0, h = 0;
  // Refused by the header check that comes before any decode.
  EXPECT_FALSE(platform::imaging::ImageSides(file.data(), file.size(), &w, &h));
  EXPECT_TRUE(Decode(file, &w, &h).empty());
}
