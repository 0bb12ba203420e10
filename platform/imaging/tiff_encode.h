// Writing TIFF files with libtiff, into memory: 32-bit R, G, B, A pixels with unassociated
// alpha, LZW-compressed, so that every pixel and its alpha read back exactly.
#pragma once

#include <cstdint>
#include <string>

namespace platform::imaging {

// Encodes w x h R, G, B, A pixels (rows packed, top first) into out; false on failure.
bool EncodeTiff(const uint8_t* rgba, int w, int h, std::string* out);

}  // namespace platform::imaging
