// KV_DNA::Draw: the engine draws the body, then each force sprite is drawn as a textured
// rectangle whose x axis runs along its force from the anchor substance, turning with the force
// and, when stretched, reaching from its pivot to the far substance whatever the body's shape.
#include "engine/numbers.h"
#include "foundation/small_math.h"
#include "graphics/dna.h"
#include "graphics/quad.h"

namespace {

// The texture coordinates of every force sprite: the whole image, v = 0 at the top.
const KV_QUAD& CoordinateQuad() {
  static const KV_QUAD quad = [] {
    KV_QUAD q;
    q.corners[0] = KV_VECTOR_D(0, 0, 0, 1);
    q.corners[1] = KV_VECTOR_D(1, 0, 0, 1);
    q.corners[2] = KV_VECTOR_D(1, 1, 0, 1);
    q.corners[3] = KV_VECTOR_D(0, 1, 0, 1);
    return q;
  }();
  return quad;
}

// The substance handle at one end of a force; null when the force or that end is missing.
const KV_HANDLE* EndOf(KV_HANDLE force, uint32_t end) {
  auto* substance = static_cast<const KV_HANDLE*>(KvCovalenceForceGet(force, end));
  return substance != nullptr && !substance->IsNull() ? substance : nullptr;
}

// The position of a substance as a vector; false when the engine has none (a destroyed substance).
bool PositionOf(KV_HANDLE substance, KV_VECTOR_D* out) {
  auto* p = static_cast<const double*>(KvSubstanceGet(substance, KV_SUBSTANCE_POSITION));
  if (p == nullptr) return false;
  *out = KV_VECTOR_D(p[0], p[1], p[2], p[3]);
  return true;
}

void DrawForceSprite(KV_DNA_SPRITE& sprite) {
  if (sprite.texture.IsNull() || sprite.force == nullptr || sprite.force->IsNull()) return;
  const KV_HANDLE* a = EndOf(*sprite.force, KV_FORCE_FIRST);
  const KV_HANDLE* b = EndOf(*sprite.force, KV_FORCE_SECOND);
  if (sprite.reversed) {
    const KV_HANDLE* swap = a;
    a = b;
    b = swap;
  }
  KV_VECTOR_D pa, pb;
  if (a == nullptr || b == nullptr || !PositionOf(*a, &pa) || !PositionOf(*b, &pb)) return;

  sprite.angle = KvDirectionVector(pa, pb).x;
  double length = (pb - pa).Length();
  double left = -sprite.pivotX;
  double top = -sprite.pivotY;
  double right = sprite.stretched ? length : left + sprite.width;
  double bottom = top + sprite.height;
  KV_QUAD positions;
  positions.corners[0] = KV_VECTOR_D(left, top, 0, 1);
  positions.corners[1] = KV_VECTOR_D(right, top, 0, 1);
  positions.corners[2] = KV_VECTOR_D(right, bottom, 0, 1);
  positions.corners[3] = KV_VECTOR_D(left, bottom, 0, 1);

  KvMatrixPush();
  KvMatrixIdentity();
  KvMatrixTranslate(pa.x, pa.y, pa.z);
  KvMatrixRotate(sprite.angle, 0, 0, 1);
  KvTextureActivate(sprite.texture);
  KvDrawData(KV_PRIM_QUADS, 0, 4, &positions, nullptr, &CoordinateQuad(), nullptr, nullptr, nullptr,
             KV_ELEMENT_DOUBLE, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0);
  KvMatrixPop();
}

}  // namespace

void KV_DNA::Draw() {
  KvDnaDraw(handle);
  for (uint32_t i = 0; i < sprites.Size(); ++i) DrawForceSprite(sprites.data[i]);
}
