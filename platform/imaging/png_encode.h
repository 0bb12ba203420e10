// Writing PNG files with libpng, into memory: 8-bit R, G, B, A, zlib's default level and libpng's
// own choice of row filters.
#pragma once

#include <cstdint>
#include <string>

namespace platform::imaging {

// Encodes w x h R, G, B, A pixels (rows packed, top first) into out; false on failure.
bool EncodePng(const uint8_t* rgba, int w, int h, std::string* out);

}  // namespace platform::imaging
