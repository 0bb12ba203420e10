// Textures: filling from RGBA, files and memory blocks (.kvt and PNG), the render and empty
// pixels; locking with row 0 at the top; parameters; and every way a load can fail.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/engine_fixture.h"
#include "engine/textures/kvt_format.h"
#include "platform/imaging/jpeg_claims.h"
#include "platform/windows_path.h"

#include "platform/imaging/stb_image_write_here.h"
#include "scratch_folder.h"

namespace {

// A 3 x 2 image with a distinct colour per pixel, top row first.
std::vector<uint8_t> Gradient() {
  std::vector<uint8_t> pixels;
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x)
      pixels.insert(pixels.end(), {uint8_t(x * 100), uint8_t(y * 200), 7, uint8_t(255 - x)});
  }
  return pixels;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

uint32_t Property(KV_HANDLE texture, uint32_t property) {
  auto* value = static_cast<uint32_t*>(KvTextureGet(texture, property));
  return value != nullptr ? *value : 0xffffffffu;
}

}  // namespace

using Texture = EngineTest;

TEST_F(Texture, RgbaRoundTripThroughLockKeepsRowZeroAtTheTop) {
  std::vector<uint8_t> pixels = Gradient();
  KV_HANDLE texture = TextureFrom(pixels, 3, 2);
  EXPECT_EQ(Property(texture, KV_TEX_WIDTH), 3u);
  EXPECT_EQ(Property(texture, KV_TEX_HEIGHT), 2u);
  EXPECT_EQ(Property(texture, KV_TEX_LOCKED_SIZE), 0u);
  auto* locked = static_cast<uint8_t*>(KvTextureLock(texture, KV_LOCK_READ));
  ASSERT_NE(locked, nullptr);
  EXPECT_EQ(Property(texture, KV_TEX_LOCKED_SIZE), 24u);
  EXPECT_EQ(std::memcmp(locked, pixels.data(), pixels.size()), 0);
  EXPECT_EQ(KvTextureUnlock(texture, KV_UNLOCK_DISCARD), 1);
  EXPECT_EQ(KvTextureUnlock(texture, KV_UNLOCK_DISCARD), 0);  // not locked any more
  EXPECT_EQ(Property(texture, KV_TEX_LOCKED_SIZE), 0u);
  KvTextureDestroy(texture);
}

TEST_F(Texture, UnlockWithOptionOneUploadsTheEditedCopy) {
  KV_HANDLE texture = SolidTexture(2, 2, {0, 0, 0, 255});
  auto* locked = static_cast<uint8_t*>(KvTextureLock(texture, KV_LOCK_EDIT));
  ASSERT_NE(locked, nullptr);
  locked[0] = 255;  // top-left red
  EXPECT_EQ(KvTextureUnlock(texture, KV_UNLOCK_UPLOAD), 1);
  locked = static_cast<uint8_t*>(KvTextureLock(texture, KV_LOCK_READ));
  ASSERT_NE(locked, nullptr);
  EXPECT_EQ(locked[0], 255);
  EXPECT_EQ(locked[4], 0);
  KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
  // An edit thrown away with option 0 leaves the texture as it was.
  locked = static_cast<uint8_t*>(KvTextureLock(texture, KV_LOCK_EDIT));
  locked[0] = 0;
  KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
  EXPECT_EQ(static_cast<uint8_t*>(KvTextureLock(texture, KV_LOCK_READ))[0], 255);
  KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
  EXPECT_EQ(KvTextureLock(texture, 2), nullptr);
  KvTextureDestroy(texture);
}

