// C_KOLEC_GORA: the vertical spike.
#include "game/kolec_gora.h"

#include "game/actor_helpers.h"

// The name is the horizontal spike's on purpose: the players treat both as one hazard. The
// sprite is replaced by the first Update, before it is ever drawn.
C_KOLEC_GORA::C_KOLEC_GORA(KV_VECTOR_D position) : direction(1) {
  Core.SetActorName(this, "KOLEC_LEWO");
  KvGameSetSprite(this, "spr_kolec_lewo");
  this->position = position;
}

C_KOLEC_GORA::~C_KOLEC_GORA() { KvGameDropSprite(this); }

// A wall within 5 pixels above sends it down; one below sends it up, and wins when both are
// that close.
void C_KOLEC_GORA::Update() {
  if (KvGameHit(this, "MUR", 1, -5)) direction = 1;
  if (KvGameHit(this, "MUR", 1, 5)) direction = 2;
  if (direction == 1) {
    KvGameSetSprite(this, "spr_kolec_dol");
    position.y += 4;
  } else {
    KvGameSetSprite(this, "spr_kolec_gora");
    position.y -= 4;
  }
}

void C_KOLEC_GORA::Draw() { Render(); }
