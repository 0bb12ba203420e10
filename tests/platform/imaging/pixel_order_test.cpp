// Pixels in either byte order: a copy across orders swaps the first and third byte of every
// pixel and keeps the rest, whatever the rows' stride; and JPEG pictures of each colour model
// (grey and colour converted by libjpeg-turbo, CMYK by the decoder) decode in both orders alike.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "platform/imaging/image_decode.h"
#include "platform/imaging/pixel_order.h"

namespace {

using platform::ByteBlock;
using platform::imaging::CopyPixels;
using platform::imaging::PixelOrder;

// Two rows of three pixels, each row padded to 16 bytes with 0xEE.
const std::vector<uint8_t> kPadded = {1,  2,    3,    4,    5,    6,  7,    8,    9,    10,  11,
                                      12, 0xEE, 0xEE, 0xEE, 0xEE, 13, 14,   15,   16,   17,  18,
                                      19, 20,   21,   22,   23,   24, 0xEE, 0xEE, 0xEE, 0xEE};

// A flat 16 x 16 JPEG of one sample value per component, at the best quality, its samples stored
// in the given colour space (CMYK with the Adobe marker the library writes for it).
std::vector<uint8_t> FlatJpeg(J_COLOR_SPACE space, std::vector<uint8_t> sample) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* bytes = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &bytes, &size);
  info.image_width = info.image_height = 16;
  info.input_components = static_cast<int>(sample.size());
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, space == JCS_RGB ? JCS_YCbCr : space);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row;
  for (int x = 0; x < 16; ++x) row.insert(row.end(), sample.begin(), sample.end());
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> file(bytes, bytes + size);
  std::free(bytes);
  return file;
}

struct FlatJpegCase {
  const char* name;
  J_COLOR_SPACE space;
  std::vector<uint8_t> sample;
  std::vector<uint8_t> rgba;  // the colour it decodes to
};

}  // namespace

TEST(PixelOrder, CopiesSwapRedAndBlueAndPackTheRows) {
  std::vector<uint8_t> out(24);
  CopyPixels({kPadded.data(), 16, PixelOrder::Bgra}, 3, 2, PixelOrder::Rgba, out.data());
  EXPECT_EQ(out, (std::vector<uint8_t>{3,  2,  1,  4,  7,  6,  5,  8,  11, 10, 9,  12,
                                       15, 14, 13, 16, 19, 18, 17, 20, 23, 22, 21, 24}));
  CopyPixels({kPadded.data(), 16, PixelOrder::Rgba}, 3, 2, PixelOrder::Rgba, out.data());
  EXPECT_EQ(out, (std::vector<uint8_t>{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                       13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
  // Packed rows in the same order are copied whole; a width of 0 copies nothing.
  std::vector<uint8_t> again(24, 0);
  CopyPixels({out.data(), 12, PixelOrder::Bgra}, 3, 2, PixelOrder::Bgra, again.data());
  EXPECT_EQ(again, out);
  CopyPixels({out.data(), 12, PixelOrder::Bgra}, 0, 2, PixelOrder::Rgba, again.data());
  EXPECT_EQ(again, out);
}

TEST(PixelOrder, JpegsOfEveryColourModelDecodeInBothOrders) {
  const FlatJpegCase cases[] = {
      {"grey", JCS_GRAYSCALE, {200}, {200, 200, 200, 255}},
      {"colour", JCS_RGB, {250, 120, 10}, {250, 120, 10, 255}},
      // Adobe's CMYK is stored inverted: 255 is no ink.
      {"cmyk", JCS_CMYK, {255, 128, 0, 255}, {255, 128, 0, 255}},
      {"cmyk with black", JCS_CMYK, {255, 255, 255, 128}, {128, 128, 128, 255}},
  };
  for (const FlatJpegCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> file = FlatJpeg(c.space, c.sample);
    ByteBlock rgba, bgra;
    int w = 0, h = 0;
    ASSERT_TRUE(
        platform::imaging::DecodeImage(file.data(), file.size(), PixelOrder::Rgba, &w, &h, &rgba));
    ASSERT_EQ(w, 16);
    ASSERT_EQ(h, 16);
    ASSERT_TRUE(
        platform::imaging::DecodeImage(file.data(), file.size(), PixelOrder::Bgra, &w, &h, &bgra));
    ASSERT_EQ(rgba.size(), 16u * 16 * 4);
    ASSERT_EQ(bgra.size(), rgba.size());
    for (size_t i = 0; i < rgba.size(); i += 4) {
      for (int b = 0; b < 4; ++b) EXPECT_NEAR(rgba.data()[i + b], c.rgba[b], 2) << i + b;
      EXPECT_EQ(bgra.data()[i + 0], rgba.data()[i + 2]);
      EXPECT_EQ(bgra.data()[i + 1], rgba.data()[i + 1]);
      EXPECT_EQ(bgra.data()[i + 2], rgba.data()[i + 0]);
      EXPECT_EQ(bgra.data()[i + 3], rgba.data()[i + 3]);
    }
  }
}
