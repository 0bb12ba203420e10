// Decoding icon files (.ico): a directory of images of several sizes and colour depths, of which
// the one with the most pixels is taken, and among those the one with the most colour bits. An
// image is a bottom-up bitmap of 1, 4, 8, 16, 24 or 32 bits a pixel followed by a 1-bit AND mask
// (set bits are transparent), or a PNG file. A 32-bit image whose alpha is not all zero carries
// its own transparency; every other image takes it from the mask.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::imaging {

// True for an icon file, by its header.
bool IsIco(const uint8_t* data, size_t size);
// The sides of the image that a decode takes; false when the file is not an icon or its
// directory is damaged.
bool IcoSides(const uint8_t* data, size_t size, int* w, int* h);
// That image as R, G, B, A pixels, top row first; false when any directory entry reaches past
// the end of the file, or the image is damaged or shorter than its sides need.
bool DecodeIco(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba);

}  // namespace platform::imaging
