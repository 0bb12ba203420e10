// Outlining with an EMF+ pen, through the bounded stroking of stroke.h: the pen's width in
// picture pixels (within what a picture can show), its dashes from its style or pattern, its own
// cap at each end of an open figure, its join, inset alignment inside closed figures, compound
// stripes, and its brush. A pen whose colour is not opaque is laid as one coat, so the pieces
// it is stroked in do not darken where they meet.
#pragma once

#include "platform/imaging/metafile/emfplus_graphics.h"
#include "platform/imaging/metafile/emfplus_pen.h"
#include "platform/imaging/metafile/path.h"

namespace platform::metafile {

// Strokes the outline (picture pixels) with the pen under the graphics' state; false when it
// would need more memory than the decode budget allows.
bool StrokePlus(PlusGraphics& graphics, const Path& outline, const PlusPen& pen);

}  // namespace platform::metafile
