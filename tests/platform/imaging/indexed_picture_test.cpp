// Pictures as colour tables for GIF: up to 256 colours kept exactly, transparent pixels counting
// as one more; above that, a photograph reduced with a small mean error (a fixed 3-3-2 table,
// truncation, errs more than three times as much), every pixel taking its nearest colour.
#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "platform/imaging/image_variants.h"
#include "platform/imaging/indexed_picture.h"

namespace {

using platform::imaging::IndexedPicture;
using platform::imaging::Rgb;
using platform::imaging::ToIndexed;

// n pixels of n different opaque colours.
std::vector<uint8_t> Distinct(int n) {
  std::vector<uint8_t> rgba;
  for (int i = 0; i < n; ++i)
    rgba.insert(rgba.end(), {uint8_t(i), uint8_t(i * 7), uint8_t(i / 3), 255});
  return rgba;
}

// The mean difference, over every channel of every opaque pixel, between a picture and its
// indexed form.
double MeanError(const std::vector<uint8_t>& rgba, const IndexedPicture& picture) {
  double sum = 0;
  size_t count = 0;
  for (size_t i = 0; i < picture.indices.size(); ++i) {
    const Rgb& c = picture.colours[picture.indices[i]];
    const uint8_t* p = &rgba[i * 4];
    sum += std::abs(c.r - p[0]) + std::abs(c.g - p[1]) + std::abs(c.b - p[2]);
    count += 3;
  }
  return sum / count;
}

}  // namespace

TEST(IndexedPicture, UpTo256ColoursAreKeptExactly) {
  std::vector<uint8_t> rgba = Distinct(256);
  IndexedPicture picture = ToIndexed(rgba.data(), 256);
  ASSERT_EQ(picture.colours.size(), 256u);
  EXPECT_EQ(picture.transparent, -1);
  EXPECT_EQ(MeanError(rgba, picture), 0.0);
}

TEST(IndexedPicture, TransparentPixelsCountAsOneColour) {
  // 255 colours, then pixels of alpha 0 and 100 in two colours: all of them one transparent
  // entry; alpha 128 and above is opaque.
  std::vector<uint8_t> rgba = Distinct(255);
  rgba.insert(rgba.end(), {1, 2, 3, 0, 200, 9, 9, 100, 0, 0, 0, 128});
  IndexedPicture picture = ToIndexed(rgba.data(), 258);
  ASSERT_EQ(picture.colours.size(), 256u);
  ASSERT_EQ(picture.transparent, 255);
  EXPECT_EQ(picture.indices[255], 255);
  EXPECT_EQ(picture.indices[256], 255);
  EXPECT_EQ(picture.indices[257], 0);  // black, the first colour
  for (int i = 0; i < 255; ++i) {
    const Rgb& c = picture.colours[picture.indices[i]];
    EXPECT_EQ(c, (Rgb{uint8_t(i), uint8_t(i * 7), uint8_t(i / 3)}));
  }
  // One colour more, and the 256 opaque colours must share 255 entries.
  rgba = Distinct(256);
  rgba.insert(rgba.end(), {0, 0, 0, 0});
  picture = ToIndexed(rgba.data(), 257);
  EXPECT_EQ(picture.colours.size(), 256u);
  EXPECT_EQ(picture.transparent, 255);
  EXPECT_EQ(picture.indices[256], 255);
  EXPECT_GT(MeanError(std::vector<uint8_t>(rgba.begin(), rgba.end() - 4),
                      IndexedPicture{picture.colours, -1,
                                     std::vector<uint8_t>(picture.indices.begin(),
                                                          picture.indices.end() - 1)}),
            0.0);
}

TEST(IndexedPicture, APhotographIsReducedWithASmallMeanError) {
  std::vector<uint8_t> rose = kvtest::ReadVariant("photo_rose.png.rgba");
  size_t count = rose.size() / 4;
  ASSERT_EQ(count, 70u * 46u);
  std::set<uint32_t> colours;
  for (size_t i = 0; i < count; ++i)
    colours.insert(rose[i * 4] << 16 | rose[i * 4 + 1] << 8 | rose[i * 4 + 2]);
  ASSERT_GT(colours.size(), 256u);

  IndexedPicture picture = ToIndexed(rose.data(), count);
  EXPECT_LE(picture.colours.size(), 256u);
  EXPECT_EQ(picture.transparent, -1);
  double error = MeanError(rose, picture);
  RecordProperty("mean_error_per_channel", std::to_string(error));

  // Truncation to a fixed table of 3 bits of red and green and 2 of blue, for comparison.
  IndexedPicture truncated;
  for (int i = 0; i < 256; ++i)
    truncated.colours.push_back(Rgb{uint8_t((i >> 5) * 255 / 7), uint8_t((i >> 2 & 7) * 255 / 7),
                                    uint8_t((i & 3) * 255 / 3)});
  for (size_t i = 0; i < count; ++i)
    truncated.indices.push_back(
        uint8_t((rose[i * 4] >> 5) << 5 | (rose[i * 4 + 1] >> 5) << 2 | rose[i * 4 + 2] >> 6));
  double truncatedError = MeanError(rose, truncated);
  EXPECT_LT(error, 3.0);
  EXPECT_LT(error * 3, truncatedError) << error << " against " << truncatedError;

  // Every pixel has the nearest colour of the table.
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = &rose[i * 4];
    auto distance = [p](const Rgb& c) {
      return (c.r - p[0]) * (c.r - p[0]) + (c.g - p[1]) * (c.g - p[1]) +
             (c.b - p[2]) * (c.b - p[2]);
    };
    int chosen = distance(picture.colours[picture.indices[i]]);
    for (const Rgb& c : picture.colours) ASSERT_LE(chosen, distance(c)) << "pixel " << i;
  }
}
