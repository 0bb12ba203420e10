// EMF+ files built record by record, each decoded and checked at points well inside its shapes
// against what the records give: exact colours away from edges, gradients within a few levels.
// Pictures are 192 x 192 pixels and one world unit is a pixel unless a case changes it; GDI+ puts
// a pixel's centre on whole coordinates, so a rectangle from 10 to 50 covers pixels 10 to 49.
#include <string>
#include <vector>

#include "platform/imaging/metafile/emfplus_cases.h"

namespace {

using kvtest::Bytes;
using kvtest::CheckCases;
using kvtest::Decode;
using kvtest::Filled;
using kvtest::Picture;
using kvtest::PlusCase;
using kvtest::PlusFile;
using kvtest::Rgba;

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;
constexpr uint32_t kWhite = 0xFFFFFFFF, kHalfRed = 0x80FF0000;
constexpr Rgba kNone{0, 0, 0, 0}, kR{255, 0, 0, 255}, kG{0, 255, 0, 255}, kB{0, 0, 255, 255};
constexpr Rgba kW{255, 255, 255, 255};

// Record numbers the cases use.
enum : uint16_t {
  kGetDc = 0x4004,
  kClear = 0x4009,
  kFillRects = 0x400A,
  kDrawRects = 0x400B,
  kFillPolygon = 0x400C,
  kDrawLines = 0x400D,
  kFillEllipse = 0x400E,
  kDrawEllipse = 0x400F,
  kFillPie = 0x4010,
  kDrawPie = 0x4011,
  kDrawArc = 0x4012,
  kFillRegion = 0x4013,
  kFillPath = 0x4014,
  kDrawPath = 0x4015,
  kFillClosedCurve = 0x4016,
  kDrawClosedCurve = 0x4017,
  kDrawCurve = 0x4018,
  kDrawBeziers = 0x4019,
  kRenderingOrigin = 0x401D,
  kAntiAlias = 0x401E,
  kPixelOffset = 0x4022,
  kCompositing = 0x4023,
  kSave = 0x4025,
  kRestore = 0x4026,
  kBeginContainer = 0x4027,
  kBeginContainerNoParams = 0x4028,
  kEndContainer = 0x4029,
  kSetWorld = 0x402A,
  kResetWorld = 0x402B,
  kMultiplyWorld = 0x402C,
  kTranslateWorld = 0x402D,
  kScaleWorld = 0x402E,
  kRotateWorld = 0x402F,
  kPageTransform = 0x4030,
  kResetClip = 0x4031,
  kClipRect = 0x4032,
  kClipPath = 0x4033,
  kClipRegion = 0x4034,
  kOffsetClip = 0x4035,
  kEnd = 0x4002,
};

// Pen flags and values.
constexpr uint32_t kStartCap = 0x02, kEndCap = 0x04, kJoin = 0x08, kLineStyle = 0x20,
                   kDashOffset = 0x80, kDashes = 0x100, kAlignment = 0x200, kCompound = 0x400;

PlusFile& FillColor(PlusFile& f, uint32_t argb, float x, float y, float w, float h) {
  return f.Record(kFillRects, kvtest::kSolid,
                  Bytes().U32(argb).U32(1).Add(kvtest::Rect(x, y, w, h)));
}

PlusFile& FillBrush(PlusFile& f, uint32_t slot, float x, float y, float w, float h) {
  return f.Record(kFillRects, 0, Bytes().U32(slot).U32(1).Add(kvtest::Rect(x, y, w, h)));
}

// A line of float points drawn with the pen in slot 0.
PlusFile& Line(PlusFile& f, std::initializer_list<float> xy, uint16_t flags = 0) {
  return f.Record(kDrawLines, flags, Bytes().U32(static_cast<uint32_t>(xy.size() / 2)).Floats(xy));
}

const std::vector<PlusCase> kFills = {
    {"rectangles in a colour and with a brush object",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kBrushObject, kvtest::SolidBrush(kGreen));
         FillColor(f, kRed, 10, 10, 40, 40);
         f.Record(kFillRects, 0,
                  Bytes()
                      .U32(0)
                      .U32(2)
                      .Add(kvtest::Rect(100, 10, 40, 40))
                      .Add(kvtest::Rect(100, 100, 40, 40)));
         // 16-bit rectangles.
         f.Record(kFillRects, kvtest::kSolid | kvtest::kShort,
                  Bytes().U32(kBlue).U32(1).U16(10).U16(100).U16(40).U16(40));
       });
     },
     {{10, 10, kR, "the first pixel of a rectangle from 10 to 50"},
      {49, 49, kR, "its last"},
      {50, 30, kNone, "past its right edge"},
      {120, 30, kG, "the brush object's first rectangle"},
      {120, 120, kG, "its second"},
      {30, 120, kB, "16-bit rectangle"},
      {75, 75, kNone, "between them"}}},
    {"colours with alpha blend over what lies below",
     [] {
       return Filled([](PlusFile& f) {
         FillColor(f, kBlue, 0, 0, 100, 192);
         FillColor(f, kHalfRed, 50, 0, 100, 192);
       });
     },
     {{75, 50, {128, 0, 127, 255}, "half red over blue", 2},
      {125, 50, {255, 0, 0, 128}, "half red over nothing"},
      {25, 50, kB, "blue alone"}}},
    {"Clear replaces the picture with its colour, alpha included",
     [] {
       return Filled([](PlusFile& f) {
         FillColor(f, kRed, 0, 0, 192, 192);
         f.Record(kClear, 0, Bytes().U32(0x800000FF));
         FillColor(f, kGreen, 0, 0, 20, 20);
       });
     },
     {{100, 100, {0, 0, 255, 128}, "the clear colour"}, {10, 10, kG, "drawn after it"}}},
    {"hatch brushes, laid from the rendering origin",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kBrushObject, kvtest::HatchBrush(4, kRed, kBlue));  // cross
         FillBrush(f, 0, 0, 0, 96, 96);
         f.Record(kRenderingOrigin, 0, Bytes().I32(3).I32(3));
         FillBrush(f, 0, 96, 96, 96, 96);
       });
     },
     {{7, 3, kR, "the cross's vertical line"},
      {3, 7, kR, "its horizontal line"},
      {3, 3, kB, "the background between"},
      {106, 101, kR, "moved by the origin: the vertical line"},
      {103, 101, kB, "where it was"}}},
    {"linear gradients across their rectangle",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kBrushObject, kvtest::LinearBrush(0, 0, 100, 50, kRed, kBlue));
         FillBrush(f, 0, 0, 0, 100, 50);
         // Blend factors: nothing of the end colour before the middle.
         f.Object(1, kvtest::kBrushObject,
                  kvtest::LinearBrush(0, 50, 100, 50, kRed, kBlue, 0x08, 0,
                                      Bytes().U32(3).Floats({0, 0.5f, 1}).Floats({0, 0, 1})));
         FillBrush(f, 1, 0, 50, 100, 50);
         // Preset colours.
         f.Object(2, kvtest::kBrushObject,
                  kvtest::LinearBrush(
                      0, 100, 100, 50, 0, 0, 0x04, 0,
                      Bytes().U32(3).Floats({0, 0.5f, 1}).U32(kRed).U32(kGreen).U32(kBlue)));
         FillBrush(f, 2, 0, 100, 100, 50);
       });
     },
     {{25, 25, {191, 0, 64, 255}, "a quarter of the way"},
      {75, 25, {64, 0, 191, 255}, "three quarters"},
      {25, 75, kR, "blend factor 0 before the middle"},
      {75, 75, {128, 0, 128, 255}, "half way from the middle"},
      {50, 125, kG, "the middle preset colour"},
      {25, 125, {128, 128, 0, 255}, "between the first two presets"}}},
    {"linear gradients turned by their transform, tiled and mirrored",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kBrushObject,
                  kvtest::LinearBrush(0, 0, 100, 100, kRed, kBlue, 0x02, 0,
                                      Bytes().Floats({0, 1, -1, 0, 0, 0})));
         FillBrush(f, 0, 0, 0, 50, 100);
         f.Object(1, kvtest::kBrushObject, kvtest::LinearBrush(100, 0, 40, 10, kRed, kBlue, 0, 0));
         FillBrush(f, 1, 100, 100, 80, 40);
         f.Object(2, kvtest::kBrushObject, kvtest::LinearBrush(100, 0, 40, 10, kRed, kBlue, 0, 1));
         FillBrush(f, 2, 100, 150, 80, 40);
       });
     },
     {{25, 25, {191, 0, 64, 255}, "turned: a quarter of the way down"},
      {25, 75, {64, 0, 191, 255}, "three quarters down"},
      {150, 120, {191, 0, 64, 255}, "tiled: a quarter into the second tile"},
      {150, 170, {64, 0, 191, 255}, "mirrored: the second tile runs back"}}},
    {"path gradients from the centre to the boundary",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(
             0, kvtest::kBrushObject,
             kvtest::PathGradientBrush(kWhite, 50, 50, {kBlue}, {0, 0, 100, 0, 100, 100, 0, 100}));
         FillBrush(f, 0, 0, 0, 150, 100);
         // An inner shape half the size takes the centre colour.
         f.Object(1, kvtest::kBrushObject,
                  kvtest::PathGradientBrush(kWhite, 50, 150, {kBlue},
                                            {0, 100, 100, 100, 100, 200, 0, 200}, 0x40,
                                            Bytes().U32(2).Floats({0.5f, 0.5f})));
         FillBrush(f, 1, 0, 100, 100, 92);
       });
     },
     {{50, 50, kW, "the centre", 4},
      {50, 5, {26, 26, 255, 255}, "a tenth of the way in from the boundary", 4},
      {50, 25, {128, 128, 255, 255}, "half way", 4},
      {125, 50, kNone, "outside the boundary"},
      {40, 140, kW, "inside the focus shape"},
      {50, 112, {122, 122, 255, 255}, "nearly half way to the focus shape", 4}}},
};

