// Device-independent bitmaps as metafiles carry them: an info header (the old 12-byte one or a
// 40-byte or longer one), a colour table, and rows of 1, 4, 8, 16, 24 or 32 bits a pixel, bottom
// row first unless the height is negative, or compressed with RLE8 or RLE4 (decoded under the BMP
// reader's rules, run_length_rows.h). The pixels become opaque cairo words (A, R, G, B from the
// high byte); a 32-bit pixel's fourth byte is padding, not alpha. Pixels that a compressed bitmap
// skips stay transparent.
#pragma once

#include <cstddef>
#include <cstdint>

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

// The bytes an info header and its colour table take at the start of a packed bitmap; 0 when
// the header is damaged.
size_t DibInfoSize(const uint8_t* info, size_t size);
// Decodes the bitmap whose info header and colour table are info and whose rows are bits; false
// for a damaged or unsupported bitmap, rows shorter than its sides need, run-length rows cut
// short or running past a row's end, a colour table of palette indices (usage 1), or pixels
// beyond the decode budget. With alpha, the fourth byte of a 32-bit pixel is its premultiplied
// alpha (as AlphaBlend takes it).
bool DecodeDib(const uint8_t* info, size_t infoSize, const uint8_t* bits, size_t bitsSize,
               uint32_t usage, DibPixels* out, bool alpha = false);

}  // namespace platform::metafile
