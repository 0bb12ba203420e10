// Run-length BMP files spoilt a byte or two at a time: each damage to the headers (refused by the
// sides and the decode) or to the rows (a run or jump past the row's padding or the last row, an
// absolute run longer than the data, a file that never says its bitmap ended: refused by the
// decode) is refused. The whole files are read as their writers decode them through every loader
// (image_variants.h).
#include "platform/imaging/bmp_rle_decode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/imaging/image_decode.h"
#include "platform/imaging/image_variants.h"

namespace {

struct Damage {
  const char* file;
  bool inRows;  // offsets count from the first byte of the rows, else from the file's start
  std::vector<std::pair<long, uint8_t>> bytes;  // offset (negative: from the end), new value
  const char* what;
};

// The rows of bmp_8bit_rle_skips.bmp open with runs (04 06 ...), the end of the first row, a jump
// 3 right (00 02 03 00 at 10) and an absolute run of 10, and end with runs of 4, 4 and 1 and the
// end of the bitmap (04 00 04 01 01 02 00 01); those of bmp_4bit_rle_skips.bmp open with a run of
// 13 (0D 6B), the end of the row and a jump 3 right (00 02 03 00 at 4), and end with a run of 9
// and the end of the bitmap (09 05 00 01).
const Damage kDamages[] = {
    {"bmp_8bit_rle_skips.bmp", false, {{47, 1}}, "a colour table of 296 entries"},
    {"bmp_8bit_rle_skips.bmp", false, {{10, 20}}, "rows that start inside the headers"},
    {"bmp_8bit_rle_skips.bmp", false, {{18, 0}}, "no width"},
    {"bmp_8bit_rle_skips.bmp", false, {{21, 0x40}}, "a width beyond any BMP's"},
    {"bmp_8bit_rle_skips.bmp", true, {{0, 17}}, "a run past the row's padding"},
    {"bmp_8bit_rle_skips.bmp", true, {{12, 17}}, "a jump right past the row's padding"},
    {"bmp_8bit_rle_skips.bmp", true, {{13, 7}}, "a jump down past the last row"},
    {"bmp_8bit_rle_skips.bmp", true, {{-8, 0}, {-7, 15}}, "an absolute run longer than the data"},
    {"bmp_8bit_rle_skips.bmp", true, {{-1, 0}}, "the end of a row for the end of the bitmap"},
    {"bmp_4bit_rle_skips.bmp", true, {{0, 17}}, "an RLE4 run past the row's padding"},
    {"bmp_4bit_rle_skips.bmp", true, {{7, 9}}, "an RLE4 jump past the last row"},
    {"bmp_4bit_rle_skips.bmp", true, {{-4, 0}, {-3, 15}}, "an RLE4 absolute run past the data"},
    {"bmp_4bit_rle_skips.bmp", true, {{-1, 0}}, "an RLE4 file without the end of the bitmap"},
};

uint32_t RowsAt(const std::vector<uint8_t>& bmp) {
  return bmp[10] | bmp[11] << 8 | bmp[12] << 16 | static_cast<uint32_t>(bmp[13]) << 24;
}

TEST(BmpRleDecode, RefusesEachDamageToItsHeadersAndRows) {
  for (const Damage& damage : kDamages) {
    SCOPED_TRACE(damage.what);
    std::vector<uint8_t> bmp = kvtest::ReadVariant(damage.file);
    ASSERT_FALSE(bmp.empty());
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    ASSERT_TRUE(platform::imaging::DecodeImage(bmp.data(), bmp.size(), &w, &h, &rgba));
    long size = static_cast<long>(bmp.size());
    long base = damage.inRows ? static_cast<long>(RowsAt(bmp)) : 0;
    for (const auto& [offset, value] : damage.bytes) {
      long at = offset < 0 ? size + offset : base + offset;
      ASSERT_LT(at, size);
      bmp[at] = value;
    }
    ASSERT_TRUE(platform::imaging::IsRunLengthBmp(bmp.data(), bmp.size()));
    bool sides = platform::imaging::ImageSides(bmp.data(), bmp.size(), &w, &h);
    EXPECT_EQ(sides, damage.inRows) << "the sides come from the headers alone";
    EXPECT_FALSE(platform::imaging::DecodeImage(bmp.data(), bmp.size(), &w, &h, &rgba));
    EXPECT_TRUE(rgba.empty());
  }
}

}  // namespace
