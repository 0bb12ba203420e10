// The frame loop's busy-wait targets on the test clock: pauses of the process during a
// calibration, on any reading around either mark, leave the targets where an undisturbed
// calibration puts them; a run paced by a wrong target calibrates again within a second; and
// frames that the system made late never make it calibrate again.
#include <cmath>
#include <initializer_list>
#include <vector>

#include "app_fixture.h"

namespace {

constexpr double kStepSeconds = 0.00001;  // one step of the test clock
constexpr float kStepMs = 0.01f;
// How far a target may lie from where an undisturbed calibration puts it: a few readings (ms).
constexpr float kFewReadings = 3 * kStepMs;

struct Pause {
  float atMs;      // the clock time at which the system stops the process, from the first reading
  float lengthMs;  // how long it stays stopped
};

struct Targets {
  float a;
  float b;
};

// The test clock again, with the pauses (in the order they come) laid on its readings from now:
// the reading that would have come at a pause's time comes that much later.
void UseClockWithPauses(std::initializer_list<Pause> pauses) {
  platform::testing::UseTestClock(kStepSeconds);
  float pausedMs = 0;
  for (const Pause& pause : pauses) {
    const int reading = (int)std::lround((pause.atMs - pausedMs) / kStepMs) + 1;
    platform::testing::JumpTestClockLater(reading, pause.lengthMs / 1000.0);
    pausedMs += pause.lengthMs;
  }
}

Targets Calibrated(float limit, std::initializer_list<Pause> pauses = {}) {
  UseClockWithPauses(pauses);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = limit;
  loop.Calibrate();
  return {loop.targetA, loop.targetB};
}

std::vector<double> starts;  // s: each frame's start, the end of the previous frame's wait
Targets calibrated;          // what the run's own calibration set
void (*spoil)(KV_LOOP& loop) = nullptr;
int framesLeft = 0;
float workSeconds = 0;  // of every frame

// Records the frame's start and works for workSeconds; the first frame keeps the targets the
// run calibrated and then spoils them, when a test gives a way to.
void WorkFrame(HWND, uintptr_t) {
  KV_LOOP& loop = KV_LOOP::Instance();
  starts.push_back(loop.previousSeconds);
  if (starts.size() == 1) {
    calibrated = {loop.targetA, loop.targetB};
    if (spoil != nullptr) spoil(loop);
  }
  platform::testing::AdvanceTestClock(workSeconds);
  if (--framesLeft <= 0) loop.running = 0;
}

void RunFrames(int count) {
  starts.clear();
  framesLeft = count;
  KV_LOOP::Instance().Run(WorkFrame, 0);
}

float PeriodMs(size_t i) { return (float)((starts[i + 1] - starts[i]) * 1000.0); }

class FrameTargetsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    spoil = nullptr;
    workSeconds = 0.002f;
  }
};

}  // namespace

// ---- a calibration the system pauses ----

