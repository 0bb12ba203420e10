// The EMF records of raster drawing beyond the common bitmap records: SetDIBitsToDevice, MaskBlt,
// PlgBlt and TransparentBlt, the palette records (CreatePalette, SelectPalette, RealizePalette,
// SetPaletteEntries, ResizePalette) and the mix mode (SetROP2). The source bitmap's transform
// (XformSrc) is taken as the identity, as the writers write it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/canvas.h"
#include "platform/imaging/metafile/dib.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

// The bitmap a record places by the four fields from fields on (offset and size of its info
// header, offset and size of its bits, counted from the record's start); a table of palette
// indices names the selected palette's entries. False when it is missing or damaged.
bool RecordDib(Canvas& canvas, RecordReader& r, size_t fields, uint32_t usage, DibPixels* pixels,
               bool alpha = false);
// Plays the record when it is one of those above; false for any other type.
bool PlayEmfRasterRecord(Canvas& canvas, uint32_t type, RecordReader& r);

}  // namespace platform::metafile
