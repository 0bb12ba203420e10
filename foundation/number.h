// KV_NUMBER: one double as a value class, with plain IEEE arithmetic, exact
// comparisons against every built-in number type and conversions back (whole-number
// conversions truncate toward zero).
#pragma once

class KV_NUMBER {
 public:
  double value;

  KV_NUMBER() : value(0.0) {}
  KV_NUMBER(double v) : value(v) {}

  // Reads / writes the value.
  double Get() const { return value; }
  void Set(double v) { value = v; }

  // Arithmetic; division by zero gives an infinity or NaN.
  KV_NUMBER operator+(const KV_NUMBER& o) const { return KV_NUMBER(value + o.value); }
  KV_NUMBER operator-(const KV_NUMBER& o) const { return KV_NUMBER(value - o.value); }
  KV_NUMBER operator*(const KV_NUMBER& o) const { return KV_NUMBER(value * o.value); }
  KV_NUMBER operator/(const KV_NUMBER& o) const { return KV_NUMBER(value / o.value); }
  KV_NUMBER& operator+=(const KV_NUMBER& o) {
    value += o.value;
    return *this;
  }
  KV_NUMBER& operator-=(const KV_NUMBER& o) {
    value -= o.value;
    return *this;
  }
  KV_NUMBER& operator*=(const KV_NUMBER& o) {
    value *= o.value;
    return *this;
  }
  KV_NUMBER& operator/=(const KV_NUMBER& o) {
    value /= o.value;
    return *this;
  }
  KV_NUMBER& operator=(double v) {
    value = v;
    return *this;
  }

  // Exact comparison; the other value is widened to double first.
  bool operator==(const KV_NUMBER& o) const { return value == o.value; }
  bool operator==(double v) const { return value == v; }
  bool operator==(float v) const { return value == (double)v; }
  bool operator==(int v) const { return value == (double)v; }
  bool operator==(unsigned int v) const { return value == (double)(unsigned long long)v; }
  bool operator==(short v) const { return value == (double)v; }
  bool operator==(unsigned short v) const { return value == (double)v; }
  bool operator==(char v) const { return value == (double)v; }
  bool operator==(unsigned char v) const { return value == (double)v; }
  template <class U>
  bool operator!=(U v) const {
    return !(*this == v);
  }

  // Conversions, toward zero for whole-number types.
  operator double() const { return value; }
  operator float() const { return (float)value; }
  operator int() const;
  operator long long() const;
  operator unsigned int() const;
  operator short() const;
  operator unsigned short() const;
  operator char() const;
  // True when the value is not 0.0.
  explicit operator bool() const { return value != 0.0; }
};
