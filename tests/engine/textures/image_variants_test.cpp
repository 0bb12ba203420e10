// The engine's texture loader against image files as real tools write them: every variant of
// BMP, TGA, PNG and JPEG loads from a file and from a block in memory as the tool decodes it, or
// is refused (GIF, TIFF and icon files always: the engine reads none of them); a file cut before
// the last byte its decoder needs is refused and leaves the texture as it was.
#include <cstdio>
#include <string>
#include <vector>

#include "engine/engine_fixture.h"
#include "platform/imaging/image_variants.h"
#include "scratch_folder.h"

namespace {

using kvtest::ImageVariant;
using kvtest::ImageVariants;

uint32_t Property(KV_HANDLE texture, uint32_t property) {
  auto* value = static_cast<uint32_t*>(KvTextureGet(texture, property));
  return value != nullptr ? *value : 0xffffffffu;
}

// The texture's pixels, R, G, B, A, top row first.
std::vector<uint8_t> Pixels(KV_HANDLE texture) {
  auto* locked = static_cast<uint8_t*>(KvTextureLock(texture, KV_LOCK_READ));
  if (locked == nullptr) return {};
  std::vector<uint8_t> pixels(locked, locked + Property(texture, KV_TEX_LOCKED_SIZE));
  KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
  return pixels;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// A 1 x 1 texture stands for "as it was" before each load.
void Reset(KV_HANDLE texture) { ASSERT_EQ(KvTextureLoadEmpty(texture, 1, 1, 1), 1); }

}  // namespace

using TextureImageVariants = EngineTest;

TEST_F(TextureImageVariants, LoadFromFilesAndBlocksAsTheToolDecodesThemOrAreRefused) {
  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  for (const ImageVariant& variant : ImageVariants()) {
    SCOPED_TRACE(variant.file);
    bool loads = variant.loads && !kvtest::OnlyImagingCallsRead(variant);
    std::vector<uint8_t> block = kvtest::ReadVariant(variant.file);
    ASSERT_FALSE(block.empty());
    for (bool fromFile : {true, false}) {
      SCOPED_TRACE(fromFile ? "file" : "block");
      Reset(texture);
      std::string path = kvtest::VariantPath(variant.file);
      uint8_t result = fromFile ? KvTextureLoad(texture, path.c_str(), 1)
                                : KvTextureLoadFromMemory(texture, block.data(), 1);
      EXPECT_EQ(result, loads ? 1 : 0);
      if (!loads) {
        EXPECT_EQ(Property(texture, KV_TEX_WIDTH), 1u);
        continue;
      }
      EXPECT_EQ(Property(texture, KV_TEX_WIDTH), static_cast<uint32_t>(kvtest::kVariantWidth));
      EXPECT_EQ(Property(texture, KV_TEX_HEIGHT), static_cast<uint32_t>(kvtest::kVariantHeight));
      EXPECT_TRUE(kvtest::SamePicture(variant, Pixels(texture)));
    }
  }
  KvTextureDestroy(texture);
}

TEST_F(TextureImageVariants, AFileCutShortIsRefusedAndTheTextureKept) {
  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  ScratchFolder scratch;
  std::string path = scratch.File("engine_cut_variant");
  for (const ImageVariant& variant : ImageVariants()) {
    if (!variant.loads || kvtest::OnlyImagingCallsRead(variant)) continue;
    SCOPED_TRACE(variant.file);
    std::vector<uint8_t> file = kvtest::ReadVariant(variant.file);
    size_t needed = file.size() - variant.trailer;
    for (size_t cut : {needed / 2, needed - 1}) {
      Reset(texture);
      WriteFile(path, std::vector<uint8_t>(file.begin(), file.begin() + cut));
      EXPECT_EQ(KvTextureLoad(texture, path.c_str(), 1), 0) << cut << " of " << file.size();
      EXPECT_EQ(Property(texture, KV_TEX_WIDTH), 1u);
    }
    WriteFile(path, std::vector<uint8_t>(file.begin(), file.begin() + needed));
    EXPECT_EQ(KvTextureLoad(texture, path.c_str(), 1), 1);
  }
  std::remove(path.c_str());
  KvTextureDestroy(texture);
}

TEST_F(TextureImageVariants, JpegsWithSpoiltTablesAreRefusedOrLoadAtTheirSides) {
  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  for (const char* file : kvtest::DamagedJpegs()) {
    SCOPED_TRACE(file);
    std::vector<uint8_t> block = kvtest::ReadVariant(file);
    ASSERT_FALSE(block.empty());
    std::string path = kvtest::VariantPath(file);
    for (bool fromFile : {true, false}) {
      Reset(texture);
      uint8_t result = fromFile ? KvTextureLoad(texture, path.c_str(), 1)
                                : KvTextureLoadFromMemory(texture, block.data(), 1);
      if (kvtest::AlwaysRefused(file)) {
        EXPECT_EQ(result, 0);
      }
      uint32_t width = result == 1 ? static_cast<uint32_t>(kvtest::kVariantWidth) : 1u;
      EXPECT_EQ(Property(texture, KV_TEX_WIDTH), width);
    }
  }
  KvTextureDestroy(texture);
}
