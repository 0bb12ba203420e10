// The clock reads the performance counter in seconds and milliseconds, and the tick count when
// the counter is unavailable.
#include <gtest/gtest.h>

#include "foundation/clock.h"
#include "platform/testing/testing.h"

namespace pt = platform::testing;

class Clock : public ::testing::Test {
 protected:
  void TearDown() override { pt::Reset(); }
};

TEST_F(Clock, QueriesReadTheCounterInSecondsAndTruncatedMilliseconds) {
  EXPECT_EQ(KV_CLOCK::Instance().available, 1);
  EXPECT_EQ(KV_CLOCK::Instance().frequency, 1000000000);
  pt::UseTestClock(0, 2.0015);
  EXPECT_FLOAT_EQ(KvTime(), 2.0015f);
  EXPECT_DOUBLE_EQ(KvTimeD(), 2.0015);
  EXPECT_EQ(KvTimeMs(), 2001);
}

TEST_F(Clock, SecondsKeepMillisecondPrecisionAfterADay) {
  // Counted from the start of the process, a float still tells frames apart after a day.
  pt::UseTestClock(0, 86400.0);
  float first = KvTime();
  pt::AdvanceTestClock(0.016);
  EXPECT_GT(KvTime() - first, 0.0f);
  EXPECT_NEAR(KvTimeD() - 86400.0, 0.016, 1e-9);
}

TEST_F(Clock, WithoutTheCounterTheTickCountIsUsed) {
  // The clock is chosen once; the queries still fall back when a reading fails.
  pt::UseTestClock(0, 12.345);
  pt::SetCounterAvailable(false);
  EXPECT_EQ(KvTimeMs(), 12345);
  EXPECT_DOUBLE_EQ(KvTimeD(), 12.345);
}
