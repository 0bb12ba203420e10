// Small shared math: angle conversions, random fractions and seeding, a clamped linear
// interpolation, bit arrays, and the two vector functions the engine library computes
// (angles and a length to a vector, two points to angles).
#pragma once

#include "foundation/rotation.h"
#include "foundation/vector.h"

// Degrees to radians and back, in double (pi as 3.141592653589793).
double KvDegToRadD(double x);
double KvRadToDegD(double x);
// The same in float (pi as the float 3.1415927).
float KvDegToRad(float x);
float KvRadToDeg(float x);

// One of the thousand values 0, x/1000, ..., 999x/1000, from the program's generator.
double KvRandom(double x);
// Seeds the generator from the wall clock's seconds, so every run gets another sequence.
void KvRandomize();

// a + (b - a) * t with t clamped to 0..1.
double KvLerp(double a, double b, double t);

// Bit n of a byte array: byte n / 8, bit n % 8 (bit 0 the least significant).
void KvBitSet(unsigned char* bytes, unsigned int n);
void KvBitClear(unsigned char* bytes, unsigned int n);
bool KvBitTest(const unsigned char* bytes, unsigned int n);

// The vector of the rotation's three angles with the given length, as the engine computes it.
KV_VECTOR_D KvLengthdirVector(const KV_ROTATION_D& rotation, double length);
// The angles from one point to another, as the engine computes them.
KV_ROTATION_D KvDirectionVector(const KV_VECTOR_D& from, const KV_VECTOR_D& to);
