// Device-dependent bitmaps of the old WMF bitmap records (a Bitmap16): a ten-byte header of type,
// width, height, bytes a row, planes and bits a pixel, then rows top first, each padded to a
// 16-bit word. On the device of true colour the picture is drawn on, a monochrome bitmap takes the
// text colour for its 0 bits and the background colour for its 1 bits; a 4-bit one indexes the
// sixteen standard colours; an 8-bit one the system palette (the twenty static colours at both
// ends, the selected palette's entries in between, black beyond them); a 16-bit one holds 5-5-5
// colours, 24 and 32-bit ones B, G, R bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/dc_state.h"
#include "platform/imaging/metafile/dib.h"

namespace platform::metafile {

// Decodes the Bitmap16 whose header is at data and whose rows start bitsAt bytes after it,
// within size bytes, drawing 1 bits in back and 0 bits in fore; false for damage, more than one
// plane, another depth, rows shorter than its sides need, or pixels beyond the decode budget.
bool DecodeBitmap16(const uint8_t* data, size_t size, size_t bitsAt, const DcState& state,
                    Color fore, Color back, DibPixels* out);

}  // namespace platform::metafile
