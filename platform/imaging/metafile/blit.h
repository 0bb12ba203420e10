// Bitmaps and raster operations on the picture. A bitmap is placed on the picture (on a rectangle
// in logical units, on a parallelogram, or pixel for pixel on device pixels) without smoothing,
// and combined with what is drawn and with the brush by a ternary raster operation (see
// raster_ops.h for the operations and for what they do where nothing is drawn yet); a mask
// bitmap may choose between two operations pixel by pixel. A copy is painted straight; the other
// operations go through scratch layers over the pixels they reach.
#pragma once

#include <cstdint>

#include "platform/imaging/metafile/canvas.h"
#include "platform/imaging/metafile/dib.h"

namespace platform::metafile {

struct BlitArea {
  double x = 0, y = 0, w = 0, h = 0;              // destination, logical units
  double srcX = 0, srcY = 0, srcW = 0, srcH = 0;  // source, bitmap pixels from its top-left
};

// The bitmap's source rectangle stretched onto the destination under the raster operation.
void DrawBitmap(Canvas& canvas, const DibPixels& bitmap, const BlitArea& area, uint32_t rop);
// AlphaBlend: the bitmap (premultiplied alpha) drawn over the picture at a constant opacity.
void BlendBitmap(Canvas& canvas, const DibPixels& bitmap, const BlitArea& area, double opacity);
// A raster operation without a source bitmap over the destination (PatBlt); one that takes a
// source is passed over.
void FillArea(Canvas& canvas, double x, double y, double w, double h, uint32_t rop);
// MaskBlt: the bitmap (null when neither operation takes a source) unstretched on the
// destination from its pixel (srcX, srcY), under the foreground operation of rop4 where the
// mask's bit is 1 and its background operation where it is 0; the mask's pixel (maskX, maskY)
// lies on the destination's corner. Without a mask, the foreground operation everywhere.
void DrawMasked(Canvas& canvas, const DibPixels* bitmap, const DibPixels* mask, BlitArea area,
                double maskX, double maskY, uint32_t rop4);
// PlgBlt: the source rectangle onto the parallelogram whose top-left, top-right and bottom-left
// corners are given in logical units; where the mask's bit is 0 the picture is left as it was.
void DrawOnParallelogram(Canvas& canvas, const DibPixels& bitmap, const DibPixels* mask,
                         const PointD corners[3], const BlitArea& source, double maskX,
                         double maskY);
// SetDIBitsToDevice: the source rectangle copied pixel for pixel onto device pixels, its top-left
// corner at the logical point (x, y).
void DrawOnDevice(Canvas& canvas, const DibPixels& bitmap, const BlitArea& area);
// TransparentBlt: as DrawBitmap with a copy, leaving out the bitmap's pixels of one colour.
void DrawWithoutColor(Canvas& canvas, DibPixels* bitmap, const BlitArea& area, Color left);

}  // namespace platform::metafile
