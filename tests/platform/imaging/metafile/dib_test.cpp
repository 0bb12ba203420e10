// Bitmaps as metafiles carry them, built byte by byte: every header and depth decodes to the
// colours it holds, top row first whichever way the file stores its rows; colour tables of
// palette indices name the palette's entries; rows shorter than the sides need, system palette
// indices and damaged compressions are refused; run-length escapes and absolute runs land where
// they say, runs into a row's padding are cut off and runs past it refused.
#include "platform/imaging/metafile/dib.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/imaging/decode_budget.h"

namespace {

using platform::metafile::DecodeDib;
using platform::metafile::DibInfoSize;
using platform::metafile::DibPixels;

constexpr uint32_t kRed = 0xffff0000, kGreen = 0xff00ff00, kBlue = 0xff0000ff;
constexpr uint32_t kWhite = 0xffffffff;

// Puts value as bytes little-endian bytes; bytes past its four are zero.
void Put(std::vector<uint8_t>* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out->push_back(i < 4 ? static_cast<uint8_t>(value >> (8 * i)) : 0);
}

// A 40-byte info header followed by a colour table of B, G, R, 0 entries.
std::vector<uint8_t> Info(int32_t w, int32_t h, uint16_t bits, uint32_t compression,
                          const std::vector<uint32_t>& table = {}) {
  std::vector<uint8_t> info;
  Put(&info, 40, 4);
  Put(&info, static_cast<uint32_t>(w), 4);
  Put(&info, static_cast<uint32_t>(h), 4);
  Put(&info, 1, 2);
  Put(&info, bits, 2);
  Put(&info, compression, 4);
  Put(&info, 0, 4 * 3);
  Put(&info, static_cast<uint32_t>(table.size()), 4);
  Put(&info, 0, 4);
  for (uint32_t colour : table) Put(&info, colour & 0xffffff, 4);
  return info;
}

struct Decoded {
  bool ok = false;
  DibPixels pixels;
};

// Decodes under a budget, as the reader does.
bool Decode(const std::vector<uint8_t>& info, const std::vector<uint8_t>& bits, DibPixels* out,
            uint32_t usage = 0) {
  platform::imaging::DecodeBudget budget(1 << 24);
  return DecodeDib(info.data(), info.size(), bits.data(), bits.size(), usage, out);
}

std::vector<uint32_t> Pixels(const DibPixels& dib) {
  return std::vector<uint32_t>(dib.pixels, dib.pixels + dib.width * dib.height);
}

TEST(Dib, DecodesEachDepthTopRowFirst) {
  // 2 x 2: red, green over blue, white; rows stored bottom first, padded to 4 bytes.
  std::vector<uint32_t> table = {kRed, kGreen, kBlue, kWhite};
  struct Depth {
    uint16_t bits;
    std::vector<uint8_t> rows;
  };
  const Depth kDepths[] = {
      {4, {0x23, 0, 0, 0, 0x01, 0, 0, 0}},
      {8, {2, 3, 0, 0, 0, 1, 0, 0}},
      {24, {0xff, 0, 0, 0xff, 0xff, 0xff, 0, 0, 0, 0, 0xff, 0, 0xff, 0, 0, 0}},
      // The fourth byte of a 32-bit pixel is padding: 0 here, yet the pixels are opaque.
      {32, {0xff, 0, 0, 0, 0xff, 0xff, 0xff, 0, 0, 0, 0xff, 0, 0, 0xff, 0, 0}},
  };
  for (const Depth& depth : kDepths) {
    SCOPED_TRACE(depth.bits);
    DibPixels dib;
    ASSERT_TRUE(Decode(Info(2, 2, depth.bits, 0, depth.bits <= 8 ? table : std::vector<uint32_t>{}),
                       depth.rows, &dib));
    EXPECT_EQ(Pixels(dib), (std::vector<uint32_t>{kRed, kGreen, kBlue, kWhite}));
  }
}

TEST(Dib, ReadsTopDownRowsSixteenBitFieldsAndTheOldHeader) {
  // A negative height stores the top row first.
  DibPixels topDown;
  ASSERT_TRUE(Decode(Info(1, -2, 24, 0), {0, 0, 0xff, 0, 0, 0xff, 0, 0}, &topDown));
  EXPECT_EQ(Pixels(topDown), (std::vector<uint32_t>{kRed, kGreen}));
  EXPECT_FALSE(topDown.bottomUp);

  // 16 bits with 5-6-5 bit fields: pure red is 0xF800.
  std::vector<uint8_t> fields = Info(1, 1, 16, 3);
  Put(&fields, 0xF800, 4);
  Put(&fields, 0x07E0, 4);
  Put(&fields, 0x001F, 4);
  DibPixels red;
  ASSERT_TRUE(Decode(fields, {0x00, 0xF8, 0, 0}, &red));
  EXPECT_EQ(Pixels(red), std::vector<uint32_t>{kRed});
  EXPECT_EQ(DibInfoSize(fields.data(), fields.size()), 52u);

  // The 12-byte header with 3-byte colour table entries.
  std::vector<uint8_t> core;
  Put(&core, 12, 4);
  Put(&core, 2, 2);
  Put(&core, 1, 2);
  Put(&core, 1, 2);
  Put(&core, 1, 2);
  Put(&core, 0x0000ff, 3);  // blue
  Put(&core, 0xffffff, 3);  // white
  DibPixels mono;
  ASSERT_EQ(DibInfoSize(core.data(), core.size()), 18u);
  ASSERT_TRUE(Decode(core, {0x40, 0, 0, 0}, &mono));
  EXPECT_EQ(Pixels(mono), (std::vector<uint32_t>{kBlue, kWhite}));
}

TEST(Dib, RefusesShortRowsSystemIndicesAndDamagedCompressions) {
  DibPixels dib;
  EXPECT_FALSE(Decode(Info(2, 2, 24, 0), std::vector<uint8_t>(15, 0), &dib)) << "one byte short";
  EXPECT_FALSE(Decode(Info(1, 1, 8, 0, {kRed}), {0, 0, 0, 0}, &dib, 2)) << "system palette indices";
  EXPECT_FALSE(Decode(Info(1, 1, 24, 4), std::vector<uint8_t>(64, 0), &dib)) << "JPEG";
  EXPECT_FALSE(Decode(Info(1, 1, 7, 0), std::vector<uint8_t>(64, 0), &dib)) << "7 bits";
  EXPECT_FALSE(Decode(Info(0, 1, 24, 0), std::vector<uint8_t>(64, 0), &dib)) << "no width";
  EXPECT_FALSE(Decode(Info(40000, 1, 1, 0, {kRed, kRed}), std::vector<uint8_t>(8000, 0), &dib))
      << "wider than any picture";
  // Sides beyond the budget are refused before anything is taken.
  EXPECT_FALSE(Decode(Info(30000, 30000, 8, 1, {kRed}), {0, 1}, &dib)) << "beyond the budget";
}

TEST(Dib, PlacesRunLengthEscapesAndCutsRunsAtTheEdge) {
  std::vector<uint32_t> table = {kRed, kGreen, kBlue, kWhite};
  // RLE8 on 4 x 2, bottom row first: a run of 3 blue; the end of the row; a jump of 1 right;
  // an absolute run of 3 (green, white, red, padded to a word); the end of the bitmap.
  DibPixels rle8;
  ASSERT_TRUE(
      Decode(Info(4, 2, 8, 1, table), {3, 2, 0, 0, 0, 2, 1, 0, 0, 3, 1, 3, 0, 0, 0, 1}, &rle8));
  EXPECT_EQ(Pixels(rle8), (std::vector<uint32_t>{0, kGreen, kWhite, kRed, kBlue, kBlue, kBlue, 0}));
  // RLE4 on 3 x 1: an absolute run of 3 indices (red, blue, white) in two bytes padded to a
  // word, then a run of 5 into the row's padding (8 pixels in a word of 4 bits each), which the
  // edge cuts off.
  DibPixels rle4;
  ASSERT_TRUE(Decode(Info(3, 1, 4, 2, table), {0, 3, 0x02, 0x30, 5, 0x11, 0, 1}, &rle4));
  EXPECT_EQ(Pixels(rle4), (std::vector<uint32_t>{kRed, kBlue, kWhite}));
  // A run past the padding, an absolute run longer than the data, and data without the
  // end-of-bitmap escape are refused.
  DibPixels cut;
  EXPECT_FALSE(Decode(Info(3, 1, 4, 2, table), {0, 3, 0x02, 0x30, 6, 0x11, 0, 1}, &cut));
  EXPECT_FALSE(Decode(Info(8, 1, 8, 1, table), {0, 8, 1, 2}, &cut));
  EXPECT_FALSE(Decode(Info(2, 1, 8, 1, table), {2, 1, 0, 0}, &cut));
}

}  // namespace