TEST_F(Texture, FromRenderCopiesTheAreaBetweenTwoCornersTopRowFirst) {
  // Red on the top half, green on the bottom half.
  KV_HANDLE white = SolidTexture(1, 1, {255, 255, 255, 255});
  KV_VERTEX v[4];
  Quad(v, kWidth, kHeight / 2, 0, 0, {255, 0, 0, 255});
  DrawSprite(white, v, 0, 0);
  Quad(v, kWidth, kHeight / 2, 0, 0, {0, 255, 0, 255});
  DrawSprite(white, v, 0, kHeight / 2);
  KV_HANDLE copy;
  ASSERT_EQ(KvTextureCreate(&copy), 1);
  ASSERT_EQ(KvTextureFromRender(copy, 4, kHeight / 2 - 2, 14, kHeight / 2 + 2, 1), 1);
  EXPECT_EQ(Property(copy, KV_TEX_WIDTH), 10u);
  EXPECT_EQ(Property(copy, KV_TEX_HEIGHT), 4u);
  auto* pixels = static_cast<uint8_t*>(KvTextureLock(copy, KV_LOCK_READ));
  ASSERT_NE(pixels, nullptr);
  EXPECT_TRUE(Near({pixels[0], pixels[1], pixels[2], pixels[3]}, {255, 0, 0, 255}));
  const uint8_t* last = pixels + (3 * 10 + 9) * 4;
  EXPECT_TRUE(Near({last[0], last[1], last[2], last[3]}, {0, 255, 0, 255}));
  KvTextureUnlock(copy, KV_UNLOCK_DISCARD);
  // The copy draws back as it was read: red above green.
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  Quad(v, 10, 4);
  DrawSprite(copy, v, 30, 30);
  EXPECT_TRUE(Near(At(31, 30), {255, 0, 0, 255})) << At(31, 30);
  EXPECT_TRUE(Near(At(31, 33), {0, 255, 0, 255})) << At(31, 33);
  // Corners outside the target are clipped; an area wholly outside fails.
  EXPECT_EQ(KvTextureFromRender(copy, 60, 40, 1000, 1000, 1), 1);
  EXPECT_EQ(Property(copy, KV_TEX_WIDTH), 4u);
  EXPECT_EQ(KvTextureFromRender(copy, 100, 100, 200, 200, 1), 0);
  EXPECT_EQ(KvTextureFromRender(copy, 5, 5, 5, 9, 1), 0);
  KvTextureDestroy(copy);
  KvTextureDestroy(white);
}

TEST_F(Texture, LoadsKvtFilesFromPathsWithBackslashes) {
  std::vector<uint8_t> pixels = Gradient();
  ScratchFolder scratch;
  std::string path = scratch.File("engine_texture.kvt");
  WriteFile(path, kv::engine::kvt::Write(3, 2, pixels.data()));
  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  EXPECT_EQ(KvTextureLoad(texture, path.c_str(), 1), 1);
  EXPECT_EQ(Property(texture, KV_TEX_WIDTH), 3u);
  // Loading leaves the texture current: a parameter applies to it at once.
  EXPECT_EQ(KvTextureParameter(KV_TEX_MIN_FILTER, KV_FILTER_LINEAR), 1);
  EXPECT_EQ(KvTextureLoad(texture, kvtest::WindowsPath(path).c_str(), 0), 1);
  auto* locked = static_cast<uint8_t*>(KvTextureLock(texture, KV_LOCK_READ));
  EXPECT_EQ(std::memcmp(locked, pixels.data(), pixels.size()), 0);
  KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
  EXPECT_EQ(KvTextureLoad(texture, "no/such/file.kvt", 1), 0);
  EXPECT_EQ(KvTextureLoad(texture, nullptr, 1), 0);
  KvTextureDestroy(texture);
  std::remove(path.c_str());
}

