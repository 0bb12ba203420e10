// Plays the records of an EMF onto a canvas. Records the player does not know, and records too
// short for their fields, are passed over; so are comments, EMF+ ones included (a file with
// EMF+ records is played by the EMF+ player, which hands this one its GetDC segments).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/canvas.h"
#include "platform/imaging/metafile/metafile_header.h"
#include "platform/imaging/metafile/record_walk.h"

namespace platform::metafile {

// Plays every record up to the end-of-file record; the structure was checked by RecordsWhole.
void PlayEmf(Canvas& canvas, const uint8_t* data, size_t size);
// Plays one record.
void PlayEmfRecord(Canvas& canvas, const RecordSpan& record);

}  // namespace platform::metafile
