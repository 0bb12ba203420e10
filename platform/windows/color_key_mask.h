// The shape of a colour-keyed window: which pixels of a frame keep showing (every pixel whose
// colour is not the key) as a 1-bit mask. Internal to platform/.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/winapi/types.h"

namespace platform {

// The mask of the pixels of a w x h frame (32-bit pixels, bytes blue, green, red, alpha, rows top
// first) whose colour differs from the key (COLORREF: red in the low byte); alpha is not compared.
// Rows of (w + 7) / 8 bytes, top first, the first pixel of a byte in its lowest bit. Empty when no
// pixel has the key colour: the window keeps its whole rectangle.
std::vector<uint8_t> ColorKeyMask(const uint8_t* pixels, int w, int h, COLORREF key);

}  // namespace platform
