// KvRenderScene and KvRenderVsync: presenting the current target's frame to its window (swapping
// the window's buffers, after copying a frame buffer's frame there), clearing it for the next one,
// and vertical sync that is accepted only when presenting really waits.
#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/draw/batch.h"
#include "engine/framebuffers/frame_buffers.h"
#include "engine/gl/context.h"
#include "engine/numbers.h"
#include "engine/states/render_states.h"
#include "engine/targets/drawing_buffers.h"
#include "engine/targets/render_targets.h"
#include "engine/testing.h"
#include "engine/trace/trace.h"
#include "platform/windows/layered_frames.h"

namespace kv::engine {

namespace {

constexpr uint32_t kKnownSceneBits = KV_SCENE_PRESENT | KV_SCENE_CLEAR_COLOR |
                                     KV_SCENE_CLEAR_DEPTH | KV_SCENE_CLEAR_STENCIL |
                                     KV_SCENE_CLEAR_ACCUM | KV_SCENE_SWAP | KV_SCENE_LAYERED;
// Presents timed when vertical sync is asked for (with the swap interval and without), and the
// share of a display period that each must wait longer with it, on average, to count as paced.
constexpr int kTimedPresents = 4;
constexpr double kPacedShare = 0.6;

// Swap interval the context last had, per window it was set on (SDL keeps it per drawable).
int appliedInterval = -1;
SDL_Window* intervalWindow = nullptr;

void ApplySwapInterval(SDL_Window* window, bool vsync) {
  int interval = vsync ? 1 : 0;
  if (window == intervalWindow && interval == appliedInterval) return;
  SDL_GL_SetSwapInterval(interval);
  intervalWindow = window;
  appliedInterval = interval;
}

// Copies the current target to its window (unless it draws there) and swaps; false when there is
// nothing to present on. A window that takes its frames as pictures gets the frame read back
// instead, with its alpha when the present says the window is layered; a colour-keyed one gets
// the key cut out of what it shows.
bool Present(RenderTarget& target, bool wholeClearFollows, bool layered) {
  SDL_Window* window = WindowOf(target);
  if (window == nullptr) return false;
  const platform::FrameNeeds needs = platform::FrameNeedsOf(window);
  if (needs.picture) return PresentAsPicture(target, window, layered, needs);
  window = EnterWindowToPresent(target);
  if (window == nullptr) return false;
  ApplySwapInterval(window, target.vsync);
  CopyToWindow(target, window);
  // Kept from frame to frame: a keyed window reads every frame back.
  static std::vector<uint8_t> frame;
  int w = 0, h = 0;
  if (needs.colorKey) ReadFrameForWindow(target, window, true, &frame, &w, &h);
  SDL_GL_SwapWindow(window);
  if (needs.colorKey) platform::CutColorKey(window, frame.data(), w, h);
  Presented(target, wholeClearFollows);
  BindDrawing();
  return true;
}

// Clears what is bound for drawing; depth and stencil only where it has them.
void Clear(uint32_t flags, bool hasDepth) {
  GLbitfield mask = 0;
  if (flags & KV_SCENE_CLEAR_COLOR) {
    const double* c = States().clearColor;
    gl.ClearColor(static_cast<GLfloat>(c[0]), static_cast<GLfloat>(c[1]),
                  static_cast<GLfloat>(c[2]), static_cast<GLfloat>(c[3]));
    mask |= GL_COLOR_BUFFER_BIT;
  }
  // Depth and stencil exist only with depth bits; an accumulation buffer never does.
  if (hasDepth) {
    if (flags & KV_SCENE_CLEAR_DEPTH) mask |= GL_DEPTH_BUFFER_BIT;
    if (flags & KV_SCENE_CLEAR_STENCIL) mask |= GL_STENCIL_BUFFER_BIT;
  }
  if (mask != 0) gl.Clear(mask);
}

double DisplayPeriodMs(SDL_Window* window) {
  SDL_DisplayMode mode;
  int refresh = 0;
  if (SDL_GetWindowDisplayMode(window, &mode) == 0) refresh = mode.refresh_rate;
  if (refresh <= 0) refresh = 60;
  return 1000.0 / refresh;
}

// The mean time of a few presents of the target with the swap interval set, in milliseconds; the
// first present, which lines up with the display, is not counted. A negative time when the
// interval is refused.
double MeanPresentMs(RenderTarget& target, SDL_Window* window, int interval) {
  if (SDL_GL_SetSwapInterval(interval) != 0) return -1;
  intervalWindow = window;
  appliedInterval = interval;
  CopyToWindow(target, window);
  SDL_GL_SwapWindow(window);
  Uint64 start = SDL_GetPerformanceCounter();
  for (int i = 0; i < kTimedPresents; ++i) {
    CopyToWindow(target, window);
    SDL_GL_SwapWindow(window);
  }
  gl.Finish();
  double elapsedMs = static_cast<double>(SDL_GetPerformanceCounter() - start) * 1000.0 /
                     static_cast<double>(SDL_GetPerformanceFrequency());
  return elapsedMs / kTimedPresents;
}

// Presents the target a few times without the interval and a few times with it, and measures
// whether those with it waited for the display: they must take longer by most of a display
// period. Presents that are merely slow (a software renderer on a busy machine) are as slow
// without the interval, so a driver that accepts the interval without pacing (a software
// renderer, an X server without a display) fails the measurement on a busy machine too. SDL's
// offscreen driver has no display to wait for at all: it is refused without timing.
bool TimedPresentsWait(RenderTarget& target, SDL_Window* window) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::strcmp(driver, "offscreen") == 0) return false;
  double unpaced = MeanPresentMs(target, window, 0);
  double paced = MeanPresentMs(target, window, 1);
  return unpaced >= 0 && paced >= 0 && paced - unpaced >= kPacedShare * DisplayPeriodMs(window);
}

