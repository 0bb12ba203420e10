// KV_CAMERA: the scene camera. It keeps only values: either an orthographic view of a width by
// height rectangle at a position, turned in the plane, or a perspective view from a position
// with a rotation. The engine builds the projection from them when the camera is applied.
#pragma once

#include <cstdint>

#include "foundation/rotation.h"
#include "foundation/vector.h"

class KV_CAMERA {
 public:
  float width = 0;          // orthographic view width in pixels
  float height = 0;         // orthographic view height in pixels
  KV_VECTOR_D position;     // orthographic: the view's origin; perspective: the eye
  KV_ROTATION_D rotation;   // orthographic: x turns the view; perspective: the angles
  uint8_t option = 0;       // handed unchanged to the engine's perspective calls
  uint8_t perspective = 0;  // 1 perspective view, 0 orthographic

  // Sets the engine's projection from the camera.
  void Apply();
  // Writes the projection into out (16 doubles) instead of applying it; the engine's result.
  uint8_t Build(void* out);
  // The same in floats (16 floats); the engine's result.
  uint8_t BuildHalf(void* out);
  // Writes the current render target's two range values (near, far) used by later projections;
  // nothing when no target is current.
  void SetRange(double first, double second);
};
