// The least a complete image file holds, by what its header says: checked before the decoder
// allocates anything. A file cut short is refused by the decode itself, which notes whether the
// decoder needed bytes past the end (image_reader.h); but by then the decoder has allocated and
// filled the whole picture its header claims, which a few bytes could make hundreds of megabytes.
// A JPEG also needs this check to be refused at all: its decoder stops at an end marker without
// reading further and makes up the rest of a picture whose data was cut off before that marker.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::imaging {

// True when the file of size bytes is long enough to hold a w x h image in its format (PNG and
// GIF have no such bound and always pass; the decode refuses them when cut short).
bool LongEnough(const uint8_t* data, size_t size, int w, int h);

}  // namespace platform::imaging
