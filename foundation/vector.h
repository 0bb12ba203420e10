// KV_VECTOR (four floats) and KV_VECTOR_D (four doubles): the system's plain geometry
// values. w is a homogeneous coordinate: it defaults to 1, every arithmetic result sets
// it to 1, and length and normalising ignore it. Divisions are plain IEEE arithmetic.
#pragma once

#include "foundation/number.h"

#include <cmath>

struct KV_VECTOR {
  float x, y, z, w;

  // (0, 0, 0, 1) when no value is given.
  KV_VECTOR(float x = 0, float y = 0, float z = 0, float w = 1) : x(x), y(y), z(z), w(w) {}

  // sqrt(x*x + y*y + z*z).
  float Length() const { return std::sqrt(x * x + y * y + z * z); }
  // (x, y, z) / Length with w 1; (0, 0, 0, 1) for a zero length.
  KV_VECTOR Normalized() const {
    float len = Length();
    if (len == 0) return KV_VECTOR();
    return KV_VECTOR(x / len, y / len, z / len, 1);
  }
  // Component-wise minimum / maximum of all four components.
  KV_VECTOR Min(const KV_VECTOR& o) const {
    return KV_VECTOR(std::fmin(x, o.x), std::fmin(y, o.y), std::fmin(z, o.z), std::fmin(w, o.w));
  }
  KV_VECTOR Max(const KV_VECTOR& o) const {
    return KV_VECTOR(std::fmax(x, o.x), std::fmax(y, o.y), std::fmax(z, o.z), std::fmax(w, o.w));
  }
  KV_VECTOR operator+(const KV_VECTOR& o) const { return KV_VECTOR(x + o.x, y + o.y, z + o.z, 1); }
  KV_VECTOR operator-(const KV_VECTOR& o) const { return KV_VECTOR(x - o.x, y - o.y, z - o.z, 1); }
  KV_VECTOR operator*(const KV_NUMBER& s) const {
    float f = (float)s.value;
    return KV_VECTOR(x * f, y * f, z * f, 1);
  }
  KV_VECTOR& operator+=(const KV_VECTOR& o) { return *this = *this + o; }
  KV_VECTOR& operator-=(const KV_VECTOR& o) { return *this = *this - o; }
  // Component-wise product / quotient of x, y, z; w 1.
  KV_VECTOR Scale(const KV_VECTOR& o) const { return KV_VECTOR(x * o.x, y * o.y, z * o.z, 1); }
  KV_VECTOR Divide(const KV_VECTOR& o) const { return KV_VECTOR(x / o.x, y / o.y, z / o.z, 1); }
  KV_VECTOR& operator*=(const KV_VECTOR& o) { return *this = Scale(o); }
  KV_VECTOR& operator/=(const KV_VECTOR& o) { return *this = Divide(o); }
};

struct KV_VECTOR_D {
  double x, y, z, w;

  // (0, 0, 0, 1) when no value is given.
  KV_VECTOR_D(double x = 0, double y = 0, double z = 0, double w = 1) : x(x), y(y), z(z), w(w) {}

  // Assigns all four components.
  void Set(double nx, double ny, double nz, double nw) {
    x = nx;
    y = ny;
    z = nz;
    w = nw;
  }
  // sqrt(x*x + y*y + z*z).
  double Length() const { return std::sqrt(x * x + y * y + z * z); }
  // (x, y, z) / Length with w 1; (0, 0, 0, 1) for a zero length.
  KV_VECTOR_D Normalized() const {
    double len = Length();
    if (len == 0) return KV_VECTOR_D();
    return KV_VECTOR_D(x / len, y / len, z / len, 1);
  }
  // Component-wise minimum / maximum of all four components.
  KV_VECTOR_D Min(const KV_VECTOR_D& o) const {
    return KV_VECTOR_D(std::fmin(x, o.x), std::fmin(y, o.y), std::fmin(z, o.z), std::fmin(w, o.w));
  }
  KV_VECTOR_D Max(const KV_VECTOR_D& o) const {
    return KV_VECTOR_D(std::fmax(x, o.x), std::fmax(y, o.y), std::fmax(z, o.z), std::fmax(w, o.w));
  }
  KV_VECTOR_D operator+(const KV_VECTOR_D& o) const {
    return KV_VECTOR_D(x + o.x, y + o.y, z + o.z, 1);
  }
  KV_VECTOR_D operator-(const KV_VECTOR_D& o) const {
    return KV_VECTOR_D(x - o.x, y - o.y, z - o.z, 1);
  }
  KV_VECTOR_D operator*(const KV_NUMBER& s) const {
    return KV_VECTOR_D(x * s.value, y * s.value, z * s.value, 1);
  }
  KV_VECTOR_D& operator+=(const KV_VECTOR_D& o) { return *this = *this + o; }
  KV_VECTOR_D& operator-=(const KV_VECTOR_D& o) { return *this = *this - o; }
  // Component-wise product / quotient of x, y, z; w 1.
  KV_VECTOR_D Scale(const KV_VECTOR_D& o) const {
    return KV_VECTOR_D(x * o.x, y * o.y, z * o.z, 1);
  }
  KV_VECTOR_D Divide(const KV_VECTOR_D& o) const {
    return KV_VECTOR_D(x / o.x, y / o.y, z / o.z, 1);
  }
  KV_VECTOR_D& operator*=(const KV_VECTOR_D& o) { return *this = Scale(o); }
  KV_VECTOR_D& operator/=(const KV_VECTOR_D& o) { return *this = Divide(o); }
  // True when all four components are equal.
  bool operator==(const KV_VECTOR_D& o) const {
    return x == o.x && y == o.y && z == o.z && w == o.w;
  }
};
