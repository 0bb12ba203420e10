// The frame loop: one message per turn, a frame only when the queue is empty, the frame
// time measured before pacing, and the draw and update ticks counted after it.
#include "app/loop.h"

#include <cmath>

#include "app/input.h"
#include "foundation/clock.h"

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
      messageHook(nullptr) {}

KV_LOOP& KV_LOOP::Instance() {
  // Never destroyed: hooks and timings may be read by exit-time destructors.
  static KV_LOOP* loop = new KV_LOOP();
  return *loop;
}

void KV_LOOP::Calibrate() {
  targetA = 0;
  targetB = 0;
  const float t0 = KvTime() * 1000.0f;
  const float limit = frameLimit + 1.0f;
  const float step = limit <= 14.0f ? 2.0f : 1.0f;
  if (frameLimit <= 0) return;
  // Target A ends as the last reading still below limit - step, target B as the loop's
  // last reading, the first at or past the limit. Odd frames wait for A, even ones for B,
  // so that the clock's granularity averages out over two frames.
  float elapsed = 0;
  while (elapsed < limit) {
    float e = KvTime() * 1000.0f - t0;
    if (e < limit - step) targetA = e;
    targetB = KvTime() * 1000.0f - t0;
    elapsed = targetB;
  }
}

bool KV_LOOP::Run(KV_FRAME_PROC procedure, uintptr_t argument) {
  Calibrate();
  previousTime = KvTime();
  rateWindow = 0;
  frameCounter = drawTickCounter = updateTickCounter = 0;
  lastMessage.message = 0;
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

  currentTime = KvTime();
  odd = !odd;
  frameTime = currentTime - previousTime;
  if (frameLimit > 0) Pace(odd);
  // The wait belongs to the next frame's time.
  previousTime = currentTime;
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
}

void KV_LOOP::Pace(bool odd) {
  if (sleepMode) {
    // Whole milliseconds left of the limit; a frame that already overran still
    // gives up the processor for 1 ms.
    float left = frameLimit - frameTime * 1000.0f;
    DWORD ms = left < 1.0f ? 1 : (DWORD)left;
    Sleep(ms);
    return;
  }
  const float target = odd ? targetA : targetB;
  while ((currentTime - previousTime) * 1000.0f < target) currentTime = KvTime();
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
