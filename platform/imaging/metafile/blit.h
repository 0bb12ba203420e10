// Bitmaps and raster operations on the picture. A bitmap is stretched from its source rectangle
// onto a destination rectangle in logical units, pixel for pixel without smoothing. The raster
// operations combine it with what is drawn: copy, and the masking pair OR (SRCPAINT) and AND
// (SRCAND), with XOR and the inverted copy. Where nothing is drawn yet, AND treats the picture
// as white and OR and XOR as black, so a masked picture drawn with the pair leaves the
// transparent background wherever its mask leaves the destination alone.
#pragma once

#include <cstdint>

#include "platform/imaging/metafile/canvas.h"
#include "platform/imaging/metafile/dib.h"

namespace platform::metafile {

struct BlitArea {
  double x = 0, y = 0, w = 0, h = 0;              // destination, logical units
  double srcX = 0, srcY = 0, srcW = 0, srcH = 0;  // source, bitmap pixels from its top-left
};

void DrawBitmap(Canvas& canvas, const DibPixels& bitmap, const BlitArea& area, uint32_t rop);
// AlphaBlend: the bitmap (premultiplied alpha) drawn over the picture at a constant opacity.
void BlendBitmap(Canvas& canvas, const DibPixels& bitmap, const BlitArea& area, double opacity);
// A raster operation without a source bitmap over the destination: the brush (PATCOPY), black,
// white; others are passed over.
void FillArea(Canvas& canvas, double x, double y, double w, double h, uint32_t rop);

}  // namespace platform::metafile
