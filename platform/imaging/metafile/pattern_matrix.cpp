// Keeping pattern matrices within pixman's fixed-point numbers.
#include "platform/imaging/metafile/pattern_matrix.h"

#include <algorithm>
#include <cmath>

namespace platform::metafile {

namespace {

// An image shrunk more than this many times would overflow the fixed-point numbers.
constexpr double kMostShrink = 1 << 14;
// No picture is larger than this, so no picture pixel lies beyond it.
constexpr double kLargestPicture = 32768;

}  // namespace

bool MatrixFinite(const cairo_matrix_t& m) {
  for (double v : {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0})
    if (!std::isfinite(v)) return false;
  return true;
}

bool Representable(const cairo_matrix_t& toImage) {
  if (!MatrixFinite(toImage)) return false;
  for (double v : {toImage.xx, toImage.yx, toImage.xy, toImage.yy})
    if (std::fabs(v) > kMostShrink) return false;
  return true;
}

bool Reaches(const cairo_matrix_t& toImage, double w, double h) {
  double left = INFINITY, right = -INFINITY, top = INFINITY, bottom = -INFINITY;
  for (double x : {0.0, kLargestPicture})
    for (double y : {0.0, kLargestPicture}) {
      double u = x, v = y;
      cairo_matrix_transform_point(&toImage, &u, &v);
      left = std::min(left, u), right = std::max(right, u);
      top = std::min(top, v), bottom = std::max(bottom, v);
    }
  return right >= 0 && left <= w && bottom >= 0 && top <= h;
}

bool ToFirstTile(cairo_matrix_t* toImage, double w, double h) {
  if (!(w > 0 && h > 0)) return false;
  toImage->x0 -= std::floor(toImage->x0 / w) * w;
  toImage->y0 -= std::floor(toImage->y0 / h) * h;
  return true;
}

}  // namespace platform::metafile
