// The sprite sharing and the box probe of the game classes.
#include "game/actor_helpers.h"

#include "graphics/sprite.h"

namespace {

// The collision query's box mode.
constexpr int kBoxMode = 7;

}  // namespace

void KvGameSetSprite(KvCore::KV_ACTOR2D* actor, const char* name) {
  KV_SPRITE* shared = Core.sprites.GetValue(name);
  if (shared != nullptr) actor->sprite = *shared;
}

void KvGameDropSprite(KvCore::KV_ACTOR2D* actor) { actor->sprite = KV_SPRITE(); }

bool KvGameHit(KvCore::KV_ACTOR2D* actor, const char* name, double dx, double dy) {
  return Core.FindCollision(kBoxMode, actor, name, KV_VECTOR_D(dx, dy, 0, 1)) != nullptr;
}
