// C_LASER_POZIOMY: the horizontal laser.
#include "game/laser_poziomy.h"

#include "game/actor_helpers.h"
#include "game/laser_cycle.h"

C_LASER_POZIOMY::C_LASER_POZIOMY(KV_VECTOR_D position) : direction(1), counter(1) {
  Core.SetActorName(this, "LASER_POZIOMY");
  KvGameSetSprite(this, "spr_laser_poziomy");
  this->position = position;
}

C_LASER_POZIOMY::~C_LASER_POZIOMY() { KvGameDropSprite(this); }

void C_LASER_POZIOMY::Update() { KvLaserStep(counter, direction, position.y, 560); }

void C_LASER_POZIOMY::Draw() { Render(); }
