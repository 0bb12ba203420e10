// The frame loop on the test clock: one message per turn and frames only on an empty queue,
// calibration, both pacing modes, the draw and update intervals, the rates and the
// end-of-frame input reset.
#include <vector>

#include "app_fixture.h"

namespace {

struct FrameRecord {
  HWND hwnd;
  uintptr_t argument;
  unsigned char drawTick;
  unsigned char updateTick;
  float previousTime;
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
                    KvKeyPressed('A'), KvKeyPressed('B'), KvCharCount()});
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

TEST_F(LoopTest, CalibrationStepDependsOnTheLimit) {
  platform::testing::UseTestClock(0.00025);
  KV_LOOP& loop = KV_LOOP::Instance();
  struct Case {
    float limit;
    float belowA;  // target A stays below limit + 1 - step
  } cases[] = {{16, 16}, {13.5f, 13.5f}, {13, 12}, {12.5f, 11.5f}};
  for (const Case& c : cases) {
    loop.frameLimit = c.limit;
    loop.Calibrate();
    EXPECT_LT(loop.targetA, c.belowA) << c.limit;
    EXPECT_GE(loop.targetA, c.belowA - 0.6f) << c.limit;
    EXPECT_GE(loop.targetB, c.limit + 1) << c.limit;
    EXPECT_LT(loop.targetB, c.limit + 1.6f) << c.limit;
  }
}

TEST_F(LoopTest, BusyWaitPacesOddFramesToTargetAAndEvenFramesToTargetB) {
  platform::testing::UseTestClock(0.0001);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = 16;
  RunFrames(5);
  ASSERT_EQ(frames.size(), 5u);
  for (size_t i = 0; i + 1 < frames.size(); ++i) {
    float ms = (frames[i + 1].previousTime - frames[i].previousTime) * 1000.0f;
    float target = i % 2 == 0 ? loop.targetA : loop.targetB;
    EXPECT_GE(ms, target - 0.01f) << "frame " << i + 1;
    EXPECT_LT(ms, target + 0.5f) << "frame " << i + 1;
  }
  EXPECT_EQ(platform::testing::LastSleepMilliseconds(), 0u);
}

TEST_F(LoopTest, SleepModeSleepsWhatIsLeftOfTheLimit) {
  platform::testing::UseTestClock(0.0001);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = 16;
  loop.sleepMode = 1;
  RunFrames(1);
  // The frame took 0.1 ms: 15.9 ms are left, of which the whole milliseconds are slept.
  EXPECT_EQ(platform::testing::LastSleepMilliseconds(), 15u);
}

TEST_F(LoopTest, SleepModeSleepsOneMillisecondAfterAnOverrun) {
  platform::testing::UseTestClock(0.0001);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = 16;
  loop.sleepMode = 1;
  advancePerFrame = 0.030f;
  RunFrames(1);
  EXPECT_EQ(platform::testing::LastSleepMilliseconds(), 1u);
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
