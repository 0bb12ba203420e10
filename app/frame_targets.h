// The frame loop's busy-wait targets. With limit = frame limit + 1 ms, odd frames wait for target
// A, the last clock reading below limit - step, and even frames for target B, the first reading at
// or past the limit, so that the clock's granularity averages out over two frames. Measure reads
// them off the clock; Place then tells whether a frame that a target paced came out where that
// target belongs.
#pragma once

struct KV_FRAME_TARGETS {
  float targetA;    // ms from the start of a frame
  float targetB;    // ms from the start of a frame
  float clockStep;  // ms: the shortest gap seen between two clock readings that differ

  // Reads the clock from t0 (ms, a reading just taken) until both marks of the frame limit (ms,
  // greater than 0) have passed, and sets the targets where those readings put them. Where the
  // system paused the reading across a mark, the target is put where an unpaused reading would
  // have found it: target A one clock step below its mark, target B on its mark.
  static KV_FRAME_TARGETS Measure(double t0, float frameLimit);

  // ms: readings further apart than this show that the system paused whatever read the clock;
  // a few clock steps, and never less than an interrupt may take.
  float PauseGap() const;
  // Where a frame of frameMs, paced by the target of an odd or even frame, lies against what a
  // calibration on this clock allows for the frame limit around that target's mark: -1 short of
  // it, 0 within it, 1 past it.
  int Place(float frameLimit, bool odd, float frameMs) const;
};
