// EMF+ text: DrawString laid out in its rectangle as its string format says (alignment across
// and down, wrapping at word breaks, clipping, right to left), fonts in world units and in
// points, underline and strike-out, and DrawDriverString with its positions, realized advances,
// transform and glyph numbers. The text is the full block (U+2588), whose ink fills its advance
// from above the font's ascent to below its baseline, so that points well inside it show the
// brush whatever the smoothing of its edges. In Liberation Sans at 40 pixels to the em a block is
// 28.3 pixels wide, its ink from 36.4 above the baseline to 12.1 below; the font's ascent is
// 36.2, and lines are 46 pixels apart.
#include <cairo.h>

#include <string>
#include <vector>

#include "platform/imaging/metafile/emfplus_cases.h"

namespace {

using kvtest::Bytes;
using kvtest::PlusCase;
using kvtest::PlusFile;
using kvtest::Rgba;

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00;
constexpr Rgba kNone{0, 0, 0, 0}, kR{255, 0, 0, 255}, kG{0, 255, 0, 255};

enum : uint16_t {
  kDrawString = 0x401C,
  kScaleWorld = 0x402E,
  kClipRect = 0x4032,
  kDrawDriverString = 0x4036,
};
enum : uint32_t { kNear = 0, kCentre = 1, kFar = 2 };
constexpr uint32_t kRightToLeft = 0x1, kNoWrap = 0x1000, kNoClip = 0x4000;
constexpr uint32_t kUnitWorld = 0, kUnitPoint = 3;
constexpr uint32_t kCmapLookup = 0x1, kRealizedAdvance = 0x4;
constexpr uint32_t kNoFormat = 63;
constexpr char16_t kBlock = u'\u2588';

// DrawString of text with the font in slot font, in a colour, in the rectangle, with the format.
PlusFile& DrawString(PlusFile& f, uint8_t font, uint32_t argb, const std::u16string& text,
                     const Bytes& box, uint32_t format = kNoFormat) {
  return f.Record(kDrawString, kvtest::kSolid | font,
                  Bytes()
                      .U32(argb)
                      .U32(format)
                      .U32(static_cast<uint32_t>(text.size()))
                      .Add(box)
                      .Add(kvtest::Utf16(text)));
}

PlusFile& DriverString(PlusFile& f, uint8_t font, uint32_t options,
                       const std::vector<uint16_t>& values, const std::vector<float>& xy,
                       const Bytes& matrix = {}) {
  Bytes data;
  data.U32(kRed).U32(options).U32(matrix.Size() > 0 ? 1 : 0);
  data.U32(static_cast<uint32_t>(values.size()));
  for (uint16_t v : values) data.U16(v);
  for (float v : xy) data.F32(v);
  return f.Record(kDrawDriverString, kvtest::kSolid | font, data.Add(matrix));
}

// The block's glyph number in Liberation Sans, as cairo's own font selection finds it.
uint16_t BlockGlyph() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  cairo_scaled_font_text_to_glyphs(cairo_get_scaled_font(cr), 0, 0, "\xE2\x96\x88", 3, &glyphs,
                                   &count, nullptr, nullptr, nullptr);
  uint16_t glyph = count == 1 ? static_cast<uint16_t>(glyphs[0].index) : 0;
  cairo_glyph_free(glyphs);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return glyph;
}

// Fonts: slot 0, 40 world units to the em.
PlusFile& Font40(PlusFile& f, uint32_t style = 0, const char* family = "Liberation Sans") {
  return f.Object(0, kvtest::kFontObject, kvtest::Font(40, kUnitWorld, style, family));
}

PlusFile& Format(PlusFile& f, uint8_t slot, uint32_t flags, uint32_t align, uint32_t lineAlign) {
  return f.Object(slot, kvtest::kStringFormatObject, kvtest::StringFormat(flags, align, lineAlign));
}

