// JPEG files through libjpeg-turbo: baseline and progressive, grey, colour and CMYK, 8 bits a
// sample. The decoder gets the file as one block and is told when it asks for more: a file cut
// short, whose missing end the library would otherwise make up as an end marker and a grey
// picture, is refused, and so is one whose scan data runs out before its picture is complete.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/pixel_order.h"
#include "platform/runtime/byte_block.h"

namespace platform::imaging {

// The sides of a JPEG picture from its headers; false when they are damaged or cut short.
bool JpegSides(const uint8_t* data, size_t size, int* w, int* h);
// The picture as four-byte pixels in the given order, top row first (alpha 255), decoded
// straight into a block made for it; false when damaged, cut short, arithmetic-coded, of more
// than 8 bits a sample or of a colour model other than grey, colour and CMYK.
bool DecodeJpeg(const uint8_t* data, size_t size, PixelOrder order, int* w, int* h,
                ByteBlock* pixels);

}  // namespace platform::imaging
