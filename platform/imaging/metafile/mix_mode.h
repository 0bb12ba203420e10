// Pens and brushes under a mix mode (SetROP2) other than a copy: the shape is filled or stroked
// on a scratch layer over the pixels it can reach, and each pixel it covers is combined with the
// picture bit by bit (an exclusive-or drawn twice leaves the picture as it was). Filling and
// outlining end here from paint.h when the state's mode asks for it.
#pragma once

#include <cairo.h>

#include "platform/imaging/metafile/dc_state.h"
#include "platform/imaging/metafile/path.h"

namespace platform::metafile {

// As FillWithBrush and StrokeWithPen, under state.rop2; false when the shape's outline takes more
// memory than the decode budget allows.
bool FillMixed(cairo_t* cr, const Path& outline, const Brush& brush, const DcState& state,
               bool winding);
bool StrokeMixed(cairo_t* cr, const Path& outline, const DcState& state,
                 const cairo_matrix_t& toPicture);

}  // namespace platform::metafile
