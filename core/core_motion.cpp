// KV_CORE's motion operations: straight steps toward a target, with or without slowing down
// inside an arrival radius. Lengths and directions use x, y and z.
#include <algorithm>

#include "core/core.h"

namespace {

// The position one step of length step along start -> target; the target itself when the
// step covers the whole distance, so that movers stop exactly on it.
KV_VECTOR_D Step(const KV_VECTOR_D& start, const KV_VECTOR_D& target, double step,
                 double distance) {
  if (step >= distance) return KV_VECTOR_D(target.x, target.y, target.z, 1);
  return start + (target - start).Normalized() * step;
}

}  // namespace

KV_VECTOR_D KV_CORE::MoveActorToward(KV_VECTOR_D start, KV_VECTOR_D target, double speed) {
  if (speed <= 0) return start;
  double distance = (target - start).Length();
  return Step(start, target, std::min(speed, distance), distance);
}

void KV_CORE::MoveActorTo(ACTOR actor, KV_VECTOR_D target, double speed) {
  if (actor == nullptr || speed <= 0) return;
  actor->position = MoveActorToward(actor->position, target, speed);
}

KV_VECTOR_D KV_CORE::ArriveToward(KV_VECTOR_D start, KV_VECTOR_D target, double speed,
                                  double radius) {
  double distance = (target - start).Length();
  if (speed <= 0 || distance == 0) return start;
  double step = std::min(speed, distance);
  // Inside the radius the step shrinks with the distance left. Without a radius there is
  // no slowing down (0 / 0 would make the position not a number).
  if (radius > 0) step = step * std::min(radius, distance) / radius;
  return Step(start, target, step, distance);
}

void KV_CORE::ArriveActorAt(ACTOR actor, KV_VECTOR_D target, double speed, double radius) {
  if (actor == nullptr) return;
  actor->position = ArriveToward(actor->position, target, speed, radius);
}
