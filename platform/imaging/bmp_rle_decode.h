// BMP files whose pixels are compressed with RLE8 or RLE4, which stb_image does not read: a file
// header, an info header of 40 bytes or more, a colour table, and run-length rows
// (run_length_rows.h). Pixels the rows skip are transparent; a file cut before its end-of-bitmap
// escape, or whose runs pass a row's end, is refused before the picture's memory is taken. Every
// other BMP goes to stb_image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::imaging {

// True for a BMP file whose info header names RLE8 (8 bits a pixel) or RLE4 (4 bits a pixel).
bool IsRunLengthBmp(const uint8_t* data, size_t size);
// The picture's sides from the headers; false when they are damaged.
bool RunLengthBmpSides(const uint8_t* data, size_t size, int* w, int* h);
// The picture as R, G, B, A pixels, top row first; false when damaged or cut short.
bool DecodeRunLengthBmp(const uint8_t* data, size_t size, int* w, int* h,
                        std::vector<uint8_t>* rgba);

}  // namespace platform::imaging
