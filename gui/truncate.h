// Truncation of a GUI coordinate to a whole pixel. Controls keep their places as doubles; the
// clip rectangle and the mouse hit test want ints, and a control placed absurdly far away must
// not make that conversion undefined.
#pragma once

#include <climits>
#include <cmath>

namespace KvCore {

// Truncation toward zero, held within the range of int (NaN gives 0).
inline int Truncate(double value) {
  if (std::isnan(value)) return 0;
  if (value >= (double)INT_MAX) return INT_MAX;
  if (value <= (double)INT_MIN) return INT_MIN;
  return (int)value;
}

}  // namespace KvCore
