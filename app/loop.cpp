// The frame loop: one message per turn, a frame only when the queue is empty, pacing, the
// frame time measured after it, and the draw and update ticks counted from that time.
#include "app/loop.h"

#include <algorithm>
#include <cmath>

#include "app/input.h"
#include "foundation/clock.h"
#include "platform/time/fine_sleep.h"

namespace {

// Busy-wait pacing spins for at least this long at the end of a wait, and at most this long
// however late the system's sleeps wake (ms).
constexpr float kShortestSpin = 0.25f;
constexpr float kLongestSpin = 2.0f;
// A wait shorter than this is spun whole: a sleep that short is mostly its own overhead (ms).
constexpr float kShortestSleep = 0.1f;
// Sleeps of 1 ms that Calibrate times to learn how late a sleep wakes.
constexpr int kLatenessSamples = 3;
// How fast the lateness estimate relaxes toward sleeps that wake earlier than it (per frame).
constexpr float kLatenessRelax = 0.05f;
// The most that sleep mode makes up in one frame for earlier frames (ms).
constexpr float kMostCarry = 1.0f;

// Frames in a row that one target must pace away from where it belongs before the loop
// calibrates again: about a fifth of a second at 60 frames a second. No single frame decides it.
constexpr unsigned char kMissesBeforeCalibrating = 6;

float Milliseconds(double seconds) { return (float)(seconds * 1000.0); }

}  // namespace

KV_LOOP::KV_LOOP()
    : targetA(0),
      targetB(0),
      drawAccumulator(0),
      drawTick(0),
      updateAccumulator(0),
      updateTick(0),
      previousTime(0),
      currentTime(0),
      frameTime(0),
      framesPerSecond(0),
      drawTicksPerSecond(0),
      updateTicksPerSecond(0),
      rateWindow(0),
      frameLimit(0),
      drawInterval(0),
      updateInterval(0),
      sleepMode(0),
      frameCounter(0),
      drawTickCounter(0),
      updateTickCounter(0),
      resetInput(1),
      clearCharacters(1),
      lastMessage{},
      running(1),
      trayHook(nullptr),
      appMessageHook(nullptr),
      messageHook(nullptr),
      sleepLateness(0),
      sleepCarry(0),
      previousSeconds(0),
      currentSeconds(0),
      clockStep(0),
      missesA(0),
      missesB(0) {}

KV_LOOP& KV_LOOP::Instance() {
  // Never destroyed: hooks and timings may be read by exit-time destructors.
  static KV_LOOP* loop = new KV_LOOP();
  return *loop;
}

void KV_LOOP::Calibrate() {
  targetA = 0;
  targetB = 0;
  missesA = 0;
  missesB = 0;
  const double t0 = KvTimeD() * 1000.0;
  if (frameLimit <= 0) return;
  const KV_FRAME_TARGETS targets = KV_FRAME_TARGETS::Measure(t0, frameLimit);
  targetA = targets.targetA;
  targetB = targets.targetB;
  clockStep = targets.clockStep;
  MeasureSleepLateness();
}

void KV_LOOP::MeasureSleepLateness() {
  sleepLateness = 0;
  for (int i = 0; i < kLatenessSamples; ++i) {
    const double before = KvTimeD();
    Sleep(1);
    const float late = Milliseconds(KvTimeD() - before) - 1.0f;
    sleepLateness = std::max(sleepLateness, late);
  }
  sleepLateness = std::min(sleepLateness, kLongestSpin);
}

bool KV_LOOP::Run(KV_FRAME_PROC procedure, uintptr_t argument) {
  Calibrate();
  previousSeconds = KvTimeD();
  previousTime = (float)previousSeconds;
  rateWindow = 0;
  frameCounter = drawTickCounter = updateTickCounter = 0;
  lastMessage.message = 0;
  sleepCarry = 0;
  drawAccumulator = 0;
  drawTick = 1;
  updateAccumulator = 0;
  updateTick = 1;
  bool odd = false;
  if (!running) return true;
  while (running) {
    // Peek into a copy, so that a turn without a message keeps the window of the last
    // message handled for the procedure.
    MSG message{};
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      lastMessage = message;
      if (message.message == WM_QUIT) {
        running = 0;
      } else {
        TranslateMessage(&lastMessage);
        DispatchMessageA(&lastMessage);
      }
      continue;
    }
    RunFrame(procedure, argument, odd);
  }
  running = 1;
  return true;
}

void KV_LOOP::RunFrame(KV_FRAME_PROC procedure, uintptr_t argument, bool& odd) {
  KvCursorRefresh();
  if (procedure != nullptr) procedure(lastMessage.hwnd, argument);
  if (resetInput) KvInputResetFrame(false);
  if (clearCharacters) KvClearChars();

  // The frame ends after its wait, so that its time is the real time from one frame to the
  // next: what particles, timers, the GUI and the intro advance by matches the wall clock.
  odd = !odd;
  currentSeconds = KvTimeD();
  const bool spunToTarget = frameLimit > 0 && Pace(odd);
  const float frameMs = Milliseconds(currentSeconds - previousSeconds);
  currentTime = (float)currentSeconds;
  frameTime = (float)(currentSeconds - previousSeconds);
  previousSeconds = currentSeconds;
  previousTime = currentTime;
  if (frameLimit > 0 && sleepMode) CarrySleepError();
  ++frameCounter;
  rateWindow += frameTime;

  CountTicks();

  if (rateWindow >= 1.0f) {
    framesPerSecond = frameCounter / rateWindow;
    drawTicksPerSecond = drawTickCounter / rateWindow;
    updateTicksPerSecond = updateTickCounter / rateWindow;
    frameCounter = drawTickCounter = updateTickCounter = 0;
    rateWindow = std::fmod(rateWindow, 1.0f);
  }

  // Last, so that a new calibration's time counts toward the next frame, as any wait does.
  if (frameLimit > 0 && !sleepMode) FollowPacing(odd, frameMs, spunToTarget);
}

