// The engine's testing interface: switches that tests (and only tests) turn. A call trace records
// every Kv* call with its arguments; forced failures make chosen calls fail; the batch's per-frame
// counts and a flush-after-every-draw switch show how drawing was grouped; pixels of the current
// render target can be read back. Everything else stays the real engine.
#pragma once

#include <SDL2/SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/kv_engine.h"

namespace kv::engine::testing {

// ---- call trace ----------------------------------------------------------------------------

// Starts recording Kv* calls (clearing what was recorded before).
void StartTrace();
// Stops recording; the calls recorded so far stay readable.
void StopTrace();
// The recorded calls in order, each as text: "KvSetState(262, 1, 1, 1, 1)". Handles appear as
// their id (0 for null), texts quoted, other pointers as "ptr" or 0, doubles as with "%g".
const std::vector<std::string>& TracedCalls();
// The recorded calls, one per line.
std::string TraceText();
void ClearTrace();

// ---- forced failures -------------------------------------------------------------------------

// One argument a forced failure requires: argument number index (from 0) formatted as in the trace.
struct ArgMatch {
  size_t index;
  std::string text;
};
// Makes the next `times` calls of the function whose arguments match the filter fail (times < 0:
// every matching call until ClearFailures). Example: FailNext("KvRenderTargetCreate", {{2, "82"}}).
void FailNext(const std::string& function, std::vector<ArgMatch> filter = {}, int times = 1);
// Removes every forced failure.
void ClearFailures();

// ---- batching -----------------------------------------------------------------------------

struct FrameStats {
  uint32_t flushes = 0;    // batch flushes that drew something
  uint32_t drawCalls = 0;  // GL draw calls issued
};
// The counts of the frame presented last.
FrameStats LastFrameStats();
// The counts of the frame being drawn.
FrameStats CurrentFrameStats();
// With on set, the batch flushes after every draw: the unbatched reference path.
void SetFlushEveryDraw(bool on);

// ---- render targets ---------------------------------------------------------------------------

// The current target's pixels in the rectangle (x, y, w, h), window pixels with y down, as R, G,
// B, A bytes with the top row first; empty when there is no current target.
std::vector<uint8_t> ReadPixels(int x, int y, int w, int h);
// True when the target draws straight into its window's own buffers, false when it draws into a
// frame buffer of its own (or is unknown).
bool DrawsIntoWindow(KV_HANDLE target);
// Replaces the way window handles are turned into SDL windows (null restores the platform's),
// for tests that make their own SDL windows.
void SetWindowResolver(SDL_Window* (*resolver)(HWND));
// Live engine objects of every kind (targets, textures, fonts), for leak checks.
size_t LiveObjectCount();

}  // namespace kv::engine::testing
