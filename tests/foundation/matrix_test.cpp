// KV_MATRIX_D: the identity, column-major order, and the product's division by the fourth
// component.
#include "foundation/matrix.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Matrix, StartsAsIdentity) {
  KV_MATRIX_D m;
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(m.m[i], (i == 0 || i == 5 || i == 10 || i == 15) ? 1.0 : 0.0) << i;
}

TEST(Matrix, ProductDividesByTheFourthComponent) {
  KV_MATRIX_D m;
  EXPECT_TRUE(m * KV_VECTOR_D(2, 3, 4, 1) == KV_VECTOR_D(2, 3, 4, 1));
  EXPECT_TRUE(m * KV_VECTOR_D(2, 4, 6, 2) == KV_VECTOR_D(1, 2, 3, 2));
}

TEST(Matrix, ProductIsColumnMajor) {
  KV_MATRIX_D m;
  // a translation by (10, 20, 30) lives in the last column: indices 12, 13, 14
  m.m[12] = 10;
  m.m[13] = 20;
  m.m[14] = 30;
  EXPECT_TRUE(m * KV_VECTOR_D(1, 2, 3, 1) == KV_VECTOR_D(11, 22, 33, 1));
  // row 3 taking z (index 4*2 + 3): a perspective projection
  KV_MATRIX_D p;
  p.m[11] = 1;
  p.m[15] = 0;
  KV_VECTOR_D r = p * KV_VECTOR_D(4, 8, 2, 1);
  EXPECT_TRUE(r == KV_VECTOR_D(2, 4, 1, 2));
}

TEST(Matrix, ZeroFourthComponentGivesInfinities) {
  KV_MATRIX_D m;
  KV_VECTOR_D r = m * KV_VECTOR_D(1, 0, -1, 0);
  EXPECT_TRUE(std::isinf(r.x));
  EXPECT_TRUE(std::isnan(r.y));
  EXPECT_TRUE(std::isinf(r.z));
  EXPECT_EQ(r.w, 0.0);
}
