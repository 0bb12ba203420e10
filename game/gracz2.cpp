// C_GRACZ2: player 2, steered with W, A, S and D.
#include "game/gracz2.h"

#include "game/actor_helpers.h"
#include "game/player_moves.h"

namespace {

const KV_PLAYER_KEYS kKeys = {'W', 'S', 'A', 'D'};  // up, down, left, right

}  // namespace

C_GRACZ2::C_GRACZ2(KV_VECTOR_D position)
    : startX(static_cast<int32_t>(position.x)), startY(static_cast<int32_t>(position.y)) {
  Core.SetActorName(this, "GRACZ2");
  KvGameSetSprite(this, "spr_gracz2");
  this->position = position;
}

C_GRACZ2::~C_GRACZ2() { KvGameDropSprite(this); }

void C_GRACZ2::Update() { KvPlayerUpdate(this, "GRACZ", kKeys, startX, startY); }

void C_GRACZ2::Draw() { Render(); }
