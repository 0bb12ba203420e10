// Flood fills (ExtFloodFill, and FloodFill as its border mode) over what is drawn so far: the
// pixels connected to a start point, sideways and up and down, are filled with the selected brush.
// A surface fill spreads over pixels of exactly one colour, a border fill over every colour but
// one. A pixel where nothing is drawn reads as white, the page a metafile is drawn for (a partly
// covered one as its colour over white), so a border fill spreads over the transparent background
// and a surface fill of white does too. The fill spreads and paints within the clip only, and
// does nothing when its start is outside the clip or the picture. It walks rows as spans
// (flood_spread.h); a solid brush copied within a clip of rectangles is written straight into
// the picture's pixels, any other brush, mix mode or clip painted through a mask of the filled
// pixels. Its masks, bits and queues come from the decode budget; a picture whose fill needs
// more fails.
#pragma once

#include "platform/imaging/metafile/canvas.h"

namespace platform::metafile {

enum class FloodMode { Border, Surface };

// Fills from (x, y), logical units: over pixels of color (Surface), or up to pixels of color
// (Border).
void FloodFill(Canvas& canvas, double x, double y, Color color, FloodMode mode);

}  // namespace platform::metafile
