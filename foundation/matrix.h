// KV_MATRIX_D: a 4x4 double matrix in column-major order (row r, column c at index
// 4c + r), the identity when built. Its product with a vector divides by the result's
// fourth component.
#pragma once

#include "foundation/vector.h"

struct KV_MATRIX_D {
  double m[16];

  // The identity.
  KV_MATRIX_D();

  // r = M v, then (r0 / r3, r1 / r3, r2 / r3, r3); a zero r3 gives infinities or NaN.
  KV_VECTOR_D operator*(const KV_VECTOR_D& v) const;
};
