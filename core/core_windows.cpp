// KV_CORE's window methods: the lookup of a window by name that the other groups share, the
// default render states of a window's target, centring, a 2D camera of the window's size, and
// vertical sync with the frame-limit fallback (60 Hz where the display reports no refresh rate).
#include "app/loop.h"
#include "core/core.h"
#include "engine/kv_engine.h"

namespace {

// The refresh rate of a display that reports none (Hz).
constexpr int kAssumedRefreshRate = 60;

}  // namespace

KV_WINDOW* KV_CORE::WindowNamed(const char* name) {
  return windows.Find(KV_DICTIONARY<KV_WINDOW>::FIND_NAME, name).Get();
}

void KV_CORE::ActivateWindow(const char* name, unsigned int) {
  KV_WINDOW* window = WindowNamed(name);
  if (window == nullptr) return;
  KvRenderTargetActivate(window->renderTarget);
  KvExtensions(0);
  KvRenderVsync(0);
  KvSetState(KV_STATE_TEXTURING, 1);
  KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 0.0);
  KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 1.0, 1.0);
  KvSetState(KV_STATE_BLEND, 1);
  KvSetState(KV_STATE_BLEND_FUNC, (int)KV_BLEND_SRC_ALPHA, (int)KV_BLEND_ONE_MINUS_SRC_ALPHA);
}

void KV_CORE::CenterWindow(const char* name, unsigned int) {
  KV_WINDOW* window = WindowNamed(name);
  if (window == nullptr) return;
  window->x = screenWidth / 2 - window->width / 2;
  window->y = screenHeight / 2 - window->height / 2;
}

void KV_CORE::OrthoWindow(const char* name, unsigned int) {
  KV_WINDOW* window = WindowNamed(name);
  if (window == nullptr) return;
  const KV_HANDLE* current = (const KV_HANDLE*)KvGetState(KV_STATE_RENDER_TARGET);
  KvRenderTargetActivate(current != nullptr ? *current : KV_HANDLE());
  KvCameraOrtho(0.0, 0.0, window->width, window->height, 0.0);
}

void KV_CORE::SetVsync(bool on) {
  if (KvRenderVsync(on ? 1 : 0)) return;
  // A fresh window description reads the display's refresh rate. Virtual displays (a virtual
  // frame buffer, remote desktops, some virtual machines) report none; they are taken as 60 Hz,
  // so that a game that counts on vertical sync does not run unpaced.
  KV_WINDOW probe;
  const int hertz = probe.refreshRate > 0 ? probe.refreshRate : kAssumedRefreshRate;
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = on ? 1000.0f / (float)hertz : 0.0f;
  loop.Calibrate();
}
