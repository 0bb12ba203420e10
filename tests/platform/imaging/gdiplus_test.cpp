// The imaging calls: start-up required, the encoder table with its texts in the same block,
// bitmaps over memory locked and written back, every encoder's file decoded back to the same
// pixels (JPEG near them), and files that are not images, or are shorter than the image they
// describe, refused.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/imaging/jpeg_claims.h"
#include "platform/services_fixture.h"
#include "platform/winapi/gdiplus.h"

namespace {

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

class ImagingTest : public ServicesTest {
 protected:
  ULONG_PTR token = 0;
  void SetUp() override {
    ServicesTest::SetUp();
    GdiplusStartupInput input{};
    input.GdiplusVersion = 1;
    ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok);
  }
  void TearDown() override {
    GdiplusShutdown(token);
    ServicesTest::TearDown();
  }

  // The class identifier of the encoder with that MIME type.
  static bool EncoderFor(const std::string& mime, CLSID* out) {
    UINT count = 0, size = 0;
    EXPECT_EQ(GdipGetImageEncodersSize(&count, &size), Ok);
    std::vector<uint8_t> block(size);
    auto* table = reinterpret_cast<ImageCodecInfo*>(block.data());
    EXPECT_EQ(GdipGetImageEncoders(count, size, table), Ok);
    for (UINT i = 0; i < count; ++i) {
      if (std::u16string(table[i].MimeType) == Wide(mime)) {
        *out = table[i].Clsid;
        return true;
      }
    }
    return false;
  }

  // An image file of w x h pixels `bgra` written by the encoder of that image type, as bytes.
  std::string EncodedFile(const char* type, int w, int h, std::vector<uint8_t> bgra) {
    GpBitmap* bitmap = nullptr;
    EXPECT_EQ(GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppARGB, bgra.data(), &bitmap),
              Ok);
    CLSID encoder{};
    EXPECT_TRUE(EncoderFor(std::string("image/") + type, &encoder));
    std::string path = folder + "/encoded";
    EXPECT_EQ(GdipSaveImageToFile(bitmap, Wide(path).c_str(), &encoder, nullptr), Ok);
    GdipDisposeImage(bitmap);
    return ReadText(path);
  }
};

}  // namespace

TEST_F(ImagingTest, BitmapsNeedAStartUpOfVersionOne) {
  GdiplusStartupInput input{};
  input.GdiplusVersion = 2;
  ULONG_PTR other = 0;
  EXPECT_EQ(GdiplusStartup(&other, &input, nullptr), UnsupportedGdiplusVersion);
  GdiplusShutdown(token);
  GpBitmap* bitmap = nullptr;
  EXPECT_EQ(GdipCreateBitmapFromScan0(1, 1, 4, PixelFormat32bppARGB, nullptr, &bitmap),
            GdiplusNotInitialized);
  EXPECT_EQ(GdipCreateBitmapFromFile(u"/nonexistent.png", &bitmap), GdiplusNotInitialized);
  UINT count = 0, size = 0;
  EXPECT_EQ(GdipGetImageEncodersSize(&count, &size), Ok);  // the table needs no start-up
  input.GdiplusVersion = 1;
  ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok);
}

TEST_F(ImagingTest, TheEncoderTableHoldsSixTypesInOrderWithTheirTexts) {
  UINT count = 0, size = 0;
  ASSERT_EQ(GdipGetImageEncodersSize(&count, &size), Ok);
  ASSERT_EQ(count, 6u);
  ASSERT_GT(size, count * sizeof(ImageCodecInfo));
  std::vector<uint8_t> block(size, 0xCC);
  auto* table = reinterpret_cast<ImageCodecInfo*>(block.data());
  EXPECT_EQ(GdipGetImageEncoders(count, size - 1, table), GenericError);
  ASSERT_EQ(GdipGetImageEncoders(count, size, table), Ok);
  std::vector<std::u16string> types;
  for (UINT i = 0; i < count; ++i) {
    types.push_back(table[i].MimeType);
    // The texts lie inside the block.
    EXPECT_GE((const uint8_t*)table[i].MimeType, block.data() + count * sizeof(ImageCodecInfo));
    EXPECT_LT((const uint8_t*)table[i].MimeType, block.data() + size);
    for (UINT j = 0; j < i; ++j)
      EXPECT_NE(0, std::memcmp(&table[i].Clsid, &table[j].Clsid, sizeof(CLSID)));
  }
  EXPECT_EQ(types, (std::vector<std::u16string>{u"image/bmp", u"image/jpeg", u"image/gif",
                                                u"image/tiff", u"image/png", u"image/tga"}));
}

