// EMF+ brushes: a solid colour, a hatch of two colours, a texture (an image object, tiled), a
// linear gradient along a rectangle and a path gradient from a centre out to a boundary. Colours
// carry alpha. Gradients blend their two colours by factors at positions, or take preset colours
// at positions instead; a brush's own transform places it in world space.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/imaging/metafile/emfplus_objects.h"
#include "platform/imaging/metafile/emfplus_path.h"

namespace platform::metafile {

// A colour with straight alpha.
struct PlusColor {
  uint8_t r = 0, g = 0, b = 0, a = 0;
};

// An ARGB word as EMF+ writes it: blue in the low byte, alpha in the high one.
inline PlusColor PlusColorOf(uint32_t argb) {
  return PlusColor{static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
                   static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 24)};
}

enum class BrushType : uint32_t {
  Solid = 0,
  Hatch = 1,
  Texture = 2,
  PathGradient = 3,
  LinearGradient = 4,
};

// How a gradient or texture repeats beyond its rectangle or boundary.
enum PlusWrap : uint32_t {
  kWrapTile = 0,
  kWrapFlipX = 1,
  kWrapFlipY = 2,
  kWrapFlipXY = 3,
  kWrapClamp = 4,
};

// Positions from 0 to 1 with a factor each (0 the first colour, 1 the second) or a preset
// colour each; empty for a straight blend of the two colours.
struct PlusBlend {
  std::vector<double> positions;
  std::vector<double> factors;
  std::vector<PlusColor> colors;
};

struct PlusBrush {
  BrushType type = BrushType::Solid;
  // The solid colour; a hatch's foreground; a linear gradient's start; a path gradient's centre.
  PlusColor color;
  // A hatch's background; a linear gradient's end.
  PlusColor second;
  uint32_t hatch = 0;
  uint32_t wrap = kWrapTile;
  cairo_matrix_t transform{1, 0, 0, 1, 0, 0};  // brush space to world space
  // A linear gradient runs across this rectangle, from its left edge to its right edge.
  double x = 0, y = 0, w = 0, h = 0;
  // Linear: along the rectangle. Path: from the boundary (0) to the centre (1).
  PlusBlend blend;
  // A path gradient's centre, boundary and the colours at the boundary's points (the last one
  // repeated for the points beyond), and the scales of the inner shape that takes the centre
  // colour (0 for a centre point).
  PointD centre;
  std::shared_ptr<const PlusPath> boundary;
  std::vector<PlusColor> surround;
  double focusX = 0, focusY = 0;
  // A texture brush's image; null where no image reader took it, and the brush fills nothing.
  std::shared_ptr<const PlusImage> texture;
};

// Reads an EmfPlusBrush object; null when it is damaged or of a type not known.
std::shared_ptr<const PlusBrush> ReadBrush(const uint8_t* data, size_t size);
// A brush of one colour, as the records that carry a colour in place of a brush slot give.
PlusBrush SolidBrush(uint32_t argb);

}  // namespace platform::metafile
