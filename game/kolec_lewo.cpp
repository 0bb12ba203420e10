// C_KOLEC_LEWO: the horizontal spike.
#include "game/kolec_lewo.h"

#include "game/actor_helpers.h"

C_KOLEC_LEWO::C_KOLEC_LEWO(KV_VECTOR_D position) : direction(1) {
  Core.SetActorName(this, "KOLEC_LEWO");
  KvGameSetSprite(this, "spr_kolec_lewo");
  this->position = position;
}

C_KOLEC_LEWO::~C_KOLEC_LEWO() { KvGameDropSprite(this); }

// A wall within 5 pixels on the left sends it right; one on the right sends it left, and wins
// when both are that close.
void C_KOLEC_LEWO::Update() {
  if (KvGameHit(this, "MUR", -5, 1)) direction = 1;
  if (KvGameHit(this, "MUR", 5, 1)) direction = 2;
  if (direction == 1) {
    KvGameSetSprite(this, "spr_kolec_prawo");
    position.x += 4;
  } else {
    KvGameSetSprite(this, "spr_kolec_lewo");
    position.x -= 4;
  }
}

void C_KOLEC_LEWO::Draw() { Render(); }
