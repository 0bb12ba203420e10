// The rectangle and box tests. Each axis is tested on its own, with the corners sorted first
// so that callers may give them in any order.
#include "app/rect_tests.h"

#include <algorithm>

#include "app/input.h"

namespace {

// lo <= value < hi with lo and hi the sorted bounds.
bool InHalfOpen(double value, double bound1, double bound2) {
  return std::min(bound1, bound2) <= value && value < std::max(bound1, bound2);
}

// The closed intervals [a1, a2] and [b1, b2], each sorted, meet.
bool IntervalsMeet(double a1, double a2, double b1, double b2) {
  return std::min(b1, b2) <= std::max(a1, a2) && std::max(b1, b2) >= std::min(a1, a2);
}

}  // namespace

bool KvMouseInRect(int left, int top, int right, int bottom) {
  int x = KvCursorX(), y = KvCursorY();
  return left <= x && x <= right && top <= y && y <= bottom;
}

bool KvMouseInWindowRect(const KV_WINDOW* window, int left, int top, int right, int bottom) {
  int x = KvCursorXIn(window), y = KvCursorYIn(window);
  return left <= x && x < right && top <= y && y < bottom;
}

bool KvPointInRect(KV_VECTOR_D point, KV_VECTOR_D corner1, KV_VECTOR_D corner2) {
  return InHalfOpen(point.x, corner1.x, corner2.x) && InHalfOpen(point.y, corner1.y, corner2.y);
}

bool KvBoxOverlap(KV_VECTOR_D a1, KV_VECTOR_D a2, KV_VECTOR_D b1, KV_VECTOR_D b2) {
  return IntervalsMeet(a1.x, a2.x, b1.x, b2.x) && IntervalsMeet(a1.y, a2.y, b1.y, b2.y) &&
         IntervalsMeet(a1.z, a2.z, b1.z, b2.z);
}
