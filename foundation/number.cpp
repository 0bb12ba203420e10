// KV_NUMBER conversions to whole numbers. They truncate toward zero; a value outside
// the target's range (or NaN) goes through a 64-bit integer and wraps, so that no
// conversion has undefined behaviour.
#include "foundation/number.h"

#include <cmath>
#include <cstdint>

namespace {

// Truncates toward zero into 64 bits; NaN gives 0, huge values saturate.
int64_t Truncate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9223372036854775807.0) return INT64_MAX;
  if (v <= -9223372036854775808.0) return INT64_MIN;
  return (int64_t)v;
}

}  // namespace

KV_NUMBER::operator int() const { return (int)(int32_t)Truncate(value); }
KV_NUMBER::operator long long() const { return (long long)Truncate(value); }
KV_NUMBER::operator unsigned int() const { return (unsigned int)(uint64_t)Truncate(value); }
KV_NUMBER::operator short() const { return (short)Truncate(value); }
KV_NUMBER::operator unsigned short() const { return (unsigned short)Truncate(value); }
KV_NUMBER::operator char() const { return (char)Truncate(value); }