const std::vector<PlusCase> kPens = {
    {"a wide pen and its caps",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kPenObject, kvtest::Pen(10, kRed));
         Line(f, {20, 20, 170, 20});
         f.Object(0, kvtest::kPenObject,
                  kvtest::Pen(10, kRed, kStartCap | kEndCap, Bytes().U32(1).U32(1)));  // square
         Line(f, {20, 50, 170, 50});
         f.Object(0, kvtest::kPenObject,
                  kvtest::Pen(10, kRed, kStartCap | kEndCap, Bytes().U32(2).U32(2)));  // round
         Line(f, {20, 80, 170, 80});
         f.Object(0, kvtest::kPenObject,
                  kvtest::Pen(10, kRed, kStartCap | kEndCap, Bytes().U32(3).U32(3)));  // triangle
         Line(f, {20, 110, 170, 110});
       });
     },
     {{100, 20, kR, "the line"},
      {100, 24, kR, "within half its width"},
      {100, 27, kNone, "beyond it"},
      {17, 20, kNone, "a flat cap ends at the point"},
      {17, 47, kR, "a square cap reaches half the width beyond"},
      {173, 53, kR, "at both ends"},
      {16, 80, kR, "a round cap"},
      {16, 76, kNone, "outside its half disc"},
      {17, 110, kR, "a triangle cap's middle"},
      {17, 107, kNone, "outside the triangle"}}},
    {"joins",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kPenObject, kvtest::Pen(20, kRed));
         Line(f, {10, 20, 50, 20, 50, 60});
         f.Object(0, kvtest::kPenObject, kvtest::Pen(20, kRed, kJoin, Bytes().U32(1)));  // bevel
         Line(f, {90, 20, 130, 20, 130, 60});
         f.Object(0, kvtest::kPenObject, kvtest::Pen(20, kRed, kJoin, Bytes().U32(2)));  // round
         Line(f, {10, 120, 50, 120, 50, 160});
       });
     },
     {{58, 12, kR, "a miter fills the outer corner"},
      {138, 12, kNone, "a bevel cuts it"},
      {134, 16, kR, "inside the bevel"},
      {58, 112, kNone, "a round join leaves the corner"},
      {56, 114, kR, "within its radius"}}},
    {"dash styles, patterns and offsets, in widths of the pen",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kPenObject, kvtest::Pen(4, kRed, kLineStyle, Bytes().U32(1)));
         Line(f, {0, 20, 192, 20});
         f.Object(0, kvtest::kPenObject,
                  kvtest::Pen(4, kRed, kLineStyle | kDashes, Bytes().U32(5).U32(2).Floats({2, 2})));
         Line(f, {0, 50, 192, 50});
         f.Object(0, kvtest::kPenObject,
                  kvtest::Pen(4, kRed, kLineStyle | kDashOffset | kDashes,
                              Bytes().U32(5).F32(1).U32(2).Floats({2, 2})));
         Line(f, {0, 80, 192, 80});
       });
     },
     {{6, 20, kR, "a dash: three widths"},
      {14, 20, kNone, "the gap: one width"},
      {22, 20, kR, "the next dash"},
      {4, 50, kR, "a pattern's dash"},
      {12, 50, kNone, "its gap"},
      {2, 80, kR, "offset by a width: the rest of the first dash"},
      {8, 80, kNone, "then the gap"},
      {16, 80, kR, "then a whole dash"}}},
    {"pen units: world units scale with the transform, pixels do not",
     [] {
       return Filled([](PlusFile& f) {
         f.Record(kScaleWorld, 0, Bytes().Floats({2, 2}));
         f.Object(0, kvtest::kPenObject, kvtest::Pen(5, kRed));
         Line(f, {10, 25, 90, 25});
         f.Object(0, kvtest::kPenObject, kvtest::Pen(5, kRed, 0, {}, 2));
         Line(f, {10, 60, 90, 60});
       });
     },
     {{100, 54, kR, "a world pen of 5 is 10 pixels wide"},
      {100, 124, kNone, "a pixel pen of 5 is 5"},
      {100, 122, kR, "within its width"}}},
    {"inset pens stay inside closed figures; compound pens draw stripes",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kPenObject, kvtest::Pen(10, kRed, kAlignment, Bytes().U32(1)));
         f.Record(kDrawRects, 0, Bytes().U32(1).Add(kvtest::Rect(40, 20, 100, 60)));
         f.Object(1, kvtest::kPenObject,
                  kvtest::Pen(20, kBlue, kCompound, Bytes().U32(4).Floats({0, 0.25f, 0.75f, 1})));
         f.Record(kDrawLines, 1, Bytes().U32(2).Floats({10, 150, 180, 150}));
       });
     },
     {{37, 50, kNone, "outside the inset rectangle"},
      {47, 50, kR, "its stroke, inside"},
      {52, 50, kNone, "inside, beyond the width"},
      {90, 142, kB, "the first stripe"},
      {90, 150, kNone, "the gap between the stripes"},
      {90, 157, kB, "the second stripe"}}},
    {"a translucent pen is one coat, however many pieces it is stroked in",
     [] {
       return Filled([](PlusFile& f) {
         FillColor(f, kBlue, 0, 80, 192, 40);
         f.Object(0, kvtest::kPenObject, kvtest::Pen(20, kHalfRed));
         Bytes points;
         points.U32(3000);
         for (int i = 0; i < 3000; ++i) points.Floats({10 + i * 0.05f, 100});
         f.Record(kDrawLines, 0, points);
       });
     },
     {{20, 100, {128, 0, 127, 255}, "near the start"},
      {85, 100, {128, 0, 127, 255}, "in the middle"},
      {150, 100, {128, 0, 127, 255}, "near the end"}}},
};

