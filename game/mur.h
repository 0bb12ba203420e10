// C_MUR: a wall tile. An actor named "MUR" with the sprite "spr_mur" that never moves; the
// players, the spikes and the small spikes probe for it by that name.
#pragma once

#include <cstdint>

#include "core/core.h"

class C_MUR : public KvCore::KV_ACTOR2D {
 public:
  // Built at position with its name and shared sprite.
  explicit C_MUR(KV_VECTOR_D position);
  // Lets go of the shared sprite, then destroys the actor.
  ~C_MUR() override;
  // One frame of its behaviour.
  void Update() override;
  // Draws the sprite at the position.
  void Draw() override;
};
