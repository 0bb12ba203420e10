// Textures saved as GIF and TIFF, read back by this system's own loader and by two real peers,
// PIL and ImageMagick, run as programs: TIFF keeps every pixel and its alpha exactly; GIF keeps a
// picture of few colours exactly, with a transparent colour for pixels more than half
// transparent, and reduces a picture of many colours to 256 near ones, which every reader sees
// alike.
#include <stdio.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/graphics_fixture.h"
#include "graphics/image_files.h"
#include "scratch_folder.h"

namespace {

constexpr int kW = 48;
constexpr int kH = 40;

// Pictures of kW x kH pixels: six colours in bands, or a smooth field of some 1900 colours;
// opaque, or with alpha (the few colours' alpha 0 or 255, the many colours' every value).
std::vector<uint8_t> FewColours(bool alpha) {
  static const uint8_t kColours[6][3] = {{255, 0, 0},   {0, 128, 0},  {0, 0, 255},
                                         {250, 250, 0}, {12, 34, 56}, {255, 255, 255}};
  std::vector<uint8_t> rgba;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const uint8_t* c = kColours[(x / 8 + y / 10) % 6];
      bool clear = alpha && (x + y) % 5 == 0;
      rgba.insert(rgba.end(), {c[0], c[1], c[2], uint8_t(clear ? 0 : 255)});
    }
  return rgba;
}

std::vector<uint8_t> ManyColours(bool alpha) {
  std::vector<uint8_t> rgba;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      rgba.insert(rgba.end(),
                  {uint8_t(x * 5), uint8_t(y * 6), uint8_t(128 + 60 * std::sin(x * 0.3)),
                   uint8_t(alpha ? (x * 7 + y * 3) % 256 : 255)});
  return rgba;
}

// Output of a command, as bytes; empty when it failed.
std::vector<uint8_t> Run(const std::string& command) {
  std::vector<uint8_t> out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  uint8_t buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    out.insert(out.end(), buffer, buffer + n);
  if (pclose(pipe) != 0) out.clear();
  return out;
}

const char kPython[] = "/usr/bin/python3";
const char kConvert[] = "/usr/bin/convert";

bool HasPil() {
  return std::system((std::string(kPython) + " -c 'import PIL' 2>/dev/null").c_str()) == 0;
}

// The first picture of a file as PIL and as ImageMagick decode it, R, G, B, A.
std::vector<uint8_t> ThroughPil(const std::string& path) {
  return Run(std::string(kPython) +
             " -c 'import sys; from PIL import Image; "
             "sys.stdout.buffer.write(Image.open(sys.argv[1]).convert(\"RGBA\").tobytes())' '" +
             path + "'");
}
std::vector<uint8_t> ThroughImageMagick(const std::string& path) {
  return Run(std::string(kConvert) + " '" + path + "[0]' -depth 8 rgba:- 2>/dev/null");
}

// Whether two pictures match within `tolerance` a channel, pixels transparent in both matching
// whatever their colour.
::testing::AssertionResult Same(const std::vector<uint8_t>& got, const std::vector<uint8_t>& want,
                                int tolerance = 0) {
  if (got.size() != want.size())
    return ::testing::AssertionFailure() << got.size() << " bytes, not " << want.size();
  for (size_t i = 0; i < want.size(); i += 4) {
    if (got[i + 3] == 0 && want[i + 3] == 0) continue;
    for (size_t c = 0; c < 4; ++c)
      if (std::abs(got[i + c] - want[i + c]) > tolerance)
        return ::testing::AssertionFailure() << "pixel " << i / 4 << " channel " << c << " is "
                                             << int(got[i + c]) << ", not " << int(want[i + c]);
  }
  return ::testing::AssertionSuccess();
}

class ImageSavesTest : public GraphicsTest {
 protected:
  ScratchFolder scratch{"kv_saves"};
  std::string folder = scratch.Path();
  bool peers = false;

  void SetUp() override {
    GraphicsTest::SetUp();
    peers = HasPil() && std::filesystem::exists(kConvert);
  }