TEST_F(Texture, LoadsBlocksThatSayTheirOwnLength) {
  std::vector<uint8_t> pixels = Gradient();
  std::vector<uint8_t> kvtBlock = kv::engine::kvt::Write(3, 2, pixels.data());
  kvtBlock.resize(kvtBlock.size() + 64, 0xee);  // whatever follows the block is not read
  std::vector<uint8_t> png;
  ASSERT_NE(stbi_write_png_to_func(AppendBytes, &png, 3, 2, 4, pixels.data(), 12), 0);
  png.resize(png.size() + 64, 0xee);
  std::vector<uint8_t> bmp;
  ASSERT_NE(stbi_write_bmp_to_func(AppendBytes, &bmp, 3, 2, 4, pixels.data()), 0);
  std::vector<uint8_t> tga;
  ASSERT_NE(stbi_write_tga_to_func(AppendBytes, &tga, 3, 2, 4, pixels.data()), 0);
  std::vector<uint8_t> jpeg;
  ASSERT_NE(stbi_write_jpg_to_func(AppendBytes, &jpeg, 3, 2, 4, pixels.data(), 100), 0);
  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  for (const std::vector<uint8_t>* block : {&kvtBlock, &png, &bmp, &tga, &jpeg}) {
    KvTextureLoadEmpty(texture, 1, 1, 1);
    EXPECT_EQ(KvTextureLoadFromMemory(texture, block->data(), 1), 1);
    EXPECT_EQ(Property(texture, KV_TEX_WIDTH), 3u);
    EXPECT_EQ(Property(texture, KV_TEX_HEIGHT), 2u);
    auto* locked = static_cast<uint8_t*>(KvTextureLock(texture, KV_LOCK_READ));
    ASSERT_NE(locked, nullptr);
    if (block != &jpeg)
      EXPECT_EQ(std::memcmp(locked, pixels.data(), pixels.size()), 0);
    else
      EXPECT_NEAR(locked[4 * 5 + 1], 200, 24);  // lossy, but the bottom row stays at the bottom
    KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
  }
  EXPECT_EQ(KvTextureLoadFromMemory(texture, nullptr, 1), 0);
  KvTextureDestroy(texture);
}

TEST_F(Texture, EveryKvtFaultFailsCleanly) {
  namespace kvt = kv::engine::kvt;
  std::vector<uint8_t> pixels = Gradient();
  const std::vector<uint8_t> good = kvt::Write(3, 2, pixels.data());
  auto withU32 = [&](size_t offset, uint32_t value) {
    std::vector<uint8_t> file = good;
    std::memcpy(file.data() + offset, &value, 4);
    return file;
  };
  std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
  std::vector<uint8_t> trailing = good;
  trailing.push_back(0);
  std::vector<uint8_t> shortHeader(good.begin(), good.begin() + 10);
  std::vector<uint8_t> badMagic = good;
  badMagic[0] = 'X';
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    kvt::Status status;
  } cases[] = {
      {"truncated", truncated, kvt::Status::Truncated},
      {"trailing", trailing, kvt::Status::TrailingBytes},
      {"short header", shortHeader, kvt::Status::TooShort},
      {"magic", badMagic, kvt::Status::BadMagic},
      {"version", withU32(4, 2), kvt::Status::BadVersion},
      {"zero width", withU32(8, 0), kvt::Status::BadSize},
      {"oversized", withU32(12, 16385), kvt::Status::BadSize},
      {"format", withU32(16, 3), kvt::Status::BadFormat},
      {"payload", withU32(20, 23), kvt::Status::BadPayload},
      {"huge payload", withU32(20, 0xffffffff), kvt::Status::BadPayload},
  };
  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  ScratchFolder scratch;
  std::string path = scratch.File("engine_bad.kvt");
  for (const Case& c : cases) {
    kvt::Header header;
    const uint8_t* data = nullptr;
    EXPECT_EQ(kvt::Parse(c.bytes.data(), c.bytes.size(), &header, &data), c.status) << c.name;
    WriteFile(path, c.bytes);
    EXPECT_EQ(KvTextureLoad(texture, path.c_str(), 1), 0) << c.name;
    EXPECT_EQ(Property(texture, KV_TEX_WIDTH), 0u) << c.name;
  }
  // Garbage that no decoder recognises, and an empty file.
  WriteFile(path, std::vector<uint8_t>(100, 0x5a));
  EXPECT_EQ(KvTextureLoad(texture, path.c_str(), 1), 0);
  WriteFile(path, {});
  EXPECT_EQ(KvTextureLoad(texture, path.c_str(), 1), 0);
  std::remove(path.c_str());
  KvTextureDestroy(texture);
}

