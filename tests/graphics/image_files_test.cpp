// Image files and engine textures: a red PNG loads as R, G, B, A bytes 255, 0, 0, 255, saving
// writes a file that reads back the same, unknown formats and empty textures write nothing and
// leave the texture unlocked, MIME types are compared exactly, and the sprite and font loaders
// take their textures from image files; paths written the Windows way work in every call.
#include "platform/imaging/stb_image_write_here.h"

#include <stdlib.h>

#include <cstring>
#include <filesystem>

#include "graphics/font.h"
#include "graphics/graphics_fixture.h"
#include "graphics/image_files.h"
#include "graphics/sprite.h"
#include "platform/windows_path.h"
#include "scratch_folder.h"

namespace {

class ImageFilesTest : public GraphicsTest {
 protected:
  ScratchFolder scratch{"kv_images"};
  std::string folder = scratch.Path();

  // A PNG of w x h pixels of one colour, written by stb_image_write.
  std::string WritePng(const std::string& name, int w, int h, uint8_t r, uint8_t g, uint8_t b,
                       uint8_t a = 255) {
    std::string path = folder + "/" + name;
    std::vector<uint8_t> pixels = kvtest::Solid(w, h, r, g, b, a);
    EXPECT_NE(stbi_write_png(path.c_str(), w, h, 4, pixels.data(), w * 4), 0);
    return path;
  }

  static KV_HANDLE NewTexture() {
    KV_HANDLE texture;
    EXPECT_EQ(KvTextureCreate(&texture), 1);
    return texture;
  }

  // The texture's locked bytes (R, G, B, A), unlocked again.
  static std::vector<uint8_t> Bytes(KV_HANDLE texture) {
    const uint8_t* p = (const uint8_t*)KvTextureLock(texture, KV_LOCK_EDIT);
    if (p == nullptr) return {};
    uint32_t w = *(const uint32_t*)KvTextureGet(texture, KV_TEX_WIDTH),
             h = *(const uint32_t*)KvTextureGet(texture, KV_TEX_HEIGHT);
    std::vector<uint8_t> bytes(p, p + w * h * 4);
    KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
    return bytes;
  }

  static int Count(const std::vector<std::string>& calls, const std::string& prefix) {
    int n = 0;
    for (const std::string& call : calls) n += call.rfind(prefix, 0) == 0;
    return n;
  }
};

}  // namespace

TEST_F(ImageFilesTest, ARedPngLoadsAsRedBytes) {
  KV_HANDLE texture = NewTexture();
  ASSERT_TRUE(KvTextureLoadImage(texture, WritePng("red.png", 1, 1, 255, 0, 0).c_str()));
  EXPECT_EQ(Bytes(texture), (std::vector<uint8_t>{255, 0, 0, 255}));
  // A file that is not an image leaves the texture as it was.
  kvtest::WriteFile(folder + "/bad.png", {'n', 'o', 'p', 'e'});
  EXPECT_FALSE(KvTextureLoadImage(texture, (folder + "/bad.png").c_str()));
  EXPECT_FALSE(KvTextureLoadImage(texture, (folder + "/missing.png").c_str()));
  EXPECT_FALSE(KvTextureLoadImage(texture, nullptr));
  EXPECT_EQ(Bytes(texture), (std::vector<uint8_t>{255, 0, 0, 255}));
  KvTextureDestroy(texture);
}

TEST_F(ImageFilesTest, SavingWritesAFileThatReadsBack) {
  KV_HANDLE texture = NewTexture();
  std::vector<uint8_t> pixels = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 255, 10, 20, 30, 40};
  ASSERT_EQ(KvTextureLoadRGBAFromMemory(texture, pixels.data(), 2, 2), 1);
  for (const char* format : {"png", "bmp", "tga"}) {
    SCOPED_TRACE(format);
    std::string path = folder + "/saved." + format;
    ASSERT_TRUE(KvTextureSaveImage(texture, path.c_str(), format));
    KV_HANDLE back = NewTexture();
    ASSERT_TRUE(KvTextureLoadImage(back, path.c_str()));
    EXPECT_EQ(Bytes(back), pixels);
    KvTextureDestroy(back);
  }
  ASSERT_TRUE(KvTextureSaveImage(texture, (folder + "/saved.jpg").c_str(), "jpeg"));
  KvTextureDestroy(texture);
}

TEST_F(ImageFilesTest, UnknownFormatsAndEmptyTexturesWriteNothing) {
  KV_HANDLE texture = NewTexture();
  ASSERT_TRUE(KvTextureLoadImage(texture, WritePng("red.png", 1, 1, 255, 0, 0).c_str()));
  for (const char* format : {"tif", "PNG", "webp", "x-icon", ""}) {
    std::string path = folder + "/out." + format;
    EXPECT_FALSE(KvTextureSaveImage(texture, path.c_str(), format)) << format;
    EXPECT_FALSE(std::filesystem::exists(path)) << format;
  }
  EXPECT_FALSE(KvTextureSaveImage(texture, (folder + "/x.png").c_str(), nullptr));
  EXPECT_FALSE(KvTextureSaveImage(texture, (folder + "/no/such/folder.png").c_str(), "png"));
  KvTextureDestroy(texture);

  // A texture with no pixels: false, no file, and any lock taken is given back.
  KV_HANDLE empty = NewTexture();
  kv::engine::testing::StartTrace();
  EXPECT_FALSE(KvTextureSaveImage(empty, (folder + "/empty.png").c_str(), "png"));
  kv::engine::testing::StopTrace();
  EXPECT_FALSE(std::filesystem::exists(folder + "/empty.png"));
  std::vector<std::string> calls = kv::engine::testing::TracedCalls();
  EXPECT_EQ(Count(calls, "KvTextureLock"), 1);
  EXPECT_LE(Count(calls, "KvTextureUnlock"), 1);
  // Once loaded, the same texture locks and saves normally.
  ASSERT_TRUE(KvTextureLoadImage(empty, (folder + "/red.png").c_str()));
  EXPECT_TRUE(KvTextureSaveImage(empty, (folder + "/empty.png").c_str(), "png"));
  KvTextureDestroy(empty);
}

