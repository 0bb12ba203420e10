// Plays the records of an EMF onto a canvas. Records the player does not know, and records too
// short for their fields, are passed over; so are the EMF+ records a dual file carries in its
// comments, as its EMF records draw the same picture.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/canvas.h"
#include "platform/imaging/metafile/metafile_header.h"

namespace platform::metafile {

// True for an EMF whose EMF+ header says it holds EMF+ records only (no EMF drawing of its own).
bool EmfPlusOnly(const Header& header, const uint8_t* data, size_t size);
// Plays every record up to the end-of-file record; the structure was checked by RecordsWhole.
void PlayEmf(Canvas& canvas, const uint8_t* data, size_t size);

}  // namespace platform::metafile
