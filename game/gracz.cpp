// C_GRACZ: player 1, steered with the arrow keys.
#include "game/gracz.h"

#include "game/actor_helpers.h"
#include "game/player_moves.h"
#include "platform/winapi/windows.h"

namespace {

const KV_PLAYER_KEYS kKeys = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT};  // up, down, left, right

}  // namespace

C_GRACZ::C_GRACZ(KV_VECTOR_D position)
    : startX(static_cast<int32_t>(position.x)), startY(static_cast<int32_t>(position.y)) {
  Core.SetActorName(this, "GRACZ");
  KvGameSetSprite(this, "spr_gracz");
  this->position = position;
}

C_GRACZ::~C_GRACZ() { KvGameDropSprite(this); }

void C_GRACZ::Update() { KvPlayerUpdate(this, "GRACZ2", kKeys, startX, startY); }

void C_GRACZ::Draw() { Render(); }
