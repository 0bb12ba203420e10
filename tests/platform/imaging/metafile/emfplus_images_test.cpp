// EMF+ images: bitmaps in every pixel format, compressed files of each format (real writers'
// files, compared pixel by pixel with those writers' own decodes), metafiles inside images, the
// image attributes' wrap modes, DrawImage and DrawImagePoints with their source rectangles and
// units, texture brushes, and images under the drawing state. Images are drawn nearest-neighbour
// and large, and probed at the middle of their pixels.
#include <string>
#include <vector>

#include "platform/imaging/metafile/emfplus_cases.h"

namespace {

using kvtest::Bytes;
using kvtest::PlusCase;
using kvtest::PlusFile;
using kvtest::Rgba;

constexpr uint32_t kBlue = 0xFF0000FF, kRed = 0xFFFF0000, kGreen = 0xFF00FF00;
constexpr Rgba kNone{0, 0, 0, 0}, kR{255, 0, 0, 255}, kG{0, 255, 0, 255}, kB{0, 0, 255, 255};
constexpr Rgba kW{255, 255, 255, 255}, kHalfR{255, 0, 0, 128};

enum : uint16_t {
  kFillRects = 0x400A,
  kDrawImage = 0x401A,
  kDrawImagePoints = 0x401B,
  kInterpolation = 0x4021,
  kCompositing = 0x4023,
  kScaleWorld = 0x402E,
  kClipRect = 0x4032,
};
constexpr uint32_t kNearest = 5, kUnitPixel = 2, kUnitPoint = 3, kNoAttributes = 63;

PlusFile& FillColor(PlusFile& f, uint32_t argb, float x, float y, float w, float h) {
  return f.Record(kFillRects, kvtest::kSolid,
                  Bytes().U32(argb).U32(1).Add(kvtest::Rect(x, y, w, h)));
}

PlusFile& DrawImage(PlusFile& f, uint8_t image, const Bytes& source, const Bytes& dest,
                    uint32_t attributes = kNoAttributes, uint32_t unit = kUnitPixel,
                    uint16_t flags = 0) {
  return f.Record(kDrawImage, flags | image,
                  Bytes().U32(attributes).U32(unit).Add(source).Add(dest));
}

PlusFile& DrawImagePoints(PlusFile& f, uint8_t image, const Bytes& points, uint16_t flags = 0) {
  return f.Record(
      kDrawImagePoints, flags | image,
      Bytes().U32(kNoAttributes).U32(kUnitPixel).Add(kvtest::Rect(0, 0, 2, 2)).U32(3).Add(points));
}

PlusFile& Nearest(PlusFile& f) { return f.Record(kInterpolation, kNearest); }

// A 2 x 2 image of 32-bit ARGB pixels: red, green above blue, white.
Bytes Quad() {
  Bytes rows;
  rows.U32(kRed).U32(kGreen).U32(kBlue).U32(0xFFFFFFFF);
  return kvtest::PixelImage(2, 2, 8, 0x0026200A, rows);
}

// ---- every pixel format: a 2 x 2 image each, drawn 32 pixels square in a grid ----------------

struct FormatSample {
  const char* name;
  uint32_t format;
  int32_t stride;
  Bytes data;        // palette and rows
  Rgba expected[4];  // top left, top right, bottom left, bottom right
};

Bytes Words16(std::initializer_list<uint16_t> top, std::initializer_list<uint16_t> bottom,
              int stride) {
  Bytes b;
  for (auto* row : {&top, &bottom}) {
    size_t start = b.Size();
    for (uint16_t v : *row) b.U16(v);
    while (b.Size() - start < static_cast<size_t>(stride)) b.U8(0);
  }
  return b;
}

const Rgba kGrey{128, 128, 128, 255}, kHalfG{0, 255, 0, 128};
const std::vector<FormatSample> kFormatSamples = {
    {"1-bit indices",
     0x00030101,
     4,
     kvtest::Palette({kRed, kGreen}, 0).U32(0x40).U32(0x80),
     {kR, kG, kG, kR}},
    {"4-bit indices",
     0x00030402,
     4,
     kvtest::Palette({kRed, kGreen, kBlue, 0xFFFFFFFF}).U32(0x01).U32(0x23),
     {kR, kG, kB, kW}},
    {"8-bit indices, a palette entry with alpha",
     0x00030803,
     4,
     kvtest::Palette({kRed, 0x8000FF00, kBlue, 0xFFFFFFFF}).U16(0x0100).U16(0).U16(0x0302).U16(0),
     {kR, kHalfG, kB, kW}},
    {"16-bit grey",
     0x00101004,
     4,
     Words16({0xFFFF, 0}, {0x8080, 0x4040}, 4),
     {kW, {0, 0, 0, 255}, kGrey, {64, 64, 64, 255}}},
    {"5-5-5", 0x00021005, 4, Words16({0x7C00, 0x03E0}, {0x001F, 0x7FFF}, 4), {kR, kG, kB, kW}},
    {"5-6-5", 0x00021006, 4, Words16({0xF800, 0x07E0}, {0x001F, 0xFFFF}, 4), {kR, kG, kB, kW}},
    {"1-5-5-5", 0x00061007, 4, Words16({0xFC00, 0x83E0}, {0x801F, 0x7FFF}, 4), {kR, kG, kB, kNone}},
    {"24-bit, rows padded",
     0x00021808,
     8,
     Bytes()
         .U8(0)
         .U8(0)
         .U8(255)
         .U8(0)
         .U8(255)
         .U8(0)
         .U16(0)
         .U8(255)
         .U8(0)
         .U8(0)
         .U8(255)
         .U8(255)
         .U8(255)
         .U16(0),
     {kR, kG, kB, kW}},
    {"32-bit, the fourth byte padding",
     0x00022009,
     8,
     Bytes().U32(0x00FF0000).U32(0x0000FF00).U32(0x000000FF).U32(0x00FFFFFF),
     {kR, kG, kB, kW}},
    {"32-bit straight alpha",
     0x0026200A,
     8,
     Bytes().U32(0x80FF0000).U32(kGreen).U32(kBlue).U32(0x00FFFFFF),
     {kHalfR, kG, kB, kNone}},
    {"32-bit premultiplied alpha",
     0x000E200B,
     8,
     Bytes().U32(0x80800000).U32(kGreen).U32(kBlue).U32(0),
     {kHalfR, kG, kB, kNone}},
    {"48-bit",
     0x0010300C,
     12,
     Words16({0, 0, 0xFFFF, 0, 0xFFFF, 0}, {0xFFFF, 0, 0, 0x8080, 0x8080, 0x8080}, 12),
     {kR, kG, kB, kGrey}},
    {"64-bit straight alpha",
     0x0034400D,
     16,
     Words16({0, 0, 0xFFFF, 0x8080, 0, 0xFFFF, 0, 0xFFFF}, {0xFFFF, 0, 0, 0xFFFF, 0, 0, 0, 0}, 16),
     {kHalfR, kG, kB, kNone}},
    {"64-bit premultiplied alpha",
     0x001A400E,
     16,
     Words16({0, 0, 0x8080, 0x8080, 0, 0xFFFF, 0, 0xFFFF}, {0xFFFF, 0, 0, 0xFFFF, 0, 0, 0, 0}, 16),
     {kHalfR, kG, kB, kNone}},
};

int GridX(size_t i) { return static_cast<int>(i % 4) * 48 + 8; }
int GridY(size_t i) { return static_cast<int>(i / 4) * 48 + 8; }

TEST(EmfPlusImages, ReadsEveryPixelFormat) {
  PlusFile f;
  Nearest(f);
  for (size_t i = 0; i < kFormatSamples.size(); ++i) {
    const FormatSample& sample = kFormatSamples[i];
    f.Object(0, kvtest::kImageObject,
             kvtest::PixelImage(2, 2, sample.stride, sample.format, sample.data));
    DrawImage(f, 0, kvtest::Rect(0, 0, 2, 2),
              kvtest::Rect(float(GridX(i)), float(GridY(i)), 32, 32));
  }
  kvtest::Picture picture = kvtest::Decode(f.Build());
  ASSERT_EQ(picture.w, PlusFile::kSide);
  for (size_t i = 0; i < kFormatSamples.size(); ++i) {
    SCOPED_TRACE(kFormatSamples[i].name);
    for (int q = 0; q < 4; ++q) {
      Rgba got = picture.At(GridX(i) + 8 + q % 2 * 16, GridY(i) + 8 + q / 2 * 16);
      EXPECT_TRUE(kvtest::Within(got, kFormatSamples[i].expected[q], 2))
          << "pixel " << q << ": got " << int(got.r) << "," << int(got.g) << "," << int(got.b)
          << "," << int(got.a);
    }
  }
}

// ---- compressed files, each against the decode of the tool that wrote it ----------------------

std::vector<uint8_t> ImageFile(const std::string& name) {
  std::ifstream in(std::string(KV_TEST_IMAGES) + "/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(EmfPlusImages, ReadsCompressedFilesThroughTheDecoders) {
  constexpr int kW = 13, kH = 7, kScale = 8, kAt = 8;
  for (const char* name : {"png_palette.png", "png_palette_transparent.png", "jpeg_baseline.jpg",
                           "jpeg_progressive.jpg", "gif_plain.gif", "bmp_24bit_bottom_up.bmp",
                           "bmp_32bit_top_down.bmp", "tiff_lzw.tif", "tiff_pil_alpha.tif"}) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> file = ImageFile(name), reference = ImageFile(std::string(name) + ".rgba");
    ASSERT_EQ(reference.size(), size_t{kW * kH * 4});
    PlusFile f;
    Nearest(f).Object(0, kvtest::kImageObject, kvtest::CompressedImage(file));
    DrawImage(f, 0, kvtest::Rect(0, 0, kW, kH), kvtest::Rect(kAt, kAt, kW * kScale, kH * kScale));
    kvtest::Picture picture = kvtest::Decode(f.Build());
    ASSERT_EQ(picture.w, PlusFile::kSide);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const uint8_t* p = &reference[(y * kW + x) * 4];
        Rgba want{p[0], p[1], p[2], p[3]};
        Rgba got = picture.At(kAt + x * kScale + kScale / 2, kAt + y * kScale + kScale / 2);
        // Kept premultiplied, a faint pixel's colour comes back to within 255 / alpha levels.
        int tolerance = want.a == 0 ? 0 : 2 + 255 / want.a;
        if (want.a == 0) want = kNone;
        EXPECT_TRUE(kvtest::Within(got, want, tolerance))
            << x << "," << y << ": got " << int(got.r) << "," << int(got.g) << "," << int(got.b)
            << "," << int(got.a) << " want " << int(want.r) << "," << int(want.g) << ","
            << int(want.b) << "," << int(want.a);
      }
  }
}

