// KV_MATRIX_D: construction and the product with a vector.
#include "foundation/matrix.h"

KV_MATRIX_D::KV_MATRIX_D() {
  for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0 : 0.0;
}

KV_VECTOR_D KV_MATRIX_D::operator*(const KV_VECTOR_D& v) const {
  double r[4];
  for (int i = 0; i < 4; ++i) r[i] = m[i] * v.x + m[4 + i] * v.y + m[8 + i] * v.z + m[12 + i] * v.w;
  return KV_VECTOR_D(r[0] / r[3], r[1] / r[3], r[2] / r[3], r[3]);
}
