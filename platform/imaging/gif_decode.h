// GIF files through giflib: the first image, on a canvas of the file's screen size. Pixels of the
// transparent colour, and of colours the table lacks, are transparent black; pixels outside the
// image take the background colour when the file names one (else transparent black). The file
// must hold everything up to the end of that image's data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::imaging {

// True for a file that starts with a GIF signature.
bool IsGif(const uint8_t* data, size_t size);
// The screen sides a GIF's header gives; false when it has none.
bool GifSides(const uint8_t* data, size_t size, int* w, int* h);
// The first image as R, G, B, A pixels, top row first; false when damaged or cut short.
bool DecodeGif(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba);

}  // namespace platform::imaging
