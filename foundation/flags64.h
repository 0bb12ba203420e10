// KV_FLAGS64: a 64-bit flag set held as two 32-bit halves, ordered as the unsigned
// 64-bit number high * 2^32 + low.
#pragma once

struct KV_FLAGS64 {
  unsigned int low;
  unsigned int high;

  // The first argument is the upper half, the second the lower half.
  KV_FLAGS64(unsigned int upper = 0, unsigned int lower = 0) : low(lower), high(upper) {}

  bool operator==(const KV_FLAGS64& o) const { return high == o.high && low == o.low; }
  bool operator!=(const KV_FLAGS64& o) const { return !(*this == o); }
  // Unsigned 64-bit order: the upper halves decide, then the lower halves.
  bool operator<(const KV_FLAGS64& o) const { return high != o.high ? high < o.high : low < o.low; }
  bool operator<=(const KV_FLAGS64& o) const { return !(o < *this); }
  bool operator>(const KV_FLAGS64& o) const { return o < *this; }
  bool operator>=(const KV_FLAGS64& o) const { return !(*this < o); }

  KV_FLAGS64 operator|(const KV_FLAGS64& o) const { return KV_FLAGS64(high | o.high, low | o.low); }
  KV_FLAGS64 operator&(const KV_FLAGS64& o) const { return KV_FLAGS64(high & o.high, low & o.low); }
  KV_FLAGS64 operator^(const KV_FLAGS64& o) const { return KV_FLAGS64(high ^ o.high, low ^ o.low); }
  KV_FLAGS64& operator|=(const KV_FLAGS64& o) {
    high |= o.high;
    low |= o.low;
    return *this;
  }
  KV_FLAGS64& operator&=(const KV_FLAGS64& o) {
    high &= o.high;
    low &= o.low;
    return *this;
  }
  KV_FLAGS64& operator^=(const KV_FLAGS64& o) {
    high ^= o.high;
    low ^= o.low;
    return *this;
  }
};
