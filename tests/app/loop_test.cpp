// The frame loop on the test clock: one message per turn and frames only on an empty queue,
// both pacing modes, the draw and update intervals, the rates and the end-of-frame input reset.
#include <vector>

#include "app_fixture.h"

namespace {

struct FrameRecord {
  HWND hwnd;
  uintptr_t argument;
  unsigned char drawTick;
  unsigned char updateTick;
  float previousTime;
  float frameTime;
  bool keyAPressed;
  bool keyBPressed;
  unsigned int chars;
};

std::vector<FrameRecord> frames;
int framesLeft = 0;
float advancePerFrame = 0;  // seconds the procedure moves the test clock

void RecordFrame(HWND hwnd, uintptr_t argument) {
  KV_LOOP& loop = KV_LOOP::Instance();
  frames.push_back({hwnd, argument, loop.DrawTick(), loop.UpdateTick(), loop.previousTime,
                    loop.frameTime, KvKeyPressed('A'), KvKeyPressed('B'), KvCharCount()});
  if (advancePerFrame > 0) platform::testing::AdvanceTestClock(advancePerFrame);
  if (--framesLeft <= 0) loop.running = 0;
}

class LoopTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    frames.clear();
    advancePerFrame = 0;
  }

  static void RunFrames(int count, uintptr_t argument = 0) {
    framesLeft = count;
    EXPECT_TRUE(KV_LOOP::Instance().Run(RecordFrame, argument));
  }

  // A window whose class uses the framework's window procedure.
  static HWND MakeWindow(const char* name) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = KvWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    if (!RegisterClassA(&windowClass)) return nullptr;
    return CreateWindowExA(WS_EX_APPWINDOW, name, name, WS_POPUP, 0, 0, 32, 32, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
};

}  // namespace

TEST_F(LoopTest, DefaultsTickEveryFrameWithoutPacing) {
  platform::testing::UseTestClock(0.001);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.Calibrate();
  EXPECT_EQ(loop.targetA, 0.0f);
  EXPECT_EQ(loop.targetB, 0.0f);
  RunFrames(6);
  ASSERT_EQ(frames.size(), 6u);
  for (const FrameRecord& frame : frames) {
    EXPECT_EQ(frame.drawTick, 1);
    EXPECT_EQ(frame.updateTick, 1);
  }
  // Without pacing a frame reads the clock once: its time is one step of the clock.
  EXPECT_NEAR(loop.frameTime, 0.001f, 1e-6f);
  EXPECT_EQ(platform::testing::LastSleepMilliseconds(), 0u);
  EXPECT_EQ(loop.running, 1);
}

// ---- pacing: every frame lasts its target, and its time is the whole frame ----

// The period of frame i (from 0): from its start to the next frame's start, in ms.
float PeriodMs(size_t i) { return (frames[i + 1].previousTime - frames[i].previousTime) * 1000.0f; }

TEST_F(LoopTest, BusyWaitFramesLastTheirTargetsAndTheirTimeIncludesTheWait) {
  platform::testing::UseTestClock(0.00001);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = 16;
  advancePerFrame = 0.002f;  // 2 ms of work in every frame
  RunFrames(70);
  ASSERT_EQ(frames.size(), 70u);
  for (size_t i = 0; i + 1 < frames.size(); ++i) {
    // Odd frames (the first is frame 1) wait for target A, even ones for target B.
    float target = i % 2 == 0 ? loop.targetA : loop.targetB;
    EXPECT_GE(PeriodMs(i), target - 0.001f) << "frame " << i + 1;
    EXPECT_LT(PeriodMs(i), target + 0.05f) << "frame " << i + 1;
    // What the next frame reads as its delta is that whole period, not the 2 ms of work.
    EXPECT_NEAR(frames[i + 1].frameTime * 1000.0f, PeriodMs(i), 0.01f) << "frame " << i + 1;
  }
  // More than a second has run: frames per second counts the frames really run.
  EXPECT_NEAR(loop.framesPerSecond, 2000.0f / (loop.targetA + loop.targetB), 0.5f);
}

