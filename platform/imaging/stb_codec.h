// The program's one compilation of stb_image and stb_image_write, behind functions of its own:
// decoding image files in memory into R, G, B, A pixels, and encoding R, G, B, A pixels as PNG,
// BMP, JPEG or TGA through a byte sink. The imaging calls of platform/ and the engine's texture
// loader both decode through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::stb {

// The size of an image (PNG, JPEG, BMP, TGA or GIF) without decoding it; false when it is not
// one of those. A BMP stored top row first has a positive height here too.
bool Info(const uint8_t* data, size_t size, int* w, int* h);
// The image as R, G, B, A pixels, top row first whatever the order the file stores its rows in
// (free with Free); null when it cannot be decoded, when the decoder needed bytes past the end
// of the file (whatever the format), when the file is too short for the picture its header
// describes, or when decoding it would take more memory than that picture needs.
uint8_t* Decode(const uint8_t* data, size_t size, int* w, int* h);
void Free(uint8_t* pixels);
// True for a GIF image (by its first bytes).
bool IsGif(const uint8_t* data, size_t size);

enum class Format { Png, Bmp, Jpeg, Tga };
// Encodes w x h R, G, B, A pixels (rows packed, top first) into out; false on failure.
bool Encode(Format format, const uint8_t* rgba, int w, int h, std::string* out);

}  // namespace platform::stb
