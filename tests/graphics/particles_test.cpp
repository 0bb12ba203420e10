// KV_PARTICLES on the real engine, offscreen: the pool and its lists, timed and path emission,
// Euler steps, the fade, retirement, callbacks, bounded emission, copies, the draw's engine calls
// and the pixels it leaves.
#include "graphics/particles.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <vector>

#include "app/loop.h"
#include "foundation/small_math.h"
#include "graphics_fixture.h"
#include "platform/runtime/random.h"

using kv::engine::testing::StartTrace;
using kv::engine::testing::StopTrace;
using kv::engine::testing::TracedCalls;

namespace {

void SetFrameTime(float seconds) { KV_LOOP::Instance().frameTime = seconds; }

// A record that lives `duration` seconds, moving with velocity and acceleration.
KV_PARTICLE Moving(float duration, KV_VECTOR velocity = KV_VECTOR(),
                   KV_VECTOR acceleration = KV_VECTOR(), float startAlpha = 1) {
  KV_PARTICLE record;
  record.duration = duration;
  record.velocity = velocity;
  record.acceleration = acceleration;
  record.startAlpha = startAlpha;
  return record;
}

// The pool indices of a list, in list order.
std::vector<uint32_t> Indices(const KV_LIST<KV_PARTICLE*>& list) {
  std::vector<uint32_t> found;
  for (auto it = list.Begin(); !it.IsEnd(); it.Next()) found.push_back((*it)->index);
  return found;
}

// The x of every live particle, in live order.
std::vector<float> LiveX(const KV_PARTICLES& system) {
  std::vector<float> xs;
  for (auto it = system.liveList.Begin(); !it.IsEnd(); it.Next()) xs.push_back((*it)->position->x);
  return xs;
}

std::vector<KV_PARTICLE*> visited;
void Visit(KV_PARTICLE* particle) { visited.push_back(particle); }
// Records the particle's x as the callback saw it.
std::vector<float> seenX;
void SeeX(KV_PARTICLE* particle) { seenX.push_back(particle->position->x); }

}  // namespace

class Particles : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    visited.clear();
    seenX.clear();
    SetFrameTime(0);
  }
};

// ---- the pool --------------------------------------------------------------------------------

TEST_F(Particles, ResizeBuildsAFreePoolOfFarTransparentSlots) {
  KV_PARTICLES system;
  system.vertexBufferMode = 1;
  system.Resize(3);
  EXPECT_EQ(system.IsReady(), 0);
  EXPECT_EQ(system.GetParticleCount(), 3u);
  EXPECT_EQ(system.GetLiveCount(), 0u);
  EXPECT_EQ(Indices(system.freeList), (std::vector<uint32_t>{0, 1, 2}));
  for (uint32_t i = 0; i < 3; ++i) {
    EXPECT_TRUE(std::isinf(system.positions.Get(i)->x) && std::isinf(system.positions.Get(i)->y));
    EXPECT_EQ(system.colours.Get(i)->w, 0);
    EXPECT_EQ(system.particles.Get(i)->position, nullptr);
  }
  system.Clear();
  EXPECT_EQ(system.GetParticleCount(), 0u);
  EXPECT_EQ(system.freeList.Count(), 0u);
}

TEST_F(Particles, AFullPoolIgnoresEmitAndSpawn) {
  KV_PARTICLES system;
  system.onSpawn = Visit;
  system.Emit(KV_VECTOR(1, 1));  // no pool yet
  EXPECT_EQ(system.GetLiveCount(), 0u);
  system.Resize(2);
  system.Emit(KV_VECTOR(1, 1));
  system.Spawn(Moving(1), KV_VECTOR(2, 2), KV_VECTOR(1, 0, 0, 1));
  system.Emit(KV_VECTOR(3, 3));
  system.Spawn(Moving(1), KV_VECTOR(4, 4), KV_VECTOR(1, 0, 0, 1));
  EXPECT_EQ(system.GetLiveCount(), 2u);
  EXPECT_EQ(visited.size(), 2u);
  EXPECT_EQ(LiveX(system), (std::vector<float>{1, 2}));
}

