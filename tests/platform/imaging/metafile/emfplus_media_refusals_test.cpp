// Damaged and hostile EMF+ images and text: objects cut short or claiming absurd sides, strides,
// palettes and sizes are not read, so what names them draws nothing; metafile images nest one
// level only; rectangles, points, transforms and em sizes that are not finite or absurd are passed
// over or drawn quickly; and the picture stays drawable after each (a green square drawn last).
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "platform/imaging/metafile/emfplus_files.h"
#include "platform/imaging/metafile/metafile_files.h"

namespace {

using kvtest::Bytes;
using kvtest::Picture;
using kvtest::PlusFile;
using kvtest::Rgba;

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00;
constexpr Rgba kR{255, 0, 0, 255}, kG{0, 255, 0, 255};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr uint32_t kArgb = 0x0026200A, kIndexed8 = 0x00030803;

enum : uint16_t {
  kFillRects = 0x400A,
  kDrawImage = 0x401A,
  kDrawImagePoints = 0x401B,
  kDrawString = 0x401C,
  kResetWorld = 0x402B,
  kScaleWorld = 0x402E,
  kDrawDriverString = 0x4036,
};

std::vector<uint8_t> ImageFile(const std::string& name) {
  std::ifstream in(std::string(KV_TEST_IMAGES) + "/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A PNG whose header claims sides it has no data for (its checksums are not checked).
std::vector<uint8_t> PngClaiming(uint32_t w, uint32_t h) {
  std::vector<uint8_t> png = ImageFile("png_palette.png");
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<uint8_t>(w >> (24 - 8 * i));
    png[20 + i] = static_cast<uint8_t>(h >> (24 - 8 * i));
  }
  return png;
}

// A red image object: 2 x 2 pixels unless the case damages it.
Bytes RedPixels(int32_t w, int32_t h, int32_t stride, uint32_t format, size_t bytes) {
  Bytes data;
  while (data.Size() < bytes) data.U32(kRed);
  return kvtest::PixelImage(w, h, stride, format, data);
}

// Draws the image in slot 0 over the whole picture, red where anything shows.
PlusFile& DrawWhole(PlusFile& f, const Bytes& image) {
  f.Object(0, kvtest::kImageObject, image);
  return f.Record(
      kDrawImage, 0,
      Bytes().U32(63).U32(2).Add(kvtest::Rect(0, 0, 2, 2)).Add(kvtest::Rect(0, 0, 192, 192)));
}

// A metafile filled red whose header claims a frame of sides pixels square.
std::vector<uint8_t> RedMetafile(int32_t sides = 192) {
  PlusFile f;
  f.Record(kFillRects, kvtest::kSolid, Bytes().U32(kRed).U32(1).Add(kvtest::Rect(0, 0, 192, 192)));
  std::vector<uint8_t> file = f.Build();
  // The frame's right and bottom, in hundredths of a millimetre at 96 to the inch.
  int32_t frame = sides * 2540 / 96;
  for (int i = 0; i < 4; ++i) {
    file[32 + i] = static_cast<uint8_t>(frame >> (8 * i));
    file[36 + i] = static_cast<uint8_t>(frame >> (8 * i));
  }
  return file;
}

PlusFile& Text(PlusFile& f, uint8_t font, const std::u16string& text, const Bytes& box) {
  return f.Record(kDrawString, kvtest::kSolid | font,
                  Bytes()
                      .U32(kRed)
                      .U32(63)
                      .U32(static_cast<uint32_t>(text.size()))
                      .Add(box)
                      .Add(kvtest::Utf16(text)));
}

PlusFile& Glyphs(PlusFile& f, uint32_t count, const Bytes& rest) {
  return f.Record(kDrawDriverString, kvtest::kSolid,
                  Bytes().U32(kRed).U32(1).U32(0).U32(count).Add(rest));
}

struct Hostile {
  const char* what;
  std::function<void(PlusFile&)> records;
  bool drawsNothing;  // nothing red may show; else red must show somewhere
};

const std::vector<Hostile> kHostile = {
    {"bitmaps cut short, with strides and sides absurd, or of formats not listed",
     [](PlusFile& f) {
       DrawWhole(f, RedPixels(2, 2, 8, kArgb, 8));                     // rows cut short
       DrawWhole(f, RedPixels(2, 2, 4, kArgb, 16));                    // stride below a row
       DrawWhole(f, RedPixels(2, 2, 0x7FFFFFFF, kArgb, 16));           // stride of gigabytes
       DrawWhole(f, RedPixels(0x7FFFFFFF, 0x7FFFFFFF, 8, kArgb, 16));  // sides of billions
       DrawWhole(f, RedPixels(30000, 30000, 120000, kArgb, 16));       // beyond the budget
       DrawWhole(f, RedPixels(-2, 2, 8, kArgb, 16));                   // negative sides
       DrawWhole(f, RedPixels(2, 2, 8, 0x00022099, 16));               // no such format
       DrawWhole(f,
                 kvtest::PixelImage(2, 2, 4, kIndexed8, Bytes().U32(1).U32(0xFFFFFFFF).U32(kRed)));
       DrawWhole(f, kvtest::PixelImage(2, 2, 4, kIndexed8, Bytes().U32(1)));  // palette cut
     },
     true},
    {"compressed files cut short, claiming sides beyond the budget, or of formats not read",
     [](PlusFile& f) {
       std::vector<uint8_t> png = ImageFile("png_palette.png");
       DrawWhole(f, kvtest::CompressedImage({png.begin(), png.begin() + png.size() / 2}));
       DrawWhole(f, kvtest::CompressedImage(PngClaiming(30000, 30000)));
       DrawWhole(f, kvtest::CompressedImage(PngClaiming(0x7FFFFFFF, 1)));
       DrawWhole(f, kvtest::CompressedImage(ImageFile("ico_8bit.ico")));
       DrawWhole(f, kvtest::CompressedImage(ImageFile("tga_alpha.tga")));
       DrawWhole(f, kvtest::CompressedImage(RedMetafile()));
       DrawWhole(f, kvtest::CompressedImage({}));
     },
     true},
    {"metafile images cut, of gigabytes, of no known type, too large, and nested three deep",
     [](PlusFile& f) {
       std::vector<uint8_t> red = RedMetafile();
       Bytes gigabytes = kvtest::MetafileImage(4, red);
       gigabytes.b[12] = gigabytes.b[13] = gigabytes.b[14] = 0xFF;
       DrawWhole(f, gigabytes);
       DrawWhole(f, kvtest::MetafileImage(9, red));
       DrawWhole(f, kvtest::MetafileImage(4, {red.begin(), red.end() - 30}));
       DrawWhole(f, kvtest::MetafileImage(4, RedMetafile(32767)));
       PlusFile inner, middle;
       DrawWhole(inner, kvtest::MetafileImage(4, red));
       DrawWhole(middle, kvtest::MetafileImage(4, inner.Build()));
       DrawWhole(f, kvtest::MetafileImage(4, middle.Build()));
     },
     true},
    {"image records with rectangles and points that are not finite, empty or degenerate",
     [](PlusFile& f) {
       f.Object(0, kvtest::kImageObject, RedPixels(2, 2, 8, kArgb, 16));
       auto draw = [&f](const Bytes& source, const Bytes& dest) {
         f.Record(kDrawImage, 0, Bytes().U32(63).U32(2).Add(source).Add(dest));
       };
       draw(kvtest::Rect(kNaN, 0, 2, 2), kvtest::Rect(0, 0, 192, 192));
       draw(kvtest::Rect(0, 0, 0, 2), kvtest::Rect(0, 0, 192, 192));
       draw(kvtest::Rect(0, 0, 2, 2), kvtest::Rect(0, 0, kInfinity, 192));
       draw(kvtest::Rect(0, 0, 2, 2), kvtest::Rect(0, 0, 0, 0));
       f.Record(kDrawImage, 0,
                Bytes()
                    .U32(63)
                    .U32(99)
                    .Add(kvtest::Rect(0, 0, 2, 2))
                    .Add(kvtest::Rect(0, 0, 192, 192)));  // no such unit
       auto points = [&f](uint32_t count, std::initializer_list<float> xy) {
         f.Record(kDrawImagePoints, 0,
                  Bytes().U32(63).U32(2).Add(kvtest::Rect(0, 0, 2, 2)).U32(count).Floats(xy));
       };
       points(3, {0, 0, kNaN, 0, 0, 192});
       points(3, {50, 50, 50, 50, 50, 50});
       points(2, {0, 0, 192, 0});
       points(0xC0000000, {0, 0, 192, 0, 0, 192});
     },
     true},
    {"images far beyond the picture, shrunk to nothing and tiled from a speck",
     [](PlusFile& f) {
       f.Object(0, kvtest::kImageObject, RedPixels(2, 2, 8, kArgb, 16));
       f.Object(1, kvtest::kImageAttributesObject, kvtest::ImageAttributes(0, 0));
       auto draw = [&f](uint32_t attributes, const Bytes& source, const Bytes& dest) {
         f.Record(kDrawImage, 0, Bytes().U32(attributes).U32(2).Add(source).Add(dest));
       };
       draw(63, kvtest::Rect(0, 0, 2, 2), kvtest::Rect(-1e30f, -1e30f, 2e30f, 2e30f));
       draw(63, kvtest::Rect(0, 0, 2, 2), kvtest::Rect(1e30f, 1e30f, 1e-30f, 1e-30f));
       draw(1, kvtest::Rect(0, 0, 1e-30f, 1e-30f), kvtest::Rect(0, 0, 192, 192));
       draw(1, kvtest::Rect(0, 0, 1e30f, 1e30f), kvtest::Rect(0, 0, 192, 192));
       draw(1, kvtest::Rect(-1e30f, -1e30f, 2e30f, 2e30f), kvtest::Rect(0, 0, 192, 192));
     },
     false},
    {"fonts of em sizes not finite, not above 0 or absurd, names of gigabytes; strings and "
     "glyph runs of absurd lengths, positions and transforms",
     [](PlusFile& f) {
       const float kEms[] = {kNaN, kInfinity, -40, 0, 1e30f, 1e-30f};
       for (float em : kEms) {
         f.Object(1, kvtest::kFontObject, kvtest::Font(em, 0, 0, "Liberation Sans"));
         Text(f, 1, u"\u2588\u2588", kvtest::Rect(0, 0, 192, 192));
       }
       Bytes longName = kvtest::Font(40, 0, 0, "Liberation Sans");
       longName.b[20] = longName.b[21] = longName.b[22] = 0xFF;
       f.Object(1, kvtest::kFontObject, longName);
       Text(f, 1, u"\u2588", kvtest::Rect(0, 0, 192, 192));
       f.Object(0, kvtest::kFontObject, kvtest::Font(40, 0, 0, "Liberation Sans"));
       Text(f, 0, u"\u2588", kvtest::Rect(kNaN, 0, 192, 192));
       f.Record(kDrawString, kvtest::kSolid,
                Bytes().U32(kRed).U32(63).U32(0x7FFFFFFF).Add(kvtest::Rect(0, 0, 192, 192)));
       Glyphs(f, 0x40000000, Bytes().U16(0x2588).Floats({0, 100}));
       Glyphs(f, 1, Bytes().U16(0x2588).Floats({kNaN, 100}));
       f.Record(kDrawDriverString, kvtest::kSolid,
                Bytes().U32(kRed).U32(1).U32(1).U32(1).U16(0x2588).Floats({50, 100}).Floats(
                    {0, 0, 0, 0, 0, 0}));  // a transform cairo cannot invert
       f.Record(kDrawDriverString, kvtest::kSolid,
                Bytes().U32(kRed).U32(1).U32(1).U32(1).U16(0x2588).Floats({50, 100}).Floats(
                    {kNaN, 0, 0, 1, 0, 0}));
     },
     true},
    {"text that costs: glyphs of 3000 pixels, and a hundred thousand characters in a narrow box",
     [](PlusFile& f) {
       f.Object(0, kvtest::kFontObject, kvtest::Font(3000, 0, 0, "Liberation Serif"));
       Text(f, 0, std::u16string(2000, u'@'), kvtest::Rect(-1000, -1000, 0, 0));
       f.Object(1, kvtest::kFontObject, kvtest::Font(40, 0, 1 | 4 | 8, "Liberation Sans"));
       Text(f, 1, std::u16string(100000, u'x'), kvtest::Rect(0, 0, 1, 192));
       f.Record(kScaleWorld, 0, Bytes().Floats({1e-3f, 1e-3f}));
       f.Object(2, kvtest::kFontObject, kvtest::Font(2e6f, 0, 0, "Liberation Mono"));
       Bytes positions;
       for (int i = 0; i < 2000; ++i) positions.Floats({i * 1000.0f, 150000});
       Glyphs(f, 2000, Bytes().Add(kvtest::Utf16(std::u16string(2000, u'W'))).Add(positions));
     },
     false},
};

TEST(EmfPlusMediaRefusals, DrawsHostileImagesAndTextQuickly) {
  for (const Hostile& hostile : kHostile) {
    SCOPED_TRACE(hostile.what);
    PlusFile f;
    hostile.records(f);
    f.Record(kResetWorld, 0);
    f.Record(kFillRects, kvtest::kSolid,
             Bytes().U32(kGreen).U32(1).Add(kvtest::Rect(180, 180, 10, 10)));
    std::vector<uint8_t> bytes = f.Build();
    auto start = std::chrono::steady_clock::now();
    Picture picture = kvtest::Decode(bytes);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(picture.w, PlusFile::kSide);
    EXPECT_LT(seconds, 5.0);
    if (hostile.drawsNothing)
      EXPECT_EQ(picture.Count(0, 0, 192, 192, kR, 60), 0);
    else
      EXPECT_GT(picture.Count(0, 0, 192, 192, kR, 60), 0);
    EXPECT_EQ(picture.Count(182, 182, 188, 188, kG, 0), 36) << "the picture is still drawn";
  }
}

}  // namespace
