// Device-independent bitmaps as metafiles carry them: an info header (the old 12-byte one or a
// 40-byte or longer one), a colour table (of colours, or of 16-bit indices into the selected
// palette), and rows of 1, 4, 8, 16, 24 or 32 bits a pixel, bottom row first unless the height
// is negative, or compressed with RLE8 or RLE4 (decoded under the BMP
// reader's rules, run_length_rows.h), or a whole JPEG or PNG picture. The pixels become
// opaque cairo words (A, R, G, B from the high byte); a 32-bit pixel's fourth byte is padding,
// not alpha. Pixels that a run-length bitmap skips stay transparent, as do a PNG's transparent
// ones.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/gdi_objects.h"

namespace platform::metafile {

class DibPixels {
 public:
  DibPixels() = default;
  ~DibPixels();
  DibPixels(const DibPixels&) = delete;
  DibPixels& operator=(const DibPixels&) = delete;

  int width = 0, height = 0;
  bool bottomUp = true;        // as the file stores the rows (pixels are top row first)
  uint32_t* pixels = nullptr;  // width * height words, top row first
};

// The bytes an info header and its colour table take at the start of a packed bitmap whose
// table is of colours (usage 0) or palette indices (usage 1); 0 when the header is damaged.
size_t DibInfoSize(const uint8_t* info, size_t size, uint32_t usage = 0);
// Decodes the bitmap whose info header and colour table are info and whose rows are bits; false
// for a damaged or unsupported bitmap, rows shorter than its sides need, run-length rows cut
// short or running past a row's end, a JPEG or PNG picture
// that is damaged or not of the header's sides, another usage than 0 or 1, or pixels beyond the
// decode budget. With alpha, the fourth byte of a 32-bit pixel is its premultiplied alpha (as
// AlphaBlend takes it). A table of palette indices (usage 1) names entries of palette (the
// default palette when null).
bool DecodeDib(const uint8_t* info, size_t infoSize, const uint8_t* bits, size_t bitsSize,
               uint32_t usage, DibPixels* out, bool alpha = false,
               const Palette* palette = nullptr);
// Decodes a mask: a bitmap of 1 bit a pixel whose 1 bits become white and 0 bits black,
// whatever its colour table holds; false for another depth or a damaged bitmap.
bool DecodeMask(const uint8_t* info, size_t infoSize, const uint8_t* bits, size_t bitsSize,
                DibPixels* out);

}  // namespace platform::metafile
