// C_MALY_KOLEC: the small spike.
#include "game/maly_kolec.h"

#include "game/actor_helpers.h"

C_MALY_KOLEC::C_MALY_KOLEC(KV_VECTOR_D position) {
  Core.SetActorName(this, "MALY_KOLEC");
  KvGameSetSprite(this, "spr_maly_kolec");
  this->position = position;
}

C_MALY_KOLEC::~C_MALY_KOLEC() { KvGameDropSprite(this); }

// Marked for removal when a wall is 7 pixels ahead; it still moves and draws in this frame and
// is deleted at the frame's end.
void C_MALY_KOLEC::Update() {
  if (KvGameHit(this, "MUR", 7, 1)) Core.RemoveActor(this);
  position.x += 6;
}

void C_MALY_KOLEC::Draw() { Render(); }