TEST_F(Particles, SpawnPointsTheRecordAtItsOwnSlots) {
  KV_PARTICLES system;
  system.Resize(3);
  KV_PARTICLE record = Moving(2, KV_VECTOR(1, 2));
  record.index = 77;
  record.elapsed = 0.5f;
  system.Spawn(record, KV_VECTOR(5, 6), KV_VECTOR(0.1f, 0.2f, 0.3f, 0.4f));
  KV_PARTICLE* live = *system.liveList.Begin();
  EXPECT_EQ(live->index, 0u);
  EXPECT_EQ(live->GetFirst(), system.positions.Get(0));
  EXPECT_EQ(live->GetSecond(), system.colours.Get(0));
  EXPECT_EQ(live->elapsed, 0.5f);
  EXPECT_EQ(system.positions.Get(0)->y, 6);
  EXPECT_EQ(system.colours.Get(0)->w, 0.4f);
}

// ---- emission --------------------------------------------------------------------------------

TEST_F(Particles, OneUpdateRunsEveryEmissionPassTheFrameTimeOwes) {
  KV_PARTICLES system;
  system.Resize(10);
  system.emissionInterval = 0.1f;
  system.emissionCount = 1;
  SetFrameTime(0.35f);
  system.Update(nullptr, 0);
  EXPECT_EQ(system.GetLiveCount(), 4u);
  EXPECT_NEAR(system.emissionTimer, 0.05f, 1e-5);
  // The next 0.04 s owe nothing; 0.02 more owe one pass.
  SetFrameTime(0.04f);
  system.Update(nullptr, 0);
  EXPECT_EQ(system.GetLiveCount(), 4u);
  SetFrameTime(0.02f);
  system.Update(nullptr, 0);
  EXPECT_EQ(system.GetLiveCount(), 5u);
}

TEST_F(Particles, NoEmissionWithoutIntervalOrWhenStoppedOrDisabled) {
  KV_PARTICLES system;
  system.Resize(10);
  system.emissionCount = 1;
  SetFrameTime(1);
  system.Update(nullptr, 0);  // interval 0
  system.emissionInterval = -1;
  system.Update(nullptr, 0);
  system.emissionInterval = 0.1f;
  system.emissionStopped = 1;
  system.Update(nullptr, 0);
  system.emissionStopped = 0;
  system.enabled = 0;
  system.Update(nullptr, 0);
  EXPECT_EQ(system.GetLiveCount(), 0u);
}

TEST_F(Particles, DefaultEmitterParticlesNeverMoveNorDieAndFillThePool) {
  KV_PARTICLES system;
  system.Resize(5);
  system.emitter.origin = KV_VECTOR(7, 8);
  system.emitter.speedMin = system.emitter.speedMax = 50;
  system.emissionInterval = 0.1f;
  system.emissionCount = 2;
  SetFrameTime(0.1f);
  for (int i = 0; i < 10; ++i) system.Update(nullptr, 0);
  EXPECT_EQ(system.GetLiveCount(), 5u);
  EXPECT_EQ(system.freeList.Count(), 0u);
  for (auto it = system.liveList.Begin(); !it.IsEnd(); it.Next()) {
    EXPECT_EQ((*it)->position->x, 7);
    EXPECT_EQ((*it)->position->y, 8);
    EXPECT_EQ((*it)->elapsed, 0);
  }
}

TEST_F(Particles, PathEmissionIsSpacedAlongTheMovedOrigin) {
  for (uint8_t inclusive : {1, 0}) {
    KV_PARTICLES system;
    system.Resize(10);
    system.spacingInclusive = inclusive;
    system.emitter.spacing = 5;
    system.emitter.previousOrigin = KV_VECTOR(0, 0);
    system.emitter.origin = KV_VECTOR(10, 0);
    system.emissionInterval = 1;
    system.emissionCount = 1;
    SetFrameTime(0.5f);  // one pass: the timer goes from -0.5 to 0.5
    system.Update(nullptr, 0);
    std::vector<float> expected =
        inclusive ? std::vector<float>{0, 5, 10} : std::vector<float>{0, 5};
    EXPECT_EQ(LiveX(system), expected) << "inclusive " << (int)inclusive;
    EXPECT_EQ(system.emitter.previousOrigin.x, 10);
    // Standing still: one particle per burst when inclusive, none otherwise.
    system.Update(nullptr, 0);
    EXPECT_EQ(system.GetLiveCount(), expected.size() + inclusive);
  }
}

