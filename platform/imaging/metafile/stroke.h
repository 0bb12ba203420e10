// Outlining flattened figures on cairo so that no single stroke call grows without bound. cairo
// builds the whole outline of a stroke (every dash, every round join's fan of points) before it
// fills it, so a thousand points of a wide or finely dashed pen could make it take hundreds of
// megabytes at once. Here figures go to cairo in calls of a bounded number of edges, and dashes
// are laid by us, only where they can reach the picture.
#pragma once

#include <cairo.h>

#include <vector>

#include "platform/imaging/metafile/path.h"

namespace platform::metafile {

struct PenShape {
  double width = 1;  // pixels
  cairo_line_cap_t cap = CAIRO_LINE_CAP_ROUND;
  cairo_line_join_t join = CAIRO_LINE_JOIN_ROUND;
  double miterLimit = 10;
  // Lengths in pixels, drawn first, then a gap, and so on, starting afresh on each figure; empty
  // for a solid line. Dashes have flat ends.
  std::vector<double> dashes;
};

// Strokes the figures with cairo's current source as one cairo_stroke of them all would, within
// view (where drawing can show).
void StrokeFigures(cairo_t* cr, const std::vector<FlatFigure>& figures, const PenShape& pen,
                   const Box& view);

}  // namespace platform::metafile
