// The WMF records of raster drawing beyond the DIB records: BitBlt and StretchBlt with a
// device-dependent bitmap (a Bitmap16) or none, CreatePatternBrush with a Bitmap16, the palette
// records (CreatePalette, SelectPalette, RealizePalette, SetPalEntries and ResizePalette, the
// last two changing the selected palette) and the mix mode (SetROP2).
#pragma once

#include <cstdint>

#include "platform/imaging/metafile/canvas.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

// Plays the record when it is one of those above; false for any other function.
bool PlayWmfRasterRecord(Canvas& canvas, uint32_t function, RecordReader& r);

}  // namespace platform::metafile
