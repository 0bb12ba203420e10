// The two EMF+ gradients as cairo patterns over picture pixels. A linear gradient blends across
// its rectangle, repeated or mirrored beyond it. A path gradient blends from its centre colour out
// to the colours at its boundary's points, as triangles from the centre to each side of the
// boundary (rings of them where a blend or an inner focus shape asks), and paints nothing
// outside the boundary.
#pragma once

#include <cairo.h>

#include "platform/imaging/metafile/emfplus_brush.h"
#include "platform/imaging/metafile/path.h"

namespace platform::metafile {

// The colour a blend of two colours gives at the position (0 to 1), factors applied.
PlusColor BlendAt(const PlusBlend& blend, PlusColor from, PlusColor to, double position);

// brushToPicture: the brush's transform, then the world's. Null when the pattern cannot be made.
cairo_pattern_t* LinearGradientPattern(const PlusBrush& brush,
                                       const cairo_matrix_t& brushToPicture);
cairo_pattern_t* PathGradientPattern(const PlusBrush& brush, const cairo_matrix_t& brushToPicture);

}  // namespace platform::metafile
