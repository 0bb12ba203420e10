// KV_PARTICLES: the pool and its two lists, stepping and retirement, and the one-call draw of
// the whole pool. Emission lives in particles_emit.cpp.
#include "graphics/particles.h"

#include <limits>

#include "app/loop.h"

namespace {

// The slot values of a record that was never used: far away on every axis, transparent.
const KV_VECTOR kUnusedPosition(KV_PARTICLES::Infinity(), KV_PARTICLES::Infinity(),
                                KV_PARTICLES::Infinity(), 1);
// A retired record's position slot: far away along x.
const KV_VECTOR kRetiredPosition(KV_PARTICLES::Infinity(), 0, 0, 1);
const KV_VECTOR kTransparent(0, 0, 0, 0);

}  // namespace

// ---- the particle ----------------------------------------------------------------------------

void KV_PARTICLE::Step(float dt, KV_PARTICLE_CALLBACK callback, uint8_t mode) {
  if (position == nullptr || colour == nullptr || !(duration > 0)) return;
  // A callback in mode 0 replaces the motion entirely.
  if (callback != nullptr && mode == 0) {
    callback(this);
    return;
  }
  // Explicit Euler: the position moves with the velocity of the start of the step.
  *position = *position + velocity * dt;
  velocity = velocity + acceleration * dt;
  float t = elapsed / duration;
  if (t < 0) t = 0;
  if (t > 1) t = 1;
  colour->w = (1 - t) * startAlpha;
  if (callback != nullptr && mode == 1) callback(this);
}

// ---- construction ----------------------------------------------------------------------------

KV_PARTICLES::KV_PARTICLES() : vertexBufferMode(KvVertexBufferInit()) {}

KV_PARTICLES::KV_PARTICLES(const KV_PARTICLES& other) : vertexBufferMode(other.vertexBufferMode) {
  *this = other;
}

// The records' slot pointers and the two lists are rebuilt for this system's own arrays: a
// copy that kept the other's pointers would step and draw the other system's memory.
KV_PARTICLES& KV_PARTICLES::operator=(const KV_PARTICLES& other) {
  if (this == &other) return *this;
  Clear();
  particles = other.particles;
  positions = other.positions;
  colours = other.colours;
  for (uint32_t i = 0; i < particles.Size(); ++i) {
    KV_PARTICLE* record = particles.Get(i);
    if (record->position != nullptr) record->position = positions.Get(i);
    if (record->colour != nullptr) record->colour = colours.Get(i);
  }
  for (auto it = other.freeList.Begin(); !it.IsEnd(); it.Next())
    freeList.PushBack(particles.Get((*it)->index));
  for (auto it = other.liveList.Begin(); !it.IsEnd(); it.Next())
    liveList.PushBack(particles.Get((*it)->index));
  vertexBufferMode = other.vertexBufferMode;
  enabled = other.enabled;
  blendSource = other.blendSource;
  blendDestination = other.blendDestination;
  blendMode = other.blendMode;
  switch226 = other.switch226;
  spacingInclusive = other.spacingInclusive;
  pointSize = other.pointSize;
  emitter = other.emitter;
  texture = other.texture;
  emissionStopped = other.emissionStopped;
  emissionTimer = other.emissionTimer;
  emissionInterval = other.emissionInterval;
  emissionCount = other.emissionCount;
  onSpawn = other.onSpawn;
  return *this;
}

KV_PARTICLES::~KV_PARTICLES() { Clear(); }

// ---- the pool --------------------------------------------------------------------------------

void KV_PARTICLES::Resize(uint32_t n) {
  Clear();
  particles.Resize(n);
  positions.Resize(n);
  colours.Resize(n);
  for (uint32_t i = 0; i < n; ++i) {
    KV_PARTICLE* record = particles.Get(i);
    *record = KV_PARTICLE();
    record->index = i;
    *positions.Get(i) = kUnusedPosition;
    *colours.Get(i) = kTransparent;
    freeList.PushBack(record);
  }
  vertexBufferMode = 0;
}

void KV_PARTICLES::Clear() {
  freeList.Clear();
  liveList.Clear();
  particles.Free();
  positions.Free();
  colours.Free();
}

