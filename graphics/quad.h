// KV_QUAD: four corners that technique rectangles and soft-body force sprites are drawn with, as
// positions (x, y) or as texture coordinates (x is u, y is v). The caller decides the corner order.
#pragma once

#include "foundation/vector.h"

struct KV_QUAD {
  KV_VECTOR_D corners[4];  // each (0, 0, 0, 1) when built
};
static_assert(sizeof(KV_QUAD) == 4 * 4 * sizeof(double),
              "the engine reads a quad as 16 packed doubles");
