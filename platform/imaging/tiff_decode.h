// Decoding TIFF files with libtiff, from memory, under the same discipline as every other
// format: the whole file's layout is checked first (a file cut short anywhere is refused), the
// first page must carry enough compressed data for the picture it names before the picture's
// memory is taken, no block libtiff allocates may exceed the decode budget, and any error libtiff
// reports refuses the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::imaging {

// The first page as R, G, B, A pixels with straight alpha, its rows in the order the file
// stores them (the orientation tag is not applied); false when the file is damaged, cut short,
// uses a compression other than none, LZW, Deflate, PackBits, JPEG or CCITT fax, or is one that
// libtiff cannot turn into colours.
bool DecodeTiff(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba);

}  // namespace platform::imaging
