// PNG files through libpng: every colour type and depth, interlaced or not, with tRNS
// transparency; 16-bit samples keep their high byte. Before any memory is taken for the picture
// the file's chunks are walked: the file must hold them all up to IEND, with compressed data
// enough for its picture and not far more than the picture needs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/pixel_order.h"
#include "platform/runtime/byte_block.h"

namespace platform::imaging {

// True for a file that starts with the PNG signature.
bool IsPng(const uint8_t* data, size_t size);
// The sides in a PNG's header; false when the header is missing or damaged.
bool PngSides(const uint8_t* data, size_t size, int* w, int* h);
// The picture as four-byte pixels in the given order with straight alpha, top row first,
// decoded straight into a block made for it; false when damaged or cut short.
bool DecodePng(const uint8_t* data, size_t size, PixelOrder order, int* w, int* h,
               ByteBlock* pixels);

}  // namespace platform::imaging
