// What an EMF+ brush paints, as a cairo pattern over picture pixels: a colour, a hatch tile laid
// from the rendering origin, a gradient or a texture placed by the brush's transform and the
// world transform.
#pragma once

#include <cairo.h>

#include "platform/imaging/metafile/emfplus_brush.h"
#include "platform/imaging/metafile/path.h"

namespace platform::metafile {

// The brush's pattern (to be destroyed by the caller), a hatch laid from origin (picture pixels);
// null for a brush that paints nothing: a texture without its image, or a path gradient too
// detailed to lay out.
cairo_pattern_t* PlusBrushPattern(const PlusBrush& brush, const cairo_matrix_t& worldToPicture,
                                  PointD origin);

}  // namespace platform::metafile
