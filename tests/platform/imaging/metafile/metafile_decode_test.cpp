// Metafiles from independent writers (hand-built records, libEMF, and Inkscape from an SVG
// drawing), each loaded at its own size
// at 96 dots an inch, its pixels checked well inside its shapes and where nothing is drawn
// (transparent). The places come from each file's coordinates, mapping and frame.
#include <string>
#include <vector>

#include "platform/imaging/metafile/metafile_files.h"

namespace {

using kvtest::Decode;
using kvtest::MetafileBytes;
using kvtest::Near;
using kvtest::Picture;
using kvtest::Rgba;

constexpr Rgba kNone{0, 0, 0, 0};
constexpr Rgba kRed{255, 0, 0, 255}, kGreen{0, 160, 0, 255}, kBlue{0, 0, 255, 255};
constexpr Rgba kWhite{255, 255, 255, 255}, kBlack{0, 0, 0, 255}, kYellow{255, 255, 0, 255};
constexpr Rgba kCyan{0, 255, 255, 255}, kMagenta{255, 0, 255, 255};
constexpr Rgba kGrey{128, 128, 128, 255}, kPureGreen{0, 255, 0, 255};

struct Spot {
  int x, y;
  Rgba colour;
  const char* what;
};

struct Case {
  const char* file;
  int w, h;
  std::vector<Spot> spots;
};

// EMF frames of 100 x 75 mm are 378 x 283 pixels. The hand-built EMFs draw for a device of 48
// units a millimetre (0.07875 pixels a unit), libEMF's for one of 3.2 (1.18 pixels a unit); the
// placeable WMF of 4 x 3 inches at 1440 units an inch is 384 x 288 pixels (1/15 pixel a unit).
const std::vector<Case> kCases = {
    {"shapes.wmf",
     384,
     288,
     {{80, 64, kRed, "rectangle"},
      {224, 64, kBlue, "ellipse"},
      {88, 190, kGreen, "polygon"},
      {167, 200, kBlack, "a vertical line of the cross hatch"},
      {164, 164, kWhite, "the hatch's gaps in the opaque background colour"},
      {336, 24, kMagenta, "the bitmap's top row"},
      {336, 72, kBlack, "the bitmap's bottom row"},
      {336, 272, kBlack, "a line two pixels wide"},
      {150, 140, kNone, "between the shapes"},
      {5, 283, kNone, "a corner"}}},
    {"y_up.wmf", 96, 96, {{48, 77, kRed, "a rectangle at the bottom"}, {48, 20, kNone, "the top"}}},
    {"plain.wmf",
     200,
     100,
     {{150, 50, kBlue, "the right half of the window"}, {50, 50, kNone, "the left half"}}},
    {"masked.wmf",
     200,
     200,
     {{50, 50, kRed, "opaque in the mask"},
      {150, 150, kRed, "opaque in the mask"},
      {150, 50, kNone, "transparent in the mask"},
      {50, 150, kNone, "transparent in the mask"}}},
    {"shapes.emf",
     378,
     283,
     {{94, 94, kRed, "rectangle"},
      {246, 94, kBlue, "ellipse"},
      {94, 200, kGreen, "16-bit polygon"},
      {246, 240, kYellow, "path of lines and a 16-bit Bezier"},
      {170, 150, kNone, "between the shapes"}}},
    {"world.emf",
     378,
     283,
     {{208, 160, kBlue, "a square moved and halved by the world transform"},
      {100, 100, kNone, "where the square is without it"}}},
    {"metric.emf",
     378,
     283,
     {{75, 56, kGreen, "a rectangle in tenths of a millimetre, y up"},
      {75, 100, kNone, "below it"}}},
    {"anisotropic.emf",
     378,
     283,
     {{189, 141, kRed, "centre"},
      {370, 141, kRed, "near the right end: the circle is stretched to the width"},
      {189, 5, kRed, "near the top"},
      {5, 5, kNone, "a corner outside the ellipse"}}},
    {"fill_modes.emf",
     378,
     283,
     {{50, 94, kBlue, "alternate: the ring"},
      {94, 94, kNone, "alternate: the hole"},
      {283, 94, kBlue, "winding: the inner square filled"}}},
    {"clip.emf",
     378,
     283,
     {{80, 80, kRed, "inside the clip rectangle"},
      {170, 140, kNone, "in the excluded rectangle"},
      {340, 270, kNone, "outside the clip rectangle"},
      {9, 9, kBlue, "drawn after RestoreDC, outside the old clip"}}},
    {"hatch.emf",
     128,
     64,
     {{10, 7, kBlue, "a line of the hatch (every 8 pixels)"},
      {10, 15, kBlue, "the next line"},
      {10, 3, kNone, "a gap in transparent background mode"},
      {70, 7, kBlue, "a line in opaque background mode"},
      {70, 3, kYellow, "a gap in the background colour"}}},
    {"pens.emf",
     378,
     283,
     {{189, 38, kRed, "a geometric pen 6 pixels wide"},
      {189, 35, kRed, "its upper edge"},
      {36, 38, kNone, "past its flat end"},
      {5, 140, kBlue, "a dash 18 pixels long"},
      {17, 140, kBlue, "its end"},
      {20, 140, kNone, "the gap after it, transparent background mode"},
      {38, 226, kGreen, "the edge of a rectangle outlined with the null pen"}}},
    {"arcs.emf",
     378,
     283,
     {{120, 70, kRed, "the pie's quarter from 3 to 12 o'clock"},
      {70, 70, kNone, "the quarter beyond it"},
      {120, 120, kNone, "the lower right quarter"},
      {245, 70, kBlue, "the chord's upper half"},
      {245, 120, kNone, "its lower half"},
      {94, 217, kGreen, "round rectangle"},
      {40, 172, kNone, "its rounded corner"}}},
    // Inside-frame pens lie within each shape's box [l, r) x [t, b) of one unit a pixel: 12
    // pixels wide from l to l + 11 and from r - 12 to r - 1; 7 wide around the last rectangle.
    {"inside_frame.emf",
     384,
     288,
     {{21, 60, kRed, "rectangle (20, 20)-(120, 100): its pen's outer pixels"},
      {30, 60, kRed, "its pen's inner pixels"},
      {33, 60, kGreen, "its brush inside the pen"},
      {18, 60, kNone, "left of the box, where a centred pen would reach"},
      {118, 60, kRed, "its pen at the right"},
      {120, 60, kNone, "the box's right edge, left out"},
      {70, 21, kRed, "its pen at the top"},
      {70, 18, kNone, "above the box"},
      {70, 98, kRed, "its pen at the bottom"},
      {70, 101, kNone, "below the box"},
      {141, 60, kRed, "ellipse (140, 20)-(240, 100) of a geometric pen: left"},
      {155, 60, kGreen, "its brush"},
      {138, 60, kNone, "left of its box"},
      {238, 60, kRed, "its right"},
      {241, 60, kNone, "right of its box"},
      {190, 18, kNone, "above its box"},
      {261, 60, kRed, "round rectangle (260, 20)-(360, 100)"},
      {275, 60, kGreen, "its brush"},
      {258, 60, kNone, "left of its box"},
      {310, 18, kNone, "above its box"},
      {262, 22, kNone, "outside its corner's curve"},
      {70, 141, kRed, "chord (20, 140)-(120, 240): its top"},
      {70, 138, kNone, "above its box"},
      {70, 155, kGreen, "its brush"},
      {200, 142, kRed, "pie (140, 140)-(240, 240): its arc"},
      {200, 138, kNone, "above its box"},
      {238, 186, kRed, "its right end"},
      {241, 186, kNone, "right of its box"},
      {261, 190, kBlue, "rectangle (260, 140)-(360, 240) of a pen 7 pixels wide: left"},
      {266, 190, kBlue, "its seventh pixel"},
      {267, 190, kGreen, "its brush after it"},
      {258, 190, kNone, "left of its box"},
      {353, 190, kBlue, "its seventh pixel from the right"},
      {352, 190, kGreen, "its brush before it"},
      {360, 190, kNone, "its box's right edge"},
      {70, 255, kRed, "a polygon's pen, centred on its outline at 260"},
      {70, 270, kGreen, "the polygon's brush"}}},
    // FrameRgn and InvertRgn over a blue rectangle (0, 0)-(200, 150), one unit a pixel.
    {"regions_gdi.emf",
     384,
     288,
     {{22, 40, kRed, "an L's frame, 6 pixels across: its left edge"},
      {25, 40, kRed, "its sixth pixel"},
      {27, 40, kBlue, "inside the frame, the region's pixels are left alone"},
      {70, 23, kRed, "its top edge, 4 pixels down"},
      {70, 25, kBlue, "below it"},
      {121, 80, kBlue, "where the L's two rectangles meet: no edge"},
      {150, 61, kRed, "the step of the L"},
      {150, 58, kBlue, "above the step, outside the region"},
      {178, 80, kRed, "the right edge"},
      {172, 80, kBlue, "left of it"},
      {70, 98, kRed, "the bottom edge"},
      {70, 101, kBlue, "below the region"},
      {250, 70, kBlack, "a frame of the stock black brush, one pixel thick"},
      {252, 70, kNone, "inside it"},
      {300, 119, kBlack, "its bottom edge"},
      {170, 135, kYellow, "InvertRgn over blue"},
      {230, 180, kWhite, "InvertRgn over nothing: DSTINVERT of black"},
      {140, 135, kBlue, "beside the inverted region"},
      {50, 230, kGreen, "a square inverted twice"},
      {340, 205, kRed, "a frame 10 pixels thick, its top edge"},
      {302, 230, kRed, "its left edge, above the clip's bottom"},
      {340, 230, kNone, "inside it"},
      {302, 250, kNone, "its left edge below the clip's bottom"}}},
    // The WMF's region records on a window of one unit a pixel.
    {"regions_gdi.wmf",
     200,
     200,
     {{50, 50, kGreen, "PAINTREGION with the selected brush"},
      {22, 50, kRed, "FRAMEREGION 5 across"},
      {27, 50, kGreen, "inside that frame"},
      {50, 21, kRed, "FRAMEREGION 3 down"},
      {50, 24, kGreen, "below it"},
      {140, 50, kCyan, "FILLREGION red, then INVERTREGION"},
      {140, 140, kWhite, "INVERTREGION over nothing"},
      {21, 140, kBlue, "an inside-frame pen 10 pixels wide"},
      {29, 140, kBlue, "its tenth pixel"},
      {31, 140, kGreen, "the brush inside it"},
      {18, 140, kNone, "left of the rectangle's box"}}},
    // libEMF's inside-frame pens, 8 units (9.45 pixels) wide: a rectangle's box from 23.6 to
    // 118.1 pixels, an ellipse's from 141.8 to 236.3 across and 23.6 to 118.1 down.
    {"libemf_inside_frame.emf",
     378,
     283,
     {{25, 70, kRed, "the rectangle's pen at its left"},
      {21, 70, kNone, "left of its box, where a centred pen would reach"},
      {40, 70, kGreen, "its brush"},
      {116, 70, kRed, "its pen at the right"},
      {120, 70, kNone, "right of its box"},
      {70, 21, kNone, "above its box"},
      {143, 71, kRed, "the ellipse's pen at its left"},
      {139, 71, kNone, "left of its box"},
      {160, 71, kGreen, "its brush"},
      {238, 71, kNone, "right of its box"},
      {189, 21, kNone, "above its box"}}},
    // Flood fills over what is drawn, one unit a pixel; where nothing is drawn reads as white.
    {"flood.emf",
     384,
     288,
     {{60, 60, kRed, "a border fill inside a black outline"},
      {22, 22, kRed, "to the outline's corner"},
      {20, 60, kBlack, "the outline kept"},
      {10, 10, kNone, "outside the outline"},
      {150, 30, kYellow, "a surface fill over blue"},
      {230, 90, kYellow, "to the blue's far corner"},
      {190, 60, kGreen, "a green square inside the blue, kept"},
      {130, 30, kNone, "beside the blue"},
      {255, 25, kCyan, "a surface fill of white over nothing, within the clip"},
      {365, 135, kCyan, "to the clip's far corner"},
      {310, 80, kNone, "inside a circle's outline"},
      {375, 80, kNone, "outside the clip"},
      {30, 160, kBlue, "a border fill inside a magenta outline"},
      {70, 200, kBlue, "over a green square too"},
      {20, 200, kMagenta, "the magenta outline kept"},
      {10, 200, kNone, "outside it"},
      {300, 200, kNone, "a fill whose start lies outside the clip"}}},
    {"flood.wmf",
     200,
     200,
     {{60, 60, kRed, "FLOODFILL inside a black outline"},
      {20, 60, kBlack, "the outline kept"},
      {10, 10, kNone, "outside it"},
      {150, 60, kYellow, "EXTFLOODFILL over a blue surface"},
      {110, 60, kNone, "beside it"}}},
    // Flood fills within clips: around ExcludeClipRect's hole, across where two rectangles of a
    // clip region meet (but not into a third apart), within an elliptic clip path, and within a
    // clip rectangle over a drawn surface.
    {"flood_clips.emf",
     384,
     288,
     {{60, 60, kRed, "a border fill within a clip with a hole"},
      {120, 60, kNone, "the clip's hole, left alone"},
      {160, 60, kRed, "beyond the hole, reached around it"},
      {120, 100, kRed, "below the hole"},
      {230, 110, kCyan, "a surface fill of white within a clip region"},
      {300, 50, kCyan, "across where two of its rectangles meet"},
      {300, 30, kNone, "above the second rectangle, outside the region"},
      {355, 60, kNone, "a third rectangle of the region, apart from the first two"},
      {100, 210, kBlue, "a border fill within an elliptic clip"},
      {100, 155, kBlue, "near the ellipse's top"},
      {25, 155, kNone, "the ellipse's box's corner, outside it"},
      {350, 250, kYellow, "a surface fill over green within a clip rectangle"},
      {205, 155, kGreen, "the green outside the clip, kept"}}},
    // Gradient fills, one unit a pixel: each pixel takes the 16-bit channels interpolated at its
    // top-left corner, their high byte.
    {"gradients.emf",
     384,
     288,
     {{20, 40, kRed, "across, red to blue over 256 pixels: its first column, red"},
      {148, 40, Rgba{127, 0, 127, 255}, "its 129th, half of each (0x7F80)"},
      {275, 40, Rgba{0, 0, 254, 255}, "its last, 255/256 of the way"},
      {276, 40, kNone, "right of it"},
      {19, 40, kNone, "left of it"},
      {70, 80, Rgba{0, 255, 0, 255}, "down, green to yellow over 128 pixels: its top row"},
      {70, 144, Rgba{127, 255, 0, 255}, "its 65th row"},
      {70, 207, Rgba{253, 255, 0, 255}, "its last row"},
      {70, 208, kNone, "below it"},
      {150, 80, kRed, "a triangle's red corner"},
      {250, 81, Rgba{127, 127, 0, 255}, "halfway along its edge to the green corner"},
      {151, 180, Rgba{127, 0, 127, 255}, "halfway along its edge to the blue corner"},
      {200, 130, Rgba{127, 63, 63, 255}, "a quarter of the way to each"},
      {250, 200, kNone, "beyond its long edge"},
      {251, 240, Rgba{252, 0, 2, 255}, "across, under a world transform that doubles it"},
      {300, 240, Rgba{127, 0, 127, 255}, "its middle"},
      {349, 240, Rgba{2, 0, 252, 255}, "its last column"},
      {350, 240, kNone, "right of it"},
      {70, 250, kNone, "a rectangle naming a vertex the record lacks"}}},
    // Inkscape's linear gradients written as gradient fills (rectangles from x = 20 to 220).
    {"inkscape_gradient.emf",
     242,
     181,
     {{24, 50, Rgba{249, 0, 5, 255}, "across: near its red end"},
      {121, 50, Rgba{127, 0, 127, 255}, "its middle"},
      {218, 50, Rgba{2, 0, 252, 255}, "near its blue end"},
      {18, 50, kNone, "left of it"},
      {121, 102, Rgba{9, 163, 0, 255}, "down: near its green end"},
      {121, 130, Rgba{128, 207, 0, 255}, "its middle"},
      {121, 158, Rgba{247, 252, 0, 255}, "near its yellow end"},
      {121, 90, kNone, "between the two"}}},
    // PolyDraw and AngleArc, one unit a pixel, from and to the current position.
    {"polydraw.emf",
     384,
     288,
     {{70, 20, kRed, "a line from the current position"},
      {120, 50, kRed, "the next line"},
      {70, 50, kRed, "the figure closed back to the current position"},
      {135, 50, kNone, "no line to a move"},
      {225, 42, kRed, "the middle of a curve of three points"},
      {300, 50, kRed, "a line after the curve"},
      {330, 80, kRed, "LineTo from where PolyDraw ended"},
      {70, 170, kBlue, "a 16-bit PolyDraw in a path, filled: its closed figure"},
      {200, 150, kBlue, "its open figure, closed by the fill"},
      {140, 170, kNone, "between the two"},
      {60, 250, kNone, "a curve of two points: nothing drawn"},
      {60, 270, kNone, "an unknown type: nothing drawn"},
      {300, 165, kGreen, "AngleArc: the line from the current position"},
      {260, 220, kGreen, "its arc, counterclockwise from the top through the left"},
      {340, 220, kNone, "the circle's other half"},
      {330, 260, kGreen, "LineTo from the arc's end"}}},
    // OffsetClipRgn, one unit a pixel.
    {"clip_offset.emf",
     384,
     288,
     {{270, 160, kRed, "a fill through a clip rectangle moved by (200, 100)"},
      {222, 122, kRed, "the moved clip's top-left corner"},
      {318, 198, kRed, "its bottom-right corner"},
      {70, 60, kNone, "where the clip was"},
      {218, 160, kNone, "left of the moved clip"},
      {40, 190, kBlue, "a clip region of two rectangles moved down by 150"},
      {100, 190, kBlue, "its second rectangle"},
      {70, 190, kNone, "between them"},
      {40, 40, kNone, "where the region was"},
      {330, 50, kGreen, "with no clip, an offset changes nothing"}}},
    {"clip_offset.wmf",
     200,
     200,
     {{125, 25, kBlue, "a clip rectangle moved by 200 units, 100 pixels"},
      {25, 25, kNone, "where it was"},
      {145, 25, kNone, "right of the moved clip"}}},
    {"brush_origin.emf",
     384,
     288,
     {{7, 30, kBlue, "a vertical hatch from the picture's corner: its first line"},
      {10, 30, kNone, "a gap"},
      {66, 30, kBlue, "from a brush origin of (3, 0): its lines 3 pixels on"},
      {71, 30, kNone, "where a line would be without the origin"}}},
    {"bitmaps.emf",
     378,
     283,
     {{28, 47, kRed, "1 bit: top left"},
      {47, 47, kBlue, "1 bit: top right"},
      {75, 47, kRed, "4 bits: top left"},
      {94, 66, kWhite, "4 bits: bottom right"},
      {141, 47, kGreen, "8 bits: top right"},
      {170, 66, kBlue, "24 bits: bottom left"},
      {217, 47, kRed, "32 bits: opaque though its fourth byte is 0"},
      {236, 66, kWhite, "32 bits: bottom right"},
      {264, 66, kBlue, "RLE8: the run of the bottom row"},
      {264, 47, kNone, "RLE8: the row it skips"},
      {311, 66, kGreen, "RLE4: the first of two alternating indices"},
      {330, 66, kWhite, "RLE4: the second"},
      {311, 47, kNone, "RLE4: the row it skips"}}},
    {"blits.emf",
     378,
     283,
     {{47, 47, kRed, "BitBlt: the bitmap's top left"},
      {66, 47, kGreen, "BitBlt: top right"},
      {47, 66, kBlue, "BitBlt: bottom left"},
      {66, 66, kWhite, "BitBlt: bottom right"},
      {104, 47, kMagenta, "StretchBlt SRCINVERT: red over the blue of PATCOPY"},
      {123, 47, Rgba{0, 160, 255, 255}, "green over blue"},
      {104, 66, kBlack, "blue over blue"},
      {123, 66, kYellow, "white over blue"},
      {170, 56, kWhite, "WHITENESS"},
      {60, 120, kRed, "a DIB pattern brush from the picture's corner: even, even"},
      {61, 120, kGreen, "odd, even"},
      {60, 121, kBlue, "even, odd"},
      {61, 121, kWhite, "odd, odd"},
      {280, 200, kYellow, "the opaque box of ExtTextOut"}}},
    {"alpha.emf",
     378,
     283,
     {{56, 56, kRed, "AlphaBlend: an opaque pixel of the bitmap"},
      {94, 56, kBlue, "a pixel of alpha 0 leaves the square under it"},
      {75, 132, Rgba{0, 160, 0, 128}, "a bitmap at half opacity over nothing"}}},
    {"misc.emf",
     378,
     283,
     {{94, 20, kRed, "inside a clip path closed by a 32-bit Bezier curve"},
      {40, 20, kNone, "outside its curve"},
      {94, 125, kNone, "below the path"},
      {226, 57, kBlue, "ArcTo: the line from the current position to the arc"},
      {189, 75, kBlue, "ArcTo: the arc's end, counterclockwise"},
      {227, 100, kNone, "ArcTo: the other half of the ellipse"}}},
    {"misc.wmf",
     200,
     200,
     {{60, 60, kRed, "a pattern brush in a window set, offset and scaled: even, even"},
      {61, 60, kBlue, "odd, even"},
      {61, 61, kRed, "odd, odd"},
      {52, 50, kBlack, "a dot of the pen"},
      {55, 50, kWhite, "the gap after it, in the opaque background colour"},
      {30, 100, kNone, "left of the rectangle"}}},
    {"regions.emf",
     378,
     283,
     {{40, 40, kRed, "inside the first rectangle of the clip region"},
      {255, 42, kRed, "inside its second"},
      {340, 60, kNone, "outside the region"},
      {340, 200, kGreen, "after the region is dropped, outside the rectangle taken away"},
      {340, 100, kNone, "inside the rectangle taken away"},
      {141, 141, kBlue, "the isotropic circle's centre"},
      {290, 220, kGreen, "beyond the circle, where an anisotropic one would reach"}}},
    {"regions.wmf",
     200,
     200,
     {{50, 50, kRed, "inside the WMF clip region"},
      {100, 50, kNone, "outside it"},
      {30, 150, kGreen, "DIBBITBLT: the whole bitmap over the destination, top left"},
      {50, 150, kBlue, "top right"},
      {30, 170, kRed, "bottom left"},
      {50, 170, kWhite, "bottom right"},
      {160, 160, kBlue, "PATBLT with the brush"}}},
    {"dual.emf",
     378,
     283,
     {{94, 94, kGreen, "the EMF+ records of a dual file"},
      {283, 208, kNone, "its EMF records, drawn only without EMF+"}}},
    {"emfplus_only.emf",
     378,
     283,
     {{94, 94, kGreen, "an EMF+-only file's EMF+ records"},
      {283, 94, kNone, "EMF records no GetDC hands over"},
      {283, 208, kBlue, "the EMF records of a GetDC segment"}}},
    {"libemf_shapes.emf",
     378,
     283,
     {{70, 59, kRed, "rectangle"},
      {189, 59, kBlue, "ellipse"},
      {70, 140, kGreen, "polygon"},
      {307, 26, kYellow, "the top of an arc 9 pixels wide"},
      {307, 115, kNone, "where the arc does not go"},
      {195, 165, kCyan, "a Bezier curve filled as a path"},
      {189, 248, kRed, "a geometric pen with flat ends"},
      {20, 248, kNone, "before its flat end"}}},
    {"libemf_y_up.emf",
     378,
     283,
     {{94, 212, kBlue, "a rectangle at the bottom"},
      {94, 60, kNone, "the top"},
      {283, 71, kRed, "an ellipse at the top right"}}},
    {"inkscape_scene.emf",
     242,
     181,
     {{60, 50, kRed, "rectangle"},
      {170, 50, kBlue, "circle"},
      {60, 120, kGreen, "triangle"},
      {170, 130, kYellow, "ellipse"},
      {170, 105, kBlack, "the ellipse's outline, 4 pixels wide"},
      {120, 90, kBlack, "a line 8 pixels wide"},
      {230, 170, kNone, "a corner"}}},
    {"inkscape_scene.wmf",
     240,
     180,
     {{60, 50, kRed, "rectangle"},
      {170, 50, kBlue, "circle"},
      {60, 120, kGreen, "triangle"},
      {170, 130, kYellow, "ellipse"},
      {170, 105, kBlack, "the ellipse's outline, 4 pixels wide"},
      {50, 90, kBlack, "a line 8 pixels wide, drawn by the second MoveTo and LineTo"},
      {120, 87, kBlack, "its upper part"},
      {18, 90, kNone, "past the flat end its pen's style asks for"},
      {230, 170, kNone, "a corner"}}},
    // LibreOffice Draw's WMF and EMF of one drawing, cropped to what it draws (18 pixels in from
    // the drawing's corner); its picture with transparent corners goes as a masked bitmap.
    {"libreoffice_scene.wmf",
     373,
     273,
     {{60, 45, kRed, "rectangle"},
      {4, 40, kBlack, "the rectangle's outline, 4 pixels wide"},
      {242, 42, kBlue, "ellipse"},
      {72, 220, kGreen, "triangle"},
      {156, 117, kBlack, "the first dash of a line 6 pixels wide"},
      {339, 239, kRed, "the picture's cross"},
      {322, 222, kBlue, "the picture's blue"},
      {307, 207, kNone, "the picture's transparent corner, kept by its mask"},
      {160, 60, kNone, "between the shapes"}}},
    {"libreoffice_scene.emf",
     372,
     272,
     {{60, 45, kRed, "rectangle"},
      {4, 40, kBlack, "the rectangle's outline, 4 pixels wide"},
      {242, 42, kBlue, "ellipse"},
      {72, 220, kGreen, "triangle"},
      {156, 117, kBlack, "the first dash of a line 6 pixels wide"},
      {336, 236, kRed, "the picture's cross"},
      {320, 220, kBlue, "the picture's blue"},
      {305, 206, kNone, "the picture's transparent corner, kept by its mask"},
      {160, 60, kNone, "between the shapes"}}},
    {"libemf_paths.emf",
     378,
     283,
     {{70, 94, kGreen, "a path of lines and a Bezier curve"},
      {283, 94, kBlue, "winding poly-polygon: the inner square"},
      {35, 230, kRed, "alternate poly-polygon: the ring"},
      {94, 230, kNone, "alternate poly-polygon: the hole"}}},
    // The raster records (make_raster_metafiles.py); rops.emf has tests of its own.
    {"rop2.emf",
     192,
     96,
     {{24, 36, kRed, "an ellipse and its wide outline XORed twice leave the square as it was"},
      {8, 36, kRed, "where the outline was XORed twice"},
      {72, 36, kMagenta, "blue XORed once over red"},
      {12, 72, kWhite, "R2_NOT over nothing sees black"},
      {36, 72, kBlue, "R2_MASKPEN over nothing sees white: the brush"},
      {60, 72, kNone, "R2_NOP draws nothing"},
      {84, 72, kBlue, "R2_MERGEPEN over nothing sees black: the brush"}}},
    {"masks.emf",
     192,
     144,
     {{20, 20, kRed, "MaskBlt: the source where the mask's bit is 1, though its colour is black"},
      {40, 20, kGreen, "the source's right half"},
      {20, 40, kBlue, "the background operation, PATCOPY, where the bit is 0"},
      {40, 40, kBlue, "PATCOPY"},
      {70, 15, kRed, "the mask moved a row: its second row on the first"},
      {70, 25, kBlue, "its third row on the second"},
      {130, 20, kRed, "PlgBlt turned a quarter clockwise: the source's top-left"},
      {130, 40, kGreen, "its top-right, below it"},
      {110, 20, kBlue, "its bottom-left, left of the top-left"},
      {110, 40, kWhite, "its bottom-right"},
      {170, 20, kRed, "PlgBlt with a mask: a 1 bit"},
      {170, 40, kGrey, "a 0 bit leaves the picture as it was"},
      {150, 20, kGrey, "another 0 bit"},
      {150, 40, kWhite, "another 1 bit"},
      {20, 70, kRed, "TransparentBlt: a pixel kept"},
      {40, 70, kGrey, "a pixel of the colour left out"},
      {20, 90, kGrey, "another"},
      {40, 90, kBlue, "another kept"},
      {80, 80, Rgba{0x7F, 0x7F, 0x7F, 255}, "MaskBlt of DSTINVERT without source or mask"},
      {120, 62, kGrey, "SetDIBitsToDevice: a row the record does not carry"},
      {120, 67, kBlue, "the rows it carries, pixel for pixel on device pixels"},
      {120, 72, kGreen, "the lower rows it carries"},
      {120, 77, kGrey, "another row it does not carry"},
      {135, 67, kGrey, "right of its 20 device pixels"},
      {15, 125, kRed, "SRCAND over nothing through a mask's 1 bit"},
      {25, 125, kNone, "the operation that keeps the destination, through a 0 bit"},
      {15, 135, kNone, "another 0 bit"},
      {25, 135, kRed, "another 1 bit"}}},
    {"palettes.emf",
     192,
     144,
     {{24, 24, kGreen, "a brush of PALETTEINDEX(1)"},
      {64, 24, kMagenta, "the same brush after SetPaletteEntries"},
      {104, 24, kRed, "after ResizePalette to one entry: the first entry"},
      {144, 24, kBlack, "resized to four: the new entries are black"},
      {8, 80, kBlue, "a pen of PALETTEINDEX(2)"},
      {32, 80, kNone, "inside it, a null brush"},
      {80, 63, kRed, "a hatch of PALETTEINDEX(0)"},
      {80, 60, Rgba{64, 128, 192, 255}, "over the background colour PALETTEINDEX(3)"},
      {120, 80, Rgba{0x56, 0x34, 0x12, 255}, "PALETTERGB drawn as its own colour"},
      {152, 64, kBlue, "StretchDIBits of a colour table of palette indices"},
      {168, 64, kRed, "its second pixel"},
      {144, 80, kGreen, "a DIB pattern brush of palette indices: even, even"},
      {145, 80, kBlue, "odd, even"},
      {120, 126, kRed, "PALETTEINDEX(13) of the stock default palette"}}},
    {"palettes.wmf",
     200,
     200,
     {{35, 35, kGreen, "a brush of PALETTEINDEX(1)"},
      {95, 35, kMagenta, "after SetPalEntries"},
      {155, 35, kRed, "after ResizePalette to one entry"},
      {35, 95, kBlue, "an index past the palette's end takes its first entry, set blue"},
      {70, 70, kBlue, "a DIB pattern brush of palette indices: even, even"},
      {71, 70, kRed, "odd, even"},
      {140, 95, kGreen, "StretchDIB of palette indices"},
      {170, 95, kBlue, "its second pixel"}}},
    {"bitmap16.wmf",
     240,
     160,
     {{15, 15, kBlue, "a monochrome Bitmap16: a 1 bit in the background colour"},
      {35, 15, kRed, "a 0 bit in the text colour"},
      {15, 25, kRed, "its second row"},
      {45, 25, kBlue, "its second row's end"},
      {70, 20, kRed, "StretchBlt of 4 bits: standard red"},
      {90, 20, kPureGreen, "standard green"},
      {70, 40, kBlue, "standard blue"},
      {90, 40, kWhite, "white"},
      {120, 20, Rgba{0x8F, 0x70, 0xD5, 255}, "24 bits with SRCINVERT over grey"},
      {150, 20, Rgba{0x7F, 0x7F, 0x7F, 255}, "BitBlt without a bitmap: DSTINVERT"},
      {180, 20, kGreen, "StretchBlt without a bitmap: PATCOPY"},
      {20, 70, kMagenta, "a monochrome pattern brush: 1 bits in the background colour as drawn"},
      {21, 70, kYellow, "0 bits in the text colour as drawn"},
      {70, 70, kRed, "a 4-bit pattern brush"},
      {71, 70, kBlue, "its next pixel"},
      {130, 75, kGrey, "a rectangle XORed twice leaves the grey"},
      {180, 75, Rgba{0x8F, 0x70, 0xD5, 255}, "XORed once"},
      {25, 130, kWhite, "R2_NOT over nothing"}}},
    {"compressed.emf",
     192,
     48,
     {{16, 16, kRed, "a PNG bitmap stretched by StretchDIBits"},
      {32, 16, kPureGreen, "its top-right quadrant"},
      {16, 32, kBlue, "its bottom-left quadrant"},
      {32, 32, kNone, "its transparent quadrant"},
      {56, 16, kRed, "a JPEG bitmap"},
      {72, 16, kPureGreen, "its top-right quadrant"},
      {56, 32, kBlue, "its bottom-left quadrant"},
      {72, 32, kWhite, "its bottom-right quadrant"},
      {92, 12, kRed, "the PNG by SetDIBitsToDevice, pixel for pixel"},
      {100, 12, kPureGreen, "top-right"},
      {92, 20, kBlue, "bottom-left"},
      {100, 20, kNone, "transparent"},
      {120, 16, kCyan, "the JPEG by BitBlt with SRCINVERT over white"},
      {136, 16, kMagenta, "green inverted"},
      {120, 32, kYellow, "blue inverted"},
      {136, 32, kBlack, "white inverted"},
      {152, 8, kRed, "a pattern brush of a PNG: even, even"},
      {153, 8, kPureGreen, "odd, even"},
      {152, 9, kBlue, "even, odd"},
      {153, 9, kNone, "its transparent pixel"}}},
};

TEST(MetafileDecode, DrawsEachFileAtItsSizeWithItsShapesInPlace) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.file);
    Picture picture = Decode(MetafileBytes(c.file));
    ASSERT_EQ(picture.w, c.w);
    ASSERT_EQ(picture.h, c.h);
    for (const Spot& spot : c.spots)
      EXPECT_TRUE(Near(picture.At(spot.x, spot.y), spot.colour))
          << spot.what << " at " << spot.x << "," << spot.y;
  }
}

