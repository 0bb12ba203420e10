// EMF+ pens: a width in a unit (world units scale with the transform, other units do not), caps
// for each end, a join and miter limit, a dash style or pattern in units of the width, an
// alignment (centred on the line, or inset inside closed figures), compound stripes across the
// width, and the brush it paints with.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/imaging/metafile/emfplus_brush.h"
#include "platform/imaging/metafile/emfplus_units.h"

namespace platform::metafile {

enum PlusLineCap : uint32_t {
  kCapFlat = 0,
  kCapSquare = 1,
  kCapRound = 2,
  kCapTriangle = 3,
  kCapNoAnchor = 0x10,
  kCapSquareAnchor = 0x11,
  kCapRoundAnchor = 0x12,
  kCapDiamondAnchor = 0x13,
  kCapArrowAnchor = 0x14,
  kCapCustom = 0xFF,
};

enum PlusLineJoin : uint32_t {
  kJoinMiter = 0,
  kJoinBevel = 1,
  kJoinRound = 2,
  kJoinMiterClipped = 3,
};

enum PlusLineStyle : uint32_t {
  kLineSolid = 0,
  kLineDash = 1,
  kLineDot = 2,
  kLineDashDot = 3,
  kLineDashDotDot = 4,
  kLineCustom = 5,
};

enum PlusPenAlignment : uint32_t {
  kAlignCenter = 0,
  kAlignInset = 1,
};

struct PlusPen {
  double width = 1;
  uint32_t unit = kUnitWorld;
  cairo_matrix_t transform{1, 0, 0, 1, 0, 0};
  uint32_t startCap = kCapFlat, endCap = kCapFlat;
  uint32_t join = kJoinMiter;
  double miterLimit = 10;
  uint32_t lineStyle = kLineSolid;
  uint32_t dashCap = kCapFlat;
  double dashOffset = 0;       // in widths
  std::vector<double> dashes;  // a custom pattern, in widths
  uint32_t alignment = kAlignCenter;
  std::vector<double> compound;  // stripe edges across the width, from 0 to 1, in pairs
  PlusBrush brush;
};

// Reads an EmfPlusPen object; null when it is damaged.
std::shared_ptr<const PlusPen> ReadPen(const uint8_t* data, size_t size);

}  // namespace platform::metafile
