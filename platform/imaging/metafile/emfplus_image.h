// An EMF+ image object as the brushes and image records use it: its pixels, premultiplied
// B, G, R, A words as cairo keeps them, top row first. ReadImage makes it from the object's
// bitmap (pixels in one of the bitmap pixel formats, or a PNG, JPEG, GIF, BMP or TIFF file read
// by the framework's own decoders) or from the metafile it holds, drawn by this reader at the
// metafile's own size. A metafile image inside a metafile image is not drawn: the reader goes one
// level deep only. A texture brush tiles the image; DrawImage places it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform::metafile {

struct PlusImage {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
};

// Reads an EmfPlusImage object; null when it is damaged, of a kind or format not read, larger
// than the decode budget allows, or a metafile met while a metafile image is being drawn.
std::shared_ptr<const PlusImage> ReadImage(const uint8_t* data, size_t size);

// An image of width x height pixels whose words are not yet written; false when its sides are
// not from 1 to 32767 or its pixels would take more memory than the decode budget allows.
bool MakeImage(int width, int height, PlusImage* out);

}  // namespace platform::metafile
