// KvRenderTarget*: creating targets for windows, sizing them, making one current, and the live
// properties (KV_RT_*) that callers read and write.
#include "engine/numbers.h"
#include "engine/targets/render_targets.h"

#include <algorithm>
#include <cmath>

#include "engine/draw/batch.h"
#include "engine/gl/context.h"
#include "engine/objects/object_table.h"
#include "engine/targets/drawing_buffers.h"
#include "engine/targets/window_of.h"
#include "engine/testing.h"
#include "engine/trace/trace.h"

namespace kv::engine {

namespace {

// The largest frame buffer side the engine makes, as for textures.
constexpr int kMaxSide = 16384;

ObjectTable<RenderTarget> targets;
KV_HANDLE currentHandle;
// The one context has one viewport, whichever target or frame buffer is drawn into.
int32_t viewportInForce[4] = {0, 0, 0, 0};
SDL_Window* Resolve(HWND hwnd) { return SdlWindowOf(hwnd); }

bool ValidFormat(uint32_t format) {
  return format == KV_FORMAT_OPAQUE || format == KV_FORMAT_ALPHA;
}

// KV_FORMAT_ALPHA only where the desktop shows per-pixel alpha.
bool FormatShowable(uint32_t format, SDL_Window* window) {
  return format == KV_FORMAT_OPAQUE ||
         (format == KV_FORMAT_ALPHA && DesktopShowsPerPixelAlpha(window));
}

bool ValidSize(int w, int h) { return w >= 1 && h >= 1 && w <= kMaxSide && h <= kMaxSide; }

void ApplyTargetViewport(const RenderTarget& target) {
  ApplyViewport(target.viewport[0], target.viewport[1], target.viewport[2], target.viewport[3]);
}

// The window's drawable size, at least one pixel each way.
void WindowSize(SDL_Window* window, int* w, int* h) {
  SDL_GL_GetDrawableSize(window, w, h);
  *w = std::clamp(*w, 1, kMaxSide);
  *h = std::clamp(*h, 1, kMaxSide);
}

// Re-creates the buffers of a target at a size, keeping the current target bound afterwards.
bool Rebuild(RenderTarget& target, int w, int h) {
  if (!EnsureCurrent()) return false;
  if (&target == CurrentTarget()) batch::Flush();
  bool made = CreateBuffers(target, w, h);
  BindDrawing();
  return made;
}

}  // namespace

void ApplyViewport(int32_t x, int32_t y, int32_t w, int32_t h) {
  viewportInForce[0] = x;
  viewportInForce[1] = y;
  viewportInForce[2] = std::max(w, 0);
  viewportInForce[3] = std::max(h, 0);
  gl.Viewport(x, y, viewportInForce[2], viewportInForce[3]);
}

const int32_t* ViewportInForce() { return viewportInForce; }

RenderTarget* CurrentTarget() { return targets.Find(currentHandle); }
KV_HANDLE* CurrentTargetHandle() { return &currentHandle; }
SDL_Window* WindowOf(const RenderTarget& target) { return Resolve(target.hwnd); }
size_t TargetCount() { return targets.Count(); }

void ForEachTarget(const std::function<void(RenderTarget&)>& visit) {
  targets.ForEach([&](uint32_t, RenderTarget& target) { visit(target); });
}

void DestroyAllTargets() {
  if (EnsureCurrent()) {
    targets.ForEach([](uint32_t, RenderTarget& target) { DeleteBuffers(target); });
    gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
  }
  targets.Clear();
  currentHandle = KV_HANDLE{};
}

}  // namespace kv::engine

namespace kv::engine::testing {

bool DrawsIntoWindow(KV_HANDLE rt) {
  const RenderTarget* target = targets.Find(rt);
  return target != nullptr && target->direct;
}

}  // namespace kv::engine::testing

using namespace kv::engine;

extern "C" uint8_t KvRenderTargetCreate(KV_HANDLE* out, HWND hwnd, uint32_t format,
                                        uint32_t colorBits, uint32_t depthBits) {
  if (trace::Call("KvRenderTargetCreate", out, hwnd, format, colorBits, depthBits)) return 0;
  if (out == nullptr) return 0;
  *out = KV_HANDLE{};
  SDL_Window* window = Resolve(hwnd);
  if (window == nullptr || !ValidFormat(format) || colorBits > 32 || depthBits > 32) return 0;
  if (!EnsureContext() || !FormatShowable(format, window)) return 0;
  ListenForWindowReplacement(LeaveReplacedWindow);
  auto target = std::make_unique<RenderTarget>();
  target->hwnd = hwnd;
  target->format = static_cast<int32_t>(format);
  target->colorBits = colorBits;
  target->depthBits = depthBits;
  int w = 0, h = 0;
  WindowSize(window, &w, &h);
  if (!Rebuild(*target, w, h)) return 0;
  target->viewport[2] = w;
  target->viewport[3] = h;
  *out = targets.Add(std::move(target));
  return 1;
}

