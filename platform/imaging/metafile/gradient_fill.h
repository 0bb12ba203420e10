// Gradient fills (GradientFill, EMR_GRADIENTFILL): rectangles whose colour runs from one vertex's
// at its left (or top) edge to the other's at its right (or bottom) edge, and triangles whose
// colour is the vertices' mixed by the pixel's place between them (Gouraud shading). The 16-bit
// channels are interpolated linearly and each pixel takes the high byte, at the pixel's top-left
// corner, so a vertex on a pixel's corner gives that pixel its colour exactly; the vertices' alpha
// is not used. Vertices are logical units, mapped as every shape is; the shapes cover the pixels
// a filled polygon covers, within the clip.
#pragma once

#include <cstdint>

#include "platform/imaging/metafile/canvas.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

// Draws the record's rectangles or triangles; a record whose counts, mode or vertex indices are
// out of range, or whose arrays run past its end, is passed over whole.
void PlayGradientFill(Canvas& canvas, RecordReader& r);

}  // namespace platform::metafile
