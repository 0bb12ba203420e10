// The patterns of hatched and pattern brushes: a hatch is an 8 x 8 pixel tile of lines in the
// brush's colour over the background colour (or over nothing, in transparent background mode);
// a pattern brush repeats its picture. Both are laid from the picture's top-left corner.
#pragma once

#include <cairo.h>

#include "platform/imaging/metafile/gdi_objects.h"

namespace platform::metafile {

// A repeating cairo pattern for the brush (to be destroyed by the caller); null for another
// brush, an unknown hatch or an empty picture. A monochrome pattern takes the text colour (fore)
// for its 0 bits and the background colour for its 1 bits.
cairo_pattern_t* BrushPattern(const Brush& brush, bool opaqueBack, Color back, Color fore);

}  // namespace platform::metafile