TEST_F(ImagingTest, ALockOverMemoryIsWrittenBackOnlyWhenWritable) {
  std::vector<uint8_t> pixels(3 * 2 * 4, 0);
  GpBitmap* bitmap = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(3, 2, 12, PixelFormat32bppARGB, pixels.data(), &bitmap), Ok);
  UINT w = 0, h = 0;
  GdipGetImageWidth(bitmap, &w);
  GdipGetImageHeight(bitmap, &h);
  EXPECT_EQ(w, 3u);
  EXPECT_EQ(h, 2u);

  GpRect one = {2, 1, 1, 1};
  BitmapData data{};
  ASSERT_EQ(GdipBitmapLockBits(bitmap, &one, ImageLockModeWrite, PixelFormat32bppARGB, &data), Ok);
  EXPECT_EQ(GdipBitmapLockBits(bitmap, &one, ImageLockModeRead, PixelFormat32bppARGB, &data),
            WrongState);
  EXPECT_EQ(data.Stride, 4);
  std::memcpy(data.Scan0, "\x01\x02\x03\x04", 4);
  ASSERT_EQ(GdipBitmapUnlockBits(bitmap, &data), Ok);
  EXPECT_EQ(0, std::memcmp(&pixels[(1 * 3 + 2) * 4], "\x01\x02\x03\x04", 4));

  ASSERT_EQ(GdipBitmapLockBits(bitmap, nullptr, ImageLockModeRead, PixelFormat32bppARGB, &data),
            Ok);
  EXPECT_EQ(0, std::memcmp((uint8_t*)data.Scan0 + 20, "\x01\x02\x03\x04", 4));
  std::memset(data.Scan0, 9, 24);
  ASSERT_EQ(GdipBitmapUnlockBits(bitmap, &data), Ok);
  EXPECT_EQ(pixels[0], 0);  // read-only: nothing written back
  EXPECT_EQ(GdipBitmapUnlockBits(bitmap, &data), WrongState);

  GpRect outside = {2, 1, 2, 1};
  EXPECT_EQ(GdipBitmapLockBits(bitmap, &outside, ImageLockModeRead, PixelFormat32bppARGB, &data),
            InvalidParameter);
  EXPECT_EQ(GdipBitmapLockBits(bitmap, nullptr, ImageLockModeRead, 137224, &data), NotImplemented);
  EXPECT_EQ(GdipDisposeImage(bitmap), Ok);
  EXPECT_EQ(GdipCreateBitmapFromScan0(3, 2, 8, PixelFormat32bppARGB, pixels.data(), &bitmap),
            InvalidParameter);
}

