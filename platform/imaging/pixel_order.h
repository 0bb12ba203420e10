// The order of a four-byte pixel's colour bytes in memory: R, G, B, A as engine textures and the
// decoders' callers keep them, or B, G, R, A as the imaging calls' bitmaps do. Decoders and
// encoders whose library can read or write either order are told which; for the others, pixels
// are copied across once, swapping the first and third bytes of each.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::imaging {

enum class PixelOrder { Rgba, Bgra };

// Rows of four-byte pixels: where the top row starts, the bytes from one row to the next, and
// the order of each pixel's bytes.
struct PixelRows {
  const uint8_t* top;
  size_t stride;
  PixelOrder order;
};

// Copies w x h pixels from the rows into packed rows at out in the order `to`: a plain copy when
// the orders agree, the first and third bytes of each pixel swapped when they differ.
void CopyPixels(const PixelRows& from, int w, int h, PixelOrder to, uint8_t* out);

}  // namespace platform::imaging
