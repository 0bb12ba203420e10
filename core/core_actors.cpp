// KV_CORE's actor registry and collision queries. Actors are pending in the frame they are
// added, live from its end on, and deleted at the end of the frame in which they are marked.
#include <cstring>

#include "core/core.h"

namespace {

typedef KV_LIST_ITERATOR<KV_CORE::ACTOR> ACTOR_ITERATOR;

// Longest actor name kept.
constexpr size_t kActorNameMax = 122;

}  // namespace

KV_CORE::ACTOR KV_CORE::AddActor(const char* group, ACTOR actor) {
  if (actor == nullptr) return nullptr;
  // The group is only a key that nothing looks up: a name too long for a key is cut rather
  // than refused, so that the core still takes the actor it was handed.
  char key[KV_KEY_NAME_MAX + 1] = {};
  if (group != nullptr) strncpy(key, group, KV_KEY_NAME_MAX);
  unsigned int id = liveActors.NextId();
  *pendingActors.GetValue(key, id) = actor;
  actor->name.id = id;
  return actor;
}

void KV_CORE::RemoveActor(ACTOR actor) {
  if (actor != nullptr) deleteList.PushBack(actor);
}

void KV_CORE::SetActorName(ACTOR actor, const char* name) {
  if (actor == nullptr || name == nullptr) return;
  size_t length = strnlen(name, kActorNameMax);
  memcpy(actor->name.name, name, length);
  actor->name.name[length] = '\0';
}

bool KV_CORE::ActorHasName(const KvCore::KV_ACTOR* actor, const char* name) const {
  return actor != nullptr && name != nullptr && strcmp(actor->name.name, name) == 0;
}

unsigned int KV_CORE::NextActorId() {
  if (idCounter == 0xFFFFFFFFu) idCounter = 0;
  return idCounter++;
}

void KV_CORE::CommitActors() { pendingActors.MoveTo(liveActors); }

void KV_CORE::DeleteActors() {
  for (ACTOR_ITERATOR it = deleteList.Begin(); !it.IsEnd(); it.Next()) {
    ACTOR actor = *it.Get();
    // An actor marked twice is no longer live the second time and is skipped.
    if (liveActors.RemoveValue(actor)) delete actor;
  }
  deleteList.Clear();
}

int KV_CORE::CompareActorDepth(const ACTOR* a, const ACTOR* b) {
  float da = (a != nullptr && *a != nullptr) ? (*a)->depth : 0.0f;
  float db = (b != nullptr && *b != nullptr) ? (*b)->depth : 0.0f;
  if (da == db) return 0;
  return da > db ? 1 : -1;
}

void KV_CORE::SortActors() { liveActors.Sort(CompareActorDepth); }

KV_CORE::ACTOR KV_CORE::FindCollision(int mode, const KvCore::KV_ACTOR* asker, const char* name,
                                      KV_VECTOR_D offset) {
  if (asker == nullptr || (mode != 7 && mode != 8)) return nullptr;
  // The box test reads the asker's sprite: an asker without one finds nothing by box. The
  // circle test needs only positions and radii, which every asker has.
  const KvCore::KV_ACTOR2D* asker2D = dynamic_cast<const KvCore::KV_ACTOR2D*>(asker);
  if (mode == 7 && asker2D == nullptr) return nullptr;
  for (ACTOR_ITERATOR it = liveActors.Begin(); !it.IsEnd(); it.Next()) {
    ACTOR other = *it.Get();
    if (other == nullptr || (name != nullptr && strcmp(other->name.name, name) != 0)) continue;
    bool hit;
    if (mode == 7)
      hit = asker2D->CollideBox(dynamic_cast<const KvCore::KV_ACTOR2D*>(other), offset);
    else
      hit = KvCore::CirclesOverlap(*asker, *other);
    if (hit) return other;
  }
  return nullptr;
}
