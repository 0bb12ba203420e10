// The performance counter counts from process start at 1 GHz; the test clock steps on every
// read and by hand; Sleep and the finer sleep wait, or move the test clock.
#include <chrono>

#include "platform/platform_fixture.h"
#include "platform/time/fine_sleep.h"

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
  // The finer sleep too, by the time asked and the sleeps' lateness; nothing for none.
  pt::SetSleepLateness(0.0002);
  platform::SleepNanoseconds(1500000);
  EXPECT_DOUBLE_EQ(pt::LastSleepSeconds(), 0.0015);
  EXPECT_EQ(pt::LastSleepMilliseconds(), 1u);
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  EXPECT_EQ(counter.QuadPart, 251700000LL);
  platform::SleepNanoseconds(0);
  QueryPerformanceCounter(&counter);
  EXPECT_EQ(counter.QuadPart, 251700000LL);
  pt::SetSleepLateness(0);
}

TEST_F(Clock, TheFinerSleepWaitsAtLeastTheTimeAsked) {
  pt::UseRealClock();
  const auto before = std::chrono::steady_clock::now();
  platform::SleepNanoseconds(300000);
  const double waited =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
  EXPECT_GE(waited, 0.0003);
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