TEST_F(Texture, ImagesOverTheSizeLimitAreRefusedBeforeDecoding) {
  // A PNG header claiming 20000 x 1 pixels, with nothing behind it.
  std::vector<uint8_t> row(20000 * 4, 255);
  std::vector<uint8_t> png;
  ASSERT_NE(stbi_write_png_to_func(AppendBytes, &png, 20000, 1, 4, row.data(), 20000 * 4), 0);
  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  EXPECT_EQ(KvTextureLoadFromMemory(texture, png.data(), 1), 0);
  EXPECT_EQ(KvTextureLoadEmpty(texture, 16385, 1, 1), 0);
  EXPECT_EQ(KvTextureLoadEmpty(texture, 0, 1, 1), 0);
  EXPECT_EQ(KvTextureLoadRGBAFromMemory(texture, row.data(), 0, 1), 0);
  EXPECT_EQ(KvTextureLoadRGBAFromMemory(texture, nullptr, 1, 1), 0);
  EXPECT_EQ(KvTextureLoadEmpty(texture, 5, 3, 1), 1);
  EXPECT_EQ(Property(texture, KV_TEX_WIDTH), 5u);
  auto* locked = static_cast<uint8_t*>(KvTextureLock(texture, KV_LOCK_READ));
  EXPECT_EQ(std::count(locked, locked + 60, 0), 60);
  KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
  KvTextureDestroy(texture);
}

TEST_F(Texture, CutOffTgaAndBmpFilesAreRefused) {
  std::vector<uint8_t> pixels = Gradient();
  std::vector<uint8_t> bmp, tga, plainTga;
  ASSERT_NE(stbi_write_bmp_to_func(AppendBytes, &bmp, 3, 2, 4, pixels.data()), 0);
  ASSERT_NE(stbi_write_tga_to_func(AppendBytes, &tga, 3, 2, 4, pixels.data()), 0);  // run-length
  stbi_write_tga_with_rle = 0;
  ASSERT_NE(stbi_write_tga_to_func(AppendBytes, &plainTga, 3, 2, 4, pixels.data()), 0);
  stbi_write_tga_with_rle = 1;
  // Headers claiming 4000 x 4000 pixels with one pixel value behind them: a plain and a
  // run-length TGA, and a BMP.
  std::vector<uint8_t> hugeTga = {0, 0,    2,    0,    0,    0,  0, 0, 0, 0, 0,
                                  0, 0xa0, 0x0f, 0xa0, 0x0f, 32, 8, 1, 2, 3, 4};
  std::vector<uint8_t> hugeRleTga = hugeTga;
  hugeRleTga[2] = 10;
  hugeRleTga.insert(hugeRleTga.begin() + 18, 0xff);
  std::vector<uint8_t> hugeBmp(54, 0);
  const uint8_t bmpHeader[] = {'B', 'M', 0, 0,    0,    0, 0, 0,    0,    0, 54, 0, 0, 0,  40,
                               0,   0,   0, 0xa0, 0x0f, 0, 0, 0xa0, 0x0f, 0, 0,  1, 0, 24, 0};
  std::memcpy(hugeBmp.data(), bmpHeader, sizeof bmpHeader);
  hugeBmp.insert(hugeBmp.end(), {1, 2, 3});

  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  ScratchFolder scratch;
  std::string path = scratch.File("engine_cut.img");
  for (const std::vector<uint8_t>* whole : {&bmp, &tga, &plainTga}) {
    WriteFile(path, *whole);
    EXPECT_EQ(KvTextureLoad(texture, path.c_str(), 1), 1);
    // Cut off inside the pixels: one byte short, and half of the file.
    for (size_t cut : {whole->size() - 1, whole->size() / 2}) {
      KvTextureLoadEmpty(texture, 1, 1, 1);
      WriteFile(path, std::vector<uint8_t>(whole->begin(), whole->begin() + cut));
      EXPECT_EQ(KvTextureLoad(texture, path.c_str(), 1), 0) << cut << " of " << whole->size();
      EXPECT_EQ(Property(texture, KV_TEX_WIDTH), 1u);
    }
  }
  for (const std::vector<uint8_t>* header : {&hugeTga, &hugeRleTga, &hugeBmp}) {
    WriteFile(path, *header);
    EXPECT_EQ(KvTextureLoad(texture, path.c_str(), 1), 0) << header->size();
  }
  std::remove(path.c_str());
  KvTextureDestroy(texture);
}

