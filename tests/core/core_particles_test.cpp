// The central object's particle systems, shader sets and canvases: particle systems update in
// update frames with their entry's callback, draw free or around the actor they are bound to
// (before or after it, by their flag), and all three collections empty in the tear-down.
#include <string>
#include <vector>

#include "core_fixture.h"
#include "engine/testing.h"

namespace {

namespace testing_api = kv::engine::testing;

// A probe actor whose draw leaves a mark in the engine's call trace.
class MarkedActor : public ProbeActor {
 public:
  using ProbeActor::ProbeActor;
  void Draw() override { KvMatrixTranslate(1234, 0, 0); }
};

int stepped = 0;
void CountStep(KV_PARTICLE*) { ++stepped; }

// Files a particle system with one live particle under name; its blend source (a distinct
// number per system) marks its draw in the trace.
KV_PARTICLES_ENTRY* AddSystem(KV_CORE* core, const char* name, KvCore::KV_ACTOR* actor, bool before,
                              uint32_t marker) {
  KV_PARTICLES_ENTRY* entry = core->particles.GetValue(name);
  entry->actor = actor;
  entry->drawBefore = before ? 1 : 0;
  entry->system.Resize(1);
  entry->system.blendSource = marker;
  KV_PARTICLE record;
  record.duration = 10;
  entry->system.Spawn(record, KV_VECTOR(5, 5), KV_VECTOR(1, 1, 1, 1));
  return entry;
}

// The draw marks of the trace, in order: "actor" or the blend-source number of a system.
std::vector<std::string> DrawMarks() {
  std::vector<std::string> marks;
  for (const std::string& call : testing_api::TracedCalls()) {
    if (call.rfind("KvMatrixTranslate(1234", 0) == 0) marks.push_back("actor");
    if (call.rfind("KvSetState(155, ", 0) == 0 && call != "KvSetState(155, 164, 165)")
      marks.push_back(call.substr(16, 3));
  }
  return marks;
}

}  // namespace

using CoreParticles = CoreTest;

TEST_F(CoreParticles, SystemsDrawFreeAroundThePassAndBoundAroundTheirActor) {
  MarkedActor* actor = new MarkedActor("a");
  core->AddActor("G", actor);
  core->Frame();  // the actor goes live
  AddSystem(core, "free after", nullptr, false, 161);
  AddSystem(core, "bound after", actor, false, 160);
  AddSystem(core, "bound before", actor, true, 159);
  AddSystem(core, "free before", nullptr, true, 158);
  testing_api::StartTrace();
  core->DrawScene();
  testing_api::StopTrace();
  std::vector<std::string> expected = {"158", "159", "actor", "160", "161"};
  EXPECT_EQ(DrawMarks(), expected);
}

TEST_F(CoreParticles, SystemsUpdateOnlyInUpdateFramesWithTheirEntrysCallback) {
  KV_PARTICLES_ENTRY* entry = AddSystem(core, "sparks", nullptr, true, 158);
  entry->callback = CountStep;
  stepped = 0;
  KV_LOOP::Instance().frameTime = 0.01f;
  core->Frame();
  EXPECT_EQ(stepped, 1);
  KV_LOOP::Instance().updateTick = 0;
  core->Frame();
  EXPECT_EQ(stepped, 1);
}

TEST_F(CoreParticles, TheTearDownEmptiesParticleSystemsShadersAndCanvases) {
  AddSystem(core, "sparks", nullptr, true, 158);
  core->shaders.GetValue("never loaded");
  core->canvases.GetValue("never created");
  core->DestroyAll();
  EXPECT_EQ(core->particles.values.Count(), 0u);
  EXPECT_EQ(core->shaders.values.Count(), 0u);
  EXPECT_EQ(core->canvases.values.Count(), 0u);
  core->DestroyAll();  // a second tear-down finds nothing to free
  EXPECT_EQ(core->particles.values.Count(), 0u);
}
