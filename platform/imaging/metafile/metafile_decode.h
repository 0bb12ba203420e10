// Metafiles as pictures: a placeable WMF or an EMF drawn as GDI draws it, at its own size at 96
// dots an inch, on a transparent background. The image decode hands them here by their first
// bytes; nothing outside this folder sees cairo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/imaging/metafile/metafile_header.h"  // IsMetafile

namespace platform::metafile {

// The picture's sides without drawing; false when the header is damaged or the picture too large.
bool MetafileSides(const uint8_t* data, size_t size, int* w, int* h);
// The picture as R, G, B, A pixels with straight alpha, top row first; false for a damaged
// header, a file cut short or with a record running past its end, an EMF of EMF+ records only,
// or a picture beyond the decode budget.
bool DecodeMetafile(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba);

}  // namespace platform::metafile
