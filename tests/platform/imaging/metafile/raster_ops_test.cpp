// Raster operations and mix modes drawn from files (rops.emf and rop2.emf, written by
// make_raster_metafiles.py) and checked against each operation's own definition: all 256 ternary
// operations by their index (pattern, source and destination channels of 0xF0, 0xCC and 0xAA
// make each channel of the result the index itself), the named ones and the sixteen mix modes by
// their formulas over other channels, and the rule for where nothing is drawn yet.
#include <cstdint>
#include <vector>

#include "platform/imaging/metafile/metafile_files.h"

namespace {

using kvtest::Decode;
using kvtest::MetafileBytes;
using kvtest::Near;
using kvtest::Picture;
using kvtest::Rgba;

using Formula = uint8_t (*)(uint8_t p, uint8_t s, uint8_t d);

struct Named {
  uint8_t index;
  const char* name;
  Formula formula;
};

// The operations in the order the file draws them, with the formulas their names stand for.
const Named kTernary[] = {
    {0xCC, "SRCCOPY", [](uint8_t, uint8_t s, uint8_t) -> uint8_t { return s; }},
    {0xEE, "SRCPAINT", [](uint8_t, uint8_t s, uint8_t d) -> uint8_t { return s | d; }},
    {0x88, "SRCAND", [](uint8_t, uint8_t s, uint8_t d) -> uint8_t { return s & d; }},
    {0x66, "SRCINVERT", [](uint8_t, uint8_t s, uint8_t d) -> uint8_t { return s ^ d; }},
    {0x44, "SRCERASE", [](uint8_t, uint8_t s, uint8_t d) -> uint8_t { return s & ~d; }},
    {0x33, "NOTSRCCOPY", [](uint8_t, uint8_t s, uint8_t) -> uint8_t { return ~s; }},
    {0x11, "NOTSRCERASE", [](uint8_t, uint8_t s, uint8_t d) -> uint8_t { return ~(s | d); }},
    {0xC0, "MERGECOPY", [](uint8_t p, uint8_t s, uint8_t) -> uint8_t { return p & s; }},
    {0xBB, "MERGEPAINT", [](uint8_t, uint8_t s, uint8_t d) -> uint8_t { return ~s | d; }},
    {0xF0, "PATCOPY", [](uint8_t p, uint8_t, uint8_t) -> uint8_t { return p; }},
    {0xFB, "PATPAINT", [](uint8_t p, uint8_t s, uint8_t d) -> uint8_t { return p | ~s | d; }},
    {0x5A, "PATINVERT", [](uint8_t p, uint8_t, uint8_t d) -> uint8_t { return p ^ d; }},
    {0x55, "DSTINVERT", [](uint8_t, uint8_t, uint8_t d) -> uint8_t { return ~d; }},
    {0x00, "BLACKNESS", [](uint8_t, uint8_t, uint8_t) -> uint8_t { return 0; }},
    {0xFF, "WHITENESS", [](uint8_t, uint8_t, uint8_t) -> uint8_t { return 0xFF; }},
    {0x22, "DSna", [](uint8_t, uint8_t s, uint8_t d) -> uint8_t { return d & ~s; }},
    {0xE2, "DSPDxax", [](uint8_t p, uint8_t s, uint8_t d) -> uint8_t { return ((d ^ p) & s) ^ d; }},
    {0xB8, "PSDPxax", [](uint8_t p, uint8_t s, uint8_t d) -> uint8_t { return ((p ^ d) & s) ^ p; }},
};

// The sixteen mix modes in order, the pen or brush as p.
const Formula kMixModes[] = {
    [](uint8_t, uint8_t, uint8_t) -> uint8_t { return 0; },             // R2_BLACK
    [](uint8_t p, uint8_t, uint8_t d) -> uint8_t { return ~(p | d); },  // R2_NOTMERGEPEN
    [](uint8_t p, uint8_t, uint8_t d) -> uint8_t { return ~p & d; },    // R2_MASKNOTPEN
    [](uint8_t p, uint8_t, uint8_t) -> uint8_t { return ~p; },          // R2_NOTCOPYPEN
    [](uint8_t p, uint8_t, uint8_t d) -> uint8_t { return p & ~d; },    // R2_MASKPENNOT
    [](uint8_t, uint8_t, uint8_t d) -> uint8_t { return ~d; },          // R2_NOT
    [](uint8_t p, uint8_t, uint8_t d) -> uint8_t { return p ^ d; },     // R2_XORPEN
    [](uint8_t p, uint8_t, uint8_t d) -> uint8_t { return ~(p & d); },  // R2_NOTMASKPEN
    [](uint8_t p, uint8_t, uint8_t d) -> uint8_t { return p & d; },     // R2_MASKPEN
    [](uint8_t p, uint8_t, uint8_t d) -> uint8_t { return ~(p ^ d); },  // R2_NOTXORPEN
    [](uint8_t, uint8_t, uint8_t d) -> uint8_t { return d; },           // R2_NOP
    [](uint8_t p, uint8_t, uint8_t d) -> uint8_t { return ~p | d; },    // R2_MERGENOTPEN
    [](uint8_t p, uint8_t, uint8_t) -> uint8_t { return p; },           // R2_COPYPEN
    [](uint8_t p, uint8_t, uint8_t d) -> uint8_t { return p | ~d; },    // R2_MERGEPENNOT
    [](uint8_t p, uint8_t, uint8_t d) -> uint8_t { return p | d; },     // R2_MERGEPEN
    [](uint8_t, uint8_t, uint8_t) -> uint8_t { return 0xFF; },          // R2_WHITE
};

constexpr Rgba kPatternNamed{0xF0, 0x0F, 0x3C, 255}, kSourceNamed{0xCC, 0x55, 0xFF, 255};
constexpr Rgba kDestinationNamed{0xAA, 0x33, 0x00, 255};
constexpr Rgba kNone{0, 0, 0, 0};

Rgba Apply(Formula f, Rgba p, Rgba s, Rgba d) {
  return Rgba{f(p.r, s.r, d.r), f(p.g, s.g, d.g), f(p.b, s.b, d.b), 255};
}

TEST(RasterOps, EveryTernaryOperationCombinesBitsAsItsIndexSays) {
  Picture picture = Decode(MetafileBytes("rops.emf"));
  ASSERT_EQ(picture.w, 192);
  ASSERT_EQ(picture.h, 240);
  for (int i = 0; i < 256; ++i) {
    uint8_t v = static_cast<uint8_t>(i);
    EXPECT_TRUE(Near(picture.At(i % 16 * 12 + 6, i / 16 * 12 + 6), Rgba{v, v, v, 255}))
        << "operation " << i;
  }
  int k = 0;
  for (const Named& op : kTernary) {
    Rgba want = Apply(op.formula, kPatternNamed, kSourceNamed, kDestinationNamed);
    EXPECT_TRUE(Near(picture.At(k++ * 10 + 5, 198), want)) << op.name;
  }
  // A pattern brush laid from the picture's top-left: PATINVERT of a blue hatch (lines on every
  // eighth row) over its white background.
  EXPECT_TRUE(Near(picture.At(20, 231), Rgba{0xAA, 0x33, 0xFF, 255})) << "a line of the hatch";
  EXPECT_TRUE(Near(picture.At(20, 233), Rgba{0x55, 0xCC, 0xFF, 255})) << "the background";
}

// Where nothing is drawn, the destination counts as black, or as white where black would make the
// result black; a pixel the operation keeps whole stays transparent.
TEST(RasterOps, OverNothingDrawnAndSeeWhiteOrAndXorSeeBlack) {
  Picture picture = Decode(MetafileBytes("rops.emf"));
  ASSERT_EQ(picture.w, 192);
  struct Cell {
    const char* what;
    Rgba want;
  };
  const Cell kEmpty[] = {
      {"SRCAND sees white: the source", kSourceNamed},
      {"SRCPAINT sees black: the source", kSourceNamed},
      {"SRCINVERT sees black: the source", kSourceNamed},
      {"SRCERASE sees black: the source", kSourceNamed},
      {"NOTSRCERASE sees black", Rgba{0x33, 0xAA, 0x00, 255}},
      {"MERGEPAINT sees black", Rgba{0x33, 0xAA, 0x00, 255}},
      {"DSTINVERT sees black", Rgba{255, 255, 255, 255}},
      {"PATINVERT sees black: the pattern", kPatternNamed},
      {"the operation that keeps the destination", kNone},
      {"DSna sees white", Rgba{0x33, 0xAA, 0x00, 255}},
      {"MERGECOPY takes no destination", Rgba{0xC0, 0x05, 0x3C, 255}},
      {"PSDPxax keeps bits where the source is 1 and sees black", Rgba{0x30, 0x0A, 0x00, 255}},
      {"SRCPAINT of black keeps every bit", kNone},
      {"SRCAND of white keeps every bit", kNone},
  };
  int k = 0;
  for (const Cell& cell : kEmpty)
    EXPECT_TRUE(Near(picture.At(k++ * 12 + 6, 222), cell.want)) << cell.what;
}

TEST(RasterOps, EveryMixModeCombinesPenOrBrushWithWhatIsDrawn) {
  Picture picture = Decode(MetafileBytes("rop2.emf"));
  ASSERT_EQ(picture.w, 192);
  constexpr Rgba kPen{0xF0, 0x0F, 0x3C, 255}, kDestination{0xAA, 0x33, 0x00, 255};
  for (int mode = 1; mode <= 16; ++mode)
    EXPECT_TRUE(Near(picture.At((mode - 1) * 12 + 6, 6),
                     Apply(kMixModes[mode - 1], kPen, kPen, kDestination)))
        << "mode " << mode;
  // A pen 8 pixels wide XORed over the destination, and the destination beside it.
  EXPECT_TRUE(Near(picture.At(140, 36), Apply(kMixModes[6], kPen, kPen, kDestination)));
  EXPECT_TRUE(Near(picture.At(140, 27), kDestination));
  // A hatch over its opaque white background, XORed: lines and background alike.
  EXPECT_TRUE(Near(picture.At(160, 63), Apply(kMixModes[6], kPen, kPen, kDestination)));
  EXPECT_TRUE(Near(picture.At(160, 66), Rgba{0x55, 0xCC, 0xFF, 255}));
}

}  // namespace
