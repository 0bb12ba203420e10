// The rectangle and box tests: inclusive and exclusive bounds, corners in any order, and the
// cursor against the screen and a window.
#include "app/rect_tests.h"

#include <gtest/gtest.h>

#include "app/input.h"

TEST(RectTests, PointInRectIncludesTheLowBoundsOnly) {
  EXPECT_FALSE(KvPointInRect(KV_VECTOR_D(10, 5), KV_VECTOR_D(0, 0), KV_VECTOR_D(10, 10)));
  EXPECT_TRUE(KvPointInRect(KV_VECTOR_D(0, 0), KV_VECTOR_D(0, 0), KV_VECTOR_D(10, 10)));
  EXPECT_FALSE(KvPointInRect(KV_VECTOR_D(5, 10), KV_VECTOR_D(0, 0), KV_VECTOR_D(10, 10)));
  // Corners may come in any order; z and w do not matter.
  EXPECT_TRUE(KvPointInRect(KV_VECTOR_D(3, 4, 99, 7), KV_VECTOR_D(10, 10), KV_VECTOR_D(0, 0)));
  EXPECT_FALSE(KvPointInRect(KV_VECTOR_D(-0.5, 4), KV_VECTOR_D(10, 10), KV_VECTOR_D(0, 0)));
}

TEST(RectTests, BoxesOverlapAsClosedIntervals) {
  KV_VECTOR_D a1(0, 0, 0), a2(10, 10, 0);
  EXPECT_TRUE(KvBoxOverlap(a1, a2, KV_VECTOR_D(10, 0, 0), KV_VECTOR_D(20, 10, 0)));
  EXPECT_FALSE(KvBoxOverlap(a1, a2, KV_VECTOR_D(10.5, 0, 0), KV_VECTOR_D(20, 10, 0)));
  EXPECT_TRUE(KvBoxOverlap(a1, a2, KV_VECTOR_D(10, 10, 0), KV_VECTOR_D(20, 20, 0)));  // a corner
  EXPECT_FALSE(KvBoxOverlap(a1, a2, KV_VECTOR_D(2, 11, 0), KV_VECTOR_D(3, 12, 0)));
  // Reversed corners, and a third axis that separates them.
  EXPECT_TRUE(KvBoxOverlap(a2, a1, KV_VECTOR_D(12, 12, 0), KV_VECTOR_D(5, 5, 0)));
  EXPECT_FALSE(KvBoxOverlap(KV_VECTOR_D(0, 0, 0), KV_VECTOR_D(10, 10, 1), KV_VECTOR_D(0, 0, 2),
                            KV_VECTOR_D(10, 10, 3)));
  // A box inside another overlaps it.
  EXPECT_TRUE(KvBoxOverlap(a1, a2, KV_VECTOR_D(4, 4, 0), KV_VECTOR_D(5, 5, 0)));
}

TEST(RectTests, MouseInRectIsInclusiveAndInWindowRectIsNot) {
  KV_INPUT& input = KV_INPUT::Instance();
  input.cursorX = 10;
  input.cursorY = 10;
  EXPECT_TRUE(KvMouseInRect(0, 0, 10, 10));
  EXPECT_FALSE(KvMouseInWindowRect(nullptr, 0, 0, 10, 10));
  EXPECT_TRUE(KvMouseInWindowRect(nullptr, 0, 0, 11, 11));
  input.cursorX = -1;
  EXPECT_FALSE(KvMouseInRect(0, 0, 10, 10));
  input.cursorX = 0;
  input.cursorY = 0;
  EXPECT_TRUE(KvMouseInWindowRect(nullptr, 0, 0, 1, 1));
}
