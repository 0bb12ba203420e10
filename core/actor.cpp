// The actors: empty base operations, the 2D actor's drawing, view test and collision tests.
#include "core/actor.h"

#include <algorithm>
#include <cmath>

#include "app/rect_tests.h"

namespace KvCore {

KV_ACTOR::KV_ACTOR() : depth(0), position(0, 0, 0, 1), rotation(0, 0, 0, 0), scale(1, 1, 1, 1) {}

KV_ACTOR::~KV_ACTOR() {}

void KV_ACTOR::Update() {}

void KV_ACTOR::Draw() {}

namespace {

// The two corners of an actor's box: from the position minus the scaled box origin to the
// position plus the scaled rest of the box; z is 0 for both.
void BoxCorners(const KV_ACTOR2D& actor, double dx, double dy, KV_VECTOR_D& low,
                KV_VECTOR_D& high) {
  const KV_SPRITE& s = actor.sprite;
  low = KV_VECTOR_D(actor.position.x - s.boxX * actor.scale.x + dx,
                    actor.position.y - s.boxY * actor.scale.y + dy, 0, 1);
  high = KV_VECTOR_D(actor.position.x + (s.boxWidth - s.boxX) * actor.scale.x + dx,
                     actor.position.y + (s.boxHeight - s.boxY) * actor.scale.y + dy, 0, 1);
}

// Distance from the pivot to the sprite's farthest corner: the radius of the circle around
// the position that holds the whole (unscaled) sprite.
double ViewRadius(const KV_SPRITE& s) {
  double px = s.pivotX, py = s.pivotY;
  double left = px, right = s.width - px, top = py, bottom = s.height - py;
  double dx = std::max(std::fabs(left), std::fabs(right));
  double dy = std::max(std::fabs(top), std::fabs(bottom));
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

void KV_ACTOR2D::Render() {
  sprite.Draw(position, KV_VECTOR_D(rotation.x, rotation.y, rotation.z, rotation.w), scale);
}

void KV_ACTOR2D::RenderInView(float x, float y, float w, float h) {
  double r = ViewRadius(sprite);
  if (x < position.x + r && y < position.y + r && x + w > position.x - r && y + h > position.y - r)
    Render();
}

bool KV_ACTOR2D::CollideBox(const KV_ACTOR2D* other, KV_VECTOR_D offset) const {
  if (other == nullptr) return false;
  KV_VECTOR_D a1, a2, b1, b2;
  BoxCorners(*this, offset.x, offset.y, a1, a2);
  BoxCorners(*other, 0, 0, b1, b2);
  return KvBoxOverlap(a1, a2, b1, b2);
}

bool CirclesOverlap(const KV_ACTOR& a, const KV_ACTOR& b) {
  double distance = (a.position - b.position).Length();
  return a.rotation.w + b.rotation.w > distance;
}

bool KV_ACTOR2D::CollideCircle(const KV_ACTOR* other) const {
  return other != nullptr && CirclesOverlap(*this, *other);
}

bool KV_ACTOR2D::NoCollision(const KV_ACTOR*) const { return false; }

}  // namespace KvCore