TEST_F(Particles, EmitDrawsEachValueFromItsRange) {
  KV_PARTICLES system;
  system.Resize(1);
  KV_EMITTER_DESC& e = system.emitter;
  e.offsetMin = e.offsetMax = KV_VECTOR(1, 2, 0);
  e.lifeMin = e.lifeMax = 3;
  e.speedMin = e.speedMax = 10;
  e.directionMin.x = e.directionMax.x = 90;
  e.accelerationMin = e.accelerationMax = KV_VECTOR(0, 4, 0);
  e.colourMin = KV_VECTOR(0, 0, 0, 0);
  e.colourMax = KV_VECTOR(1, 1, 1, 1);
  e.alpha = 0.5f;
  system.onSpawn = Visit;
  platform::SeedRand(3);
  system.Emit(KV_VECTOR(10, 20));
  ASSERT_EQ(visited.size(), 1u);
  KV_PARTICLE* p = visited[0];
  EXPECT_EQ(p->position->x, 11);
  EXPECT_EQ(p->position->y, 22);
  EXPECT_EQ(p->duration, 3);
  EXPECT_NEAR(p->velocity.x, 0, 1e-4);
  EXPECT_NEAR(p->velocity.y, 10, 1e-4);
  EXPECT_EQ(p->acceleration.y, 4);
  EXPECT_EQ(p->startAlpha, 0.5f);
  EXPECT_EQ(p->elapsed, 0);
  // One blend factor for all four components, so grey with equal alpha.
  KV_VECTOR c = *p->colour;
  EXPECT_EQ(c.x, c.y);
  EXPECT_EQ(c.x, c.w);
  // Per component: a fresh factor for each, which a seeded sequence tells apart.
  system.Resize(8);
  e.colourPerComponent = 1;
  bool differ = false;
  for (int i = 0; i < 8; ++i) {
    system.Emit(KV_VECTOR());
    KV_VECTOR k = *system.colours.Get(i);
    differ = differ || k.x != k.y || k.y != k.z || k.z != k.w;
  }
  EXPECT_TRUE(differ);
}

// The same seed gives the same particle under every compiler: the draws come in one order
// (offset x, y, z, lifetime, speed, the three angles, acceleration x, y, z, colour), replayed
// here one statement at a time.
TEST_F(Particles, ASeedGivesOneParticleInOneDrawOrder) {
  KV_PARTICLES system;
  system.Resize(1);
  KV_EMITTER_DESC& e = system.emitter;
  e.offsetMin = KV_VECTOR(0, 0, 0);
  e.offsetMax = KV_VECTOR(1000, 1000, 1000);
  e.lifeMax = 10;
  e.speedMax = 100;
  e.directionMax = KV_ROTATION_D(360, 360, 360, 0);
  e.accelerationMin = KV_VECTOR(-50, -50, -50);
  e.accelerationMax = KV_VECTOR(50, 50, 50);
  e.colourMin = KV_VECTOR(0, 0, 0, 0);
  platform::SeedRand(7);
  float offset[3], acceleration[3];
  for (float& value : offset) value = (float)KvRandom(1000);
  float life = (float)KvRandom(10);
  float speed = (float)KvRandom(100);
  KV_ROTATION_D angles;
  angles.x = KvRandom(360);
  angles.y = KvRandom(360);
  angles.z = KvRandom(360);
  for (float& value : acceleration) value = (float)(-50 + KvRandom(100));
  double t = KvRandom(1);
  KV_VECTOR_D velocity = KvLengthdirVector(angles, speed);

  platform::SeedRand(7);
  system.Emit(KV_VECTOR(0, 0, 0));
  const KV_PARTICLE& p = *system.particles.Get(0);
  auto all = [](const KV_VECTOR& v) { return std::vector<float>{v.x, v.y, v.z, v.w}; };
  EXPECT_EQ(all(*p.position), (std::vector<float>{offset[0], offset[1], offset[2], 1}));
  EXPECT_EQ(p.duration, life);
  EXPECT_EQ(all(p.velocity), (std::vector<float>{(float)velocity.x, (float)velocity.y,
                                                 (float)velocity.z, (float)velocity.w}));
  EXPECT_EQ(all(p.acceleration),
            (std::vector<float>{acceleration[0], acceleration[1], acceleration[2], 1}));
  EXPECT_FLOAT_EQ(p.colour->x, (float)t);
  // The three offsets differ, so a draw order reversed anywhere would show.
  EXPECT_NE(offset[0], offset[2]);
}

