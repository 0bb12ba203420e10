// EMF+ bitmaps of pixels: rows top first, each stride bytes after the one before, in one of the
// bitmap pixel formats: 1, 4 and 8-bit indices into the palette the bitmap carries before its
// rows; 16-bit grey; 5-5-5, 5-6-5 and 1-5-5-5 words; 24 and 32-bit colours with no, straight or
// premultiplied alpha; 48 and 64-bit colours of 16-bit channels, with no, straight or
// premultiplied alpha. Each pixel becomes the premultiplied word an image keeps.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/emfplus_image.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

// The bitmap's sides, the distance from one row to the next and its pixel format, as its object
// gives them.
struct BitmapLayout {
  int32_t width = 0, height = 0, stride = 0;
  uint32_t format = 0;
};

// Reads the bitmap data (an indexed format's palette, then the rows) from at; false for a pixel
// format not listed, a stride shorter than a row, rows or a palette running past the data, or
// pixels beyond the decode budget.
bool ReadPixelBitmap(RecordReader& r, size_t at, const BitmapLayout& layout, PlusImage* out);

}  // namespace platform::metafile
