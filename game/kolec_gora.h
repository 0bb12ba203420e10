// C_KOLEC_GORA: the vertical moving spike. It carries the actor name "KOLEC_LEWO" as well, so
// the players' one spike probe finds it; it runs 4 pixels a frame, turning back at walls, and faces
// the way it moves ("spr_kolec_dol", "spr_kolec_gora").
#pragma once

#include <cstdint>

#include "core/core.h"

class C_KOLEC_GORA : public KvCore::KV_ACTOR2D {
 public:
  int32_t direction;  // 1 down, otherwise up

  // Built at position with its name and shared sprite.
  explicit C_KOLEC_GORA(KV_VECTOR_D position);
  // Lets go of the shared sprite, then destroys the actor.
  ~C_KOLEC_GORA() override;
  // One frame of its behaviour.
  void Update() override;
  // Draws the sprite at the position.
  void Draw() override;
};
