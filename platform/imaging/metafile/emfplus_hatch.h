// The hatch styles of EMF+ brushes, each an 8 x 8 pixel tile of foreground over background: the
// six line hatches GDI also has, shades by percentage, and patterned tiles drawn after their
// names. One table from style number to tile; a number beyond it is no hatch.
#pragma once

#include <cstdint>

namespace platform::metafile {

constexpr int kHatchTile = 8;
constexpr uint32_t kLastHatchStyle = 52;

// Whether the style's foreground covers pixel (x, y) of its tile.
bool HatchCovers(uint32_t style, int x, int y);

}  // namespace platform::metafile
