// KV_LOOP: the process-wide frame loop and frame timing. Run pumps window messages one at a
// time and runs a frame whenever the queue is empty: the state's per-frame procedure, the
// end-of-frame input reset, pacing against an optional frame limit, the frame time (the real
// time from one frame to the next, its wait included), and the draw and update ticks that gate
// the central object's per-frame driver. One instance, built on first use by Instance and
// never destroyed.
#pragma once

#include <cstdint>

#include "app/frame_targets.h"
#include "platform/winapi/windows.h"

// A state's per-frame procedure: the window of the last message handled and the argument
// word given to Run.
typedef void (*KV_FRAME_PROC)(HWND hwnd, uintptr_t argument);
// Called by the window procedure for the tray icon's message WM_APP (wParam, lParam).
typedef void (*KV_TRAY_HOOK)(HWND hwnd, WPARAM wParam, LPARAM lParam);
// Called by the window procedure for the application messages 0x8001 to 0xBFFE.
typedef void (*KV_APP_MESSAGE_HOOK)(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Offered every other message before the default handling; its result is ignored.
typedef LRESULT (*KV_MESSAGE_HOOK)(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

struct KV_LOOP {
  float targetA;                  // ms: busy-wait target of odd frames (set by Calibrate)
  float targetB;                  // ms: busy-wait target of even frames (set by Calibrate)
  float drawAccumulator;          // s: time gathered toward the draw interval
  unsigned char drawTick;         // set in a frame whose draw interval has elapsed
  float updateAccumulator;        // s: time gathered toward the update interval
  unsigned char updateTick;       // set in a frame whose update interval has elapsed
  float previousTime;             // s: clock at the end of the previous frame, after its wait
  float currentTime;              // s: clock at the end of this frame, after its wait
  float frameTime;                // s: current - previous: the whole frame, its wait included
  float framesPerSecond;          // frames of the last rate window / its length
  float drawTicksPerSecond;       // draw ticks of the last rate window / its length
  float updateTicksPerSecond;     // update ticks of the last rate window / its length
  float rateWindow;               // s: time gathered toward the next rate computation
  float frameLimit;               // ms: minimum frame time; 0 or less is no limit
  float drawInterval;             // s: 0 or less ticks every frame
  float updateInterval;           // s: 0 or less ticks every frame
  unsigned char sleepMode;        // 1: pace by sleeping; 0: busy-wait on the clock
  uint32_t frameCounter;          // frames in the current rate window
  uint32_t drawTickCounter;       // draw ticks in the current rate window
  uint32_t updateTickCounter;     // update ticks in the current rate window
  unsigned char resetInput;       // reset the per-frame input edges after each frame
  unsigned char clearCharacters;  // empty the typed-character queue after each frame
  MSG lastMessage;                // the message last taken; its window goes to the procedure
  unsigned char running;          // cleared to end the current Run
  KV_TRAY_HOOK trayHook;
  KV_APP_MESSAGE_HOOK appMessageHook;
  KV_MESSAGE_HOOK messageHook;
  // ms: how late a sleep wakes on this system (calibrated, then followed frame by frame).
  // Busy-wait pacing sleeps through a wait but for its last stretch, which it spins.
  float sleepLateness;
  // ms: what earlier frames fell short of (positive) or overran (negative) the limit in sleep
  // mode, which sleeps only whole milliseconds; the next sleep makes up for it, within 1 ms.
  float sleepCarry;
  // s: the previous and current times in double precision. Pacing, the frame time and the
  // calibration are computed from these: a float of seconds since the process started steps by
  // 0.24 ms after an hour and by 1 ms after two hours and a half, which would make every frame's
  // wait and measured time coarse in a long session. The float fields are these, rounded.
  double previousSeconds;
  double currentSeconds;
  // ms: the step of the clock as the last calibration saw it, which tells a pause of the process
  // from the ordinary gap between two readings.
  float clockStep;
  // Frames in a row that target A (B) paced away from where that target belongs (see
  // FollowPacing); enough of them show a wrong target, and the loop calibrates again.
  unsigned char missesA;
  unsigned char missesB;

  // The one frame loop, built on the first call.
  static KV_LOOP& Instance();

  // Runs frames with the procedure (null allowed) until running is cleared; then sets
  // running again. Returns at once, leaving running clear, when it is clear on entry.
  // Always true.
  bool Run(KV_FRAME_PROC procedure, uintptr_t argument);
  // Sets the busy-wait targets A and B from the frame limit (both 0 without a limit) and,
  // with a limit, measures how late a short sleep wakes. Run calibrates again by itself when
  // the frames a target paces show that target wrong.
  void Calibrate();
  // The draw and update ticks of the current frame.
  unsigned char DrawTick() const { return drawTick; }
  unsigned char UpdateTick() const { return updateTick; }

 private:
  KV_LOOP();
  KV_LOOP(const KV_LOOP&) = delete;
  KV_LOOP& operator=(const KV_LOOP&) = delete;

  void RunFrame(KV_FRAME_PROC procedure, uintptr_t argument, bool& odd);
  bool Pace(bool odd);
  void PaceBySleeping();
  bool PaceByBusyWaiting(float target);
  KV_FRAME_TARGETS Targets() const { return {targetA, targetB, clockStep}; }
  void FollowPacing(bool odd, float frameMs, bool spunToTarget);
  void CarrySleepError();
  void MeasureSleepLateness();
  void FollowSleepLateness(float late);
  void CountTicks();
};
