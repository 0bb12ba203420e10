// Image decoding against files as real tools write them: every variant loads as the tool itself
// decodes it, or is refused; a file cut anywhere before the last byte its decoder needs is
// refused, whatever the format; a PNG whose data inflates to more than its picture, and a BMP
// whose pixels start inside its headers, are refused.
#include "platform/imaging/stb_image_write_here.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/imaging/image_decode.h"
#include "platform/imaging/image_variants.h"
#include "platform/imaging/jpeg_claims.h"
#include "platform/services_fixture.h"
#include "platform/winapi/gdiplus.h"

namespace {

using kvtest::ImageVariant;
using kvtest::ImageVariants;

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// The decode of bytes as R, G, B, A pixels, whatever their format; empty when refused.
std::vector<uint8_t> Decode(const uint8_t* data, size_t size, int* w, int* h) {
  *w = *h = 0;
  std::vector<uint8_t> out;
  if (!platform::imaging::DecodeImage(data, size, w, h, &out)) return {};
  return out;
}

// A PNG chunk: length, type, data, checksum.
void AppendChunk(std::vector<uint8_t>* png, const char* type, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> chunk(type, type + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  uint32_t length = static_cast<uint32_t>(data.size());
  uint32_t check = stbiw__crc32(chunk.data(), static_cast<int>(chunk.size()));
  for (int i = 3; i >= 0; --i) png->push_back(static_cast<uint8_t>(length >> (8 * i)));
  png->insert(png->end(), chunk.begin(), chunk.end());
  for (int i = 3; i >= 0; --i) png->push_back(static_cast<uint8_t>(check >> (8 * i)));
}

// An interlaced 1 x 1 grey PNG whose compressed data inflates to its one row (a filter byte and
// the pixel) followed by `extra` zero bytes, which the decoder takes and ignores.
std::vector<uint8_t> GreyPixelPng(uint8_t grey, size_t extra) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  AppendChunk(&png, "IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 1});
  std::vector<uint8_t> rows(2 + extra, 0);
  rows[1] = grey;
  int length = 0;
  unsigned char* packed =
      stbi_zlib_compress(rows.data(), static_cast<int>(rows.size()), &length, 8);
  AppendChunk(&png, "IDAT", std::vector<uint8_t>(packed, packed + length));
  STBIW_FREE(packed);
  AppendChunk(&png, "IEND", {});
  return png;
}

class ImageDecodeTest : public ServicesTest {};

}  // namespace

TEST_F(ImageDecodeTest, EveryVariantLoadsAsTheToolDecodesItOrIsRefused) {
  GdiplusStartupInput input{};
  input.GdiplusVersion = 1;
  ULONG_PTR token = 0;
  ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok);
  for (const ImageVariant& variant : ImageVariants()) {
    SCOPED_TRACE(variant.file);
    GpBitmap* bitmap = nullptr;
    GpStatus status =
        GdipCreateBitmapFromFile(Wide(kvtest::VariantPath(variant.file)).c_str(), &bitmap);
    if (!variant.loads) {
      EXPECT_EQ(status, UnknownImageFormat);
      EXPECT_EQ(bitmap, nullptr);
      continue;
    }
    ASSERT_EQ(status, Ok);
    UINT w = 0, h = 0;
    GdipGetImageWidth(bitmap, &w);
    GdipGetImageHeight(bitmap, &h);
    EXPECT_EQ(w, static_cast<UINT>(kvtest::kVariantWidth));
    EXPECT_EQ(h, static_cast<UINT>(kvtest::kVariantHeight));
    BitmapData data{};
    ASSERT_EQ(GdipBitmapLockBits(bitmap, nullptr, ImageLockModeRead, PixelFormat32bppARGB, &data),
              Ok);
    // The bitmap's B, G, R, A as R, G, B, A.
    auto* bgra = static_cast<const uint8_t*>(data.Scan0);
    std::vector<uint8_t> rgba(bgra, bgra + w * h * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) std::swap(rgba[i], rgba[i + 2]);
    EXPECT_TRUE(kvtest::SamePicture(variant, rgba));
    GdipBitmapUnlockBits(bitmap, &data);
    GdipDisposeImage(bitmap);
  }
  GdiplusShutdown(token);
}

