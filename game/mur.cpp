// C_MUR: the wall tile.
#include "game/mur.h"

#include "game/actor_helpers.h"

C_MUR::C_MUR(KV_VECTOR_D position) {
  Core.SetActorName(this, "MUR");
  KvGameSetSprite(this, "spr_mur");
  this->position = position;
}

C_MUR::~C_MUR() { KvGameDropSprite(this); }

// Wall tiles never move.
void C_MUR::Update() {}

void C_MUR::Draw() { Render(); }
