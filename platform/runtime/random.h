// The program's random-number generator: the C standard's sample linear congruential generator,
// range 0..32767, so that a seed gives the same sequence on every machine. One per process.
#pragma once

namespace platform {

// The largest value Rand gives.
constexpr int kRandMax = 32767;

// Starts the sequence again from a seed (the generator starts as if seeded with 1).
void SeedRand(unsigned int seed);
// The next number of the sequence, 0..32767.
int Rand();

}  // namespace platform
