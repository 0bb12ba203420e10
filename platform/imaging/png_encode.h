// Writing PNG files with libpng, into memory: 8-bit R, G, B, A, zlib's default level and libpng's
// own choice of row filters.
#pragma once

#include <cstdint>
#include <string>

#include "platform/imaging/pixel_order.h"

namespace platform::imaging {

// Encodes w x h pixels, read straight from their rows in either order, into out; false on
// failure.
bool EncodePng(const PixelRows& rows, int w, int h, std::string* out);
// The same for R, G, B, A pixels, rows packed, top first.
bool EncodePng(const uint8_t* rgba, int w, int h, std::string* out);

}  // namespace platform::imaging