const std::vector<PlusCase> kShapes = {
    {"ellipses, pies and arcs",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kPenObject, kvtest::Pen(4, kBlue));
         f.Record(kFillEllipse, kvtest::kSolid,
                  Bytes().U32(kRed).Add(kvtest::Rect(10, 10, 80, 40)));
         f.Record(kDrawEllipse, 0, kvtest::Rect(110, 10, 70, 40));
         f.Record(kFillPie, kvtest::kSolid,
                  Bytes().U32(kGreen).Floats({0, 90}).Add(kvtest::Rect(10, 70, 100, 100)));
         f.Record(kDrawArc, 0, Bytes().Floats({180, 90}).Add(kvtest::Rect(110, 100, 60, 60)));
       });
     },
     {{50, 30, kR, "inside the ellipse"},
      {12, 12, kNone, "outside it, in its box's corner"},
      {145, 10, kB, "the drawn ellipse's top"},
      {145, 30, kNone, "its inside"},
      {80, 140, kG, "the pie's quarter below and right of its centre"},
      {40, 100, kNone, "the quarter it does not sweep"},
      {119, 109, kB, "the arc from the left round to the top"},
      {161, 151, kNone, "the part it does not sweep"}}},
    {"polygons, Bezier curves and cardinal splines",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kPenObject, kvtest::Pen(4, kBlue));
         f.Record(kFillPolygon, kvtest::kSolid,
                  Bytes().U32(kRed).U32(3).Floats({10, 10, 90, 10, 10, 90}));
         // Relative points: 7-bit steps of 40, -40 and a 15-bit step of 80.
         // Relative points: (100, 10) in 15 and 7 bits, a step of (80, 0), one of (-80, 80).
         f.Record(kFillPolygon, kvtest::kSolid | kvtest::kRelative,
                  Bytes()
                      .U32(kGreen)
                      .U32(3)
                      .U8(0x80)
                      .U8(100)
                      .U8(10)
                      .U8(0x80)
                      .U8(80)
                      .U8(0)
                      .U8(0xFF)
                      .U8(0xB0)
                      .U8(0x80)
                      .U8(80));
         f.Record(kDrawBeziers, 0, Bytes().U32(4).Floats({20, 150, 20, 100, 170, 100, 170, 150}));
         f.Record(kFillClosedCurve, kvtest::kSolid,
                  Bytes().U32(kRed).F32(0).U32(3).Floats({100, 150, 180, 150, 140, 190}));
         f.Record(kDrawCurve, 0,
                  Bytes().F32(0.5f).U32(0).U32(2).U32(3).Floats({10, 120, 50, 110, 90, 120}));
       });
     },
     {{30, 30, kR, "the triangle"},
      {80, 80, kNone, "beyond its long side"},
      {130, 20, kG, "the relative triangle"},
      {95, 113, kB, "the Bezier curve's middle"},
      {140, 160, kR, "a closed curve of no tension is a polygon"},
      {50, 110, kB, "a cardinal spline passes through its points"}}},
    {"paths: float, 16-bit and relative points, run-length types",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kPathObject,
                  kvtest::PathObject({10, 10, 80, 10, 80, 40, 80, 80, 10, 80, 10, 80},
                                     {0, 1, 3, 3, 3, 0x81}));
         f.Record(kFillPath, kvtest::kSolid, Bytes().U32(kRed));
         Bytes compressed;
         compressed.U32(kvtest::kVersion).U32(4).U32(0x4000);
         for (int16_t v : {100, 10, 180, 10, 180, 80, 100, 80}) compressed.U16(uint16_t(v));
         compressed.U8(0).U8(1).U8(1).U8(0x81);
         f.Object(1, kvtest::kPathObject, compressed);
         f.Object(0, kvtest::kPenObject, kvtest::Pen(4, kBlue));
         f.Record(kDrawPath, 1, Bytes().U32(0));
         // Relative points with their types run-length encoded: (20, 130), steps of (60, 0),
         // (0, 50) and (-60, 0); a start, two lines, a line that closes.
         Bytes relative;
         relative.U32(kvtest::kVersion).U32(4).U32(0x1800);
         relative.U8(20).U8(0x80).U8(130).U8(60).U8(0).U8(0).U8(50).U8(0x44).U8(0);
         relative.U8(1).U8(0).U8(2).U8(1).U8(1).U8(0x81).Pad();
         f.Object(2, kvtest::kPathObject, relative);
         f.Record(kFillPath, kvtest::kSolid | 2, Bytes().U32(kGreen));
       });
     },
     {{30, 30, kR, "a path of lines and a curve"},
      {100, 40, kB, "a 16-bit path's left side"},
      {140, 40, kNone, "inside it (drawn, not filled)"},
      {50, 150, kG, "a relative path"}}},
};

