// An EMF+ image object as the brushes and image records use it: its pixels, premultiplied
// B, G, R, A words as cairo keeps them, top row first. The image reader (beside this file) makes
// it from the object's bitmap or metafile; a texture brush tiles it.
#pragma once

#include <cstdint>
#include <vector>

namespace platform::metafile {

struct PlusImage {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
};

}  // namespace platform::metafile
