// The image-file loaders against files as real tools write them: every variant of BMP, TGA, PNG,
// JPEG and GIF loads through KvTextureLoadImage, a sprite's LoadImages and a font's LoadImage
// as the tool decodes it, or is refused; a file cut before the last byte its decoder needs is
// refused by each of them, leaving no engine object behind.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/font.h"
#include "graphics/graphics_fixture.h"
#include "graphics/image_files.h"
#include "graphics/sprite.h"
#include "platform/imaging/image_variants.h"
#include "scratch_folder.h"

namespace {

using kvtest::ImageVariant;
using kvtest::ImageVariants;

class ImageVariantsTest : public GraphicsTest {
 protected:
  ScratchFolder scratch{"kv_variants"};
  std::string folder = scratch.Path();
  size_t objects = 0;  // engine objects alive before the test's loads

  void SetUp() override {
    GraphicsTest::SetUp();
    objects = kv::engine::testing::LiveObjectCount();
  }

  // The texture's pixels, R, G, B, A, top row first; empty for a texture without any.
  static std::vector<uint8_t> Pixels(KV_HANDLE texture) {
    auto* locked = (const uint8_t*)KvTextureLock(texture, KV_LOCK_READ);
    if (locked == nullptr) return {};
    uint32_t size = *(const uint32_t*)KvTextureGet(texture, KV_TEX_LOCKED_SIZE);
    std::vector<uint8_t> pixels(locked, locked + size);
    KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
    return pixels;
  }

  // What each loader makes of the file: the pixels of the texture it loaded, or empty when it
  // refused the file. Every object it made is destroyed again.
  static std::vector<uint8_t> ThroughTexture(const std::string& path) {
    KV_HANDLE texture;
    EXPECT_EQ(KvTextureCreate(&texture), 1);
    std::vector<uint8_t> pixels;
    if (KvTextureLoadImage(texture, path.c_str())) pixels = Pixels(texture);
    KvTextureDestroy(texture);
    return pixels;
  }
  static std::vector<uint8_t> ThroughSprite(const std::string& path) {
    KV_SPRITE sprite;
    EXPECT_TRUE(
        sprite.LoadImages(path.c_str(), KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
    std::vector<uint8_t> pixels;
    if (sprite.GetFrameCount() == 1) pixels = Pixels(sprite.GetTexture());
    EXPECT_LE(sprite.GetFrameCount(), 1u);
    sprite.Destroy(0);
    return pixels;
  }
  static std::vector<uint8_t> ThroughFont(const std::string& path) {
    KV_FONT font;
    std::vector<uint8_t> pixels;
    if (font.LoadImage(path.c_str(), nullptr, '\n', KV_FILTER_NEAREST, KV_FILTER_NEAREST)) {
      pixels = Pixels(font.texture);
      font.Destroy();
    } else {
      EXPECT_TRUE(font.texture.IsNull());
    }
    return pixels;
  }

  using LOADER = std::vector<uint8_t> (*)(const std::string&);
  static constexpr LOADER kLoaders[] = {ThroughTexture, ThroughSprite, ThroughFont};
  static constexpr const char* kLoaderNames[] = {"KvTextureLoadImage", "LoadImages", "LoadImage"};
};

}  // namespace

TEST_F(ImageVariantsTest, EveryLoaderTakesEachVariantAsTheToolDecodesItOrRefusesIt) {
  for (const ImageVariant& variant : ImageVariants()) {
    SCOPED_TRACE(variant.file);
    for (size_t i = 0; i < 3; ++i) {
      SCOPED_TRACE(kLoaderNames[i]);
      std::vector<uint8_t> pixels = kLoaders[i](kvtest::VariantPath(variant.file));
      if (variant.loads)
        EXPECT_TRUE(kvtest::SamePicture(variant, pixels));
      else
        EXPECT_TRUE(pixels.empty());
      EXPECT_EQ(kv::engine::testing::LiveObjectCount(), objects);
    }
  }
}

TEST_F(ImageVariantsTest, EveryLoaderRefusesAFileCutShortAndKeepsNothing) {
  std::string path = folder + "/cut";
  for (const ImageVariant& variant : ImageVariants()) {
    if (!variant.loads) continue;
    SCOPED_TRACE(variant.file);
    std::vector<uint8_t> file = kvtest::ReadVariant(variant.file);
    size_t needed = file.size() - variant.trailer;
    for (size_t cut : {needed / 2, needed - 1}) {
      kvtest::WriteFile(path, std::vector<uint8_t>(file.begin(), file.begin() + cut));
      for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(kLoaders[i](path).empty()) << kLoaderNames[i] << ", " << cut << " bytes";
        EXPECT_EQ(kv::engine::testing::LiveObjectCount(), objects) << kLoaderNames[i];
      }
    }
  }
}