// The timed presents show the target's picture; one in its window's back buffer, which swaps do
// not keep, waits in a frame buffer meanwhile and comes back afterwards.
bool PresentsWait(RenderTarget& target) {
  SDL_Window* window = EnterWindowToPresent(target);
  if (window == nullptr) return false;
  batch::Flush();
  const bool setAside = target.direct && MoveToFrameBuffer(target);
  bool waits = TimedPresentsWait(target, window);
  if (setAside) MoveBackToWindow(target);
  BindDrawing();
  return waits;
}

// Whether the clear that ends a frame covers every pixel of an opaque target: outside the clip
// rectangle, or in a masked channel, the frame presented would have to stay.
bool ClearsWholeFrame(uint32_t flags) {
  const RenderStates& states = States();
  return (flags & KV_SCENE_CLEAR_COLOR) != 0 && states.clip == 0 && states.colorMask[0] != 0 &&
         states.colorMask[1] != 0 && states.colorMask[2] != 0;
}

}  // namespace

}  // namespace kv::engine

namespace kv::engine::testing {

std::vector<uint8_t> ReadPixels(int x, int y, int w, int h) {
  std::vector<uint8_t> pixels;
  RenderTarget* target = CurrentTarget();
  if (target == nullptr || !EnsureCurrent()) return pixels;
  if (w <= 0 || h <= 0) return pixels;
  int readX = x, readY = y, readW = w, readH = h;
  // Pixels outside the target read as transparent black.
  std::vector<uint8_t> padded(static_cast<size_t>(w) * h * 4, 0);
  bool read = ReadTargetPixels(*target, &readX, &readY, &readW, &readH, &pixels);
  BindDrawing();
  if (!read) return padded;
  if (readX == x && readY == y && readW == w && readH == h) return pixels;
  for (int row = 0; row < readH; ++row) {
    std::copy_n(pixels.data() + static_cast<size_t>(row) * readW * 4,
                static_cast<size_t>(readW) * 4,
                padded.data() + (static_cast<size_t>(readY - y + row) * w + (readX - x)) * 4);
  }
  return padded;
}

}  // namespace kv::engine::testing

using namespace kv::engine;

extern "C" uint8_t KvRenderScene(uint32_t flags) {
  if (trace::Call("KvRenderScene", flags)) return 0;
  if ((flags & ~kKnownSceneBits) != 0) return 0;
  RenderTarget* target = CurrentTarget();
  if (target == nullptr || !EnsureCurrent()) return 0;
  batch::Flush();
  bool present = (flags & (KV_SCENE_PRESENT | KV_SCENE_SWAP)) != 0;
  uint8_t result = 1;
  if (present) {
    // A present that does not clear the whole frame for the next one keeps this one to draw on,
    // which a window's back buffer does not do across the swap.
    const bool wholeClear = ClearsWholeFrame(flags);
    if (!wholeClear && target->direct) {
      target->staysOffscreen = true;
      TakeOutOfWindow(*target);
    }
    if (!Present(*target, wholeClear, (flags & KV_SCENE_LAYERED) != 0)) result = 0;
    batch::EndFrame();
  }
  // A clear alone clears what is being drawn into, an active frame buffer included; the clear
  // that goes with a present starts the window's next frame on its render target.
  bool frameBufferDepth = false;
  if (!present && ActiveFrameBuffer(&frameBufferDepth) != 0) {
    BindDrawing();
    Clear(flags, frameBufferDepth);
  } else {
    BindTargetBuffers(*target, GL_FRAMEBUFFER);
    Clear(flags, target->depthBits > 0);
    BindDrawing();
  }
  return result;
}

extern "C" uint8_t KvRenderVsync(uint8_t on) {
  if (trace::Call("KvRenderVsync", on)) return 0;
  RenderTarget* target = CurrentTarget();
  if (target == nullptr || !EnsureCurrent() || WindowOf(*target) == nullptr) return 0;
  // The interval is applied to the window at each present; only measuring needs it now.
  target->vsync = on != 0 && PresentsWait(*target);
  return on == 0 || target->vsync ? 1 : 0;
}