KV_PARTICLE* KV_PARTICLES::TakeFree() {
  KV_LIST_ITERATOR<KV_PARTICLE*> first = freeList.Begin();
  if (first.IsEnd()) return nullptr;
  KV_PARTICLE* record = *first;
  liveList.Adopt(first);
  return record;
}

void KV_PARTICLES::Spawn(KV_PARTICLE record, KV_VECTOR position, KV_VECTOR colour) {
  KV_PARTICLE* slot = TakeFree();
  if (slot == nullptr) return;
  uint32_t k = slot->index;
  *slot = record;
  slot->index = k;
  slot->position = positions.Get(k);
  slot->colour = colours.Get(k);
  *slot->position = position;
  *slot->colour = colour;
  if (onSpawn != nullptr) onSpawn(slot);
}

void KV_PARTICLES::Retire(KV_LIST_ITERATOR<KV_PARTICLE*> at) {
  KV_PARTICLE* record = *at;
  record->position = nullptr;
  record->colour = nullptr;
  record->elapsed = 0;
  record->duration = 0;
  *positions.Get(record->index) = kRetiredPosition;
  *colours.Get(record->index) = kTransparent;
  freeList.Adopt(at);
}

// ---- per frame -------------------------------------------------------------------------------

void KV_PARTICLES::Update(KV_PARTICLE_CALLBACK callback, uint8_t mode) {
  if (!enabled) return;
  float dt = KV_LOOP::Instance().frameTime;
  if (!emissionStopped && emissionInterval > 0) EmitPasses(dt);
  KV_LIST_ITERATOR<KV_PARTICLE*> it = liveList.Begin();
  while (!it.IsEnd()) {
    // Taken before a retirement moves this node to the free list.
    KV_LIST_ITERATOR<KV_PARTICLE*> next = it;
    next.Next();
    KV_PARTICLE* record = *it;
    if (record->elapsed < record->duration) {
      record->elapsed += dt;
      record->Step(dt, callback, mode);
    }
    if (record->duration > 0 && !(record->elapsed < record->duration)) Retire(it);
    it = next;
  }
}

void KV_PARTICLES::Draw() {
  if (!enabled || particles.IsEmpty() || liveList.Count() == 0) return;
  bool textured = !texture.IsNull();
  if (textured)
    KvTextureActivate(texture);
  else
    KvTextureUnactivate(KV_TEXTURE_TARGET);
  if (pointSize > 1) KvSetState(KV_STATE_POINT_SIZE, pointSize);
  if (switch226) KvSetState(KV_STATE_POINT_SMOOTH, 1);
  if (textured) {
    KvSetState(KV_STATE_POINT_SPRITE, 1);
    KvSetState(KV_STATE_POINT_COORD, 1);
  }
  KvSetState(KV_STATE_BLEND_FUNC, (int)blendSource, (int)blendDestination);
  KvSetState(KV_STATE_BLEND_EQUATION, (int)blendMode);
  // Every slot is drawn; free ones lie at infinity with no alpha and show nothing.
  if (vertexBufferMode == 0) {
    KvDrawData(KV_PRIM_POINTS, 0, particles.Size(), positions.Buffer(false), colours.Buffer(false),
               nullptr, nullptr, nullptr, nullptr, KV_ELEMENT_FLOAT, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0,
               0, 0, 0);
  }
  KvSetState(KV_STATE_BLEND_FUNC, (int)KV_BLEND_SRC_ALPHA, (int)KV_BLEND_ONE_MINUS_SRC_ALPHA);
  KvSetState(KV_STATE_BLEND_EQUATION, (int)KV_BLEND_ADD);
  if (pointSize > 1) KvSetState(KV_STATE_POINT_SIZE, 1.0);
  if (switch226) KvSetState(KV_STATE_POINT_SMOOTH, 0);
  if (textured) {
    KvSetState(KV_STATE_POINT_SPRITE, 0);
    KvSetState(KV_STATE_POINT_COORD, 0);
  }
  KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 1.0, 1.0);
}

// ---- queries ---------------------------------------------------------------------------------

uint32_t KV_PARTICLES::GetParticleCount() const { return particles.Size(); }

uint32_t KV_PARTICLES::GetLiveCount() const { return liveList.Count(); }

uint8_t KV_PARTICLES::IsReady() const { return vertexBufferMode; }

float KV_PARTICLES::Infinity() { return std::numeric_limits<float>::infinity(); }
