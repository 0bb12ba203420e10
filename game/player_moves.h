// The one frame of a player that both player classes share: which sides are blocked by walls
// and the rival, back to the start point on a hazard, then two pixels for each held key whose
// side is free. The keys are virtual-key codes read as held.
#pragma once

#include <cstdint>

#include "core/core.h"

struct KV_PLAYER_KEYS {
  unsigned int up;
  unsigned int down;
  unsigned int left;
  unsigned int right;
};

// Pixels a player moves per held key and frame.
constexpr double kPlayerStep = 2;

// Runs one frame of the player: probes, respawn at (startX, startY), moves.
void KvPlayerUpdate(KvCore::KV_ACTOR2D* player, const char* rival, const KV_PLAYER_KEYS& keys,
                    int32_t startX, int32_t startY);
