// Packed colour words: 32 bits with red in the low byte, then green, then blue, and alpha in the
// high byte. Each component becomes component / 255 when turned into the 0-to-1 values the
// engine's colour states take.
#pragma once

#include <cstdint>

// One component of a packed colour word, 0 to 1: 'R'/'r' the low byte, 'G'/'g' the second,
// 'B'/'b' the third, 'A'/'a' the high byte; 0 for any other letter.
double KvColorComponent(uint32_t word, char letter);
