// The central object's construction, driver and tear-down: the desktop size it reads, which
// steps run under which ticks, the draw passes with and without 2D cameras, the hooks, timers,
// DestroyAll and the destructor.
#include <string>

#include "core_fixture.h"

namespace {

int passes = 0;
int updateHookCalls = 0;
int postDrawCalls = 0;
std::vector<KV_CAMERA2D*> camerasSeen;

void PreDraw() {
  ++passes;
  camerasSeen.push_back(CoreTest::Current()->currentCamera2D.Get());
}
void PostDraw() { ++postDrawCalls; }
void UpdateHook() {
  ++updateHookCalls;
  ProbeActor::Log().push_back("hook");
}

int timerCalls = 0;
void TimerDone() { ++timerCalls; }

class CoreDriverTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    passes = updateHookCalls = postDrawCalls = timerCalls = 0;
    camerasSeen.clear();
    core->preDrawHook = KV_CALLBACK(PreDraw);
    core->postDrawHook = KV_CALLBACK(PostDraw);
    core->updateHook = KV_CALLBACK(UpdateHook);
  }
};

}  // namespace

TEST_F(CoreDriverTest, ANewCoreIsEmptyWithNullHooks) {
  KV_CORE fresh;
  EXPECT_EQ(fresh.idCounter, 0u);
  EXPECT_EQ(fresh.updateHook.function, nullptr);
  EXPECT_EQ(fresh.preDrawHook.function, nullptr);
  EXPECT_EQ(fresh.postDrawHook.function, nullptr);
  EXPECT_TRUE(fresh.currentCamera2D.IsEnd());
  EXPECT_EQ(fresh.liveActors.values.Count(), 0u);
  KvCore::KV_ACTOR actor;
  EXPECT_EQ(actor.GetId(), 0u);
  EXPECT_STREQ(actor.name.name, "");
  EXPECT_EQ(actor.depth, 0.0f);
  EXPECT_EQ(actor.position, KV_VECTOR_D(0, 0, 0, 1));
  EXPECT_EQ(actor.rotation.w, 0.0);
  EXPECT_EQ(actor.scale, KV_VECTOR_D(1, 1, 1, 1));
}

TEST_F(CoreDriverTest, ScreenAccessorsGiveTheDesktopSizeReadAtConstruction) {
  platform::testing::SetScreenSize(1280, 800);
  KV_CORE fresh;
  platform::testing::SetScreenSize(640, 480);  // a later change is not seen
  EXPECT_EQ(fresh.GetScreenWidth(), 1280);
  EXPECT_EQ(fresh.GetScreenHeight(), 800);
  EXPECT_FLOAT_EQ(fresh.GetScreenAspect(), 1.6f);
  // The size is read through a window description alone: no window is made for it.
  EXPECT_EQ(platform::testing::Window(nullptr), std::nullopt);
}

TEST_F(CoreDriverTest, BothTicksRunEveryStepInOrder) {
  Add("A");
  core->CommitActors();
  core->Frame();
  EXPECT_EQ(Joined(), "hook uA dA ");
  EXPECT_EQ(passes, 1);
  EXPECT_EQ(postDrawCalls, 1);
}

TEST_F(CoreDriverTest, TicksGateTheUpdateAndDrawHalves) {
  Add("A");
  core->CommitActors();
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.updateTick = 0;
  ProbeActor* added = Add("B");
  core->RemoveActor(core->liveActors.Begin().GetCopy());
  core->Frame();
  // Drawn but not updated; the end-of-frame steps run whatever the ticks.
  EXPECT_EQ(Joined(), "dA ~A ");
  EXPECT_EQ(core->liveActors.Begin().GetCopy(), added);
  ProbeActor::Log().clear();
  loop.updateTick = 1;
  loop.drawTick = 0;
  core->Frame();
  EXPECT_EQ(Joined(), "hook uB ");
  EXPECT_EQ(passes, 1);
}

