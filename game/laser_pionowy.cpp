// C_LASER_PIONOWY: the vertical laser.
#include "game/laser_pionowy.h"

#include "game/actor_helpers.h"
#include "game/laser_cycle.h"

C_LASER_PIONOWY::C_LASER_PIONOWY(KV_VECTOR_D position) : direction(1), counter(1) {
  Core.SetActorName(this, "LASER_PIONOWY");
  KvGameSetSprite(this, "spr_laser_pionowy");
  this->position = position;
}

C_LASER_PIONOWY::~C_LASER_PIONOWY() { KvGameDropSprite(this); }

void C_LASER_PIONOWY::Update() { KvLaserStep(counter, direction, position.x, 760); }

void C_LASER_PIONOWY::Draw() { Render(); }
