// KV_CAMERA2D: a 2D view drawn into a part of the render target. It shows a world rectangle
// (view) in a pixel rectangle of the target (viewport), clipped to it and optionally cleared,
// and can follow an actor, which it only points to. The central object keeps cameras by name
// and brackets the scene's drawing for each enabled one with Begin and End.
#pragma once

#include <cstdint>

#include "foundation/vector.h"

namespace KvCore {
class KV_ACTOR;
}

class KV_CAMERA2D {
 public:
  uint8_t enabled = 0;                 // only enabled cameras are drawn
  KV_VECTOR_D viewportPosition;        // viewport x, y in target pixels (y from the bottom)
  KV_VECTOR_D viewportSize;            // viewport width, height
  KV_VECTOR_D viewPosition;            // world rectangle shown: left, top
  KV_VECTOR_D viewSize;                // world rectangle shown: width, height
  float orthoValue = 0;                // the fifth value of the engine's orthographic camera
  KvCore::KV_ACTOR* follow = nullptr;  // when set, the view is centred on this actor
  uint8_t clear = 1;                   // clear the colour buffer inside the viewport

  // Activates the camera (nothing when disabled): viewport, projection, clip and clear. The
  // render target's own viewport values are unchanged when it returns.
  void Begin();
  // Back to the whole render target: its viewport, a plain projection over it, no clipping.
  void End();
};