TEST_F(CoreDriverTest, WithoutTwoDCamerasOnePassIsDrawn) {
  core->DrawScene();
  EXPECT_EQ(passes, 1);
  ASSERT_EQ(camerasSeen.size(), 1u);
  EXPECT_EQ(camerasSeen[0], nullptr);
}

TEST_F(CoreDriverTest, OnlyDisabledCamerasDrawNoPass) {
  core->cameras2D.GetValue("off")->enabled = 0;
  core->cameras2D.GetValue("off too")->enabled = 0;
  core->DrawScene();
  EXPECT_EQ(passes, 0);
  EXPECT_EQ(postDrawCalls, 0);
}

TEST_F(CoreDriverTest, EachEnabledCameraDrawsAPassAsTheCurrentCamera) {
  KV_WINDOW window;
  window.title = "Core Driver Cameras";
  window.width = 64;
  window.height = 48;
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  KvRenderTargetActivate(window.renderTarget);
  KV_CAMERA2D* first = core->cameras2D.GetValue("first");
  KV_CAMERA2D* skipped = core->cameras2D.GetValue("skipped");
  KV_CAMERA2D* second = core->cameras2D.GetValue("second");
  for (KV_CAMERA2D* camera : {first, second}) {
    camera->enabled = 1;
    camera->viewportSize = KV_VECTOR_D(32, 24);
    camera->viewSize = KV_VECTOR_D(32, 24);
  }
  skipped->enabled = 0;
  kv::engine::testing::StartTrace();
  core->DrawScene();
  kv::engine::testing::StopTrace();
  EXPECT_EQ(passes, 2);
  std::vector<KV_CAMERA2D*> expected = {first, second};
  EXPECT_EQ(camerasSeen, expected);
  EXPECT_TRUE(core->currentCamera2D.IsEnd());
  // Each pass sits between its camera's clip-on (Begin) and clip-off (End).
  EXPECT_EQ(TracedStartingWith("KvSetState(220, 1)").size(), 2u);
  EXPECT_EQ(TracedStartingWith("KvSetState(220, 0)").size(), 2u);
  window.Destroy();
}

TEST_F(CoreDriverTest, ATimerCallsBackOnceWhenItRunsOut) {
  KV_TIMER* timer = core->timers.GetValue("t");
  timer->remaining = 1.0f;
  timer->callback = TimerDone;
  core->timers.GetValue("idle")->callback = TimerDone;  // never started
  KV_LOOP::Instance().frameTime = 0.4f;
  for (int frame = 0; frame < 2; ++frame) core->Frame();
  EXPECT_EQ(timerCalls, 0);
  EXPECT_NEAR(timer->remaining, 0.2f, 1e-6f);
  core->Frame();
  EXPECT_EQ(timerCalls, 1);
  EXPECT_EQ(timer->remaining, 0.0f);
  core->Frame();
  EXPECT_EQ(timerCalls, 1);
}

TEST_F(CoreDriverTest, DestroyAllFreesEverythingButWindowsAndStates) {
  core->windows.GetValue("main")->width = 800;
  *core->stateMachine.states.GetValue("game") = KV_CALLBACK(UpdateHook);
  ASSERT_TRUE(core->sprites.GetValue("spr")->LoadEmpty(4, 4, KV_FILTER_NEAREST, KV_FILTER_NEAREST,
                                                       0, 0, -1, -1, 0, 0));
  size_t objects = kv::engine::testing::LiveObjectCount();
  Add("live");
  core->CommitActors();
  ProbeActor* pending = Add("pending");
  core->RemoveActor(pending);
  core->RemoveActor(core->liveActors.Begin().GetCopy());
  *core->memoryBlocks.GetValue("block") = new unsigned char[16];
  core->timers.GetValue("t")->remaining = 1;
  core->cameras2D.GetValue("view")->enabled = 1;
  core->currentCamera2D = core->cameras2D.Get("view");
  core->fonts.GetValue("fnt");
  core->sockets.GetValue("socket");

  core->DestroyAll();
  EXPECT_EQ(ProbeActor::Deleted(), 2);
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), objects - 1);
  EXPECT_EQ(core->sprites.values.Count(), 0u);
  EXPECT_EQ(core->liveActors.values.Count(), 0u);
  EXPECT_EQ(core->pendingActors.values.Count(), 0u);
  EXPECT_EQ(core->deleteList.Count(), 0u);
  EXPECT_EQ(core->memoryBlocks.values.Count(), 0u);
  EXPECT_EQ(core->fonts.values.Count(), 0u);
  EXPECT_EQ(core->timers.values.Count(), 0u);
  EXPECT_EQ(core->cameras2D.values.Count(), 0u);
  EXPECT_TRUE(core->currentCamera2D.IsEnd());
  EXPECT_EQ(core->sockets.values.Count(), 0u);
  EXPECT_EQ(core->windows.GetValue("main")->width, 800);
  EXPECT_EQ(core->stateMachine.states.values.Count(), 1u);

  core->DestroyAll();
  EXPECT_EQ(ProbeActor::Deleted(), 2);
  EXPECT_EQ(core->windows.values.Count(), 1u);
}