// Ten hours into a session a float of seconds steps by 4 ms; the frames must still last their
// targets and read their real length, not one of whole 4 ms steps.
TEST_F(LoopTest, FramesKeepTheirLengthLateInALongSession) {
  platform::testing::UseTestClock(0.00001, 36000.0);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = 16;
  advancePerFrame = 0.002f;
  RunFrames(20);
  EXPECT_GT(loop.targetA, 15.0f);
  EXPECT_LT(loop.targetA, 16.0f);
  EXPECT_GE(loop.targetB, 17.0f);
  EXPECT_LT(loop.targetB, 17.1f);
  for (size_t i = 1; i < frames.size(); ++i) {
    float target = i % 2 == 1 ? loop.targetA : loop.targetB;
    EXPECT_NEAR(frames[i].frameTime * 1000.0f, target, 0.05f) << "frame " << i + 1;
  }
}

TEST_F(LoopTest, BusyWaitSleepsThroughTheWaitAndSpinsOnlyItsLastStretch) {
  platform::testing::UseTestClock(0.00001);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = 16;
  advancePerFrame = 0.002f;
  RunFrames(2);
  // The last frame waited for target B: 2 ms of work, a sleep, then the spin; its time is the
  // whole frame. The sleep is not cut to whole milliseconds, so the spin is only its shortest.
  const float sleptMs = (float)(platform::testing::LastSleepSeconds() * 1000.0);
  const float spinMs = loop.frameTime * 1000.0f - 2.0f - sleptMs;
  EXPECT_GE(sleptMs, loop.targetB - 2.0f - 0.5f);
  EXPECT_GT(spinMs, 0.2f);
  EXPECT_LT(spinMs, 0.4f);
}

TEST_F(LoopTest, BusyWaitSpinsLongerWhereSleepsWakeLateAndStillMeetsItsTargets) {
  platform::testing::UseTestClock(0.00001);
  platform::testing::SetSleepLateness(0.0006);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = 16;
  advancePerFrame = 0.002f;
  RunFrames(5);
  ASSERT_EQ(frames.size(), 5u);
  EXPECT_NEAR(loop.sleepLateness, 0.6f, 0.05f);
  for (size_t i = 0; i + 1 < frames.size(); ++i) {
    float target = i % 2 == 0 ? loop.targetA : loop.targetB;
    EXPECT_GE(PeriodMs(i), target - 0.001f) << "frame " << i + 1;
    EXPECT_LT(PeriodMs(i), target + 0.05f) << "frame " << i + 1;
  }
  // The spin covers the late wake-up: the sleep asked ends more than 0.6 ms before the target,
  // and not much more.
  const float sleptMs = (float)(platform::testing::LastSleepSeconds() * 1000.0);
  EXPECT_GT(loop.frameTime * 1000.0f - 2.0f - sleptMs, 0.6f);
  EXPECT_LT(loop.frameTime * 1000.0f - 2.0f - sleptMs, 1.0f);
}

TEST_F(LoopTest, SleepModeHoldsTheLimitOnAverageWithoutSwinging) {
  platform::testing::UseTestClock(0.00001);
  KV_LOOP& loop = KV_LOOP::Instance();
  const float limit = 1000.0f / 60.0f;
  loop.frameLimit = limit;
  loop.sleepMode = 1;
  advancePerFrame = 0.002f;
  RunFrames(90);
  ASSERT_EQ(frames.size(), 90u);
  float sum = 0;
  for (size_t i = 0; i + 1 < frames.size(); ++i) {
    // Whole-millisecond sleeps: each frame within a millisecond of the limit.
    EXPECT_NEAR(PeriodMs(i), limit, 1.0f) << "frame " << i + 1;
    EXPECT_NEAR(frames[i + 1].frameTime * 1000.0f, PeriodMs(i), 0.01f) << "frame " << i + 1;
    sum += PeriodMs(i);
  }
  EXPECT_NEAR(sum / (float)(frames.size() - 1), limit, 0.05f);
  EXPECT_NEAR(loop.framesPerSecond, 60.0f, 0.5f);
}

