// KV_STRING: typed literals, a value written as text followed by a one-letter type
// suffix: x hex bytes, c b s w i d whole numbers (C prefixes: 0x hex, 0 octal),
// h r a float or double, f v up to four floats or doubles separated by ":".
// Whole numbers read as the 32-bit runtime reads them: what overflows 32 bits clamps.
#include "foundation/string.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "foundation/hex_digit.h"

namespace {

const char kSuffixes[] = "xcbswidhrfv";

bool IsSuffix(char c) { return c != 0 && strchr(kSuffixes, c) != nullptr; }

// strtol with base 0 and a 32-bit long: out-of-range values clamp to its limits.
int32_t ParseLong32(const char* p) {
  errno = 0;
  long long v = strtoll(p, nullptr, 0);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return (int32_t)v;
}

// strtoul with base 0 and a 32-bit unsigned long: a magnitude beyond 32 bits gives
// 0xFFFFFFFF, and an in-range "-n" is negated modulo 2^32 as C prescribes.
uint32_t ParseULong32(const char* p) {
  errno = 0;
  unsigned long long v = strtoull(p, nullptr, 0);
  if (errno == ERANGE) return UINT32_MAX;
  const char* s = p;
  while (*s == ' ' || (*s >= '\t' && *s <= '\r')) ++s;
  unsigned long long magnitude = (*s == '-') ? 0ULL - v : v;
  if (magnitude > UINT32_MAX) return UINT32_MAX;
  return (uint32_t)v;
}

// A double narrowed to float; beyond the float range it becomes an infinity, as the
// hardware conversion gives, instead of an undefined cast.
float ToFloat(double d) {
  if (d > FLT_MAX) return HUGE_VALF;
  if (d < -FLT_MAX) return -HUGE_VALF;
  return (float)d;
}

template <class T>
T FromDouble(double d);
template <>
float FromDouble<float>(double d) {
  return ToFloat(d);
}
template <>
double FromDouble<double>(double d) {
  return d;
}

// Hex digits read from the end: the last digit is the low nibble of byte 0.
void DecodeHex(const KV_STRING& value, unsigned int size, unsigned char* out) {
  memset(out, 0, size);
  unsigned int digits = value.Length();
  for (unsigned int k = 0; k < digits && k / 2 < size; ++k) {
    unsigned char nibble = HexDigitValue(value.text[digits - 1 - k]);
    out[k / 2] |= (k % 2) ? (unsigned char)(nibble << 4) : nibble;
  }
}

// Up to four ":"-separated pieces, each written in place; the rest stay untouched.
template <class T>
void DecodeList(const KV_STRING& value, void* out) {
  KV_STRING piece;
  unsigned int pos = 0;
  for (unsigned int k = 0; k < 4; ++k) {
    pos = value.Extract(piece, ":", pos);
    T element = FromDouble<T>(strtod(piece.text, nullptr));
    memcpy((char*)out + k * sizeof(T), &element, sizeof(T));
    if (pos == 0) break;
  }
}

template <class T>
void Put(void* out, T value) {
  memcpy(out, &value, sizeof(T));
}

}  // namespace

bool KV_STRING::Decode(void* out, char forcedSuffix) const {
  unsigned int length = Length();
  char suffix = forcedSuffix;
  unsigned int valueLength = length;
  if (suffix == 0) {
    if (length < 2) return false;
    suffix = text[length - 1];
    valueLength = length - 1;
  } else if (length < 1) {
    return false;
  }
  if (!IsSuffix(suffix) || out == nullptr) return false;

  KV_STRING value;
  value.AssignN(text, valueLength);
  switch (suffix) {
    case 'x': DecodeHex(value, length / 2, (unsigned char*)out); break;
    case 'c': Put<int8_t>(out, (int8_t)ParseLong32(value.text)); break;
    case 'b': Put<uint8_t>(out, (uint8_t)ParseULong32(value.text)); break;
    case 's': Put<int16_t>(out, (int16_t)ParseLong32(value.text)); break;
    case 'w': Put<uint16_t>(out, (uint16_t)ParseULong32(value.text)); break;
    case 'i': Put<int32_t>(out, ParseLong32(value.text)); break;
    case 'd': Put<uint32_t>(out, ParseULong32(value.text)); break;
    case 'h': Put<float>(out, ToFloat(strtod(value.text, nullptr))); break;
    case 'r': Put<double>(out, strtod(value.text, nullptr)); break;
    case 'f': DecodeList<float>(value, out); break;
    case 'v': DecodeList<double>(value, out); break;
  }
  return true;
}

char KV_STRING::GetTypeSuffix() const {
  unsigned int length = Length();
  if (length < 2 || !IsSuffix(text[length - 1])) return 0;
  return text[length - 1];
}

unsigned int KV_STRING::GetTypeSize() const {
  unsigned int length = Length();
  if (length < 2) return 0;
  switch (text[length - 1]) {
    case 'x': return length / 2;
    case 'b':
    case 'c': return 1;
    case 's':
    case 'w': return 2;
    case 'd':
    case 'h':
    case 'i': return 4;
    case 'r': return 8;
    case 'f': return 16;
    case 'v': return 32;
    default: return 0;
  }
}
