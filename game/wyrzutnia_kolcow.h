// C_WYRZUTNIA_KOLCOW: the spike launcher. An actor named "WYRZUTNIA_KOLCOW" that fires a column
// of ten small spikes every 200 frames; the core owns the spikes it adds.
#pragma once

#include <cstdint>

#include "core/core.h"

class C_WYRZUTNIA_KOLCOW : public KvCore::KV_ACTOR2D {
 public:
  int32_t counter;  // updates since the last column

  // Built at position with its name and shared sprite.
  explicit C_WYRZUTNIA_KOLCOW(KV_VECTOR_D position);
  // Lets go of the shared sprite, then destroys the actor.
  ~C_WYRZUTNIA_KOLCOW() override;
  // One frame of its behaviour.
  void Update() override;
  // Draws the sprite at the position.
  void Draw() override;
};