TEST_F(ImageFilesTest, EncoderLookupComparesMimeTypesExactly) {
  GUID png{}, bmp{};
  int pngIndex = KvGetEncoderClsid(u"image/png", &png);
  EXPECT_GE(pngIndex, 0);
  EXPECT_GE(KvGetEncoderClsid(u"image/bmp", &bmp), 0);
  EXPECT_NE(0, std::memcmp(&png, &bmp, sizeof png));
  GUID untouched;
  std::memset(&untouched, 0xAB, sizeof untouched);
  GUID out = untouched;
  EXPECT_EQ(KvGetEncoderClsid(u"IMAGE/PNG", &out), -1);
  EXPECT_EQ(KvGetEncoderClsid(u"image/pn", &out), -1);
  EXPECT_EQ(KvGetEncoderClsid(u"image/png ", &out), -1);
  EXPECT_EQ(0, std::memcmp(&out, &untouched, sizeof out));
}

TEST_F(ImageFilesTest, SpritesLoadFramesFromImageFiles) {
  std::string a = WritePng("a.png", 4, 2, 255, 0, 0);
  std::string b = WritePng("b.png", 3, 6, 0, 0, 255);
  KV_SPRITE sprite;
  std::string list = a + ";" + folder + "/missing.png;;" + b;
  ASSERT_TRUE(
      sprite.LoadImages(list.c_str(), KV_FILTER_NEAREST, KV_FILTER_NEAREST, 1, 2, -1, -1, 0, 0));
  EXPECT_EQ(sprite.GetFrameCount(), 2u);  // the missing file is skipped
  EXPECT_EQ(sprite.width, 4);
  EXPECT_EQ(sprite.height, 6);
  EXPECT_EQ(sprite.pivotX, 1);
  EXPECT_EQ(sprite.boxWidth, 4);
  EXPECT_EQ(sprite.boxY, 2);
  EXPECT_EQ(sprite.loaded, 1);
  EXPECT_EQ(Bytes(sprite.GetTexture())[0], 255);
  EXPECT_FALSE(
      sprite.LoadImages(nullptr, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
  sprite.Destroy(0);
}

TEST_F(ImageFilesTest, FontsTakeTheirTextureFromAnImageFile) {
  std::string image = WritePng("font.png", 16, 16, 255, 255, 255);
  KV_FONT font;
  ASSERT_TRUE(font.LoadImage(image.c_str(), nullptr, '\n', KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  EXPECT_EQ(font.loaded, 1);
  EXPECT_FALSE(font.texture.IsNull());
  EXPECT_EQ(Bytes(font.texture).size(), 16u * 16u * 4u);
  font.Destroy();

  KV_FONT bad;
  EXPECT_FALSE(bad.LoadImage(nullptr, nullptr, '\n', KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  EXPECT_FALSE(bad.LoadImage((folder + "/missing.png").c_str(), nullptr, '\n', KV_FILTER_NEAREST,
                             KV_FILTER_NEAREST));
  EXPECT_TRUE(bad.texture.IsNull());
  EXPECT_FALSE(bad.LoadImage(image.c_str(), (folder + "/missing.fnt").c_str(), '\n',
                             KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  EXPECT_TRUE(bad.texture.IsNull());
  EXPECT_EQ(bad.loaded, 0);
}

// Paths written the Windows way name the same files: a load reads them, and a save writes into
// the folder the backslashes name, never a file whose name holds them; a save into a folder
// that does not exist fails.
TEST_F(ImageFilesTest, EveryCallReadsBackslashesAsSlashes) {
  std::filesystem::create_directory(folder + "/pics");
  std::string red = kvtest::WindowsPath(folder + "/pics/red.png");
  WritePng("pics/red.png", 2, 2, 255, 0, 0);
  KV_HANDLE texture = NewTexture();
  ASSERT_TRUE(KvTextureLoadImage(texture, red.c_str()));
  EXPECT_EQ(Bytes(texture)[0], 255);

  std::string saved = kvtest::WindowsPath(folder + "/pics/saved.png");
  ASSERT_TRUE(KvTextureSaveImage(texture, saved.c_str(), "png"));
  EXPECT_TRUE(std::filesystem::exists(folder + "/pics/saved.png"));
  EXPECT_FALSE(
      KvTextureSaveImage(texture, kvtest::WindowsPath(folder + "/none/x.png").c_str(), "png"));
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    EXPECT_EQ(entry.path().filename().string().find('\\'), std::string::npos) << entry.path();
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(folder).parent_path()))
    EXPECT_NE(entry.path().string().rfind(folder + "\\", 0), 0u) << entry.path();
  KvTextureDestroy(texture);

  KV_SPRITE sprite;
  std::string list = red + ";" + saved;
  ASSERT_TRUE(sprite.LoadImages(list.c_str(), 9728, 9728, 0, 0, -1, -1, 0, 0));
  EXPECT_EQ(sprite.GetFrameCount(), 2u);
  sprite.Destroy(0);

  KV_FONT font;
  ASSERT_TRUE(font.LoadImage(red.c_str(), nullptr, '\n', 9728, 9728));
  EXPECT_EQ(font.loaded, 1);
  font.Destroy();
}
