// Filling with a brush and outlining with a pen, on cairo, without antialiasing: what every shape
// of a metafile ends in. A mix mode other than a copy in the state combines them with what is
// drawn (mix_mode.h).
#pragma once

#include <cairo.h>

#include "platform/imaging/metafile/dc_state.h"
#include "platform/imaging/metafile/path.h"

namespace platform::metafile {

// Fills the outline with the brush: a colour, a hatch of 8 x 8 picture pixels or a repeated
// pattern, both laid from the brush origin (the picture's top-left corner unless the metafile
// moves it); a null brush fills nothing. Both are
// false, having drawn nothing, when the shape's outline would take more memory than the decode
// budget allows.
bool FillWithBrush(cairo_t* cr, const Path& outline, const Brush& brush, const DcState& state,
                   bool winding);
// Paints the brush through an A8 mask laid on the picture's top-left corner, within the clip.
void MaskWithBrush(cairo_t* cr, cairo_surface_t* mask, const Brush& brush, const DcState& state);
// Outlines with the state's pen, whose width is in the logical units of toPicture (0 and
// cosmetic pens are one pixel wide); a null pen draws nothing.
bool StrokeWithPen(cairo_t* cr, const Path& outline, const DcState& state,
                   const cairo_matrix_t& toPicture);
// The pen's width in picture pixels as StrokeWithPen takes it (possibly not finite): 1 for a
// cosmetic pen or one of width 0 or 1.
double PenPixels(const Pen& pen, const cairo_matrix_t& toPicture);
// For an inside-frame pen wider than a pixel, how far in (logical units, along x and along y) a
// shape's bounding box moves on each side so that the pen lies wholly inside it: half its width.
// 0 and 0 for any other pen.
PointD InsideFrameInset(const Pen& pen, const cairo_matrix_t& toPicture);

}  // namespace platform::metafile