// ---- placing images --------------------------------------------------------------------------

// A metafile of a green and a blue square, with a metafile image of its own (inner, drawn red)
// that a metafile image inside it would be.
std::vector<uint8_t> InnerMetafile(const std::vector<uint8_t>& inner) {
  PlusFile f;
  FillColor(f, kGreen, 0, 0, 96, 96);
  FillColor(f, kBlue, 96, 96, 96, 96);
  f.Object(0, kvtest::kImageObject, kvtest::MetafileImage(4, inner));
  DrawImage(f, 0, kvtest::Rect(0, 0, 192, 192), kvtest::Rect(96, 0, 96, 96));
  return f.Build();
}

std::vector<uint8_t> RedMetafile() {
  return kvtest::Filled([](PlusFile& f) { FillColor(f, kRed, 0, 0, 192, 192); });
}

// Relative points: (120, 110) in 15 bits, then steps of (60, 0) and (-60, 80).
Bytes RelativeCorners() {
  return Bytes().U8(0x80).U8(120).U8(0x80).U8(110).U8(60).U8(0).U8(0x44).U8(0x80).U8(80).Pad();
}

// A texture brush of the quad image, each pixel 10 world units, placed by dy and wrapped.
Bytes TextureBrush(uint32_t wrap, float dy) {
  return Bytes()
      .U32(kvtest::kVersion)
      .U32(2)
      .U32(0x02)
      .U32(wrap)
      .Floats({10, 0, 0, 10, 0, dy})
      .Add(Quad());
}