// True when the busy-wait's spin ended the frame at its target (see PaceByBusyWaiting).
bool KV_LOOP::Pace(bool odd) {
  if (sleepMode) {
    PaceBySleeping();
    return false;
  }
  return PaceByBusyWaiting(odd ? targetA : targetB);
}

void KV_LOOP::PaceBySleeping() {
  // Whole milliseconds: what is left of the limit, with what earlier frames fell short of or
  // overran it, rounded. A frame that already overran still gives up the processor for 1 ms.
  const float left = frameLimit + sleepCarry - Milliseconds(currentSeconds - previousSeconds);
  Sleep(left < 1.0f ? 1 : (DWORD)(left + 0.5f));
  currentSeconds = KvTimeD();
}

void KV_LOOP::CarrySleepError() {
  const float error = frameLimit - Milliseconds(frameTime);
  // A frame whose own work overran the limit is not made up for: the next frames keep the limit.
  if (error < -kMostCarry) {
    sleepCarry = 0;
    return;
  }
  sleepCarry = std::clamp(sleepCarry + error, -kMostCarry, kMostCarry);
}

bool KV_LOOP::PaceByBusyWaiting(float target) {
  // Sleep through the bulk of the wait and spin on the clock only for its last stretch, a
  // little longer than a sleep may wake late (the lateness followed is the worst seen lately), so
  // that the target is met as exactly as by spinning alone while the processor stays free for
  // the rest of the wait.
  const float spin = std::clamp(sleepLateness + kShortestSpin, kShortestSpin, kLongestSpin);
  // The sleep is as fine as the system's, not whole milliseconds: a sleep cut to whole ones
  // left up to a millisecond more to spin in every frame.
  const float sleepable = target - Milliseconds(currentSeconds - previousSeconds) - spin;
  if (sleepable >= kShortestSleep) {
    const double before = KvTimeD();
    platform::SleepNanoseconds((int64_t)(sleepable * 1e6f));
    currentSeconds = KvTimeD();
    FollowSleepLateness(Milliseconds(currentSeconds - before) - sleepable);
  }
  // The spin ended the frame at its target when it read the clock below the target and then,
  // without a pause between the two readings, at or past it: the frame then lasts what the
  // target says. A frame that its work, a late sleep or a pause of the process carried past the
  // target says nothing about the target.
  double below = currentSeconds;
  bool spun = false;
  while (Milliseconds(currentSeconds - previousSeconds) < target) {
    below = currentSeconds;
    currentSeconds = KvTimeD();
    spun = true;
  }
  return spun && Milliseconds(currentSeconds - below) <= Targets().PauseGap();
}

void KV_LOOP::FollowPacing(bool odd, float frameMs, bool spunToTarget) {
  // A target that a calibration set lets no frame end short of where it belongs, and ends a
  // frame it spins to within where it belongs. So a frame that ended short shows a target short
  // of its mark, whatever ended the frame: nothing the system does shortens a frame. A longer one
  // shows a target past its mark only when the spin ended it: work, a late sleep or a pause of
  // the process may have carried it there, and such a frame is no evidence either way. A busy
  // system therefore never makes the loop calibrate again, and a new calibration, whose targets
  // lie where they belong, ends the misses.
  const int place = Targets().Place(frameLimit, odd, frameMs);
  if (place > 0 && !spunToTarget) return;
  unsigned char& misses = odd ? missesA : missesB;
  if (place == 0) {
    misses = 0;
    return;
  }
  if (++misses >= kMissesBeforeCalibrating) Calibrate();
}

void KV_LOOP::FollowSleepLateness(float late) {
  // A sleep that woke later than expected raises the estimate at once; earlier ones lower it
  // slowly, so that one quiet frame does not undo what a busy system showed.
  if (late > sleepLateness) {
    sleepLateness = std::min(late, kLongestSpin);
  } else {
    sleepLateness += (late - sleepLateness) * kLatenessRelax;
  }
}

namespace {

// Adds the frame time to an accumulator and reports whether its interval has elapsed,
// keeping the remainder. Without an interval every frame ticks; the accumulator then
// stays 0 rather than becoming fmod(x, 0), which is not a number and would stop the
// ticks for good if an interval were set later in the same run.
bool Tick(float& accumulator, float interval, float frameTime) {
  accumulator += frameTime;
  if (interval <= 0) {
    accumulator = 0;
    return true;
  }
  if (accumulator < interval) return false;
  accumulator = std::fmod(accumulator, interval);
  return true;
}

}  // namespace

void KV_LOOP::CountTicks() {
  drawTick = 0;
  if (Tick(drawAccumulator, drawInterval, frameTime)) {
    drawTick = 1;
    ++drawTickCounter;
  }
  updateTick = 0;
  if (Tick(updateAccumulator, updateInterval, frameTime)) {
    updateTick = 1;
    ++updateTickCounter;
  }
}