// Every length of every file: shorter than what the decoder reads, refused; from there on, the
// same picture. Only a GIF's end byte and a TGA's footer go unread.
TEST_F(ImageDecodeTest, AFileCutBeforeTheLastByteItsDecoderNeedsIsRefused) {
  for (const ImageVariant& variant : ImageVariants()) {
    if (!variant.loads) continue;
    SCOPED_TRACE(variant.file);
    std::vector<uint8_t> file = kvtest::ReadVariant(variant.file);
    int w = 0, h = 0;
    std::vector<uint8_t> whole = Decode(file.data(), file.size(), &w, &h);
    ASSERT_FALSE(whole.empty());
    size_t needed = file.size() - variant.trailer;
    for (size_t size = 1; size < file.size(); ++size) {
      // Each cut is a block of its own, so that a read past it is a read past the memory too.
      std::vector<uint8_t> cut(file.begin(), file.begin() + size);
      std::vector<uint8_t> pixels = Decode(cut.data(), cut.size(), &w, &h);
      if (size < needed) {
        EXPECT_TRUE(pixels.empty()) << size << " of " << file.size() << " bytes load";
      } else {
        EXPECT_EQ(pixels, whole) << size << " of " << file.size() << " bytes";
      }
    }
  }
}

TEST_F(ImageDecodeTest, APngWhoseDataInflatesFarPastItsPictureIsRefused) {
  int w = 0, h = 0;
  std::vector<uint8_t> plain = GreyPixelPng(77, 0);
  EXPECT_EQ(Decode(plain.data(), plain.size(), &w, &h), (std::vector<uint8_t>{77, 77, 77, 255}));
  // A little trailing data is taken as the decoder always took it.
  std::vector<uint8_t> padded = GreyPixelPng(77, 1000);
  EXPECT_EQ(Decode(padded.data(), padded.size(), &w, &h), (std::vector<uint8_t>{77, 77, 77, 255}));
  // 8 MB inflated from a file of some 80 KB, for one pixel.
  std::vector<uint8_t> bomb = GreyPixelPng(77, 8u << 20);
  ASSERT_LT(bomb.size(), 1u << 17);
  EXPECT_TRUE(Decode(bomb.data(), bomb.size(), &w, &h).empty());
}

TEST_F(ImageDecodeTest, ABmpWhosePixelsStartInsideItsHeadersIsRefused) {
  std::vector<uint8_t> bmp = kvtest::ReadVariant("bmp_8bit_bottom_up.bmp");
  int w = 0, h = 0;
  ASSERT_FALSE(Decode(bmp.data(), bmp.size(), &w, &h).empty());
  // The pixels said to start 16 bytes in, inside the 54 bytes of headers: the decoder would
  // read a colour table of minus ten entries.
  bmp[10] = 16;
  bmp[11] = 0;
  EXPECT_TRUE(Decode(bmp.data(), bmp.size(), &w, &h).empty());
}

// A Huffman table that counts more codes than its lengths hold once made a decoder write past
// its table of code lengths; it and every other spoilt table are refused or read as a picture of
// the file's sides, through the decode and through the imaging calls.
TEST_F(ImageDecodeTest, JpegsWithSpoiltTablesAreRefusedOrReadAsAPictureOfTheirSides) {
  GdiplusStartupInput input{};
  input.GdiplusVersion = 1;
  ULONG_PTR token = 0;
  ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok);
  for (const char* file : kvtest::DamagedJpegs()) {
    SCOPED_TRACE(file);
    std::vector<uint8_t> bytes = kvtest::ReadVariant(file);
    ASSERT_FALSE(bytes.empty());
    int w = 0, h = 0;
    std::vector<uint8_t> pixels = Decode(bytes.data(), bytes.size(), &w, &h);
    GpBitmap* bitmap = nullptr;
    GpStatus status = GdipCreateBitmapFromFile(Wide(kvtest::VariantPath(file)).c_str(), &bitmap);
    EXPECT_EQ(status == Ok, !pixels.empty());
    if (kvtest::AlwaysRefused(file)) {
      EXPECT_TRUE(pixels.empty());
    }
    if (pixels.empty()) continue;
    EXPECT_EQ(w, kvtest::kVariantWidth);
    EXPECT_EQ(h, kvtest::kVariantHeight);
    EXPECT_EQ(pixels.size(), static_cast<size_t>(w) * h * 4);
    if (bitmap != nullptr) GdipDisposeImage(bitmap);
  }
  GdiplusShutdown(token);
}

// The scan's data cut short and followed by an end marker: the file is whole in form, but the
// decoder would make up the rest of the picture as grey.
TEST_F(ImageDecodeTest, AJpegWhoseScanDataEndsBeforeItsPictureIsRefused) {
  std::vector<uint8_t> jpeg = kvtest::ReadVariant("jpeg_baseline.jpg");
  int w = 0, h = 0;
  for (size_t scanBytes : {0, 16, 40}) {
    std::vector<uint8_t> cut = JpegClaiming(jpeg, 13, 7, scanBytes);
    ASSERT_FALSE(cut.empty());
    EXPECT_TRUE(Decode(cut.data(), cut.size(), &w, &h).empty()) << scanBytes;
  }
  std::vector<uint8_t> whole = JpegClaiming(jpeg, 13, 7, jpeg.size());
  EXPECT_FALSE(Decode(whole.data(), whole.size(), &w, &h).empty());
}
