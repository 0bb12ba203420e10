// KvCore::KV_ACTOR: a scene object with a name, a depth, a position, a rotation (whose fourth
// value is its collision radius) and a scale, and the two operations the central object calls
// every frame, Update and Draw. KvCore::KV_ACTOR2D adds a sprite, held by value, that gives the
// actor its look and its collision box; every game class derives from it. Actors are heap
// objects owned by the central object once added (KV_CORE::AddActor).
#pragma once

#include "foundation/dictionary.h"
#include "foundation/rotation.h"
#include "foundation/vector.h"
#include "graphics/sprite.h"

namespace KvCore {

class KV_ACTOR {
 public:
  KV_KEY name;             // the actor's own name (compared by collision queries) and its id
  float depth;             // the key of KV_CORE::SortActors
  KV_VECTOR_D position;    // x and y in pixels
  KV_ROTATION_D rotation;  // angles in degrees; w is the collision radius
  KV_VECTOR_D scale;

  // Empty name, id 0, depth 0, at (0, 0, 0, 1), no rotation, scale 1.
  KV_ACTOR();
  virtual ~KV_ACTOR();
  // Once per frame in update frames; does nothing here.
  virtual void Update();
  // Once per draw pass; does nothing here.
  virtual void Draw();

  // The id the central object gave the actor when it was added.
  unsigned int GetId() const { return name.id; }
};

// True when the collision circles of a and b overlap: the sum of the radii (rotation.w) is
// greater than the distance between the positions over x, y and z (touching circles do not).
// It reads only what every actor has, so a query by any actor can use it.
bool CirclesOverlap(const KV_ACTOR& a, const KV_ACTOR& b);

class KV_ACTOR2D : public KV_ACTOR {
 public:
  KV_SPRITE sprite;  // the look; its collision rectangle is the actor's box

  // Draws the sprite at the actor's position, rotation and scale.
  void Render();
  // Render, only when the circle around the actor that holds its whole sprite meets the
  // rectangle (x, y, w, h).
  void RenderInView(float x, float y, float w, float h);
  // True when this actor's box, shifted by offset's x and y, meets the other's box; boxes
  // that share only an edge or a corner meet. False for a null other.
  bool CollideBox(const KV_ACTOR2D* other, KV_VECTOR_D offset) const;
  // True when the collision circles overlap: the sum of the radii is greater than the
  // distance between the positions (touching circles do not). False for a null other.
  bool CollideCircle(const KV_ACTOR* other) const;
  // Never collides: false.
  bool NoCollision(const KV_ACTOR* other) const;
};

}  // namespace KvCore
