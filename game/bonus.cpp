// C_BONUS: scoring and jumping.
#include "game/bonus.h"

#include "foundation/small_math.h"
#include "game/actor_helpers.h"
#include "game/scores.h"

namespace {

// A random place inside the walls: x in 20..779, y in 20..579.
void Jump(C_BONUS* bonus) {
  bonus->position.x = 20 + static_cast<int32_t>(KvRandom(760));
  bonus->position.y = 20 + static_cast<int32_t>(KvRandom(560));
}

}  // namespace

C_BONUS::C_BONUS(KV_VECTOR_D position) {
  Core.SetActorName(this, "BONUS");
  KvGameSetSprite(this, "spr_bonus");
  this->position = position;
}

C_BONUS::~C_BONUS() { KvGameDropSprite(this); }

// Player 1 is asked first; player 2 scores only if the bonus, at its possibly new place, still
// touches it.
void C_BONUS::Update() {
  if (KvGameHit(this, "GRACZ", 0, 0)) {
    ++ScoreGracz;
    Jump(this);
  }
  if (KvGameHit(this, "GRACZ2", 0, 0)) {
    ++ScoreGracz2;
    Jump(this);
  }
}

void C_BONUS::Draw() { Render(); }