TEST_F(FrameTargetsTest, CalibrationStepDependsOnTheLimit) {
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

// Target A belongs just below the limit and target B at limit + 1 ms (a step of 1 ms for these
// limits). A pause is tried on every reading from a few before a mark to a few after it, and on
// every reading from which it ends a few readings before or after the mark; a long one carries
// the clock past both marks at once.
TEST_F(FrameTargetsTest, APauseOnAnyReadingAroundTheMarksLeavesTheTargetsWhereTheyBelong) {
  for (float limit : {16.0f, 33.0f}) {
    const Targets undisturbed = Calibrated(limit);
    EXPECT_LT(undisturbed.a, limit);
    EXPECT_GT(undisturbed.a, limit - kFewReadings);
    EXPECT_GE(undisturbed.b, limit + 1);
    EXPECT_LT(undisturbed.b, limit + 1 + kFewReadings);
    for (float mark : {limit, limit + 1}) {
      for (float length : {5.0f, 0.3f}) {
        for (float ends : {0.0f, length}) {
          for (int i = -8; i <= 8; ++i) {
            const float at = mark - ends + (float)i * kStepMs;
            const Targets paused = Calibrated(limit, {{at, length}});
            EXPECT_NEAR(paused.a, undisturbed.a, kFewReadings)
                << limit << " ms, paused " << length << " ms at " << at << " ms";
            EXPECT_NEAR(paused.b, undisturbed.b, kFewReadings)
                << limit << " ms, paused " << length << " ms at " << at << " ms";
          }
        }
      }
    }
  }
}

TEST_F(FrameTargetsTest, SeveralPausesInOneCalibrationLeaveTheTargetsWhereTheyBelong) {
  struct Case {
    float limit;
    std::initializer_list<Pause> pauses;
  } cases[] = {
      // Short pauses throughout, one across each mark.
      {16, {{3, 1}, {9, 0.5f}, {15.5f, 1}, {16.7f, 0.4f}}},
      {33, {{5, 1}, {20, 2}, {32.6f, 0.8f}, {33.5f, 0.6f}}},
      // Short pauses just before each mark, and one that lands on the limit.
      {16, {{15.9f, 0.05f}, {15.97f, 0.02f}, {16.5f, 0.5f}}},
      // One longer than the whole calibration on its first reading, then a short one.
      {16, {{0.01f, 40}, {40.05f, 0.5f}}},
      {33, {{0.01f, 40}, {40.05f, 0.5f}}},
      // Stopped about 5 ms into the calibration for 12 ms: past both marks.
      {16, {{5, 12}}},
  };
  for (const Case& c : cases) {
    const Targets undisturbed = Calibrated(c.limit);
    const Targets paused = Calibrated(c.limit, c.pauses);
    const float first = c.pauses.begin()->atMs;
    EXPECT_NEAR(paused.a, undisturbed.a, kFewReadings) << c.limit << " ms, first at " << first;
    EXPECT_NEAR(paused.b, undisturbed.b, kFewReadings) << c.limit << " ms, first at " << first;
  }
}

// ---- a run that paces wrong calibrates again; a busy system does not make it ----

TEST_F(FrameTargetsTest, ARunPacedByAWrongTargetCalibratesAgainWithinASecond) {
  struct Case {
    const char* what;
    void (*spoil)(KV_LOOP& loop);
  } cases[] = {
      {"B late, as a pause in a calibration left it", [](KV_LOOP& l) { l.targetB = 20.9f; }},
      {"B short of the limit", [](KV_LOOP& l) { l.targetB = 16.5f; }},
      {"A far short of the limit", [](KV_LOOP& l) { l.targetA = 5.0f; }},
      {"A past the limit", [](KV_LOOP& l) { l.targetA = 16.6f; }},
      {"none, as without a limit", [](KV_LOOP& l) { l.targetA = l.targetB = 0; }},
  };
  KV_LOOP& loop = KV_LOOP::Instance();
  for (const Case& c : cases) {
    platform::testing::UseTestClock(kStepSeconds);
    loop.frameLimit = 16;
    spoil = c.spoil;
    RunFrames(90);
    ASSERT_EQ(starts.size(), 90u) << c.what;
    // Odd frames (the first is frame 1) wait for target A, even ones for target B.
    size_t checked = 0;
    for (size_t i = 0; i + 1 < starts.size(); ++i) {
      if (starts[i] - starts[0] < 1.0) continue;
      const float target = i % 2 == 0 ? calibrated.a : calibrated.b;
      EXPECT_NEAR(PeriodMs(i), target, kFewReadings) << c.what << ", frame " << i + 1;
      ++checked;
    }
    EXPECT_GE(checked, 10u) << c.what;
    EXPECT_NEAR(loop.targetA, calibrated.a, kFewReadings) << c.what;
    EXPECT_NEAR(loop.targetB, calibrated.b, kFewReadings) << c.what;
  }
}

// Frames that end away from their targets because of the system, every frame of a run: a new
// calibration would show as a frame at least 17 ms longer than the rest.
TEST_F(FrameTargetsTest, FramesTheSystemMadeLateDoNotCalibrateAgain) {
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = 16;

  // Sleeps that wake 2.6 ms late, later than the loop spins for (at most 2 ms): every frame
  // ends about 0.6 ms past its target.
  platform::testing::UseTestClock(kStepSeconds);
  platform::testing::SetSleepLateness(0.0026);
  RunFrames(80);
  for (size_t i = 0; i + 1 < starts.size(); ++i) {
    const float target = i % 2 == 0 ? calibrated.a : calibrated.b;
    EXPECT_GT(PeriodMs(i), target + 0.5f) << "late sleeps, frame " << i + 1;
    EXPECT_LT(PeriodMs(i), target + 0.7f) << "late sleeps, frame " << i + 1;
  }
  platform::testing::SetSleepLateness(0);

  // Work longer than either target.
  platform::testing::UseTestClock(kStepSeconds);
  workSeconds = 0.02f;
  RunFrames(80);
  for (size_t i = 0; i + 1 < starts.size(); ++i) {
    EXPECT_NEAR(PeriodMs(i), 20.0f, kFewReadings) << "long work, frame " << i + 1;
  }

  // Stopped for 0.5 ms on every seventh reading of the clock, spins and the run's own
  // calibration included: frames end up to 0.5 ms past their targets.
  platform::testing::UseTestClock(kStepSeconds);
  for (int reading = 7; reading < 200000; reading += 7) {
    platform::testing::JumpTestClockLater(reading, 0.0005);
  }
  workSeconds = 0.002f;
  RunFrames(80);
  EXPECT_NEAR(calibrated.a, 16.0f, kFewReadings);
  EXPECT_NEAR(calibrated.b, 17.0f, kFewReadings);
  for (size_t i = 0; i + 1 < starts.size(); ++i) {
    const float target = i % 2 == 0 ? calibrated.a : calibrated.b;
    EXPECT_GE(PeriodMs(i), target) << "paused spins, frame " << i + 1;
    EXPECT_LT(PeriodMs(i), target + 0.6f) << "paused spins, frame " << i + 1;
  }
}
