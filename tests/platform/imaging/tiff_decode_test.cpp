// TIFF decoding beyond the files tools write: pages naming more picture than their data can
// give are refused before the picture's memory is taken, a tile larger than the decode budget
// is refused, directories that loop are refused, faint pixels of unassociated alpha keep their
// colours, and nothing libtiff says about a damaged file reaches stderr.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/imaging/image_decode.h"
#include "platform/imaging/image_variants.h"
#include "platform/imaging/tiff_encode.h"

namespace {

// A little-endian TIFF of one page: RGB, 8 bits a sample, one strip (or one tile of the given
// sides) of `dataBytes` bytes of zeros, whatever the compression says.
std::vector<uint8_t> TinyTiff(uint32_t width, uint32_t height, uint16_t compression,
                              uint32_t dataBytes, uint32_t tileSide = 0) {
  struct Entry {
    uint32_t tag, type;
    uint32_t count, value;
  };
  const uint32_t ifdAt = 8, entries = 11, bitsAt = ifdAt + 2 + entries * 12 + 4;
  const uint32_t dataAt = bitsAt + 6;
  std::vector<Entry> ifd = {{256, 4, 1, width},
                            {257, 4, 1, height},
                            {258, 3, 3, bitsAt},
                            {259, 3, 1, compression},
                            {262, 3, 1, 2},
                            {277, 3, 1, 3},
                            {284, 3, 1, 1},
                            {tileSide ? 322u : 278u, 4, 1, tileSide ? tileSide : height},
                            {tileSide ? 323u : 278u, 4, 1, tileSide ? tileSide : height},
                            {tileSide ? 324u : 273u, 4, 1, dataAt},
                            {tileSide ? 325u : 279u, 4, 1, dataBytes}};
  if (tileSide == 0) ifd.erase(ifd.begin() + 8);  // one RowsPerStrip, not two
  std::sort(ifd.begin(), ifd.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
  std::vector<uint8_t> out = {'I', 'I', 42, 0};
  auto put = [&out](uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  put(ifdAt, 4);
  put(ifd.size(), 2);
  for (const Entry& e : ifd) {
    put(e.tag, 2), put(e.type, 2), put(e.count, 4);
    put(e.value, 4);  // a SHORT value sits in the first two bytes, little-endian
  }
  put(0, 4);
  out.resize(bitsAt, 0);
  put(8, 2), put(8, 2), put(8, 2);
  out.resize(dataAt + dataBytes, 0);
  return out;
}

// The first page's entry for `tag` in a little-endian file: where its values lie (a count of
// SHORT or LONG values), 0 when the page has none.
size_t ValuesOf(const std::vector<uint8_t>& file, uint16_t tag, size_t* valueSize) {
  auto u16 = [&file](size_t at) { return static_cast<uint32_t>(file[at] | file[at + 1] << 8); };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  size_t ifd = u32(4);
  for (size_t i = 0, n = u16(ifd); i < n; ++i) {
    size_t entry = ifd + 2 + i * 12;
    if (u16(entry) != tag) continue;
    *valueSize = u16(entry + 2) == 3 ? 2 : 4;
    return u32(entry + 4) * *valueSize <= 4 ? entry + 8 : u32(entry + 8);
  }
  return 0;
}

bool Decodes(const std::vector<uint8_t>& file) {
  int w = 0, h = 0;
  std::vector<uint8_t> rgba;
  return platform::imaging::DecodeImage(file.data(), file.size(), &w, &h, &rgba);
}

// What the process writes to stderr while `work` runs.
template <typename Work>
std::string StderrOf(Work work) {
  std::fflush(stderr);
  char name[] = "/tmp/kv_stderr_XXXXXX";
  int capture = mkstemp(name);
  int saved = dup(2);
  dup2(capture, 2);
  work();
  std::fflush(stderr);
  dup2(saved, 2);
  close(saved);
  std::string text(static_cast<size_t>(lseek(capture, 0, SEEK_END)), '\0');
  ssize_t read = pread(capture, text.data(), text.size(), 0);
  text.resize(read > 0 ? static_cast<size_t>(read) : 0);
  close(capture);
  unlink(name);
  return text;
}

}  // namespace

TEST(TiffDecode, APageNamingMorePictureThanItsDataCanGiveIsRefused) {
  // The same file with a picture its data fills: it loads, black.
  EXPECT_TRUE(Decodes(TinyTiff(4, 4, 1, 48)));
  // 4000 x 4000 pixels over a strip of 100 bytes, plain, PackBits, LZW and Deflate: even
  // Deflate's best ratio gives 103 KB of the 48 MB the picture needs.
  for (uint16_t compression : {1, 32773, 5, 8}) {
    SCOPED_TRACE(compression);
    EXPECT_FALSE(Decodes(TinyTiff(4000, 4000, compression, 100)));
  }
  // A compression that is not read.
  EXPECT_FALSE(Decodes(TinyTiff(4, 4, 34712, 48)));
}

TEST(TiffDecode, ATileLargerThanTheDecodeBudgetIsRefused) {
  // 13 x 7 pixels in one Deflate tile of 65536 x 65536: 12 GB for libtiff's tile buffer.
  EXPECT_FALSE(Decodes(TinyTiff(13, 7, 8, 100, 65536)));
}

TEST(TiffDecode, DirectoriesThatLoopAreRefused) {
  std::vector<uint8_t> file = kvtest::ReadVariant("tiff_pil_multipage.tif");
  ASSERT_TRUE(Decodes(file));
  // The second page's next-page pointer, after its 11 entries, is pointed at the first page.
  size_t second = 424;
  ASSERT_EQ(file[second], 11);
  file[second + 2 + 11 * 12] = 8;
  EXPECT_FALSE(Decodes(file));
}

TEST(TiffDecode, APageWhoseStripsLackByteCountsIsRefused) {
  // libtiff would reckon them from the file's length, so more bytes after the file would make
  // another picture of it.
  std::vector<uint8_t> file = TinyTiff(4, 4, 1, 48);
  ASSERT_TRUE(Decodes(file));
  std::vector<uint8_t> zero = file;
  for (size_t at = 10; at + 12 <= 8 + 2 + 10 * 12; at += 12) {
    if (file[at] == 0x17 && file[at + 1] == 0x01) {  // StripByteCounts
      std::vector<uint8_t> missing = file;
      missing[at] = 0xff, missing[at + 1] = 0xdd;  // an unknown tag instead
      EXPECT_FALSE(Decodes(missing));
      zero[at + 8] = 0;
    }
  }
  EXPECT_FALSE(Decodes(zero));
}

TEST(TiffDecode, FaintPixelsOfUnassociatedAlphaKeepTheirColours) {
  // Alpha 1 and 2: multiplied in and out again, these colours would come back as 0 or 255.
  const uint8_t rgba[] = {200, 100, 37, 1, 9, 250, 128, 2, 1, 2, 3, 255, 0, 0, 0, 0};
  std::string file;
  ASSERT_TRUE(platform::imaging::EncodeTiff(rgba, 2, 2, &file));
  int w = 0, h = 0;
  std::vector<uint8_t> back;
  ASSERT_TRUE(platform::imaging::DecodeImage(reinterpret_cast<const uint8_t*>(file.data()),
                                             file.size(), &w, &h, &back));
  EXPECT_EQ(back, std::vector<uint8_t>(rgba, rgba + 16));
}

TEST(TiffDecode, NothingLibtiffSaysReachesStderr) {
  std::vector<uint8_t> file = kvtest::ReadVariant("tiff_jpeg.tif");
  // The JPEG data damaged in the middle, and a tag of an unknown kind: an error and a warning.
  std::vector<uint8_t> damaged = file;
  for (size_t i = 200; i < 260; ++i) damaged[i] = 0xff;
  // The PlanarConfiguration tag becomes tag 0x0177, unknown and out of order.
  std::vector<uint8_t> unknownTag = TinyTiff(4, 4, 1, 48);
  for (size_t at = 10; at + 12 <= 8 + 2 + 10 * 12; at += 12)
    if (unknownTag[at] == 0x1c && unknownTag[at + 1] == 0x01) unknownTag[at] = 0x77;
  std::string said = StderrOf([&] {
    Decodes(damaged);
    Decodes(unknownTag);
    Decodes(TinyTiff(4000, 4000, 5, 100));
  });
  EXPECT_EQ(said, "");
}

// libtiff's copier in 16 x 16 tiles (uncompressed and LZW) and in 32 x 48 tiles with the planes
// apart, around a 37 x 23 picture: the right and bottom tiles reach past it.
TEST(TiffDecode, PagesInTilesOfAnySizeLoadAndAreRefusedWhenTheirTilesAreCutShort) {
  std::vector<uint8_t> want = kvtest::ReadVariant("tiff_tiles.rgba");
  ASSERT_EQ(want.size(), 37u * 23 * 4);
  for (const char* name : {"tiff_tiles_16.tif", "tiff_tiles_16_lzw.tif", "tiff_tiles_planar.tif"}) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> file = kvtest::ReadVariant(name);
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    ASSERT_TRUE(platform::imaging::DecodeImage(file.data(), file.size(), &w, &h, &rgba));
    EXPECT_EQ(w, 37);
    EXPECT_EQ(h, 23);
    EXPECT_EQ(rgba, want);
    for (size_t size = 1; size < file.size(); size += 7)
      EXPECT_FALSE(Decodes(std::vector<uint8_t>(file.begin(), file.begin() + size))) << size;
  }
  // The last of six 768-byte tiles said to hold 700 bytes, and said to hold none.
  std::vector<uint8_t> file = kvtest::ReadVariant("tiff_tiles_16.tif");
  size_t valueSize = 0, counts = ValuesOf(file, 325, &valueSize);
  ASSERT_NE(counts, 0u);
  ASSERT_EQ(valueSize, 2u);
  size_t last = counts + 5 * 2;
  ASSERT_EQ(file[last] | file[last + 1] << 8, 768);
  for (int bytes : {700, 0}) {
    std::vector<uint8_t> cut = file;
    cut[last] = static_cast<uint8_t>(bytes), cut[last + 1] = static_cast<uint8_t>(bytes >> 8);
    EXPECT_FALSE(Decodes(cut)) << bytes;
  }
}
