// Angles, random numbers, interpolation and bit arrays. The engine's vector functions are in
// engine_vectors.cpp.
#include "foundation/small_math.h"

#include <ctime>

#include "platform/runtime/random.h"

double KvDegToRadD(double x) { return x * 3.141592653589793 / 180; }
double KvRadToDegD(double x) { return x * 180 / 3.141592653589793; }
float KvDegToRad(float x) { return x * 3.1415927f / 180; }
float KvRadToDeg(float x) { return x * 180 / 3.1415927f; }

double KvRandom(double x) { return (platform::Rand() % 1000) / 1000.0 * x; }

void KvRandomize() {
  // The clock counts from the start of the process, so its seconds would nearly always be 0
  // here and every run would play the same sequence; the wall clock's seconds differ per run.
  platform::SeedRand((unsigned int)std::time(nullptr));
}

double KvLerp(double a, double b, double t) {
  if (t < 0) t = 0;
  if (t > 1) t = 1;
  return a + (b - a) * t;
}

void KvBitSet(unsigned char* bytes, unsigned int n) {
  bytes[n / 8] |= (unsigned char)(1u << (n % 8));
}
void KvBitClear(unsigned char* bytes, unsigned int n) {
  bytes[n / 8] &= (unsigned char)~(1u << (n % 8));
}
bool KvBitTest(const unsigned char* bytes, unsigned int n) {
  return (bytes[n / 8] >> (n % 8)) & 1u;
}
