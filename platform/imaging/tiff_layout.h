// The layout of a TIFF file, read from its directories without decoding anything: the sides of
// its first page, and how far into the file its structures reach. Every directory of every page
// is walked, with every tag value stored outside its entry and every strip or tile, so that a
// file cut short anywhere (in its last page too, or in a value the decoder would only warn
// about) is known to be damaged before the decoder starts. Classic TIFF in either byte order;
// the 64-bit variant is not read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::imaging {

struct TiffLayout {
  int width = 0;  // of the first page
  int height = 0;
  size_t end = 0;  // one past the furthest byte that any structure of any page takes
};

// True for a classic TIFF, by its first four bytes.
bool IsTiff(const uint8_t* data, size_t size);
// The file's layout; false when it is not a classic TIFF, when any structure lies past the end of
// the file, when the directories loop or overlap more than the file could hold, when a page's
// strips or tiles lack byte counts (or have a zero one), or when the first page has no sides.
bool ReadTiffLayout(const uint8_t* data, size_t size, TiffLayout* out);

}  // namespace platform::imaging
