// The placement every drawn thing of the framework shares: move to a position, turn about x, y
// and z, then scale. Sprites, models and font pieces apply it to the current matrix in exactly
// this order, so that one set of position, rotation and scale values places any of them alike.
#pragma once

#include "engine/kv_engine.h"
#include "foundation/vector.h"

// Multiplies the current matrix by the placement. Rotation is a KV_ROTATION_D or a
// KV_VECTOR_D: its z turns about the x axis, its y about y and its x (the angle in the plane)
// about z.
template <class Rotation>
void ApplyPlacement(const KV_VECTOR_D& position, const Rotation& rotation,
                    const KV_VECTOR_D& scale) {
  KvMatrixTranslate(position.x, position.y, position.z);
  KvMatrixRotate(rotation.z, 1, 0, 0);
  KvMatrixRotate(rotation.y, 0, 1, 0);
  KvMatrixRotate(rotation.x, 0, 0, 1);
  KvMatrixScale(scale.x, scale.y, scale.z);
}
