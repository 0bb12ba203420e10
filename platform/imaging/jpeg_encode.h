// Writing JPEG files with libjpeg-turbo, into memory: baseline, quality 75, colours subsampled
// 2 x 2 (the library's defaults); alpha is dropped.
#pragma once

#include <cstdint>
#include <string>

#include "platform/imaging/pixel_order.h"

namespace platform::imaging {

// Encodes w x h pixels, read straight from their rows in either order, into out; false on failure
// or for a side longer than a JPEG can say (65500).
bool EncodeJpeg(const PixelRows& rows, int w, int h, std::string* out);
// The same for R, G, B, A pixels, rows packed, top first.
bool EncodeJpeg(const uint8_t* rgba, int w, int h, std::string* out);

}  // namespace platform::imaging