TEST_F(Texture, AJpegTooShortForItsSidesIsRefused) {
  // A flat grey 400 x 400 picture: the most a real JPEG squeezes its blocks.
  std::vector<uint8_t> grey(400 * 400 * 4, 128), jpeg;
  ASSERT_NE(stbi_write_jpg_to_func(AppendBytes, &jpeg, 400, 400, 4, grey.data(), 75), 0);
  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  ScratchFolder scratch;
  std::string path = scratch.File("engine_claim.jpg");
  WriteFile(path, jpeg);
  EXPECT_EQ(KvTextureLoad(texture, path.c_str(), 1), 1);
  EXPECT_EQ(Property(texture, KV_TEX_WIDTH), 400u);
  // The same header claiming 4000 x 4000 pixels, with 16 bytes of picture and an end marker:
  // decoded, it would be a 64 MB grey image made of a file of a few hundred bytes.
  std::vector<uint8_t> claim = JpegClaiming(jpeg, 4000, 4000, 16);
  ASSERT_FALSE(claim.empty());
  WriteFile(path, claim);
  EXPECT_EQ(KvTextureLoad(texture, path.c_str(), 1), 0) << claim.size();
  EXPECT_EQ(Property(texture, KV_TEX_WIDTH), 400u);
  std::remove(path.c_str());
  KvTextureDestroy(texture);
}

TEST_F(Texture, ParametersTakeOnlyTheirOwnValues) {
  KV_HANDLE texture = SolidTexture(2, 2, {1, 2, 3, 4});
  EXPECT_EQ(KvTextureActivate(texture), 1);
  EXPECT_EQ(KvTextureParameter(KV_TEX_MIN_FILTER, KV_FILTER_LINEAR), 1);
  EXPECT_EQ(KvTextureParameter(KV_TEX_MAG_FILTER, KV_FILTER_NEAREST), 1);
  EXPECT_EQ(KvTextureParameter(KV_TEX_WRAP_S, KV_WRAP_CLAMP), 1);
  EXPECT_EQ(KvTextureParameter(KV_TEX_WRAP_T, KV_WRAP_REPEAT), 1);
  EXPECT_EQ(KvTextureParameter(KV_TEX_WRAP_S, KV_FILTER_LINEAR), 0);
  EXPECT_EQ(KvTextureParameter(KV_TEX_MIN_FILTER, 242.5f), 0);
  EXPECT_EQ(KvTextureParameter(241, KV_FILTER_NEAREST), 0);
  EXPECT_EQ(KvTextureUnactivate(57), 0);
  EXPECT_EQ(KvTextureUnit(8), 0);
  EXPECT_EQ(KvTextureUnit(1), 1);
  EXPECT_EQ(KvTextureParameter(KV_TEX_MIN_FILTER, KV_FILTER_NEAREST),
            0);  // nothing current on unit 1
  EXPECT_EQ(KvTextureActivate(texture), 1);
  EXPECT_EQ(KvTextureUnactivate(KV_TEXTURE_TARGET), 1);
  KvTextureUnit(0);
  KvTextureDestroy(texture);
}

TEST_F(Texture, UnknownAndDestroyedHandlesFailHarmlessly) {
  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  EXPECT_EQ(KvTextureActivate(texture), 0);  // never filled
  EXPECT_EQ(KvTextureLock(texture, KV_LOCK_READ), nullptr);
  KvTextureDestroy(texture);
  KvTextureDestroy(texture);
  KvTextureDestroy(KV_HANDLE{});
  EXPECT_EQ(KvTextureActivate(texture), 0);
  EXPECT_EQ(KvTextureGet(texture, KV_TEX_WIDTH), nullptr);
  EXPECT_EQ(KvTextureLoadEmpty(texture, 2, 2, 1), 0);
  EXPECT_EQ(KvTextureUnlock(texture, KV_UNLOCK_UPLOAD), 0);
  EXPECT_EQ(KvTextureCreate(nullptr), 0);
  KV_HANDLE fresh;
  ASSERT_EQ(KvTextureCreate(&fresh), 1);
  EXPECT_NE(fresh.value, texture.value);  // ids are not given out again
  EXPECT_EQ(KvTextureGet(fresh, 260), nullptr);
  KvTextureDestroy(fresh);
}
