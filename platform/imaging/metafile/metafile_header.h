// The opening of a metafile: which of the two formats it is, the size of its picture at 96 dots
// an inch, and how the device units its records draw in land on that picture. A placeable WMF
// gives a box in its own units and how many of them make an inch; an EMF gives a frame in
// hundredths of a millimetre and the size of the device it was made for, in pixels and in
// millimetres, which fixes how large its device units are.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::metafile {

enum class Kind { Wmf, Emf };

struct Header {
  Kind kind = Kind::Emf;
  int width = 0;  // of the picture, in pixels
  int height = 0;
  // Picture pixel = device unit * scale + offset, on each axis.
  double scaleX = 1, scaleY = 1, offsetX = 0, offsetY = 0;
  // Device units in a millimetre, for the metric mapping modes.
  double unitsPerMmX = 1, unitsPerMmY = 1;
  // The box a WMF's window and viewport start as (device units); an EMF's start at 0 and 1.
  int32_t boxLeft = 0, boxTop = 0, boxWidth = 1, boxHeight = 1;
  uint32_t objectCount = 0;  // entries of the object table
  size_t firstRecord = 0;    // offset of the first record after the header
};

// True for a placeable WMF (by its key), a WMF without it (by its header's type, size and
// version) or an EMF (by its header record and signature).
bool IsMetafile(const uint8_t* data, size_t size);
// The header of a metafile; false when it is not one, or its header is damaged, or its picture
// would be empty or larger than a side of 32767 pixels. A WMF without the placeable header takes
// the extent of its first window, one unit a pixel; without a window extent it is refused.
bool ReadHeader(const uint8_t* data, size_t size, Header* out);

}  // namespace platform::metafile
