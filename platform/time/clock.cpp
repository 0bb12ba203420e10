// The performance counter, tick count and sleep (Sleep's whole milliseconds, and a finer one). The counter counts nanoseconds from the start
// of the process, so that seconds kept as a float stay precise however long the machine is up.
// A test can put its own clock in place (platform/testing/testing.h).
#include <time.h>

#include <cerrno>
#include <cstdint>

#include "platform/testing/test_hooks.h"
#include "platform/time/fine_sleep.h"
#include "platform/winapi/windows.h"

namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000;

int64_t MonotonicNanoseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

int64_t ProcessStart() {
  static const int64_t start = MonotonicNanoseconds();
  return start;
}

// Fix the start while the program loads, not at the first reading.
[[maybe_unused]] const int64_t kStartFixed = ProcessStart();

// Nanoseconds since the start: the test clock's reading (which then moves by its step) or the
// real one.
int64_t Now() {
  platform::TestHooks& hooks = platform::Hooks();
  if (!hooks.testClock) {
    // The start first: on its very first call it fixes the start, which must not come after
    // the reading it is taken from (the two sides of "-" are evaluated in no fixed order).
    int64_t start = ProcessStart();
    return MonotonicNanoseconds() - start;
  }
  ++hooks.clockReads;
  while (!hooks.clockJumps.empty() && hooks.clockJumps.begin()->first <= hooks.clockReads) {
    hooks.clockNow += hooks.clockJumps.begin()->second;
    hooks.clockJumps.erase(hooks.clockJumps.begin());
  }
  int64_t reading = hooks.clockNow;
  hooks.clockNow += hooks.clockStep;
  return reading;
}

}  // namespace

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (frequency == nullptr || platform::Hooks().counterUnavailable) return FALSE;
  frequency->QuadPart = kNanosecondsPerSecond;
  return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* counter) {
  if (counter == nullptr || platform::Hooks().counterUnavailable) return FALSE;
  counter->QuadPart = Now();
  return TRUE;
}

DWORD WINAPI GetTickCount() {
  // Milliseconds truncated to 32 bits: the count wraps after about 49.7 days.
  return static_cast<DWORD>(static_cast<uint64_t>(Now() / 1000000));
}

namespace platform {

void SleepNanoseconds(int64_t nanoseconds) {
  if (nanoseconds <= 0) return;
  TestHooks& hooks = Hooks();
  hooks.lastSleep = nanoseconds;
  if (hooks.testClock) {
    hooks.clockNow += nanoseconds + hooks.sleepLateness;
    return;
  }
  timespec wait{static_cast<time_t>(nanoseconds / kNanosecondsPerSecond),
                static_cast<long>(nanoseconds % kNanosecondsPerSecond)};
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {}
}

}  // namespace platform

void WINAPI Sleep(DWORD milliseconds) {
  platform::TestHooks& hooks = platform::Hooks();
  hooks.lastSleep = static_cast<int64_t>(milliseconds) * 1000000;
  if (hooks.testClock) {
    hooks.clockNow += static_cast<int64_t>(milliseconds) * 1000000 + hooks.sleepLateness;
    return;
  }
  timespec wait{static_cast<time_t>(milliseconds / 1000),
                static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {}
}
