// Drawing with regions, pixel by pixel as GDI does: a region's frame (FrameRgn) and the inversion
// of the colours under a region (InvertRgn). Regions come as their rectangles (left, top, right,
// bottom) in device units; a rectangle covers the pixels whose centres it holds, as a filled
// shape does. Both work within the clip, on masks and scratch pixels from the decode budget; a
// picture whose masks the budget refuses fails.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/imaging/metafile/canvas.h"

namespace platform::metafile {

// Paints with the brush the region's pixels that lie within width (logical units, across) or
// height (down) of its outside: a frame that many pixels thick along each of its edges.
void FrameRegion(Canvas& canvas, const std::vector<int32_t>& deviceRects, const Brush& brush,
                 double width, double height);
// Inverts the colour of each pixel in the region. A pixel where nothing is drawn reads as white,
// the page's colour (as a flood fill reads it), and so becomes black; one partly covered reads as
// its colour over white.
void InvertRegion(Canvas& canvas, const std::vector<int32_t>& deviceRects);

}  // namespace platform::metafile