// Text is checked by where its glyphs' ink lies: inside each character's cell, none past the last.
TEST(MetafileDecode, DrawsTextWithItsFontSpacingAndAlignment) {
  // Courier New (Liberation Mono) 37.8 pixels to the em, "MMMM" 47.25 pixels apart, top at 19.
  Picture courier = Decode(MetafileBytes("text.emf"));
  ASSERT_EQ(courier.w, 378);
  for (int i = 0; i < 4; ++i) {
    int left = 19 + i * 47;
    EXPECT_GT(courier.Count(left, 19, left + 24, 19 + 38, kRed), 60) << "character " << i;
    EXPECT_EQ(courier.Count(left + 26, 0, left + 45, 283, kRed), 0) << "between characters";
  }
  EXPECT_EQ(courier.Count(0, 0, 378, 18, kRed), 0) << "above the top-aligned text";
  EXPECT_EQ(courier.Count(0, 60, 378, 180, kRed), 0) << "glyph indices are not drawn";
  // The same with its advances in x and y pairs, 170 pixels lower.
  for (int i = 0; i < 4; ++i) {
    int left = 19 + i * 47;
    EXPECT_GT(courier.Count(left, 189, left + 24, 189 + 38, kRed), 60) << "character " << i;
    EXPECT_EQ(courier.Count(left + 26, 180, left + 45, 283, kRed), 0) << "between characters";
  }

  // Bold Arial (Liberation Sans) 60 pixels to the em: the stem of the first H.
  Picture arial = Decode(MetafileBytes("text.wmf"));
  EXPECT_TRUE(Near(arial.At(17, 45), kBlue));
  EXPECT_GT(arial.Count(10, 10, 200, 80, kBlue), 1500);
  EXPECT_EQ(arial.Count(0, 0, 400, 15, kBlue), 0);

  // libEMF: bold Arial with its top at 23.6, and Times New Roman placed by its baseline (235.8)
  // with a spacing array of 70.9 pixels.
  Picture mixed = Decode(MetafileBytes("libemf_text.emf"));
  EXPECT_TRUE(Near(mixed.At(30, 50), kRed));
  EXPECT_EQ(mixed.Count(0, 0, 378, 28, kRed), 0);
  for (int i = 0; i < 4; ++i) {
    int left = 24 + i * 71;
    EXPECT_GT(mixed.Count(left, 200, left + 20, 236, kBlue), 20) << "character " << i;
    EXPECT_EQ(mixed.Count(left + 22, 200, left + 60, 283, kBlue), 0) << "between characters";
  }
  EXPECT_EQ(mixed.Count(0, 238, 378, 283, kBlue), 0) << "below the baseline of I";

  // Inkscape's text, 16 pixels to the em, from x = 130 with its baseline at 176.
  for (const char* name : {"inkscape_scene.emf", "inkscape_scene.wmf"}) {
    Picture scene = Decode(MetafileBytes(name));
    EXPECT_GT(scene.Count(128, 160, 180, 178, kMagenta), 40) << name;
    EXPECT_EQ(scene.Count(0, 160, 126, 181, kMagenta), 0) << name;
  }

  // LibreOffice's text, 28 pixels to the em (Liberation Sans), from x = 142 with its baseline at 92.
  for (const char* name : {"libreoffice_scene.wmf", "libreoffice_scene.emf"}) {
    Picture scene = Decode(MetafileBytes(name));
    EXPECT_GT(scene.Count(140, 70, 240, 96, Rgba{128, 64, 0, 255}), 200) << name;
    EXPECT_EQ(scene.Count(140, 96, 240, 108, Rgba{128, 64, 0, 255}), 0) << name << " below";
  }

  // Turned by its escapement to run up from its box's bottom edge, clipped to the box.
  Picture turned = Decode(MetafileBytes("misc.emf"));
  EXPECT_GT(turned.Count(60, 151, 120, 265, kGreen), 200);
  EXPECT_EQ(turned.Count(0, 130, 378, 150, kGreen), 0) << "above the clip box";
  EXPECT_EQ(turned.Count(120, 151, 378, 283, kGreen), 0) << "right of the turned text";

  // Aligned by its right and bottom on the corner of its opaque box, in the default font.
  Picture aligned = Decode(MetafileBytes("blits.emf"));
  EXPECT_GT(aligned.Count(320, 245, 341, 265, kRed), 10);
  EXPECT_EQ(aligned.Count(264, 188, 318, 265, kRed), 0);
}

