// KV_CAMERA2D: Begin lends the render target the camera's viewport just long enough for the
// engine to apply it, sets the view's projection and clips to the viewport; End puts the whole
// target back. The target's viewport properties are the engine's live storage, so they are
// written through and restored.
#include "core/camera2d.h"

#include <cmath>
#include <cstdint>

#include "core/actor.h"
#include "engine/kv_engine.h"
#include "engine/numbers.h"

namespace {

const uint32_t kViewportProperties[4] = {KV_RT_VIEWPORT_X, KV_RT_VIEWPORT_Y, KV_RT_VIEWPORT_W,
                                         KV_RT_VIEWPORT_H};

// The current render target's handle; the null handle when none is current.
KV_HANDLE CurrentTarget() {
  auto* target = static_cast<const KV_HANDLE*>(KvGetState(KV_STATE_RENDER_TARGET));
  return target ? *target : KV_HANDLE();
}

// Pointers to the target's viewport x, y, width and height; false when any is missing.
bool ViewportFields(KV_HANDLE target, int32_t* fields[4]) {
  bool all = true;
  for (int i = 0; i < 4; ++i) {
    fields[i] = static_cast<int32_t*>(KvRenderTargetGet(target, kViewportProperties[i]));
    all = all && fields[i] != nullptr;
  }
  return all;
}

// A pixel value truncated toward zero, kept inside the 32-bit range (NaN gives 0).
int32_t WholePixels(double value) {
  if (!(value == value)) return 0;
  if (value <= (double)INT32_MIN) return INT32_MIN;
  if (value >= (double)INT32_MAX) return INT32_MAX;
  return (int32_t)value;
}

}  // namespace

void KV_CAMERA2D::Begin() {
  if (!enabled) return;
  if (follow != nullptr) {
    viewPosition.x = follow->position.x - viewSize.x / 2;
    viewPosition.y = follow->position.y - viewSize.y / 2;
  }
  KV_HANDLE target = CurrentTarget();
  int32_t* fields[4];
  bool haveFields = ViewportFields(target, fields);
  int32_t kept[4] = {0, 0, 0, 0};
  const int32_t viewport[4] = {WholePixels(viewportPosition.x), WholePixels(viewportPosition.y),
                               WholePixels(viewportSize.x), WholePixels(viewportSize.y)};
  if (haveFields) {
    for (int i = 0; i < 4; ++i) {
      kept[i] = *fields[i];
      *fields[i] = viewport[i];
    }
  }
  KvRenderTargetActivate(target);
  KvCameraOrtho(viewPosition.x, viewPosition.y, viewSize.x, viewSize.y, orthoValue);
  KvSetState(KV_STATE_CLIP, 1);
  KvSetState(KV_STATE_CLIP_RECT, viewport[0], viewport[1], viewport[2], viewport[3]);
  if (haveFields)
    for (int i = 0; i < 4; ++i) *fields[i] = kept[i];
  if (clear) KvRenderScene(KV_SCENE_CLEAR_COLOR);
}

void KV_CAMERA2D::End() {
  KV_HANDLE target = CurrentTarget();
  KvRenderTargetActivate(target);
  int32_t* fields[4];
  int32_t viewport[4] = {0, 0, 0, 0};
  if (ViewportFields(target, fields))
    for (int i = 0; i < 4; ++i) viewport[i] = *fields[i];
  KvCameraOrtho(viewport[0], viewport[1], viewport[2], viewport[3], 0.0);
  KvSetState(KV_STATE_CLIP, 0);
  KvSetState(KV_STATE_CLIP_RECT, viewport[0], viewport[1], viewport[2], viewport[3]);
}
