// What every game class does with the central object: share a named sprite, let it go again,
// and ask the box collision query about actors of one name. The game actors are 2D actors of
// the global `Core`; the sprites they show stay owned by `Core`'s sprite dictionary.
#pragma once

#include "core/core.h"

// The actor's sprite becomes a copy of the sprite `Core` keeps under name (added empty when
// missing). The copy shows the same frames and owns none of them.
void KvGameSetSprite(KvCore::KV_ACTOR2D* actor, const char* name);
// Replaces the actor's sprite with an empty one, so that destroying the actor leaves the shared
// frames alone.
void KvGameDropSprite(KvCore::KV_ACTOR2D* actor);
// True when a live actor named name overlaps the actor's box shifted by (dx, dy); box mode 7.
bool KvGameHit(KvCore::KV_ACTOR2D* actor, const char* name, double dx, double dy);