const std::vector<PlusCase> kState = {
    {"world transforms, prepended and appended",
     [] {
       return Filled([](PlusFile& f) {
         f.Record(kTranslateWorld, 0, Bytes().Floats({50, 0}));
         f.Record(kScaleWorld, 0, Bytes().Floats({2, 2}));  // before the translation
         FillColor(f, kRed, 10, 10, 10, 10);
         f.Record(kResetWorld, 0);
         f.Record(kTranslateWorld, 0, Bytes().Floats({50, 0}));
         f.Record(kScaleWorld, kvtest::kAfter, Bytes().Floats({2, 2}));  // after it
         FillColor(f, kGreen, 10, 40, 10, 10);
         f.Record(kSetWorld, 0, Bytes().Floats({1, 0, 0, 1, 0, 120}));
         f.Record(kRotateWorld, 0, Bytes().F32(90));  // x runs down
         FillColor(f, kBlue, 0, -40, 30, 20);
         f.Record(kResetWorld, 0);
         f.Record(kMultiplyWorld, 0, Bytes().Floats({1, 0, 0, 1, 150, 150}));
         FillColor(f, kRed, 0, 0, 20, 20);
       });
     },
     {{80, 30, kR, "scaled, then moved: x from 70 to 90"},
      {60, 30, kNone, "not moved then scaled"},
      {130, 90, kG, "moved, then scaled: x from 120 to 140"},
      {30, 145, kB, "turned a quarter: the box lies below the origin, left of it"},
      {160, 160, kR, "multiplied by a translation"}}},
    {"page units: millimetres and inches with a scale",
     [] {
       return Filled([](PlusFile& f) {
         f.Record(kPageTransform, 6, Bytes().F32(1));
         FillColor(f, kRed, 10, 10, 10, 10);  // 37.8 to 75.6 pixels
         f.Record(kPageTransform, 4, Bytes().F32(0.5f));
         FillColor(f, kGreen, 3, 0, 1, 1);  // 144 to 192 across, 0 to 48 down
       });
     },
     {{56, 56, kR, "ten millimetres in"},
      {30, 30, kNone, "before them"},
      {168, 24, kG, "three half inches in"},
      {140, 24, kNone, "before them"}}},
    {"saved states and containers",
     [] {
       return Filled([](PlusFile& f) {
         f.Record(kTranslateWorld, 0, Bytes().Floats({100, 0}));
         f.Record(kSave, 0, Bytes().U32(7));
         f.Record(kTranslateWorld, 0, Bytes().Floats({0, 100}));
         f.Record(kRestore, 0, Bytes().U32(7));
         FillColor(f, kRed, 0, 0, 20, 20);  // at x 100
         f.Record(kBeginContainerNoParams, 0, Bytes().U32(8));
         f.Record(kResetWorld, 0);  // the container's own transform stays
         FillColor(f, kGreen, 0, 40, 20, 20);
         f.Record(kEndContainer, 0, Bytes().U32(8));
         f.Record(kResetWorld, 0);
         // A container that draws its source rectangle twice as large.
         f.Record(kBeginContainer, 2 << 8,
                  Bytes().Add(kvtest::Rect(0, 0, 96, 96)).Add(kvtest::Rect(0, 0, 48, 48)).U32(9));
         FillColor(f, kBlue, 10, 60, 10, 10);
         f.Record(kEndContainer, 0, Bytes().U32(9));
         FillColor(f, kRed, 10, 160, 10, 10);
       });
     },
     {{110, 10, kR, "restored to the state saved"},
      {110, 110, kNone, "not the translation after it"},
      {110, 50, kG, "a container keeps the transform it began with"},
      {30, 130, kB, "a container of source and destination rectangles: doubled"},
      {15, 165, kR, "after it ends, not doubled"}}},
    {"clipping with every combine mode",
     [] {
       return Filled([](PlusFile& f) {
         auto clip = [&f](uint16_t mode, float x, float y, float w, float h) {
           f.Record(kClipRect, static_cast<uint16_t>(mode << 8), kvtest::Rect(x, y, w, h));
         };
         auto fill = [&f](uint32_t color, float y) { FillColor(f, color, 0, y, 192, 20); };
         // Each band of 20 rows: the clip of [20, 60) combined with [40, 80) across.
         const float kY[] = {0, 30, 60, 90, 120, 150};
         for (uint16_t mode = 0; mode <= 5; ++mode) {
           clip(0, 20, kY[mode], 40, 20);
           clip(mode, 40, kY[mode], 40, 20);
           fill(kRed, kY[mode]);
           f.Record(kResetClip, 0);
         }
         clip(0, 100, 0, 20, 20);
         f.Record(kOffsetClip, 0, Bytes().Floats({50, 0}));
         fill(kGreen, 0);
       });
     },
     {{50, 10, kR, "replace: the second rectangle"},
      {30, 10, kNone, "replace: not the first"},
      {50, 40, kR, "intersect: both"},
      {30, 40, kNone, "intersect: the first alone"},
      {30, 70, kR, "union: the first"},
      {70, 70, kR, "union: the second"},
      {10, 70, kNone, "union: neither"},
      {30, 100, kR, "xor: the first alone"},
      {50, 100, kNone, "xor: both"},
      {30, 130, kR, "exclude: the first without the second"},
      {70, 130, kNone, "exclude: the second"},
      {70, 160, kR, "complement: the second without the first"},
      {30, 160, kNone, "complement: the first"},
      {160, 10, kG, "a clip moved by its offset"},
      {110, 10, kNone, "where it was"}}},
    {"clipping to paths and regions",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kPathObject, kvtest::BoxPath(10, 10, 60, 60));
         f.Record(kClipPath, 0);
         FillColor(f, kRed, 0, 0, 192, 192);
         f.Object(1, kvtest::kRegionObject,
                  kvtest::Region(kvtest::CombineNode(2, kvtest::RectNode(100, 100, 20, 20),
                                                     kvtest::RectNode(150, 150, 20, 20))));
         f.Record(kClipRegion, 1);
         FillColor(f, kGreen, 0, 0, 192, 192);
       });
     },
     {{30, 30, kR, "inside the clip path"},
      {80, 30, kNone, "outside it"},
      {110, 110, kG, "inside the region's first rectangle"},
      {160, 160, kG, "its second"},
      {135, 135, kNone, "between them"}}},
    {"regions filled: union, xor, exclude, complement, infinite, empty, paths",
     [] {
       return Filled([](PlusFile& f) {
         auto fill = [&f](uint8_t slot, const Bytes& root) {
           f.Object(slot, kvtest::kRegionObject, kvtest::Region(root));
           f.Record(kFillRegion, static_cast<uint16_t>(kvtest::kSolid | slot), Bytes().U32(kRed));
         };
         auto pair = [](uint32_t op, float y) {
           return kvtest::CombineNode(op, kvtest::RectNode(0, y, 40, 20),
                                      kvtest::RectNode(20, y, 40, 20));
         };
         fill(0, pair(3, 0));   // xor
         fill(1, pair(4, 30));  // exclude
         fill(2, pair(5, 60));  // complement
         fill(3, kvtest::CombineNode(1, Bytes().U32(0x10000003), kvtest::RectNode(100, 0, 20, 20)));
         fill(4, kvtest::CombineNode(2, Bytes().U32(0x10000002),
                                     kvtest::PathNode(kvtest::BoxPath(100, 40, 140, 80))));
       });
     },
     {{10, 10, kR, "xor: the first alone"},
      {30, 10, kNone, "xor: both"},
      {10, 40, kR, "exclude: the first alone"},
      {50, 40, kNone, "exclude: the second"},
      {50, 70, kR, "complement: the second alone"},
      {10, 70, kNone, "complement: the first"},
      {110, 10, kR, "infinite and a rectangle: the rectangle"},
      {130, 10, kNone, "beyond it"},
      {120, 60, kR, "empty or a path: the path"}}},
    {"compositing: a copy replaces what lies below, alpha included",
     [] {
       return Filled([](PlusFile& f) {
         FillColor(f, kBlue, 0, 0, 192, 192);
         f.Record(kCompositing, 1);
         FillColor(f, kHalfRed, 0, 0, 96, 192);
       });
     },
     {{50, 50, {255, 0, 0, 128}, "copied"}, {150, 50, kB, "left alone"}}},
    {"antialiasing and the pixel offset follow the hints",
     [] {
       return Filled([](PlusFile& f) {
         FillColor(f, kRed, 10, 10, 40, 40);
         f.Record(kAntiAlias, 0x09);  // on, high quality smoothing
         FillColor(f, kRed, 10, 60, 40, 40);
         f.Record(kPixelOffset, 4);  // pixel centres halfway between whole coordinates
         FillColor(f, kRed, 10, 110, 40, 40);
       });
     },
     {{10, 30, kR, "unsmoothed: an edge on a pixel centre covers it"},
      {10, 80, {255, 0, 0, 128}, "smoothed: half the pixel", 10},
      {10, 130, kR, "half-pixel offset: the whole pixel"},
      {9, 130, kNone, "and nothing of the one before"}}},
};