const std::vector<PlusCase> kPlacing = {
    {"a metafile image is drawn by the reader, one level deep only",
     [] {
       return kvtest::Filled([](PlusFile& f) {
         Nearest(f);
         f.Object(0, kvtest::kImageObject, kvtest::MetafileImage(5, InnerMetafile(RedMetafile())));
         DrawImage(f, 0, kvtest::Rect(0, 0, 192, 192), kvtest::Rect(0, 0, 96, 96));
         f.Object(1, kvtest::kImageObject, kvtest::MetafileImage(4, RedMetafile()));
         DrawImage(f, 1, kvtest::Rect(0, 0, 192, 192), kvtest::Rect(96, 96, 96, 96));
       });
     },
     {{24, 24, kG, "the metafile's green square, at half its size"},
      {72, 72, kB, "its blue square"},
      {72, 24, kNone, "not the metafile image inside it"},
      {150, 150, kR, "that metafile, drawn as an image of the file itself"}}},
    {"the image attributes' wrap modes where the source reaches beyond the image",
     [] {
       return kvtest::Filled([](PlusFile& f) {
         Nearest(f).Object(0, kvtest::kImageObject, Quad());
         const struct {
           uint32_t wrap;
           float x, y;
         } kWraps[] = {{4, 60, 0}, {0, 120, 0}, {1, 0, 60}, {3, 60, 60}, {2, 120, 60}};
         Bytes source = kvtest::Rect(-1, -1, 4, 4);
         DrawImage(f, 0, source, kvtest::Rect(0, 0, 48, 48));
         for (uint8_t i = 0; i < 5; ++i) {
           f.Object(static_cast<uint8_t>(10 + i), kvtest::kImageAttributesObject,
                    kvtest::ImageAttributes(kWraps[i].wrap, 0xFF00FFFF));
           DrawImage(f, 0, source, kvtest::Rect(kWraps[i].x, kWraps[i].y, 48, 48), 10u + i);
         }
       });
     },
     {{18, 18, kR, "no attributes: the image's first pixel"},
      {30, 30, kW, "its last"},
      {6, 6, kNone, "nothing beyond the image"},
      {66, 6, {0, 255, 255, 255}, "clamped: the clamp colour beyond"},
      {78, 18, kR, "clamped: the image inside"},
      {126, 6, kW, "tiled: the pixel before the first is the last"},
      {126, 18, kG, "tiled: across"},
      {6, 66, kB, "mirrored across: the first pixel again, tiled down"},
      {66, 66, kR, "mirrored both ways"},
      {126, 66, kG, "mirrored down: tiled across"}}},
    {"DrawImagePoints onto a parallelogram, with float, 16-bit and relative corners; DrawImage"
     " with a 16-bit rectangle",
     [] {
       return kvtest::Filled([](PlusFile& f) {
         Nearest(f).Object(0, kvtest::kImageObject, Quad());
         DrawImagePoints(f, 0, Bytes().Floats({20, 20, 100, 20, 60, 100}));
         DrawImagePoints(f, 0, Bytes().U16(20).U16(110).U16(100).U16(110).U16(20).U16(190),
                         kvtest::kShort);
         DrawImagePoints(f, 0, RelativeCorners(), kvtest::kRelative);
         DrawImage(f, 0, kvtest::Rect(0, 0, 2, 2), Bytes().U16(120).U16(10).U16(40).U16(40),
                   kNoAttributes, kUnitPixel, kvtest::kShort);
       });
     },
     {{50, 40, kR, "slanted: the first pixel"},
      {90, 40, kG, "the second, across"},
      {70, 80, kB, "the third, down the slant"},
      {110, 80, kW, "the fourth"},
      {25, 90, kNone, "left of the slanted side"},
      {40, 130, kR, "16-bit corners"},
      {80, 170, kW, "16-bit corners: the last pixel"},
      {135, 130, kR, "relative corners"},
      {165, 170, kW, "relative corners: the last pixel"},
      {130, 20, kR, "DrawImage's 16-bit rectangle"},
      {150, 40, kW, "DrawImage's 16-bit rectangle: the last pixel"}}},
    {"source rectangles in points pick part of the image; bilinear sampling blends",
     [] {
       return kvtest::Filled([](PlusFile& f) {
         Nearest(f).Object(0, kvtest::kImageObject, Quad());
         DrawImage(f, 0, kvtest::Rect(0.75f, 0, 0.75f, 0.75f), kvtest::Rect(0, 150, 30, 30),
                   kNoAttributes, kUnitPoint);
         f.Record(kInterpolation, 3);  // bilinear
         f.Object(1, kvtest::kImageObject,
                  kvtest::PixelImage(2, 1, 8, 0x0026200A, Bytes().U32(kRed).U32(kBlue)));
         DrawImage(f, 1, kvtest::Rect(0, 0, 2, 1), kvtest::Rect(100, 150, 80, 20));
       });
     },
     {{15, 165, kG, "one pixel and a half points: the second pixel alone"},
      {0, 165, kG, "its edge, with nothing of the pixel beside it in the image"},
      {35, 165, kNone, "nothing beside it"},
      {105, 160, kR, "the first pixel's own colour near the edge"},
      {140, 160, {128, 0, 127, 255}, "half way between the two pixels", 6},
      {175, 160, kB, "the second pixel's colour near the other edge"}}},
    {"texture brushes tile their image, mirrored as their wrap mode says",
     [] {
       return kvtest::Filled([](PlusFile& f) {
         f.Object(0, kvtest::kBrushObject, TextureBrush(0, 0));
         f.Record(kFillRects, 0, Bytes().U32(0).U32(1).Add(kvtest::Rect(0, 0, 60, 40)));
         f.Object(1, kvtest::kBrushObject, TextureBrush(1, 100));
         f.Record(kFillRects, 0, Bytes().U32(1).U32(1).Add(kvtest::Rect(0, 100, 60, 40)));
       });
     },
     {{5, 5, kR, "the first pixel"},
      {15, 5, kG, "the second"},
      {5, 15, kB, "below"},
      {25, 5, kR, "tiled: the first again"},
      {25, 105, kG, "mirrored across: the second again"},
      {35, 105, kR, "then the first"},
      {35, 5, kG, "tiled: the second again"},
      {70, 5, kNone, "beyond the filled rectangle"}}},
    {"images under the world transform, the clip and the copy compositing mode",
     [] {
       return kvtest::Filled([](PlusFile& f) {
         Nearest(f).Record(kClipRect, 0, kvtest::Rect(0, 0, 96, 192));
         f.Record(kScaleWorld, 0, Bytes().Floats({2, 2}));
         FillColor(f, kBlue, 0, 0, 96, 96);
         f.Record(kCompositing, 1);
         f.Object(0, kvtest::kImageObject,
                  kvtest::PixelImage(1, 1, 4, 0x0026200A, Bytes().U32(0x80FF0000)));
         DrawImage(f, 0, kvtest::Rect(0, 0, 1, 1), kvtest::Rect(10, 10, 20, 20));
         DrawImage(f, 0, kvtest::Rect(0, 0, 1, 1), kvtest::Rect(40, 10, 20, 20));
       });
     },
     {{40, 40, kHalfR, "scaled twice and copied, not blended over the blue"},
      {70, 40, kB, "the blue beside it"},
      {90, 40, kHalfR, "the second image, up to the clip"},
      {100, 40, kNone, "beyond the clip"}}},
};

TEST(EmfPlusImages, PlacesImages) { kvtest::CheckCases(kPlacing); }

}  // namespace
