// C_KOLEC_LEWO: the horizontal moving spike. An actor named "KOLEC_LEWO" that runs 4 pixels a
// frame and turns back at walls, facing the way it moves ("spr_kolec_prawo", "spr_kolec_lewo").
#pragma once

#include <cstdint>

#include "core/core.h"

class C_KOLEC_LEWO : public KvCore::KV_ACTOR2D {
 public:
  int32_t direction;  // 1 right, otherwise left

  // Built at position with its name and shared sprite.
  explicit C_KOLEC_LEWO(KV_VECTOR_D position);
  // Lets go of the shared sprite, then destroys the actor.
  ~C_KOLEC_LEWO() override;
  // One frame of its behaviour.
  void Update() override;
  // Draws the sprite at the position.
  void Draw() override;
};
