// Plays the records of a placeable WMF onto a canvas. Parameters of a WMF record come in reverse
// order (the last argument of the call first); records the player does not know, and records too
// short for their parameters, are passed over.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/canvas.h"

namespace platform::metafile {

// Plays every record up to the end-of-file record; the structure was checked by RecordsWhole.
void PlayWmf(Canvas& canvas, const uint8_t* data, size_t size);

}  // namespace platform::metafile
