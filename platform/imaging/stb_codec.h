// The program's one compilation of stb_image and stb_image_write, behind functions of its own:
// decoding BMP and TGA files in memory into R, G, B, A pixels, and encoding R, G, B, A pixels as
// BMP or TGA through a byte sink. image_decode.h chooses it for BMP and TGA files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::stb {

// The size of a BMP or TGA image without decoding it; false when it is neither. A BMP stored top row first has a positive height here too.
bool Info(const uint8_t* data, size_t size, int* w, int* h);
// The image as R, G, B, A pixels, top row first whatever the order the file stores its rows in
// (free with Free); null when it cannot be decoded, when the decoder needed bytes past the end
// of the file (whatever the format), when the file is too short for the picture its header
// describes, or when decoding it would take more memory than that picture needs.
uint8_t* Decode(const uint8_t* data, size_t size, int* w, int* h);
void Free(uint8_t* pixels);

enum class Format { Bmp, Tga };
// Encodes w x h R, G, B, A pixels (rows packed, top first) into out; false on failure.
bool Encode(Format format, const uint8_t* rgba, int w, int h, std::string* out);

}  // namespace platform::stb
