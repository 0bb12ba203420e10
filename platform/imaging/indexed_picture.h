// A picture as indices into a table of at most 256 colours, as GIF files store it. A picture of
// at most that many colours keeps each exactly, pixels more than half transparent counting as
// one more colour, the transparent one (a colour table has no partial transparency; the others
// become opaque). A picture of more colours is reduced by median cut (median_cut.h), each pixel
// taking the nearest colour of the table, without dithering.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/imaging/median_cut.h"

namespace platform::imaging {

struct IndexedPicture {
  std::vector<Rgb> colours;      // at most 256
  int transparent = -1;          // the index of transparent pixels, -1 when there are none
  std::vector<uint8_t> indices;  // one per pixel
};

// The picture of `count` R, G, B, A pixels as indices.
IndexedPicture ToIndexed(const uint8_t* rgba, size_t count);

}  // namespace platform::imaging
