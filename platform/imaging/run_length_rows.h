// The run-length rows of bitmaps compressed with RLE8 or RLE4, as BMP files and the bitmaps inside
// metafiles store them: runs of one index (RLE4: two indices taken in turn), absolute runs of
// indices padded to whole words, and escapes for the end of a row, the end of the bitmap and a
// jump right and down. Both the BMP reader and the metafile reader decode them here, under one set
// of rules: pixels the data skips (by a jump, an early end of a row or of the bitmap) are left as
// the caller cleared them; a run may reach into the row's padding (as far as an uncompressed row
// would store, to a whole four-byte word), where writers such as ImageMagick fill it, and those
// pixels are dropped; data that ends before the end-of-bitmap escape, or a run or jump that
// passes the padding or the last row, is refused.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::imaging {

enum class RunLengthCode { Rle8, Rle4 };

struct RunLengthBitmap {
  RunLengthCode code = RunLengthCode::Rle8;
  int width = 0, height = 0;
  bool bottomUp = true;  // the first row of the data is the bitmap's bottom row
};

// True when the data is whole by the rules above, without writing anything: a caller checks a
// file before it takes the memory of the picture its header names.
bool RunLengthWhole(const uint8_t* data, size_t size, const RunLengthBitmap& bitmap);
// Writes the pixels the data gives into pixels (width x height four-byte pixels, top row first),
// each index's four bytes from table (an index past the colour table the caller gives the first
// colour); false, with some pixels written, for data that is not whole.
bool DecodeRunLength(const uint8_t* data, size_t size, const RunLengthBitmap& bitmap,
                     const uint32_t (&table)[256], uint8_t* pixels);

}  // namespace platform::imaging
