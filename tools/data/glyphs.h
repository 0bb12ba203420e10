// The 5 x 7 pixel glyph table from which the game's bitmap font and the intro logo are drawn:
// printable ASCII, 32 to 126. Each glyph is five columns; bit 0 of a column is its top row.
#pragma once

#include <cstdint>

namespace data {

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;
constexpr int kFirstGlyph = 32;
constexpr int kLastGlyph = 126;

// True when the pixel (column, row) of character c is set; false outside the table.
bool GlyphPixel(unsigned char c, int column, int row);

}  // namespace data
