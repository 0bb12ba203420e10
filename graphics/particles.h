// KV_PARTICLES: a fixed pool of point particles with an emitter. Each update it emits bursts at
// the emitter's origin (or spaced along the path the origin moved), moves every live particle by
// Euler steps with a constant acceleration, fades its alpha over its lifetime and returns it to
// the pool when that is over. It owns the pool and two parallel arrays of positions and colours,
// which it draws whole as points in one engine call; it only borrows its point texture.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "engine/kv_array.h"
#include "foundation/list.h"
#include "foundation/rotation.h"
#include "foundation/vector.h"

struct KV_PARTICLE;
namespace KvCore {
class KV_ACTOR;
}

// Called with a particle: by Update for every stepped particle, as onSpawn for every new one.
typedef void (*KV_PARTICLE_CALLBACK)(KV_PARTICLE* particle);

// One pool record. A live record points at its slots in the system's two arrays.
struct KV_PARTICLE {
  KV_VECTOR* position = nullptr;  // slot in the position array; null while free
  KV_VECTOR* colour = nullptr;    // slot in the colour array; null while free
  uint32_t index = 0;             // the record's index in the pool
  float elapsed = 0;              // seconds lived
  float duration = 0;             // lifetime; 0 or less: never stepped, never retired
  KV_VECTOR velocity;             // units per second
  KV_VECTOR acceleration;         // units per second per second
  float startAlpha = 1;           // alpha at birth

  // One Euler step of dt seconds and the fade (see the .cpp); with a callback and mode 0 only
  // the callback runs. Nothing for a free record or one without a positive duration.
  void Step(float dt, KV_PARTICLE_CALLBACK callback, uint8_t mode);
  // The position slot; null while free.
  KV_VECTOR* GetFirst() const { return position; }
  // The colour slot; null while free.
  KV_VECTOR* GetSecond() const { return colour; }
};

// The emitter's parameters; every range is a minimum and a maximum.
struct KV_EMITTER_DESC {
  KV_VECTOR origin;                          // where Update emits
  KV_VECTOR previousOrigin;                  // origin at the last burst
  float spacing = 0;                         // above 0: one burst every spacing units of the path
  KV_ROTATION_D directionMin, directionMax;  // emission angles in degrees (first three used)
  float speedMin = 0, speedMax = 0;          // initial speed
  KV_VECTOR offsetMin, offsetMax;            // birth offset from the emit point (x, y, z)
  float lifeMin = 0, lifeMax = 0;            // lifetime in seconds
  KV_VECTOR accelerationMin, accelerationMax;
  KV_VECTOR colourMin{1, 1, 1, 1}, colourMax{1, 1, 1, 1};
  uint8_t colourPerComponent = 0;  // one blend factor per colour component
  float alpha = 1;                 // startAlpha of emitted particles
};

class KV_PARTICLES {
 public:
  KV_LIST<KV_PARTICLE*> freeList;   // free records, taken from the front
  KV_LIST<KV_PARTICLE*> liveList;   // live records in emission order: the stepping order
  KV_ARRAY<KV_PARTICLE> particles;  // the pool
  KV_ARRAY<KV_VECTOR> positions;    // one position per pool record
  KV_ARRAY<KV_VECTOR> colours;      // one colour per pool record
  uint8_t vertexBufferMode;         // the engine's vertex-buffer answer; nothing is drawn while set
  uint8_t enabled = 1;              // Update and Draw do nothing while 0
  uint32_t blendSource = KV_BLEND_SRC_ALPHA;
  uint32_t blendDestination = KV_BLEND_ONE_MINUS_SRC_ALPHA;
  uint32_t blendMode = KV_BLEND_ADD;
  uint8_t switch226 = 0;         // KV_STATE_POINT_SMOOTH on around the draw
  uint8_t spacingInclusive = 1;  // path emission also emits at exactly the path's length
  double pointSize = 1;          // applied only when above 1
  KV_EMITTER_DESC emitter;
  KV_HANDLE texture;                       // point texture; null for plain points
  uint8_t emissionStopped = 0;             // suppresses emission; stepping goes on
  float emissionTimer = 0;                 // seconds until the next burst
  float emissionInterval = 0;              // seconds between bursts; 0 or less: no emission
  int32_t emissionCount = 0;               // bursts per emission pass
  KV_PARTICLE_CALLBACK onSpawn = nullptr;  // called for every emitted or spawned particle

  // No pool yet; vertexBufferMode is the engine's KvVertexBufferInit answer.
  KV_PARTICLES();
  // A copy has a pool of its own with the same records, slots and list orders.
  KV_PARTICLES(const KV_PARTICLES& other);
  KV_PARTICLES& operator=(const KV_PARTICLES& other);
  // Clears first.
  ~KV_PARTICLES();

  // A pool of n free records (n 0: none); clears vertexBufferMode.
  void Resize(uint32_t n);
  // Frees the pool and both arrays and empties both lists.
  void Clear();
  // One particle from the emitter at point; nothing when the pool is full.
  void Emit(KV_VECTOR point);
  // One particle from a whole record at the given slots' values; nothing when the pool is full.
  void Spawn(KV_PARTICLE record, KV_VECTOR position, KV_VECTOR colour);
  // Emission, stepping and retirement for the frame loop's last frame time.
  void Update(KV_PARTICLE_CALLBACK callback, uint8_t mode);
  // Draws the whole pool as points, when enabled and something is live.
  void Draw();

  // Pool size.
  uint32_t GetParticleCount() const;
  // Number of live particles.
  uint32_t GetLiveCount() const;
  // vertexBufferMode.
  uint8_t IsReady() const;
  // +infinity: the coordinate of free slots.
  static float Infinity();

 private:
  // The first free record moved to the tail of liveList; null when the pool is full.
  KV_PARTICLE* TakeFree();
  // The record's slots emptied and the record moved to the tail of freeList.
  void Retire(KV_LIST_ITERATOR<KV_PARTICLE*> at);
  // The emission passes that dt makes due.
  void EmitPasses(float dt);
  // One burst at the origin or along the path from previousOrigin.
  void Burst();
};

// What the central object keeps per named particle system.
struct KV_PARTICLES_ENTRY {
  KV_PARTICLES system;
  uint8_t drawBefore = 0;                   // 1: drawn before its actor, 0: after
  KvCore::KV_ACTOR* actor = nullptr;        // the actor it is bound to; null: none
  KV_PARTICLE_CALLBACK callback = nullptr;  // handed to KV_PARTICLES::Update
};
