// The performance counter counts from process start at 1 GHz; the test clock steps on every
// read and by hand; Sleep waits, or moves the test clock.
#include "platform/platform_fixture.h"

namespace pt = platform::testing;

class Clock : public PlatformTest {};

TEST_F(Clock, CounterCountsNanosecondsFromProcessStartAndIsMonotonic) {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER first{};
  LARGE_INTEGER second{};
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 1000000000);
  ASSERT_TRUE(QueryPerformanceCounter(&first));
  Sleep(2);
  ASSERT_TRUE(QueryPerformanceCounter(&second));
  EXPECT_GE(second.QuadPart - first.QuadPart, 2000000);
  // Counted from the start of this test program, not from boot: well under an hour.
  EXPECT_LT(second.QuadPart, 3600LL * 1000000000);
  EXPECT_FALSE(QueryPerformanceCounter(nullptr));
  EXPECT_LT(GetTickCount(), 3600u * 1000);
}

TEST_F(Clock, TestClockStepsOnEveryReadAndMovesByHand) {
  pt::UseTestClock(1.0 / 60, 10);
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  EXPECT_EQ(counter.QuadPart, 10000000000LL);
  QueryPerformanceCounter(&counter);
  EXPECT_EQ(counter.QuadPart, 10000000000LL + 16666667);
  pt::AdvanceTestClock(3);
  QueryPerformanceCounter(&counter);
  EXPECT_EQ(counter.QuadPart, 13000000000LL + 2 * 16666667);
  pt::UseRealClock();
  QueryPerformanceCounter(&counter);
  EXPECT_LT(counter.QuadPart, 3600LL * 1000000000);
}

TEST_F(Clock, SleepMovesTheTestClockInsteadOfWaiting) {
  pt::UseTestClock(0, 0);
  Sleep(250);
  EXPECT_EQ(pt::LastSleepMilliseconds(), 250u);
  EXPECT_EQ(GetTickCount(), 250u);
}

TEST_F(Clock, UnavailableCounterFailsBothCalls) {
  pt::SetCounterAvailable(false);
  LARGE_INTEGER value{};
  EXPECT_FALSE(QueryPerformanceFrequency(&value));
  EXPECT_FALSE(QueryPerformanceCounter(&value));
  pt::SetCounterAvailable(true);
  EXPECT_TRUE(QueryPerformanceFrequency(&value));
}

TEST_F(Clock, TickCountWrapsAt32Bits) {
  pt::UseTestClock(0, 4294967.296 + 1.5);  // 2^32 ms later plus 1.5 s
  EXPECT_EQ(GetTickCount(), 1500u);
}