// Glyphs too large to render as images are filled from their outlines: an H of 300 pixels to the
// em, its cell's top at 20, so its cap height spans 85 to 292.
TEST(MetafileDecode, DrawsGlyphsLargerThanTheirImagesFromTheirOutlines) {
  Picture big = Decode(MetafileBytes("big_text.wmf"));
  ASSERT_EQ(big.w, 400);
  EXPECT_TRUE(Near(big.At(58, 130), kBlue)) << "left stem";
  EXPECT_TRUE(Near(big.At(199, 250), kBlue)) << "right stem";
  EXPECT_TRUE(Near(big.At(128, 185), kBlue)) << "bar";
  EXPECT_EQ(big.At(128, 130).a, 0) << "above the bar";
  EXPECT_EQ(big.At(128, 250).a, 0) << "below the bar";
  EXPECT_EQ(big.Count(0, 0, 400, 80, kBlue), 0) << "above the H";
  EXPECT_EQ(big.Count(220, 0, 400, 300, kBlue), 0) << "right of the H";
}

// Text takes a palette index colour from the palette selected when it is drawn.
TEST(MetafileDecode, DrawsTextInPaletteIndexColours) {
  Picture emf = Decode(MetafileBytes("palettes.emf"));
  ASSERT_EQ(emf.w, 192);
  EXPECT_GT(emf.Count(8, 112, 60, 140, Rgba{64, 128, 192, 255}, 16), 40);
  Picture wmf = Decode(MetafileBytes("palettes.wmf"));
  ASSERT_EQ(wmf.w, 200);
  EXPECT_GT(wmf.Count(10, 140, 80, 170, kBlue, 16), 40);
}

// A solid brush copied within a clip of rectangles is written straight into the picture, any
// other brush painted through a mask of the filled pixels: a pattern of the same one colour must
// fill exactly the same pixels, under clips of rectangles and an elliptic one alike.
TEST(MetafileDecode, FillsTheSamePixelsWithASolidBrushAsWithAPatternOfItsColour) {
  Picture solid = Decode(MetafileBytes("flood_clips.emf"));
  Picture pattern = Decode(MetafileBytes("flood_clips_pattern.emf"));
  ASSERT_EQ(solid.w, 384);
  ASSERT_EQ(pattern.w, solid.w);
  EXPECT_TRUE(solid.rgba == pattern.rgba);
}

TEST(MetafileDecode, RefusesAWmfWithoutSize) {
  std::vector<uint8_t> bytes = MetafileBytes("plain_no_window.wmf");
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(Decode(bytes).w, 0);
}

}  // namespace