TEST_F(ImagingTest, EveryEncoderWritesAFileThatReadsBack) {
  // B, G, R, A: blue, green, red, half-transparent white.
  const uint8_t mixed[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128};
  // JPEG blurs colours across neighbours: it gets one colour, red, all over.
  const uint8_t red[] = {0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255};
  for (const char* type : {"png", "bmp", "tga", "jpeg", "gif", "tiff"}) {
    SCOPED_TRACE(type);
    bool lossy = std::string(type) == "jpeg";
    bool binaryAlpha = std::string(type) == "gif";  // half-transparent white becomes opaque
    const uint8_t* bgra = lossy ? red : mixed;
    std::vector<uint8_t> pixels(bgra, bgra + 16);
    GpBitmap* bitmap = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromScan0(2, 2, 8, PixelFormat32bppARGB, pixels.data(), &bitmap), Ok);
    CLSID encoder;
    ASSERT_TRUE(EncoderFor(std::string("image/") + type, &encoder));
    std::u16string path = Wide(folder + "/out." + type);
    ASSERT_EQ(GdipSaveImageToFile(bitmap, path.c_str(), &encoder, nullptr), Ok);
    GdipDisposeImage(bitmap);

    ASSERT_EQ(GdipCreateBitmapFromFile(path.c_str(), &bitmap), Ok);
    BitmapData data{};
    ASSERT_EQ(GdipBitmapLockBits(bitmap, nullptr, ImageLockModeRead, PixelFormat32bppARGB, &data),
              Ok);
    const uint8_t* back = static_cast<const uint8_t*>(data.Scan0);
    for (int i = 0; i < 16; ++i) {
      if ((lossy || binaryAlpha) && i % 4 == 3 && bgra[i] != 0) {
        EXPECT_EQ(back[i], 255);  // no alpha in a JPEG, none but transparency in a GIF
      } else {
        EXPECT_NEAR(back[i], bgra[i], lossy ? 8 : 0) << "byte " << i;
      }
    }
    GdipBitmapUnlockBits(bitmap, &data);
    GdipDisposeImage(bitmap);
  }
}

