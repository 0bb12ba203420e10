// C_MALY_KOLEC: a small spike fired by the launcher. An actor named "MALY_KOLEC" that flies
// 6 pixels a frame to the right and removes itself when a wall lies 7 pixels ahead.
#pragma once

#include <cstdint>

#include "core/core.h"

class C_MALY_KOLEC : public KvCore::KV_ACTOR2D {
 public:
  // Built at position with its name and shared sprite.
  explicit C_MALY_KOLEC(KV_VECTOR_D position);
  // Lets go of the shared sprite, then destroys the actor.
  ~C_MALY_KOLEC() override;
  // One frame of its behaviour.
  void Update() override;
  // Draws the sprite at the position.
  void Draw() override;
};
