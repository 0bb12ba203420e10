// Angle conversions, random fractions, interpolation and bit arrays. The engine's vector
// functions are tested in engine_vectors_test.cpp.
#include <gtest/gtest.h>

#include <set>

#include "foundation/small_math.h"
#include "platform/runtime/random.h"

TEST(SmallMath, AnglesConvertWithTheirPi) {
  EXPECT_DOUBLE_EQ(KvDegToRadD(180), 3.141592653589793);
  EXPECT_DOUBLE_EQ(KvRadToDegD(3.141592653589793), 180);
  EXPECT_FLOAT_EQ(KvDegToRad(90), 3.1415927f / 2);
  EXPECT_FLOAT_EQ(KvRadToDeg(3.1415927f), 180);
}

TEST(SmallMath, RandomIsOneOfAThousandStepsBelowX) {
  platform::SeedRand(1);
  // The first value of seed 1 is 16838: 838 / 1000.
  EXPECT_DOUBLE_EQ(KvRandom(1000), 838);
  std::set<double> seen;
  for (int i = 0; i < 20000; ++i) {
    double value = KvRandom(1);
    ASSERT_GE(value, 0);
    ASSERT_LT(value, 1);
    seen.insert(value);
  }
  EXPECT_GT(seen.size(), 900u);
  EXPECT_EQ(KvRandom(0), 0);
}

TEST(SmallMath, RandomizeGivesAnotherSequenceThanTheDefaultSeed) {
  KvRandomize();
  int seeded[4];
  for (int& value : seeded) value = platform::Rand();
  platform::SeedRand(1);
  int defaults[4];
  for (int& value : defaults) value = platform::Rand();
  EXPECT_FALSE(seeded[0] == defaults[0] && seeded[1] == defaults[1] && seeded[2] == defaults[2]);
}

TEST(SmallMath, LerpClampsItsFraction) {
  EXPECT_EQ(KvLerp(10, 20, -1), 10);
  EXPECT_EQ(KvLerp(10, 20, 0.5), 15);
  EXPECT_EQ(KvLerp(10, 20, 7), 20);
  EXPECT_EQ(KvLerp(20, 10, 0.25), 17.5);
}

TEST(SmallMath, BitsAreCountedFromTheLeastSignificantBitOfTheFirstByte) {
  unsigned char bytes[3] = {0, 0, 0};
  KvBitSet(bytes, 9);
  EXPECT_EQ(bytes[1], 0x02);
  EXPECT_TRUE(KvBitTest(bytes, 9));
  EXPECT_FALSE(KvBitTest(bytes, 8));
  KvBitSet(bytes, 23);
  EXPECT_EQ(bytes[2], 0x80);
  KvBitClear(bytes, 9);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_TRUE(KvBitTest(bytes, 23));
}