TEST_F(ImagingTest, FilesThatAreNotImagesAreRefused) {
  GpBitmap* bitmap = reinterpret_cast<GpBitmap*>(1);
  EXPECT_EQ(GdipCreateBitmapFromFile(Wide(folder + "/missing.png").c_str(), &bitmap), FileNotFound);
  EXPECT_EQ(bitmap, nullptr);
  WriteText(folder + "/text.png", "this is no image at all");
  EXPECT_EQ(GdipCreateBitmapFromFile(Wide(folder + "/text.png").c_str(), &bitmap),
            UnknownImageFormat);
  WriteText(folder + "/cut.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  EXPECT_NE(GdipCreateBitmapFromFile(Wide(folder + "/cut.png").c_str(), &bitmap), Ok);
  EXPECT_EQ(bitmap, nullptr);
  // A save to a folder that does not exist fails and leaves nothing.
  std::vector<uint8_t> pixels(4, 0);
  ASSERT_EQ(GdipCreateBitmapFromScan0(1, 1, 4, PixelFormat32bppARGB, pixels.data(), &bitmap), Ok);
  CLSID encoder;
  ASSERT_TRUE(EncoderFor("image/png", &encoder));
  EXPECT_NE(GdipSaveImageToFile(bitmap, Wide(folder + "/no/such/x.png").c_str(), &encoder, nullptr),
            Ok);
  CLSID unknown{};
  EXPECT_NE(GdipSaveImageToFile(bitmap, Wide(folder + "/x.png").c_str(), &unknown, nullptr), Ok);
  EXPECT_FALSE(std::filesystem::exists(folder + "/x.png"));
  GdipDisposeImage(bitmap);
}

TEST_F(ImagingTest, FilesShorterThanTheirImageAreRefused) {
  std::vector<uint8_t> mixed(16 * 16 * 4);
  for (size_t i = 0; i < mixed.size(); ++i) mixed[i] = static_cast<uint8_t>(i * 37);
  std::string path = folder + "/image";
  auto load = [&](const std::string& bytes) {
    WriteText(path, bytes);
    GpBitmap* bitmap = reinterpret_cast<GpBitmap*>(1);
    GpStatus status = GdipCreateBitmapFromFile(Wide(path).c_str(), &bitmap);
    EXPECT_EQ(bitmap == nullptr, status != Ok);
    if (bitmap != nullptr) GdipDisposeImage(bitmap);
    return status;
  };
  // A BMP or TGA cut off inside its pixels would decode with the rest black.
  for (const char* type : {"bmp", "tga"}) {
    SCOPED_TRACE(type);
    std::string whole = EncodedFile(type, 16, 16, mixed);
    EXPECT_EQ(load(whole), Ok);
    EXPECT_NE(load(whole.substr(0, whole.size() - 1)), Ok);
    EXPECT_NE(load(whole.substr(0, whole.size() / 2)), Ok);
  }
  // A flat 1024 x 1024 JPEG, as small as real JPEG data gets, still loads; its header claiming
  // 8000 x 8000 pixels over 16 bytes of picture would decode as 256 MB of grey.
  std::string flat = EncodedFile("jpeg", 1024, 1024, std::vector<uint8_t>(1024 * 1024 * 4, 90));
  EXPECT_EQ(load(flat), Ok) << flat.size();
  std::vector<uint8_t> claim =
      JpegClaiming(std::vector<uint8_t>(flat.begin(), flat.end()), 8000, 8000, 16);
  ASSERT_FALSE(claim.empty());
  EXPECT_NE(load(std::string(claim.begin(), claim.end())), Ok) << claim.size();
}

TEST_F(ImagingTest, FileNamesWrittenTheWindowsWayAreReadWithSlashes) {
  std::filesystem::create_directory(folder + "/pics");
  const uint8_t bgra[] = {0, 0, 255, 255};
  std::vector<uint8_t> pixels(bgra, bgra + 4);
  GpBitmap* bitmap = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(1, 1, 4, PixelFormat32bppARGB, pixels.data(), &bitmap), Ok);
  CLSID encoder;
  ASSERT_TRUE(EncoderFor("image/png", &encoder));
  std::u16string windowsPath = Wide(folder + "\\pics\\red.png");
  ASSERT_EQ(GdipSaveImageToFile(bitmap, windowsPath.c_str(), &encoder, nullptr), Ok);
  // The file is in the folder, and no file named with the backslashes lies beside it.
  EXPECT_TRUE(std::filesystem::exists(folder + "/pics/red.png"));
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    EXPECT_EQ(entry.path().filename().string().find('\\'), std::string::npos) << entry.path();
  // A folder that does not exist fails, written either way.
  EXPECT_NE(
      GdipSaveImageToFile(bitmap, Wide(folder + "\\none\\red.png").c_str(), &encoder, nullptr), Ok);
  GdipDisposeImage(bitmap);

  ASSERT_EQ(GdipCreateBitmapFromFile(windowsPath.c_str(), &bitmap), Ok);
  UINT width = 0;
  EXPECT_EQ(GdipGetImageWidth(bitmap, &width), Ok);
  EXPECT_EQ(width, 1u);
  GdipDisposeImage(bitmap);
}

TEST_F(ImagingTest, OnlyAWholeReadWriteLockOfPackedRowsHandsOutTheBitmapsOwnRows) {
  std::vector<uint8_t> packed(3 * 2 * 4, 7);
  std::vector<uint8_t> padded(16 * 2, 7);
  GpBitmap* tight = nullptr;
  GpBitmap* loose = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(3, 2, 12, PixelFormat32bppARGB, packed.data(), &tight), Ok);
  ASSERT_EQ(GdipCreateBitmapFromScan0(3, 2, 16, PixelFormat32bppARGB, padded.data(), &loose), Ok);
  struct Lock {
    GpBitmap* bitmap;
    const uint8_t* memory;
    const GpRect* rect;
    UINT mode;
    bool own;       // the lock hands out the bitmap's memory itself
    int firstByte;  // the first byte the lock shows
  };
  GpRect part = {1, 0, 2, 2};
  const Lock locks[] = {
      {tight, packed.data(), nullptr, ImageLockModeRead | ImageLockModeWrite, true, 7},
      {loose, padded.data(), nullptr, ImageLockModeRead | ImageLockModeWrite, false, 7},
      {tight, packed.data(), &part, ImageLockModeRead | ImageLockModeWrite, false, 7},
      {tight, packed.data(), nullptr, ImageLockModeRead, false, 7},
      {tight, packed.data(), nullptr, ImageLockModeWrite, false, 0},
  };
  for (const Lock& lock : locks) {
    SCOPED_TRACE(testing::Message() << "mode " << lock.mode << (lock.rect ? ", part" : ""));
    BitmapData data{};
    ASSERT_EQ(GdipBitmapLockBits(lock.bitmap, lock.rect, lock.mode, PixelFormat32bppARGB, &data),
              Ok);
    EXPECT_EQ(data.Scan0 == lock.memory, lock.own);
    EXPECT_EQ(data.Stride, static_cast<INT>(data.Width * 4));
    EXPECT_EQ(static_cast<const uint8_t*>(data.Scan0)[0], lock.firstByte);
    ASSERT_EQ(GdipBitmapUnlockBits(lock.bitmap, &data), Ok);
  }
  GdipDisposeImage(tight);
  GdipDisposeImage(loose);
}

