// Measuring the busy-wait targets: the clock is read until both marks have passed, and each
// target is decided by the two readings on either side of its mark, so that a pause of the
// process anywhere in the reading, on any reading, moves no target by more than a clock step.
#include "app/frame_targets.h"

#include <algorithm>
#include <cmath>

#include "foundation/clock.h"

namespace {

// A gap between two readings shorter than this is an interrupt or a cache miss, not a pause of
// the process (ms).
constexpr float kShortestPause = 0.02f;
// Clock steps that a gap between readings must exceed to show a pause, on a clock so coarse
// that its steps are longer than the shortest pause.
constexpr float kPauseSteps = 4.0f;
// Gaps between differing readings to measure the clock step from, at least, so that a pause
// that carries a calibration past both marks at its first reading leaves the step known.
constexpr int kStepGaps = 4;

// Where the targets belong (ms from the start of a frame): target A just below limit - step,
// target B at or just past the limit, with limit = frame limit + 1.
struct Marks {
  float a;
  float b;
};

Marks MarksOf(float frameLimit) {
  const float limit = frameLimit + 1.0f;
  const float step = limit <= 14.0f ? 2.0f : 1.0f;
  return {limit - step, limit};
}

// The two readings on either side of a mark: the last one below it and the first at or past it.
struct Bracket {
  float below = 0;
  float above = 0;
  bool crossed = false;

  void Take(float previous, float reading, float mark) {
    if (crossed || reading < mark) return;
    crossed = true;
    below = previous;
    above = reading;
  }
  // Readings this far apart around the mark mean that the system paused the process across it,
  // so neither of them says where an unpaused reading would have found the mark.
  bool Paused(float pauseGap) const { return above - below > pauseGap; }
};

}  // namespace

KV_FRAME_TARGETS KV_FRAME_TARGETS::Measure(double t0, float frameLimit) {
  const Marks marks = MarksOf(frameLimit);
  Bracket a;
  Bracket b;
  float previous = 0;  // t0 itself
  float clockStep = 0;
  int gaps = 0;
  while (!b.crossed || gaps < kStepGaps) {
    const float reading = (float)(KvTimeD() * 1000.0 - t0);
    if (reading > previous) {
      const float gap = reading - previous;
      clockStep = gaps == 0 ? gap : std::min(clockStep, gap);
      ++gaps;
    }
    a.Take(previous, reading, marks.a);
    b.Take(previous, reading, marks.b);
    previous = reading;
  }
  KV_FRAME_TARGETS targets{a.below, b.above, clockStep};
  const float pauseGap = targets.PauseGap();
  if (a.Paused(pauseGap)) targets.targetA = marks.a - clockStep;
  if (b.Paused(pauseGap)) targets.targetB = marks.b;
  return targets;
}

float KV_FRAME_TARGETS::PauseGap() const {
  return std::max(kShortestPause, kPauseSteps * clockStep);
}

int KV_FRAME_TARGETS::Place(float frameLimit, bool odd, float frameMs) const {
  // Measure puts a target within one pause gap of its mark, and a frame that the target ended
  // lasts it and at most one more gap. Whatever lies further off is the target's own error, or
  // for a longer frame, one that something else than the target ended.
  const Marks marks = MarksOf(frameLimit);
  const float off = frameMs - (odd ? marks.a : marks.b);
  const float allowed = 2.0f * PauseGap();
  if (off < -allowed) return -1;
  return off > allowed ? 1 : 0;
}
