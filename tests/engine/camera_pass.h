// A 2D camera's pass as the engine sees it, for the tests of what draws in the middle of one
// (frame buffers, canvases, techniques): the viewport the camera lends the target and the calls
// that begin the pass.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"

namespace kvtest {

// The viewport a 2D camera's pass lends the target: window x 8..39, rows 16..39 from the bottom.
inline constexpr int32_t kPassViewport[4] = {8, 16, 32, 24};

// Starts drawing on target the way a 2D camera's pass does: the viewport lent to the target only
// while it is made current, the view (100, 200, 32, 24) mapped onto it, and clipped to it.
inline void BeginCameraPass(KV_HANDLE target) {
  int32_t* fields[4];
  int32_t kept[4];
  for (int i = 0; i < 4; ++i) {
    fields[i] = static_cast<int32_t*>(KvRenderTargetGet(target, KV_RT_VIEWPORT_X + i));
    kept[i] = *fields[i];
    *fields[i] = kPassViewport[i];
  }
  KvRenderTargetActivate(target);
  for (int i = 0; i < 4; ++i) *fields[i] = kept[i];
  KvCameraOrtho(100, 200, 32, 24, 0);
  const int32_t* v = kPassViewport;
  KvSetState(KV_STATE_CLIP, 1);
  KvSetState(KV_STATE_CLIP_RECT, v[0], v[1], v[2], v[3]);
}

}  // namespace kvtest
