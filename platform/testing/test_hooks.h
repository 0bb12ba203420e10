// The values the testing interface replaces: forced failures, the screen, the cursor and the
// clock. Internal to platform/; each area reads the hooks at its entry, tests write them through
// platform/testing/testing.h. Nothing is replaced until a test asks.
#pragma once

#include <SDL2/SDL.h>

#include <bitset>
#include <cstdint>
#include <map>
#include <optional>

#include "platform/winapi/records.h"

namespace platform {

// A keyboard of the test's own, asked instead of the display's: the keys it holds down, or a
// display that cannot be asked at all.
struct TestKeyboard {
  bool askable = true;
  std::bitset<SDL_NUM_SCANCODES> down;
};

struct TestHooks {
  // Calls still to fail, counted down by each failing call.
  int failRegisterClass = 0;
  int failCreateWindow = 0;
  int failDisplayChange = 0;
  bool failCursor = false;
  // Screen values reported instead of the display's.
  std::optional<int> screenWidth;
  std::optional<int> screenHeight;
  std::optional<RECT> workArea;
  std::optional<int> refreshRate;
  // A cursor of the test's own, read and moved instead of the real one.
  std::optional<POINT> cursor;
  std::optional<TestKeyboard> keyboard;
  // The test-driven clock, in nanoseconds: each read gives now, then moves it by step.
  bool testClock = false;
  int64_t clockNow = 0;
  int64_t clockStep = 0;
  bool counterUnavailable = false;
  int64_t lastSleep = 0;  // the last sleep asked for, in nanoseconds
  // The window whose input focus the platform last asked the desktop for.
  HWND lastFocusRequest = nullptr;
  // Jumps of the test clock at later reads, as when the process is descheduled: the reads
  // counted since the test clock was put in place, and the jumps still to come, from the read
  // each comes before to its length.
  int64_t clockReads = 0;
  std::multimap<int64_t, int64_t> clockJumps;
  // How much later than asked a sleep on the test clock wakes.
  int64_t sleepLateness = 0;
};

// The one set of hooks of the process.
TestHooks& Hooks();
// Takes one forced failure from a counter; true when the call must fail.
bool ConsumeFailure(int& counter);

}  // namespace platform
