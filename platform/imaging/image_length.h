// The least a complete BMP, TGA or JPEG file holds, by what its header says: checked before the
// decoder allocates anything. A file cut short is refused by the decode itself, which notes
// whether the decoder needed bytes past the end (or, for JPEG, whether a scan's data ran out
// before its picture); but by then the decoder has allocated and filled the whole picture its
// header claims, which a few bytes could make hundreds of megabytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::imaging {

// True when the file of size bytes is long enough to hold a w x h image in its format (PNG and
// GIF always pass: the PNG decoder walks its chunks itself, and a GIF has no such bound).
bool LongEnough(const uint8_t* data, size_t size, int w, int h);

}  // namespace platform::imaging
