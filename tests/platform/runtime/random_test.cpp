// The sample generator: its known sequence, its range and reseeding.
#include <gtest/gtest.h>

#include "platform/runtime/random.h"

TEST(Random, SeedOneGivesTheSampleGeneratorsSequence) {
  platform::SeedRand(1);
  EXPECT_EQ(platform::Rand(), 16838);
  EXPECT_EQ(platform::Rand(), 5758);
  EXPECT_EQ(platform::Rand(), 10113);
  EXPECT_EQ(platform::Rand(), 17515);
}

TEST(Random, ReseedingRepeatsAndValuesStayInRange) {
  platform::SeedRand(12345);
  int first[8];
  for (int& value : first) value = platform::Rand();
  platform::SeedRand(12345);
  for (int value : first) EXPECT_EQ(platform::Rand(), value);
  for (int i = 0; i < 100000; ++i) {
    int value = platform::Rand();
    ASSERT_GE(value, 0);
    ASSERT_LE(value, platform::kRandMax);
  }
}
