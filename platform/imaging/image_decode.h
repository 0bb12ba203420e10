// Every image file the imaging calls read, told apart by its first bytes, and the decoder of
// each: JPEG by libjpeg-turbo, PNG by libpng, GIF by giflib, TIFF by libtiff, icon files by a
// reader of ours, metafiles (WMF, EMF) by a reader of ours drawing through cairo, run-length BMP
// by a reader of ours, other BMP and TGA by stb_image. Each keeps the same discipline: a file
// cut short is refused, and a header naming a picture that the file's data cannot fill is
// refused before the picture's memory is taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/imaging/pixel_order.h"
#include "platform/runtime/byte_block.h"

namespace platform::imaging {

enum class ImageFormat { Png, Jpeg, Gif, Bmp, Tga, Tiff, Ico, Metafile };

// The format a file's first bytes name. A TGA, which has no signature, is what is left.
ImageFormat FormatOf(const uint8_t* data, size_t size);
// The sides of the picture a decode gives, without decoding; false for a file that is none of
// those formats or whose header is damaged.
bool ImageSides(const uint8_t* data, size_t size, int* w, int* h);
// The picture as four-byte pixels in the given order with straight alpha, top row first, in a
// block made for it; false (the block empty) when it cannot be decoded, is cut short or damaged.
// JPEG and PNG are decoded straight into the block in that order; the other formats' pixels are
// copied into it once.
bool DecodeImage(const uint8_t* data, size_t size, PixelOrder order, int* w, int* h,
                 ByteBlock* pixels);
// The same picture as R, G, B, A pixels in a vector; false (the vector empty) as above.
bool DecodeImage(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba);

}  // namespace platform::imaging
