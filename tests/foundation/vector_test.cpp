// KV_VECTOR and KV_VECTOR_D: defaults and layout, arithmetic that sets w to 1, division by zero,
// and length and normalising that ignore w.
#include "foundation/vector.h"
#include "foundation/rotation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectD(const KV_VECTOR_D& v, double x, double y, double z, double w) {
  EXPECT_DOUBLE_EQ(v.x, x);
  EXPECT_DOUBLE_EQ(v.y, y);
  EXPECT_DOUBLE_EQ(v.z, z);
  EXPECT_DOUBLE_EQ(v.w, w);
}

void ExpectF(const KV_VECTOR& v, float x, float y, float z, float w) {
  EXPECT_FLOAT_EQ(v.x, x);
  EXPECT_FLOAT_EQ(v.y, y);
  EXPECT_FLOAT_EQ(v.z, z);
  EXPECT_FLOAT_EQ(v.w, w);
}

}  // namespace

TEST(Vector, DefaultsAndLayout) {
  ExpectF(KV_VECTOR(), 0, 0, 0, 1);
  ExpectD(KV_VECTOR_D(), 0, 0, 0, 1);
  ExpectD(KV_VECTOR_D(7), 7, 0, 0, 1);
  static_assert(sizeof(KV_VECTOR) == 16);
  static_assert(sizeof(KV_VECTOR_D) == 32);
  static_assert(sizeof(KV_ROTATION_D) == 32);
  KV_ROTATION_D r(1, 2, 3, 4);
  EXPECT_EQ(r.x, 1);
  EXPECT_EQ(r.w, 4);
  EXPECT_EQ(KV_ROTATION_D().w, 0);
  KV_VECTOR_D v;
  v.Set(1, 2, 3, 4);
  ExpectD(v, 1, 2, 3, 4);
}

TEST(Vector, ArithmeticResultsHaveWOne) {
  ExpectD(KV_VECTOR_D(1, 2, 3, 5) + KV_VECTOR_D(1, 1, 1, 7), 2, 3, 4, 1);
  ExpectD(KV_VECTOR_D(1, 2, 3, 5) - KV_VECTOR_D(1, 1, 1, 7), 0, 1, 2, 1);
  ExpectD(KV_VECTOR_D(1, 2, 3, 5) * KV_NUMBER(2), 2, 4, 6, 1);
  ExpectF(KV_VECTOR(1, 2, 3, 5) + KV_VECTOR(1, 1, 1, 7), 2, 3, 4, 1);
  ExpectF(KV_VECTOR(1, 2, 3, 5) * KV_NUMBER(0.5), 0.5f, 1, 1.5f, 1);
  KV_VECTOR_D a(1, 2, 3, 9);
  a += KV_VECTOR_D(1, 1, 1, 9);
  ExpectD(a, 2, 3, 4, 1);
  a.w = 5;
  a -= KV_VECTOR_D(2, 3, 4, 9);
  ExpectD(a, 0, 0, 0, 1);
  KV_VECTOR f(4, 6, 8, 3);
  f /= KV_VECTOR(2, 3, 4, 0);
  ExpectF(f, 2, 2, 2, 1);
  f *= KV_VECTOR(3, 0.5f, -1, 0);
  ExpectF(f, 6, 1, -2, 1);
  f -= KV_VECTOR(6, 1, -2);
  ExpectF(f, 0, 0, 0, 1);
}

TEST(Vector, ScaleDivideAndZeroDivisors) {
  ExpectD(KV_VECTOR_D(2, 3, 4, 6).Scale(KV_VECTOR_D(2, 2, 0.5, 6)), 4, 6, 2, 1);
  ExpectD(KV_VECTOR_D(2, 3, 4, 6).Divide(KV_VECTOR_D(2, 3, 8, 0)), 1, 1, 0.5, 1);
  KV_VECTOR_D inf = KV_VECTOR_D(1, 0, -1).Divide(KV_VECTOR_D(0, 0, 0));
  EXPECT_TRUE(std::isinf(inf.x));
  EXPECT_TRUE(std::isnan(inf.y));
  EXPECT_TRUE(std::isinf(inf.z) && inf.z < 0);
  KV_VECTOR_D b(1, 2, 3, 1);
  b *= KV_VECTOR_D(2, 2, 2, 2);
  ExpectD(b, 2, 4, 6, 1);
  b /= KV_VECTOR_D(2, 4, 3, 2);
  ExpectD(b, 1, 1, 2, 1);
}

TEST(Vector, LengthAndNormalizeIgnoreW) {
  EXPECT_DOUBLE_EQ(KV_VECTOR_D(3, 4, 0, 9).Length(), 5.0);
  EXPECT_FLOAT_EQ(KV_VECTOR(3, 4, 0, 9).Length(), 5.0f);
  ExpectD(KV_VECTOR_D(0, 0, 0, 9).Normalized(), 0, 0, 0, 1);
  ExpectF(KV_VECTOR(0, 0, 0, 9).Normalized(), 0, 0, 0, 1);
  ExpectD(KV_VECTOR_D(0, 3, 4, 9).Normalized(), 0, 0.6, 0.8, 1);
  ExpectF(KV_VECTOR(3, 0, 4, 9).Normalized(), 0.6f, 0, 0.8f, 1);
}

TEST(Vector, MinMaxIncludeW) {
  ExpectD(KV_VECTOR_D(1, 5, 2, 1).Min(KV_VECTOR_D(3, 4, 2, 0)), 1, 4, 2, 0);
  ExpectD(KV_VECTOR_D(1, 5, 2, 1).Max(KV_VECTOR_D(3, 4, 2, 0)), 3, 5, 2, 1);
  ExpectF(KV_VECTOR(1, 5, 2, 1).Min(KV_VECTOR(3, 4, 2, 0)), 1, 4, 2, 0);
  ExpectF(KV_VECTOR(1, 5, 2, 1).Max(KV_VECTOR(3, 4, 2, 0)), 3, 5, 2, 1);
}

TEST(Vector, DoubleEqualityComparesW) {
  EXPECT_TRUE(KV_VECTOR_D(1, 2, 3, 4) == KV_VECTOR_D(1, 2, 3, 4));
  EXPECT_FALSE(KV_VECTOR_D(1, 2, 3, 4) == KV_VECTOR_D(1, 2, 3, 5));
  EXPECT_FALSE(KV_VECTOR_D(1, 2, 3, 4) == KV_VECTOR_D(1, 2, 0, 4));
}
