// Metafiles as pictures: a placeable WMF or an EMF drawn as GDI draws it, an EMF with EMF+
// records as GDI+ draws it, at its own size at 96 dots an inch, on a transparent background. The image decode hands them here by their first
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
// header, a file cut short or with a record (EMF+ records included) running past its end, or a
// picture beyond the decode budget.
bool DecodeMetafile(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba);
// The largest block a metafile decode may take: a picture's, and besides what its shapes need,
// which grows with the points in the file (cairo takes up to a hundred bytes for each edge of a
// shape, and a point takes four bytes of a file at the least).
size_t MetafileBlockLimit(int w, int h, size_t fileSize);

}  // namespace platform::metafile
