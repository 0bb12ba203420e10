// Packed colour words taken apart into components.
#include "app/colors.h"

double KvColorComponent(uint32_t word, char letter) {
  int shift;
  switch (letter) {
    case 'R':
    case 'r': shift = 0; break;
    case 'G':
    case 'g': shift = 8; break;
    case 'B':
    case 'b': shift = 16; break;
    case 'A':
    case 'a': shift = 24; break;
    default: return 0;
  }
  return (double)((word >> shift) & 0xFF) / 255.0;
}
