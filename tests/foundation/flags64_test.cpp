// KV_FLAGS64: ordering by the upper half first, and bit operations half by half.
#include "foundation/flags64.h"

#include <gtest/gtest.h>

TEST(Flags64, UpperHalfComesFirstAndDecidesOrder) {
  KV_FLAGS64 big(1, 0);
  KV_FLAGS64 small(0, 0xFFFFFFFFu);
  EXPECT_EQ(big.high, 1u);
  EXPECT_EQ(big.low, 0u);
  EXPECT_TRUE(big > small);
  EXPECT_TRUE(big >= small);
  EXPECT_TRUE(small < big);
  EXPECT_TRUE(small <= big);
  EXPECT_FALSE(big < small);
  EXPECT_TRUE(KV_FLAGS64(2, 3) < KV_FLAGS64(2, 4));
  EXPECT_TRUE(KV_FLAGS64(2, 3) <= KV_FLAGS64(2, 3));
  EXPECT_FALSE(KV_FLAGS64(2, 3) < KV_FLAGS64(2, 3));
  EXPECT_TRUE(KV_FLAGS64(0x80000000u, 0) > KV_FLAGS64(0x7FFFFFFFu, 0xFFFFFFFFu));
  EXPECT_TRUE(KV_FLAGS64(5, 6) == KV_FLAGS64(5, 6));
  EXPECT_TRUE(KV_FLAGS64(5, 6) != KV_FLAGS64(6, 5));
}

TEST(Flags64, BitOperationsActHalfByHalf) {
  KV_FLAGS64 a(0xF0, 0x0F), b(0x3C, 0x3C);
  EXPECT_TRUE((a | b) == KV_FLAGS64(0xFC, 0x3F));
  EXPECT_TRUE((a & b) == KV_FLAGS64(0x30, 0x0C));
  EXPECT_TRUE((a ^ b) == KV_FLAGS64(0xCC, 0x33));
  KV_FLAGS64 c = a;
  c |= b;
  EXPECT_TRUE(c == (a | b));
  c = a;
  c &= b;
  EXPECT_TRUE(c == (a & b));
  c = a;
  c ^= b;
  EXPECT_TRUE(c == (a ^ b));
}