extern "C" uint8_t KvRenderTargetArea(KV_HANDLE rt, int32_t x, int32_t y, int32_t w, int32_t h,
                                      double fieldOfView, double rangeNear, double rangeFar,
                                      double extra) {
  if (trace::Call("KvRenderTargetArea", rt, x, y, w, h, fieldOfView, rangeNear, rangeFar, extra))
    return 0;
  RenderTarget* target = targets.Find(rt);
  if (target == nullptr || !ValidSize(w, h) || !std::isfinite(fieldOfView) ||
      !std::isfinite(rangeNear) || !std::isfinite(rangeFar) || !std::isfinite(extra)) {
    return 0;
  }
  if ((w != target->width || h != target->height) && !Rebuild(*target, w, h)) return 0;
  target->viewport[0] = x;
  target->viewport[1] = y;
  target->viewport[2] = w;
  target->viewport[3] = h;
  target->fieldOfView = fieldOfView;
  target->range[0] = rangeNear;
  target->range[1] = rangeFar;
  target->extra = extra;
  if (target == CurrentTarget()) {
    batch::Flush();
    ApplyTargetViewport(*target);
  }
  return 1;
}

extern "C" uint8_t KvRenderTargetShare(KV_HANDLE rt, KV_HANDLE share) {
  if (trace::Call("KvRenderTargetShare", rt, share)) return 0;
  // Every target lives in the one context, so their textures and fonts are shared already.
  return targets.Find(rt) != nullptr && targets.Find(share) != nullptr ? 1 : 0;
}

extern "C" uint8_t KvRenderTargetActivate(KV_HANDLE rt) {
  if (trace::Call("KvRenderTargetActivate", rt)) return 0;
  RenderTarget* target = targets.Find(rt);
  if (target == nullptr || !EnsureCurrent()) return 0;
  batch::Flush();
  // A target drawing into a frame buffer of its own can be drawn from wherever the context is;
  // one drawing into its window's buffers takes the context there. The window only matters
  // otherwise when presenting.
  currentHandle = MakeHandle(rt.value);
  BindTargetBuffers(*target, GL_FRAMEBUFFER);
  ApplyTargetViewport(*target);
  return 1;
}

extern "C" uint8_t KvRenderTargetChange(KV_HANDLE rt, uint32_t format) {
  if (trace::Call("KvRenderTargetChange", rt, format)) return 0;
  RenderTarget* target = targets.Find(rt);
  if (target == nullptr || !ValidFormat(format)) return 0;
  SDL_Window* window = WindowOf(*target);
  if (window == nullptr || !FormatShowable(format, window)) return 0;
  int32_t previousFormat = target->format;
  target->format = static_cast<int32_t>(format);
  int w = 0, h = 0;
  WindowSize(window, &w, &h);
  if (!Rebuild(*target, w, h)) {
    target->format = previousFormat;
    Rebuild(*target, w, h);
    return 0;
  }
  target->viewport[0] = target->viewport[1] = 0;
  target->viewport[2] = w;
  target->viewport[3] = h;
  if (target == CurrentTarget()) ApplyTargetViewport(*target);
  return 1;
}

extern "C" void KvRenderTargetDestroy(KV_HANDLE rt) {
  if (trace::Call("KvRenderTargetDestroy", rt)) return;
  RenderTarget* target = targets.Find(rt);
  if (target == nullptr) return;
  if (target == CurrentTarget()) {
    batch::Flush();
    currentHandle = KV_HANDLE{};
  }
  SDL_Window* window = WindowOf(*target);
  if (EnsureCurrent()) {
    DeleteBuffers(*target);
    // The window is about to go: leave it, so SDL does not drop the context with it.
    if (window != nullptr && window == CurrentWindow()) EnterWindow(nullptr);
    BindDrawing();
  }
  targets.Remove(rt);
}

extern "C" void* KvRenderTargetGet(KV_HANDLE rt, uint32_t property) {
  if (trace::Call("KvRenderTargetGet", rt, property)) return nullptr;
  RenderTarget* target = targets.Find(rt);
  if (target == nullptr) return nullptr;
  switch (property) {
    case KV_RT_VIEWPORT_X: return &target->viewport[0];
    case KV_RT_VIEWPORT_Y: return &target->viewport[1];
    case KV_RT_VIEWPORT_W: return &target->viewport[2];
    case KV_RT_VIEWPORT_H: return &target->viewport[3];
    case KV_RT_FIELD_OF_VIEW: return &target->fieldOfView;
    case KV_RT_RANGE_NEAR: return &target->range[0];
    case KV_RT_RANGE_FAR: return &target->range[1];
    case KV_RT_EXTRA: return &target->extra;
    case KV_RT_FORMAT: return &target->format;
    default: return nullptr;
  }
}
