// The drawing objects a metafile creates, selects and deletes: pens, brushes, fonts, regions and
// palettes, with the stock objects an EMF selects by number. Colours are kept as R, G, B bytes; a
// pen's width and a font's height are in the logical units of the moment they are used.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::metafile {

struct Color {
  uint8_t r = 0, g = 0, b = 0;
  // A palette index colour (PALETTEINDEX) names an entry of the palette selected when it is
  // drawn; r, g and b then hold that entry's colour once resolved (see palette.h).
  bool indexed = false;
  uint16_t index = 0;
};

// A COLORREF: red in the low byte. A high byte of 1 makes it a palette index (its low word);
// other flags (PALETTERGB) are plain colours, as on a device of true colour.
inline Color ColorOf(uint32_t colorRef) {
  Color color{static_cast<uint8_t>(colorRef), static_cast<uint8_t>(colorRef >> 8),
              static_cast<uint8_t>(colorRef >> 16)};
  if ((colorRef >> 24) == 1) color.indexed = true, color.index = static_cast<uint16_t>(colorRef);
  return color;
}

enum PenStyle : uint32_t {
  kPenSolid = 0,
  kPenDash = 1,
  kPenDot = 2,
  kPenDashDot = 3,
  kPenDashDotDot = 4,
  kPenNull = 5,
  kPenInsideFrame = 6,
  kPenUserStyle = 7,
  kPenAlternate = 8,
};

struct Pen {
  uint32_t style = kPenSolid;  // the low four bits of the style word
  uint32_t cap = 0;            // 0 round, 0x100 square, 0x200 flat
  uint32_t join = 0;           // 0 round, 0x1000 bevel, 0x2000 miter
  bool geometric = false;      // made by ExtCreatePen with the geometric type
  double width = 0;            // logical units; 0 draws one pixel
  Color color;
  std::vector<double> dashes;  // a user style's lengths, in logical units
};

enum BrushStyle : uint32_t {
  kBrushSolid = 0,
  kBrushNull = 1,
  kBrushHatched = 2,
  kBrushPattern = 3,
};

// A pattern brush's picture: premultiplied B, G, R, A words, as cairo keeps them. A monochrome
// one holds kMonoOne for its 1 bits, its colours being chosen where it is drawn.
struct PatternBits {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  bool mono = false;
};
constexpr uint32_t kMonoOne = 0xffffffff;

struct Brush {
  uint32_t style = kBrushSolid;
  Color color;
  uint32_t hatch = 0;  // 0 to 5: horizontal, vertical, forward and backward diagonal, crosses
  std::shared_ptr<const PatternBits> pattern;
};

struct Font {
  // Negative: the em size; positive: the cell height (ascent + descent); 0: the default size
  // (the device's system font, 16 pixels to the em).
  double height = 0;
  double width = 0;
  double escapement = 0;  // tenths of a degree, counterclockwise
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  uint8_t charset = 0;  // the character set its 8-bit text is written in (text_charset.h)
  std::string face;     // UTF-8
};

// A region as the rectangles that make it up (left, top, right, bottom, logical units).
struct Region {
  std::vector<int32_t> rects;
};

// A logical palette: its entries in order, which palette index colours and colour tables of
// palette indices name. Changing an entry changes it for every holder of the palette.
struct Palette {
  std::vector<Color> entries;
};

enum class ObjectKind { Pen, Brush, Font, Region, Palette };

struct GdiObject {
  ObjectKind kind = ObjectKind::Pen;
  Pen pen;
  Brush brush;
  Font font;
  Region region;
  std::shared_ptr<Palette> palette;
};

// The stock object an EMF names with the high bit set; false for a number that names none.
bool StockObject(uint32_t index, GdiObject* out);

}  // namespace platform::metafile
