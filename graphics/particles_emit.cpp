// KV_PARTICLES' emission: one particle drawn from the emitter's ranges, bursts at the origin or
// spaced along the path the origin moved, and the timed emission passes of an update.
#include "foundation/small_math.h"
#include "graphics/particles.h"

namespace {

// An update owes one pass per elapsed interval. Passes with a full pool cost almost nothing, but
// a huge frame time or an interval too small to move the timer would still run forever: past this
// many passes the rest are dropped and the timer starts a fresh interval.
constexpr int kMaxEmissionPasses = 1 << 16;

// min + KvRandom(max - min): the framework's random value in a range.
float InRange(float min, float max) { return (float)(min + KvRandom(max - min)); }

// x, y and z each in their range, drawn in that order; w 1.
KV_VECTOR DrawInRange(const KV_VECTOR& min, const KV_VECTOR& max) {
  KV_VECTOR drawn;
  drawn.x = InRange(min.x, max.x);
  drawn.y = InRange(min.y, max.y);
  drawn.z = InRange(min.z, max.z);
  drawn.w = 1;
  return drawn;
}

}  // namespace

void KV_PARTICLES::Emit(KV_VECTOR point) {
  KV_PARTICLE* slot = TakeFree();
  if (slot == nullptr) return;
  uint32_t k = slot->index;
  const KV_EMITTER_DESC& e = emitter;
  KV_PARTICLE record;
  // The random values are drawn in this fixed order, so a seeded generator repeats a system. Each
  // draw is a statement of its own: the order in which a compiler evaluates the arguments of one
  // call is unspecified, and drawing inside an argument list gives each compiler its own effect.
  KV_VECTOR offset = DrawInRange(e.offsetMin, e.offsetMax);
  *positions.Get(k) = point + offset;
  record.duration = InRange(e.lifeMin, e.lifeMax);
  float speed = InRange(e.speedMin, e.speedMax);
  KV_ROTATION_D angles;
  angles.x = e.directionMin.x + KvRandom(e.directionMax.x - e.directionMin.x);
  angles.y = e.directionMin.y + KvRandom(e.directionMax.y - e.directionMin.y);
  angles.z = e.directionMin.z + KvRandom(e.directionMax.z - e.directionMin.z);
  angles.w = 0;
  record.acceleration = DrawInRange(e.accelerationMin, e.accelerationMax);
  double t = KvRandom(1);
  double tr = t, tg = t, tb = t, ta = t;
  if (e.colourPerComponent) {
    tr = KvRandom(1);
    tg = KvRandom(1);
    tb = KvRandom(1);
    ta = KvRandom(1);
  }
  *colours.Get(k) = KV_VECTOR((float)KvLerp(e.colourMin.x, e.colourMax.x, tr),
                              (float)KvLerp(e.colourMin.y, e.colourMax.y, tg),
                              (float)KvLerp(e.colourMin.z, e.colourMax.z, tb),
                              (float)KvLerp(e.colourMin.w, e.colourMax.w, ta));
  KV_VECTOR_D velocity = KvLengthdirVector(angles, speed);
  record.velocity =
      KV_VECTOR((float)velocity.x, (float)velocity.y, (float)velocity.z, (float)velocity.w);
  record.elapsed = 0;
  record.startAlpha = e.alpha;
  record.position = positions.Get(k);
  record.colour = colours.Get(k);
  record.index = k;
  *slot = record;
  if (onSpawn != nullptr) onSpawn(slot);
}

void KV_PARTICLES::Burst() {
  if (!(emitter.spacing > 0)) {
    Emit(emitter.origin);
    return;
  }
  KV_VECTOR path = emitter.origin - emitter.previousOrigin;
  KV_VECTOR direction = path.Normalized();
  float length = path.Length();
  KV_VECTOR p = emitter.previousOrigin;
  // The walk stops once the pool is full (nothing more could be emitted, and nothing retires
  // during emission) or once the spacing no longer moves d: a tiny spacing on a long path would
  // otherwise loop for ages or forever.
  for (float d = 0; spacingInclusive ? d <= length : d < length;) {
    if (freeList.Count() == 0) return;
    Emit(p);
    float next = d + emitter.spacing;
    if (next == d) return;
    d = next;
    p = p + direction * emitter.spacing;
  }
}

void KV_PARTICLES::EmitPasses(float dt) {
  emissionTimer -= dt;
  if (emissionTimer > 0) return;
  int passes = 0;
  while (!(emissionTimer > 0)) {
    if (++passes > kMaxEmissionPasses) {
      emissionTimer = emissionInterval;
      break;
    }
    emissionTimer += emissionInterval;
    // Bursts into a full pool emit nothing, so they are skipped rather than counted out.
    for (int32_t i = 0; i < emissionCount && freeList.Count() > 0; ++i) Burst();
  }
  emitter.previousOrigin = emitter.origin;
}