TEST_F(ImagingTest, AFilesBitmapLockedWholeIsWrittenInPlaceAndKeepsTheWrites) {
  // Blue, green, red and half-transparent white, B, G, R, A.
  std::vector<uint8_t> bgra = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128};
  std::string file = EncodedFile("png", 2, 2, bgra);
  WriteText(folder + "/four.png", file);
  GpBitmap* bitmap = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromFile(Wide(folder + "/four.png").c_str(), &bitmap), Ok);
  BitmapData first{}, second{};
  UINT both = ImageLockModeRead | ImageLockModeWrite;
  ASSERT_EQ(GdipBitmapLockBits(bitmap, nullptr, both, PixelFormat32bppARGB, &first), Ok);
  EXPECT_EQ(std::vector<uint8_t>((uint8_t*)first.Scan0, (uint8_t*)first.Scan0 + 16), bgra);
  static_cast<uint8_t*>(first.Scan0)[0] = 1;
  ASSERT_EQ(GdipBitmapUnlockBits(bitmap, &first), Ok);
  ASSERT_EQ(GdipBitmapLockBits(bitmap, nullptr, both, PixelFormat32bppARGB, &second), Ok);
  EXPECT_EQ(second.Scan0, first.Scan0);
  EXPECT_EQ(static_cast<uint8_t*>(second.Scan0)[0], 1);
  ASSERT_EQ(GdipBitmapUnlockBits(bitmap, &second), Ok);
  GdipDisposeImage(bitmap);
}

TEST_F(ImagingTest, EveryEncoderWritesPaddedRowsAsItWritesPackedOnes) {
  const int w = 3, h = 2;
  std::vector<uint8_t> packed(w * h * 4);
  for (size_t i = 0; i < packed.size(); ++i) packed[i] = static_cast<uint8_t>(40 + i * 9);
  std::vector<uint8_t> padded(20 * h, 0xEE);
  for (int y = 0; y < h; ++y)
    std::memcpy(&padded[y * 20], &packed[y * w * 4], static_cast<size_t>(w) * 4);
  for (const char* type : {"png", "bmp", "tga", "jpeg", "gif", "tiff"}) {
    SCOPED_TRACE(type);
    CLSID encoder{};
    ASSERT_TRUE(EncoderFor(std::string("image/") + type, &encoder));
    std::string files[2];
    for (int i = 0; i < 2; ++i) {
      GpBitmap* bitmap = nullptr;
      ASSERT_EQ(GdipCreateBitmapFromScan0(w, h, i == 0 ? w * 4 : 20, PixelFormat32bppARGB,
                                          i == 0 ? packed.data() : padded.data(), &bitmap),
                Ok);
      std::string path = folder + "/rows" + std::to_string(i);
      ASSERT_EQ(GdipSaveImageToFile(bitmap, Wide(path).c_str(), &encoder, nullptr), Ok);
      GdipDisposeImage(bitmap);
      files[i] = ReadText(path);
    }
    EXPECT_FALSE(files[0].empty());
    EXPECT_EQ(files[0], files[1]);
  }
}
