// The C standard's sample generator: next = next * 1103515245 + 12345, value = next / 65536
// modulo 32768, on 32-bit unsigned arithmetic.
#include "platform/runtime/random.h"

#include <cstdint>

namespace platform {
namespace {

uint32_t& State() {
  static uint32_t next = 1;
  return next;
}

}  // namespace

void SeedRand(unsigned int seed) { State() = static_cast<uint32_t>(seed); }

int Rand() {
  uint32_t& next = State();
  next = next * 1103515245u + 12345u;
  return static_cast<int>((next / 65536u) % 32768u);
}

}  // namespace platform