const std::vector<PlusCase> kFiles = {
    {"a dual file shows its EMF+ drawing, not its EMF one",
     [] {
       PlusFile f(true);
       FillColor(f, kGreen, 10, 10, 40, 40);
       f.EmfRect(0x0000FF, 100, 100, 150, 150);
       return f.Build();
     },
     {{30, 30, kG, "EMF+"}, {120, 120, kNone, "EMF"}}},
    {"a GetDC segment's EMF records are drawn, up to the next EMF+ record",
     [] {
       PlusFile f(true);
       FillColor(f, kGreen, 10, 10, 40, 40);
       f.Record(kGetDc, 0).EmfRect(0xFF0000, 100, 100, 150, 150);
       f.Record(kEnd, 0).EmfRect(0x0000FF, 10, 100, 50, 150);
       return f.Build();
     },
     {{30, 30, kG, "EMF+"}, {120, 120, kB, "the GetDC segment"}, {30, 120, kNone, "after it"}}},
    {"a GetDC segment draws inside the EMF+ clip",
     [] {
       PlusFile f;
       f.Record(kClipRect, 0, kvtest::Rect(0, 0, 100, 192));
       f.Record(kGetDc, 0).EmfRect(0xFF0000, 50, 50, 150, 150);
       return f.Build();
     },
     {{80, 80, kB, "inside the clip"}, {120, 80, kNone, "outside it"}}},
    {"objects continued over several records, and pieces that do not add up",
     [] {
       PlusFile f;
       Bytes path = kvtest::BoxPath(10, 10, 60, 60);
       uint32_t total = static_cast<uint32_t>(path.Size());
       auto piece = [&](size_t from, size_t to, bool more, uint32_t claimed, uint8_t slot) {
         Bytes data;
         if (more) data.U32(claimed);
         data.b.insert(data.b.end(), path.b.begin() + from, path.b.begin() + to);
         f.Record(0x4008, static_cast<uint16_t>((more ? 0x8000 : 0) | 3 << 8 | slot), data);
       };
       piece(0, 12, true, total, 0);
       f.Split();  // pieces may lie in different comments
       piece(12, 28, true, total, 0);
       piece(28, total, false, 0, 0);
       f.Record(kFillPath, kvtest::kSolid | 0, Bytes().U32(kRed));
       // Claimed one byte larger than the pieces: the object is dropped.
       piece(0, 12, true, total + 1, 1);
       piece(12, total, false, 0, 1);
       f.Record(kTranslateWorld, 0, Bytes().Floats({100, 0}));
       f.Record(kFillPath, kvtest::kSolid | 1, Bytes().U32(kRed));
       return f.Build();
     },
     {{30, 30, kR, "the path gathered from three pieces"},
      {130, 30, kNone, "the one whose pieces do not add up"}}},
    {"slots that are empty, of another kind or out of range draw nothing",
     [] {
       return Filled([](PlusFile& f) {
         f.Object(0, kvtest::kBrushObject, kvtest::SolidBrush(kRed));
         f.Record(kFillPath, kvtest::kSolid | 0, Bytes().U32(kRed));          // a brush, not a path
         FillBrush(f, 63, 0, 0, 50, 50);                                      // empty
         FillBrush(f, 70, 0, 0, 50, 50);                                      // out of range
         f.Record(kDrawLines, 0, Bytes().U32(2).Floats({0, 100, 192, 100}));  // not a pen
         f.Object(1, kvtest::kBrushObject, Bytes().U32(kvtest::kVersion).U32(9).U32(kRed));
         FillBrush(f, 1, 100, 0, 50, 50);  // a brush of no known type
       });
     },
     {{20, 20, kNone, "nothing"}, {20, 100, kNone, "nothing"}, {120, 20, kNone, "nothing"}}},
};

TEST(EmfPlusPlayer, FillsWithColoursHatchesAndGradients) { CheckCases(kFills); }
TEST(EmfPlusPlayer, StrokesWithPens) { CheckCases(kPens); }
TEST(EmfPlusPlayer, DrawsShapesCurvesAndPaths) { CheckCases(kShapes); }
TEST(EmfPlusPlayer, FollowsTheDrawingState) { CheckCases(kState); }
TEST(EmfPlusPlayer, PlaysDualFilesGetDcSegmentsAndTheObjectTable) { CheckCases(kFiles); }

}  // namespace
