// KV_NUMBER: plain IEEE arithmetic, comparisons with every number type, and conversions that
// truncate toward zero.
#include "foundation/number.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Number, ArithmeticIsPlainIeee) {
  KV_NUMBER a(6.0), b(4.0);
  EXPECT_EQ((a + b).Get(), 10.0);
  EXPECT_EQ((a - b).Get(), 2.0);
  EXPECT_EQ((a * b).Get(), 24.0);
  EXPECT_EQ((a / b).Get(), 1.5);
  EXPECT_TRUE(std::isinf((a / KV_NUMBER(0.0)).Get()));
  EXPECT_TRUE(std::isnan((KV_NUMBER(0.0) / KV_NUMBER(0.0)).Get()));
  a += b;
  a -= KV_NUMBER(1.0);
  a *= KV_NUMBER(2.0);
  a /= KV_NUMBER(3.0);
  EXPECT_EQ(a.Get(), 6.0);
  a = 2.5;
  EXPECT_EQ(a.value, 2.5);
  a.Set(-1);
  EXPECT_EQ(a.Get(), -1.0);
  EXPECT_EQ(KV_NUMBER().Get(), 0.0);
}

TEST(Number, ComparesWithEveryNumberType) {
  KV_NUMBER n(65.0);
  EXPECT_TRUE(n == 65.0);
  EXPECT_TRUE(n == 65.0f);
  EXPECT_TRUE(n == 65);
  EXPECT_TRUE(n == 65u);
  EXPECT_TRUE(n == (short)65);
  EXPECT_TRUE(n == (unsigned short)65);
  EXPECT_TRUE(n == 'A');
  EXPECT_TRUE(n == (unsigned char)65);
  EXPECT_TRUE(n != 64);
  EXPECT_TRUE(n == KV_NUMBER(65.0));
  EXPECT_FALSE(KV_NUMBER(0.1) == 0.1f);
}

TEST(Number, UnsignedComparisonStaysPositive) {
  EXPECT_TRUE(KV_NUMBER(4294967295.0) == 4294967295u);
  EXPECT_FALSE(KV_NUMBER(-1.0) == 4294967295u);
  EXPECT_TRUE(KV_NUMBER(-1.0) == -1);
}

TEST(Number, ConversionsTruncateTowardZero) {
  KV_NUMBER n(-2.9);
  EXPECT_EQ((int)n, -2);
  EXPECT_EQ((long long)n, -2);
  EXPECT_EQ((short)n, -2);
  EXPECT_EQ((char)n, -2);
  EXPECT_FLOAT_EQ((float)n, -2.9f);
  EXPECT_EQ((double)n, -2.9);
  KV_NUMBER p(3000000000.7);
  EXPECT_EQ((unsigned int)p, 3000000000u);
  EXPECT_EQ((long long)p, 3000000000LL);
  EXPECT_EQ((unsigned short)KV_NUMBER(65535.9), 65535);
  EXPECT_TRUE((bool)KV_NUMBER(0.5));
  EXPECT_FALSE((bool)KV_NUMBER(0.0));
  // out of range or NaN: defined results, no trap
  EXPECT_EQ((int)KV_NUMBER(std::nan("")), 0);
  (void)(int)KV_NUMBER(1e300);
}
