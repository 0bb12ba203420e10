// The players' frame: blocked sides, hazards, moves.
#include "game/player_moves.h"

#include "app/input.h"
#include "game/actor_helpers.h"

namespace {

struct BLOCKED {
  bool left = false;
  bool up = false;
  bool right = false;
  bool down = false;
};

// The four side probes against actors named name. They reach 1 pixel to the left and up but 2
// pixels to the right and down, and each is also shifted 1 pixel down or right, so a tile that
// only touches the player's top or left edge blocks that side alone.
void ProbeSides(KvCore::KV_ACTOR2D* player, const char* name, BLOCKED& blocked) {
  if (KvGameHit(player, name, -1, 1)) blocked.left = true;
  if (KvGameHit(player, name, 1, -1)) blocked.up = true;
  if (KvGameHit(player, name, 2, 1)) blocked.right = true;
  if (KvGameHit(player, name, 1, 2)) blocked.down = true;
}

// Every hazard's actor name, in the order they are asked; the vertical spikes are named
// "KOLEC_LEWO" too.
const char* const kHazards[] = {"KOLEC_LEWO", "MALY_KOLEC", "LASER_PIONOWY", "LASER_POZIOMY"};

bool TouchesHazard(KvCore::KV_ACTOR2D* player) {
  for (const char* hazard : kHazards)
    if (KvGameHit(player, hazard, 0, 0)) return true;
  return false;
}

}  // namespace

void KvPlayerUpdate(KvCore::KV_ACTOR2D* player, const char* rival, const KV_PLAYER_KEYS& keys,
                    int32_t startX, int32_t startY) {
  BLOCKED blocked;
  ProbeSides(player, "MUR", blocked);
  ProbeSides(player, rival, blocked);

  if (TouchesHazard(player)) {
    player->position.x = startX;
    player->position.y = startY;
  }

  // The flags are those of the place before a respawn: the player still moves this frame.
  if (KvKeyDown(keys.up) && !blocked.up) player->position.y -= kPlayerStep;
  if (KvKeyDown(keys.down) && !blocked.down) player->position.y += kPlayerStep;
  if (KvKeyDown(keys.left) && !blocked.left) player->position.x -= kPlayerStep;
  if (KvKeyDown(keys.right) && !blocked.right) player->position.x += kPlayerStep;
}
