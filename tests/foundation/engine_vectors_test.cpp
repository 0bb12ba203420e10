// The engine's vector functions as the framework calls them: a length along angles, and the
// angles from one point to another.
#include <gtest/gtest.h>

#include "foundation/small_math.h"

TEST(EngineVectors, LengthdirAndDirectionGoThroughTheEngine) {
  KV_VECTOR_D step = KvLengthdirVector(KV_ROTATION_D(0, 0, 0, 99), 10);
  EXPECT_NEAR(step.Length(), 10, 1e-9);
  KV_VECTOR_D from(1, 2, 3);
  KV_VECTOR_D to(4, 6, 3);
  KV_ROTATION_D angles = KvDirectionVector(from, to);
  // Going 5 (the distance) along the angles from the first point reaches the second.
  KV_VECTOR_D back = KvLengthdirVector(angles, 5);
  EXPECT_NEAR(back.x, 3, 1e-9);
  EXPECT_NEAR(back.y, 4, 1e-9);
  EXPECT_NEAR(back.z, 0, 1e-9);
}