// Intervals too small to move the timer, huge burst counts on a full pool and hair-thin path
// spacing must all still end the update.
TEST_F(Particles, EmissionAlwaysEnds) {
  auto start = std::chrono::steady_clock::now();
  KV_PARTICLES tiny;
  tiny.Resize(4);
  tiny.emissionInterval = 1e-12f;
  tiny.emissionCount = 1;
  SetFrameTime(1000);
  tiny.Update(nullptr, 0);
  EXPECT_EQ(tiny.GetLiveCount(), 4u);
  EXPECT_GT(tiny.emissionTimer, 0);

  KV_PARTICLES many;
  many.Resize(3);
  many.emissionInterval = 0.001f;
  many.emissionCount = INT_MAX;
  SetFrameTime(10);
  many.Update(nullptr, 0);
  EXPECT_EQ(many.GetLiveCount(), 3u);

  KV_PARTICLES path;
  path.Resize(100);
  path.emitter.spacing = 1e-30f;
  path.emitter.origin = KV_VECTOR(1e6f, 0);
  path.emissionInterval = 1;
  path.emissionCount = 1;
  SetFrameTime(1);
  path.Update(nullptr, 0);
  EXPECT_EQ(path.GetLiveCount(), 100u);
  path.Resize(5);
  path.emitter.previousOrigin = KV_VECTOR(1e20f, 0);
  path.emitter.origin = KV_VECTOR(2e20f, 0);
  path.emitter.spacing = 1;
  path.Update(nullptr, 0);
  EXPECT_EQ(path.GetLiveCount(), 5u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// ---- stepping and retirement -----------------------------------------------------------------

TEST_F(Particles, EulerStepsMoveWithTheOldVelocityAndFadeAlpha) {
  KV_PARTICLES system;
  system.Resize(2);
  system.Spawn(Moving(1, KV_VECTOR(10, 0), KV_VECTOR(0, 20), 0.8f), KV_VECTOR(0, 0),
               KV_VECTOR(1, 1, 1, 1));
  KV_PARTICLE* p = *system.liveList.Begin();
  SetFrameTime(0.5f);
  system.Update(nullptr, 0);
  EXPECT_FLOAT_EQ(system.positions.Get(0)->x, 5);
  EXPECT_FLOAT_EQ(system.positions.Get(0)->y, 0);
  EXPECT_FLOAT_EQ(p->velocity.y, 10);
  EXPECT_EQ(p->velocity.w, 1);
  EXPECT_EQ(system.positions.Get(0)->w, 1);
  EXPECT_FLOAT_EQ(system.colours.Get(0)->w, 0.4f);  // half the lifetime: half the start alpha
  EXPECT_EQ(system.colours.Get(0)->x, 1);
  system.Update(nullptr, 0);
  // The whole lifetime: retired in the same update, its slots emptied.
  EXPECT_EQ(system.GetLiveCount(), 0u);
  EXPECT_EQ(p->position, nullptr);
  EXPECT_EQ(p->duration, 0);
  EXPECT_TRUE(std::isinf(system.positions.Get(0)->x));
  EXPECT_EQ(system.positions.Get(0)->y, 0);
  EXPECT_EQ(system.colours.Get(0)->w, 0);
  EXPECT_EQ(system.colours.Get(0)->x, 0);
}

TEST_F(Particles, RetirementKeepsSteppingTheNextAndReturnsTheRecordToTheTail) {
  KV_PARTICLES system;
  system.Resize(4);
  system.Spawn(Moving(5, KV_VECTOR(1, 0)), KV_VECTOR(0, 0), KV_VECTOR(1, 1, 1, 1));
  system.Spawn(Moving(0.25f, KV_VECTOR(1, 0)), KV_VECTOR(0, 0), KV_VECTOR(1, 1, 1, 1));
  system.Spawn(Moving(5, KV_VECTOR(1, 0)), KV_VECTOR(0, 0), KV_VECTOR(1, 1, 1, 1));
  SetFrameTime(0.5f);
  system.Update(nullptr, 0);
  EXPECT_EQ(Indices(system.liveList), (std::vector<uint32_t>{0, 2}));
  EXPECT_EQ(Indices(system.freeList), (std::vector<uint32_t>{3, 1}));
  EXPECT_FLOAT_EQ(system.positions.Get(2)->x, 0.5f);
  EXPECT_FLOAT_EQ(system.particles.Get(2)->elapsed, 0.5f);
  // Free records are taken from the front: 3, then the retired 1.
  system.Emit(KV_VECTOR(9, 9));
  system.Emit(KV_VECTOR(9, 9));
  EXPECT_EQ(Indices(system.liveList), (std::vector<uint32_t>{0, 2, 3, 1}));
  EXPECT_EQ(system.particles.Get(1)->position, system.positions.Get(1));
}

TEST_F(Particles, LifetimesOfZeroOrLessNeverStepNorRetire) {
  KV_PARTICLES system;
  system.Resize(2);
  system.Spawn(Moving(0, KV_VECTOR(1, 0)), KV_VECTOR(3, 0), KV_VECTOR(1, 1, 1, 1));
  system.Spawn(Moving(-1, KV_VECTOR(1, 0)), KV_VECTOR(4, 0), KV_VECTOR(1, 1, 1, 1));
  SetFrameTime(2);
  system.Update(Visit, 1);
  system.Update(Visit, 0);
  EXPECT_EQ(system.GetLiveCount(), 2u);
  EXPECT_EQ(LiveX(system), (std::vector<float>{3, 4}));
  EXPECT_EQ(system.colours.Get(0)->w, 1);
  EXPECT_TRUE(visited.empty());
}

TEST_F(Particles, ACallbackInModeZeroReplacesTheMotionButTheParticleStillAges) {
  KV_PARTICLES system;
  system.Resize(3);
  system.Spawn(Moving(1, KV_VECTOR(10, 0)), KV_VECTOR(0, 0), KV_VECTOR(1, 1, 1, 1));
  system.Spawn(Moving(1, KV_VECTOR(10, 0)), KV_VECTOR(1, 0), KV_VECTOR(1, 1, 1, 1));
  SetFrameTime(0.6f);
  system.Update(Visit, 0);
  ASSERT_EQ(visited.size(), 2u);
  EXPECT_EQ(visited[0]->index, 0u);  // live order
  EXPECT_EQ(visited[1]->index, 1u);
  EXPECT_EQ(LiveX(system), (std::vector<float>{0, 1}));
  EXPECT_EQ(system.colours.Get(0)->w, 1);
  system.Update(Visit, 0);
  EXPECT_EQ(system.GetLiveCount(), 0u);
  EXPECT_EQ(visited.size(), 4u);
}

TEST_F(Particles, ACallbackInModeOneRunsAfterTheStep) {
  KV_PARTICLES system;
  system.Resize(1);
  system.Spawn(Moving(1, KV_VECTOR(10, 0)), KV_VECTOR(0, 0), KV_VECTOR(1, 1, 1, 1));
  SetFrameTime(0.5f);
  system.Update(SeeX, 1);
  EXPECT_EQ(seenX, (std::vector<float>{5}));
}

TEST_F(Particles, ACopyOwnsItsPool) {
  KV_PARTICLES original;
  original.Resize(3);
  original.Spawn(Moving(2, KV_VECTOR(10, 0)), KV_VECTOR(0, 0), KV_VECTOR(1, 1, 1, 1));
  original.Spawn(Moving(2, KV_VECTOR(10, 0)), KV_VECTOR(1, 0), KV_VECTOR(1, 1, 1, 1));
  KV_PARTICLES copy(original);
  EXPECT_EQ(Indices(copy.liveList), Indices(original.liveList));
  EXPECT_EQ(Indices(copy.freeList), Indices(original.freeList));
  KV_PARTICLE* first = *copy.liveList.Begin();
  EXPECT_EQ(first, copy.particles.Get(0));
  EXPECT_EQ(first->position, copy.positions.Get(0));
  SetFrameTime(0.5f);
  copy.Update(nullptr, 0);
  EXPECT_FLOAT_EQ(copy.positions.Get(0)->x, 5);
  EXPECT_EQ(original.positions.Get(0)->x, 0);
  KV_PARTICLES assigned;
  assigned = copy;
  assigned.Clear();
  EXPECT_EQ(copy.GetLiveCount(), 2u);
}

// ---- drawing ---------------------------------------------------------------------------------

TEST_F(Particles, DrawSendsThePoolAsPointsBetweenItsStates) {
  KV_PARTICLES system;
  system.Resize(3);
  StartTrace();
  system.Draw();  // nothing live
  EXPECT_TRUE(TracedCalls().empty());
  system.Spawn(Moving(1), KV_VECTOR(5, 5), KV_VECTOR(1, 0, 0, 1));
  StartTrace();
  system.Draw();
  StopTrace();
  std::vector<std::string> expected = {
      "KvTextureUnactivate(58)",
      "KvSetState(155, 164, 165)",
      "KvSetState(173, 174)",
      "KvDrawData(4, 0, 3, ptr, ptr, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0)",
      "KvSetState(155, 164, 165)",
      "KvSetState(173, 174)",
      "KvSetState(263, 1, 1, 1, 1)",
  };
  EXPECT_EQ(TracedCalls(), expected);
}

TEST_F(Particles, DrawSwitchesPointSizeSmoothingAndSpritesAroundTheDraw) {
  kvtest::WriteSolidKvt("particle_tex.kvt", 2, 2);
  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  ASSERT_EQ(KvTextureLoad(texture, "particle_tex.kvt", 0), 1);
  KV_PARTICLES system;
  system.Resize(1);
  system.Spawn(Moving(1), KV_VECTOR(5, 5), KV_VECTOR(1, 0, 0, 1));
  system.pointSize = 4;
  system.switch226 = 1;
  system.texture = texture;
  system.blendSource = KV_BLEND_SRC_ALPHA;
  system.blendDestination = KV_BLEND_ONE;
  system.blendMode = KV_BLEND_SUBTRACT;
  StartTrace();
  system.Draw();
  StopTrace();
  std::vector<std::string> expected = {
      "KvTextureActivate(" + std::to_string(texture.Id()) + ")",
      "KvSetState(221, 4)",
      "KvSetState(226, 1)",
      "KvSetState(224, 1)",
      "KvSetState(225, 1)",
      "KvSetState(155, 164, 159)",
      "KvSetState(173, 175)",
      "KvDrawData(4, 0, 1, ptr, ptr, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0)",
      "KvSetState(155, 164, 165)",
      "KvSetState(173, 174)",
      "KvSetState(221, 1)",
      "KvSetState(226, 0)",
      "KvSetState(224, 0)",
      "KvSetState(225, 0)",
      "KvSetState(263, 1, 1, 1, 1)",
  };
  EXPECT_EQ(TracedCalls(), expected);
  KvTextureDestroy(texture);
  std::remove("particle_tex.kvt");
}

TEST_F(Particles, NothingIsDrawnWhileTheVertexBufferModeIsSetOrWhenDisabled) {
  KV_PARTICLES system;
  system.Resize(1);
  system.Spawn(Moving(1), KV_VECTOR(5, 5), KV_VECTOR(1, 0, 0, 1));
  system.vertexBufferMode = 1;
  StartTrace();
  system.Draw();
  EXPECT_TRUE(Calls("KvDrawData").empty());
  EXPECT_FALSE(Calls("KvSetState(263").empty());
  system.enabled = 0;
  StartTrace();
  system.Draw();
  EXPECT_TRUE(TracedCalls().empty());
}

TEST_F(Particles, OnlyLiveParticlesShowOnScreen) {
  KV_PARTICLES system;
  system.Resize(4);
  system.pointSize = 3;
  system.Spawn(Moving(1), KV_VECTOR(10.5f, 10.5f), KV_VECTOR(1, 0, 0, 1));
  system.Spawn(Moving(1), KV_VECTOR(30.5f, 20.5f), KV_VECTOR(0, 1, 0, 1));
  system.Spawn(Moving(0.1f), KV_VECTOR(50.5f, 30.5f), KV_VECTOR(0, 0, 1, 1));
  SetFrameTime(0.2f);
  system.Update(nullptr, 0);  // the blue one dies; the others keep alpha 0.8
  system.Draw();
  EXPECT_GT(Pixel(10, 10) >> 24, 0xC0u);
  EXPECT_GT((Pixel(30, 20) >> 16) & 0xFF, 0xC0u);
  EXPECT_EQ(Pixel(50, 30), 0x000000FFu);
  EXPECT_EQ(Pixel(20, 40), 0x000000FFu);
}
