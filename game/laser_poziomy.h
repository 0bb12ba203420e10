// C_LASER_POZIOMY: the horizontal laser beam. An actor named "LASER_POZIOMY" that sweeps along y
// on a 200-frame cycle: 48 frames of 3 pixels a frame, a random place, then hidden off the screen.
#pragma once

#include <cstdint>

#include "core/core.h"

class C_LASER_POZIOMY : public KvCore::KV_ACTOR2D {
 public:
  int32_t direction;  // 1 down, otherwise up; flips every cycle
  int32_t counter;    // the frame of the cycle, 1 to 201

  // Built at position with its name and shared sprite.
  explicit C_LASER_POZIOMY(KV_VECTOR_D position);
  // Lets go of the shared sprite, then destroys the actor.
  ~C_LASER_POZIOMY() override;
  // One frame of its behaviour.
  void Update() override;
  // Draws the sprite at the position.
  void Draw() override;
};
