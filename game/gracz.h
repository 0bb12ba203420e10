// C_GRACZ: player 1, steered with the arrow keys. An actor named "GRACZ" that shows the shared
// sprite "spr_gracz", blocked by walls and by "GRACZ2", and sent back to where it was built when it
// touches a spike or a laser.
#pragma once

#include <cstdint>

#include "core/core.h"

class C_GRACZ : public KvCore::KV_ACTOR2D {
 public:
  int32_t startX;  // where the player goes back to, truncated toward zero
  int32_t startY;

  // A player at position, which is also its start point.
  explicit C_GRACZ(KV_VECTOR_D position);
  // Lets go of the shared sprite, then destroys the actor.
  ~C_GRACZ() override;
  // Probes, respawn and moves by the held keys.
  void Update() override;
  // Draws the sprite at the position.
  void Draw() override;
};
