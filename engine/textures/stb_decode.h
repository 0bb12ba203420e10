// The three stb_image calls the engine makes, behind a header of its own; stb_image itself is
// compiled once for the whole program, in platform/imaging (stb_image.cpp forwards to it).
#pragma once

#include <cstddef>
#include <cstdint>

namespace kv::engine::stb {

// The size of an image without decoding it; false when stb_image does not recognise it.
bool Info(const uint8_t* data, size_t size, int* w, int* h);
// The image as RGBA pixels (free with Free), or null.
uint8_t* Decode(const uint8_t* data, size_t size, int* w, int* h);
void Free(uint8_t* pixels);

}  // namespace kv::engine::stb