TEST_F(CoreDriverTest, TheDestructorFreesActorsStatesAndWindows) {
  KV_CORE* other = KV_CORE::Create();
  ASSERT_NE(other, nullptr);
  ProbeActor* actor = new ProbeActor("A");
  other->AddActor("G", actor);
  *other->stateMachine.states.GetValue("s") = KV_CALLBACK(UpdateHook);
  other->stateMachine.current = other->stateMachine.states.Get("s");
  other->windows.GetValue("w");
  delete other;
  EXPECT_EQ(ProbeActor::Deleted(), 1);
}

TEST_F(CoreDriverTest, RenderInViewDrawsOnlyWhenTheSpriteCanReachTheView) {
  KV_WINDOW window;
  window.title = "Core Driver View";
  window.width = 64;
  window.height = 48;
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  KvRenderTargetActivate(window.renderTarget);
  KvCore::KV_ACTOR2D actor;
  ASSERT_TRUE(
      actor.sprite.LoadEmpty(10, 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
  actor.position = KV_VECTOR_D(100, 100, 0, 1);
  // The farthest corner lies sqrt(200) = 14.14 from the pivot at the top-left corner.
  auto draws = [&](float x, float y, float w, float h) {
    kv::engine::testing::StartTrace();
    actor.RenderInView(x, y, w, h);
    kv::engine::testing::StopTrace();
    return !TracedStartingWith("KvMatrixPush").empty();
  };
  EXPECT_TRUE(draws(0, 0, 86, 86));
  EXPECT_FALSE(draws(0, 0, 85, 85));
  EXPECT_TRUE(draws(114, 114, 10, 10));
  EXPECT_FALSE(draws(114.2f, 0, 10, 200));
  // A pivot on the middle line still reaches the far corner: 10 x 20 with the pivot at (5, 0)
  // reaches 20.6 downwards.
  actor.sprite.height = 20;
  actor.sprite.pivotX = 5;
  EXPECT_TRUE(draws(0, 120, 200, 10));
  actor.sprite.Destroy(0);
  window.Destroy();
}

TEST_F(CoreDriverTest, DestroyAllFreesTechniquesThroughTheSideThatAllocatedThem) {
  KV_TECHNIQUE::RegisterDefinitions();
  ASSERT_TRUE(core->techniques.GetValue("compiled")->Compile("CLEAR COLOR\n", 12));
  KV_ARRAY<unsigned char>& bytes = core->techniques.GetValue("compiled")->program;
  ASSERT_TRUE(core->techniques.GetValue("loaded")->LoadFromMemory(bytes.data, bytes.count));
  kv::engine::testing::StartTrace();
  core->DestroyAll();
  kv::engine::testing::StopTrace();
  // Only the engine-compiled program goes back through the engine.
  int engineFrees = 0;
  for (const std::string& call : kv::engine::testing::TracedCalls())
    if (call.rfind("KvVistrelFree(", 0) == 0) ++engineFrees;
  EXPECT_EQ(engineFrees, 1);
  EXPECT_EQ(core->techniques.values.Count(), 0u);
}
