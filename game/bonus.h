// C_BONUS: the bonus. An actor named "BONUS" with the sprite "spr_bonus": a player that
// touches it scores a point, and it jumps to a random place inside the arena.
#pragma once

#include <cstdint>

#include "core/core.h"

class C_BONUS : public KvCore::KV_ACTOR2D {
 public:
  // Built at position with its name and shared sprite.
  explicit C_BONUS(KV_VECTOR_D position);
  // Lets go of the shared sprite, then destroys the actor.
  ~C_BONUS() override;
  // One frame of its behaviour.
  void Update() override;
  // Draws the sprite at the position.
  void Draw() override;
};