  // Saves the picture from a texture in the format; the path written.
  std::string Save(const std::vector<uint8_t>& rgba, const char* format, const std::string& name) {
    KV_HANDLE texture;
    EXPECT_EQ(KvTextureCreate(&texture), 1);
    EXPECT_EQ(KvTextureLoadRGBAFromMemory(texture, rgba.data(), kW, kH), 1);
    std::string path = folder + "/" + name + "." + format;
    EXPECT_TRUE(KvTextureSaveImage(texture, path.c_str(), format));
    KvTextureDestroy(texture);
    return path;
  }

  // The file read back by this system's own loader.
  static std::vector<uint8_t> Load(const std::string& path) {
    KV_HANDLE texture;
    EXPECT_EQ(KvTextureCreate(&texture), 1);
    std::vector<uint8_t> pixels;
    if (KvTextureLoadImage(texture, path.c_str())) {
      auto* locked = (const uint8_t*)KvTextureLock(texture, KV_LOCK_READ);
      uint32_t size = *(const uint32_t*)KvTextureGet(texture, KV_TEX_LOCKED_SIZE);
      pixels.assign(locked, locked + size);
      KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
    }
    KvTextureDestroy(texture);
    return pixels;
  }

  // The loader's and both peers' reading of the file, each like `want`.
  void ExpectEveryReaderSees(const std::string& path, const std::vector<uint8_t>& want) {
    EXPECT_TRUE(Same(Load(path), want)) << "own loader";
    if (!peers) return;
    EXPECT_TRUE(Same(ThroughPil(path), want)) << "PIL";
    EXPECT_TRUE(Same(ThroughImageMagick(path), want)) << "ImageMagick";
  }
};

// What a GIF keeps of a picture of few colours: alpha 0 or 255, by which side of half it is.
std::vector<uint8_t> BinaryAlpha(std::vector<uint8_t> rgba) {
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = rgba[i] < 128 ? 0 : 255;
  return rgba;
}

}  // namespace

TEST_F(ImageSavesTest, TiffKeepsEveryPixelAndItsAlpha) {
  if (!peers) std::printf("PIL or ImageMagick missing: the TIFF files are read back here only\n");
  for (bool alpha : {false, true}) {
    SCOPED_TRACE(alpha ? "alpha" : "opaque");
    for (const std::vector<uint8_t>& picture : {FewColours(alpha), ManyColours(alpha)}) {
      std::string path = Save(picture, "tiff", "picture");
      ExpectEveryReaderSees(path, picture);
    }
  }
}

TEST_F(ImageSavesTest, GifKeepsFewColoursExactlyWithATransparentColour) {
  for (bool alpha : {false, true}) {
    SCOPED_TRACE(alpha ? "alpha" : "opaque");
    std::vector<uint8_t> picture = FewColours(alpha);
    ExpectEveryReaderSees(Save(picture, "gif", "few"), picture);
  }
}

TEST_F(ImageSavesTest, GifReducesManyColoursToNearOnesThatEveryReaderSeesAlike) {
  for (bool alpha : {false, true}) {
    SCOPED_TRACE(alpha ? "alpha" : "opaque");
    std::vector<uint8_t> picture = ManyColours(alpha);
    std::string path = Save(picture, "gif", "many");
    std::vector<uint8_t> back = Load(path);
    // Near the picture, alpha made binary: on average within 5 a channel, and no channel of a
    // pixel far off.
    std::vector<uint8_t> binary = BinaryAlpha(picture);
    EXPECT_TRUE(Same(back, binary, 24));
    ASSERT_EQ(back.size(), binary.size());
    double error = 0;
    size_t channels = 0;
    for (size_t i = 0; i < back.size(); i += 4) {
      if (binary[i + 3] == 0) continue;
      for (size_t c = 0; c < 3; ++c) error += std::abs(back[i + c] - binary[i + c]);
      channels += 3;
    }
    EXPECT_LT(error / channels, 5.0);
    ExpectEveryReaderSees(path, back);
  }
}