const std::vector<PlusCase> kStrings = {
    {"DrawString aligned near, in the centre and far, across and down",
     [] {
       return kvtest::Filled([](PlusFile& f) {
         Font40(f);
         Format(f, 1, 0, kNear, kNear);
         Format(f, 2, 0, kCentre, kCentre);
         Format(f, 3, 0, kFar, kFar);
         DrawString(f, 0, kRed, {kBlock}, kvtest::Rect(0, 0, 96, 96), 1);
         DrawString(f, 0, kRed, {kBlock}, kvtest::Rect(96, 0, 96, 96), 2);
         DrawString(f, 0, kRed, {kBlock}, kvtest::Rect(0, 96, 96, 96), 3);
       });
     },
     {{14, 24, kR, "near: at the top left"},
      {40, 24, kNone, "near: past the block"},
      {144, 49, kR, "centred both ways"},
      {120, 49, kNone, "centred: left of the block"},
      {144, 15, kNone, "centred: above it"},
      {82, 170, kR, "far: at the bottom right"},
      {60, 170, kNone, "far: left of the block"},
      {82, 140, kNone, "far: above it"}}},
    {"wrapping at word breaks, not wrapping, clipping and right to left",
     [] {
       return kvtest::Filled([](PlusFile& f) {
         Font40(f);
         Format(f, 1, 0, kNear, kNear);
         Format(f, 2, kNoWrap, kNear, kNear);
         Format(f, 3, kNoWrap | kNoClip, kNear, kNear);
         Format(f, 4, kRightToLeft, kNear, kNear);
         std::u16string blocks{kBlock, u' ', kBlock, u' ', kBlock};
         DrawString(f, 0, kRed, blocks, kvtest::Rect(0, 0, 40, 150), 1);
         DrawString(f, 0, kRed, blocks, kvtest::Rect(60, 0, 40, 50), 2);
         DrawString(f, 0, kRed, blocks, kvtest::Rect(60, 60, 40, 50), 3);
         DrawString(f, 0, kRed, {kBlock}, kvtest::Rect(100, 120, 90, 60), 4);
       });
     },
     {{14, 24, kR, "wrapped: the first line"},
      {14, 70, kR, "the second"},
      {14, 116, kR, "the third"},
      {34, 70, kNone, "nothing beside a wrapped block"},
      {74, 24, kR, "not wrapped: the first block"},
      {110, 24, kNone, "the second, clipped to the rectangle"},
      {113, 84, kR, "neither wrapped nor clipped: the second block"},
      {176, 150, kR, "right to left: near is the right side"},
      {110, 150, kNone, "not the left"}}},
    {"brush objects, fonts in points, the world transform and the clip",
     [] {
       return kvtest::Filled([](PlusFile& f) {
         f.Object(5, kvtest::kBrushObject, kvtest::SolidBrush(kGreen));
         f.Object(1, kvtest::kFontObject, kvtest::Font(30, kUnitPoint, 0, "Arial"));
         f.Record(kDrawString, 1,
                  Bytes().U32(5).U32(kNoFormat).U32(1).Add(kvtest::Rect(0, 0, 0, 0)).U16(kBlock));
         f.Record(kClipRect, 0, kvtest::Rect(0, 0, 192, 100));
         f.Record(kScaleWorld, 0, Bytes().Floats({2, 2}));
         f.Object(2, kvtest::kFontObject, kvtest::Font(20, kUnitWorld, 0, "Liberation Sans"));
         DrawString(f, 2, kRed, {kBlock}, kvtest::Rect(50, 30, 0, 0));
       });
     },
     {{20, 24, kG, "30 points are 40 pixels: the block, after the default sixth of an em"},
      {5, 24, kNone, "the margin before it"},
      {40, 24, kNone, "past it"},
      {114, 80, kR, "a font of 20 world units, scaled twice"},
      {114, 97, kR, "down to the clip"},
      {114, 103, kNone, "beyond the clip"},
      {140, 80, kNone, "past the scaled block"}}},
    {"underline and strike-out bars along the line",
     [] {
       return kvtest::Filled([](PlusFile& f) {
         f.Object(0, kvtest::kFontObject, kvtest::Font(40, kUnitWorld, 4 | 8, "Liberation Sans"));
         Format(f, 1, 0, kNear, kNear);
         DrawString(f, 0, kRed, u"''", kvtest::Rect(0, 0, 192, 100), 1);
       });
     },
     {{7, 41, kR, "the underline, below the baseline"},
      {7, 25, kR, "the strike-out, above it"},
      {7, 33, kNone, "between them"},
      {20, 41, kNone, "past the line's width"}}},
    {"DrawDriverString: positions, realized advances, a transform and glyph numbers",
     [] {
       return kvtest::Filled([](PlusFile& f) {
         Font40(f);
         f.Object(1, kvtest::kFontObject, kvtest::Font(40, kUnitWorld, 0, "Arial"));
         DriverString(f, 0, kCmapLookup, {kBlock, kBlock}, {10, 50, 100, 50});
         DriverString(f, 0, kCmapLookup | kRealizedAdvance, {kBlock, kBlock}, {10, 120, 999, 9});
         DriverString(f, 0, kCmapLookup, {kBlock}, {10, 120}, Bytes().Floats({1, 0, 0, 1, 120, 0}));
         DriverString(f, 0, 0, {BlockGlyph()}, {10, 180});
         DriverString(f, 1, 0, {BlockGlyph()}, {100, 180});
       });
     },
     {{24, 40, kR, "the first glyph at its position"},
      {114, 40, kR, "the second at its own"},
      {60, 40, kNone, "between them"},
      {52, 110, kR, "realized advances: the second glyph after the first"},
      {144, 110, kR, "moved by the record's transform"},
      {24, 170, kR, "a glyph number of the face the font names"},
      {114, 170, kNone, "passed over in a face the font does not name"}}},
};

TEST(EmfPlusText, DrawsStringsAndDriverStrings) { kvtest::CheckCases(kStrings); }

TEST(EmfPlusText, SmoothsGlyphsUnlessTheHintAsksForOneBitAPixel) {
  constexpr uint16_t kTextRenderingHint = 0x401F;
  for (uint16_t hint : {0, 1, 2, 4}) {
    SCOPED_TRACE(hint);
    PlusFile f;
    f.Record(kTextRenderingHint, hint);
    f.Object(0, kvtest::kFontObject, kvtest::Font(40, kUnitWorld, 2, "Liberation Serif"));
    DrawString(f, 0, kRed, u"AgW", kvtest::Rect(0, 0, 192, 192));
    kvtest::Picture picture = kvtest::Decode(f.Build());
    int partial = 0, whole = 0;
    for (int y = 0; y < picture.h; ++y)
      for (int x = 0; x < picture.w; ++x) {
        uint8_t a = picture.At(x, y).a;
        partial += a != 0 && a != 255;
        whole += a == 255;
      }
    EXPECT_GT(whole, 300);
    if (hint == 1 || hint == 2)
      EXPECT_EQ(partial, 0);
    else
      EXPECT_GT(partial, 100);
  }
}

}  // namespace