TEST_F(LoopTest, SleepModeSleepsOneMillisecondAfterAnOverrunAndDoesNotMakeItUp) {
  platform::testing::UseTestClock(0.00001);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = 16;
  loop.sleepMode = 1;
  advancePerFrame = 0.030f;
  RunFrames(1);
  EXPECT_EQ(platform::testing::LastSleepMilliseconds(), 1u);
  EXPECT_EQ(loop.sleepCarry, 0.0f);
  // The next frames keep the whole limit.
  advancePerFrame = 0.002f;
  RunFrames(3);
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_GE(PeriodMs(1), 16.0f);
  EXPECT_NEAR(PeriodMs(2), 16.0f, 0.1f);
}

TEST_F(LoopTest, IntervalsTickWhenTheirTimeHasGathered) {
  platform::testing::UseTestClock(0.000001);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.drawInterval = 0.045f;
  advancePerFrame = 0.02f;
  RunFrames(7);
  ASSERT_EQ(frames.size(), 7u);
  // Ticks gate the next frame: the first frame has both; then 0.02 s gather per frame.
  const unsigned char expectedDraw[] = {1, 0, 0, 1, 0, 1, 0};
  for (size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].drawTick, expectedDraw[i]) << "frame " << i + 1;
    EXPECT_EQ(frames[i].updateTick, 1) << "frame " << i + 1;
  }
}

TEST_F(LoopTest, RatesAreComputedOncePerSecond) {
  platform::testing::UseTestClock(0.000001);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.updateInterval = 0.2f;
  advancePerFrame = 0.1f;
  RunFrames(25);
  EXPECT_NEAR(loop.framesPerSecond, 10.0f, 1.1f);
  EXPECT_NEAR(loop.drawTicksPerSecond, loop.framesPerSecond, 0.01f);
  EXPECT_NEAR(loop.updateTicksPerSecond, loop.framesPerSecond / 2, 1.1f);
  EXPECT_LT(loop.rateWindow, 1.0f);
}

TEST_F(LoopTest, WaitingMessagesAreAllHandledBeforeTheNextFrame) {
  HWND hwnd = MakeWindow("Loop Messages");
  ASSERT_NE(hwnd, nullptr);
  PostMessageA(hwnd, WM_KEYDOWN, 'A', 0);
  PostMessageA(hwnd, WM_KEYDOWN, 'B', 0);
  PostMessageA(hwnd, WM_CHAR, 'x', 0);
  RunFrames(2, 77);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].hwnd, hwnd);
  EXPECT_EQ(frames[0].argument, 77u);
  EXPECT_TRUE(frames[0].keyAPressed);
  EXPECT_TRUE(frames[0].keyBPressed);
  EXPECT_EQ(frames[0].chars, 1u);
  // The end of the first frame reset the edges and emptied the queue; the keys stay held.
  EXPECT_FALSE(frames[1].keyAPressed);
  EXPECT_EQ(frames[1].chars, 0u);
  EXPECT_EQ(frames[1].hwnd, hwnd);
  EXPECT_TRUE(KvKeyDown('A'));
  DestroyWindow(hwnd);
}

TEST_F(LoopTest, EdgesAndCharactersStayWhenTheResetsAreOff) {
  HWND hwnd = MakeWindow("Loop No Reset");
  ASSERT_NE(hwnd, nullptr);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.resetInput = 0;
  loop.clearCharacters = 0;
  PostMessageA(hwnd, WM_KEYDOWN, 'A', 0);
  PostMessageA(hwnd, WM_CHAR, 'x', 0);
  RunFrames(2);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_TRUE(frames[1].keyAPressed);
  EXPECT_EQ(frames[1].chars, 1u);
  DestroyWindow(hwnd);
}

TEST_F(LoopTest, AClosedWindowEndsTheLoopBeforeAnyFrame) {
  HWND hwnd = MakeWindow("Loop Close");
  ASSERT_NE(hwnd, nullptr);
  platform::testing::InjectClose(hwnd);
  RunFrames(3);
  EXPECT_TRUE(frames.empty());
  EXPECT_EQ(KV_LOOP::Instance().lastMessage.message, (UINT)WM_QUIT);
  EXPECT_EQ(KV_LOOP::Instance().running, 1);
  DestroyWindow(hwnd);
}

TEST_F(LoopTest, AStopRequestedBeforeRunReturnsAtOnceAndStays) {
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.running = 0;
  RunFrames(3);
  EXPECT_TRUE(frames.empty());
  EXPECT_EQ(loop.running, 0);
  loop.running = 1;
}
