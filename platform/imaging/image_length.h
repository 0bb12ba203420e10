// The least a complete image file holds, by what its header says. stb_image decodes a TGA or BMP
// that ends early as if the missing pixels were black, and a JPEG whose entropy-coded data runs
// out as grey, so a few bytes could pass for a full-size image and have the decoder allocate and
// fill all of it. Every decode is checked against this first.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::stb {

// True when the file of size bytes is long enough to hold a w x h image in its format (PNG and
// GIF have no such bound and always pass; their decoders find a short file themselves).
bool LongEnough(const uint8_t* data, size_t size, int w, int h);

}  // namespace platform::stb
