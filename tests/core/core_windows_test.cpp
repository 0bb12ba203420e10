// The central object's window methods: the engine calls of ActivateWindow and OrthoWindow in
// order, centring on the desktop size read at construction, and vertical sync with its
// frame-limit fallback.
#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "core/core.h"

namespace {

class CoreWindowsTest : public AppTest {
 protected:
  void TearDown() override {
    Core.windows.Clear();
    AppTest::TearDown();
  }

  // Window "main" of Core, created at 800 x 600.
  static KV_WINDOW& CreateMain() {
    KV_WINDOW& window = *Core.windows.GetValue("main");
    window.title = "Core Windows Main";
    window.width = 800;
    window.height = 600;
    EXPECT_TRUE(window.Create(KV_HANDLE()));
    return window;
  }
};

}  // namespace

TEST_F(CoreWindowsTest, CenterWindowUsesTheCoresScreenSize) {
  platform::testing::SetScreenSize(1920, 1080);
  KV_CORE core;
  KV_WINDOW& window = *core.windows.GetValue("main", 3);
  window.width = 800;
  window.height = 600;
  core.CenterWindow("main");
  EXPECT_EQ(window.x, 560);
  EXPECT_EQ(window.y, 240);
  window.width = 801;
  window.height = 601;
  core.CenterWindow("main");
  EXPECT_EQ(window.x, 560);  // 960 - 400: whole-number halves
  EXPECT_EQ(window.y, 240);
}

TEST_F(CoreWindowsTest, ActivateWindowSetsTheDefaultStatesInOrder) {
  KV_WINDOW& window = CreateMain();
  std::string id = std::to_string(window.renderTarget.value);
  kv::engine::testing::StartTrace();
  Core.ActivateWindow("main");
  std::vector<std::string> expected = {"KvRenderTargetActivate(" + id + ")",
                                       "KvExtensions(0)",
                                       "KvRenderVsync(0)",
                                       "KvSetState(108, 1)",
                                       "KvSetState(262, 0, 0, 0, 0)",
                                       "KvSetState(263, 1, 1, 1, 1)",
                                       "KvSetState(154, 1)",
                                       "KvSetState(155, 164, 165)"};
  EXPECT_EQ(kv::engine::testing::TracedCalls(), expected);
  window.Destroy();
}

TEST_F(CoreWindowsTest, OrthoWindowCoversTheWindowOnTheCurrentTarget) {
  KV_WINDOW& window = CreateMain();
  Core.ActivateWindow("main");
  std::string id = std::to_string(window.renderTarget.value);
  kv::engine::testing::StartTrace();
  Core.OrthoWindow("main");
  std::vector<std::string> expected = {"KvGetState(16)", "KvRenderTargetActivate(" + id + ")",
                                       "KvCameraOrtho(0, 0, 800, 600, 0)"};
  EXPECT_EQ(kv::engine::testing::TracedCalls(), expected);
  window.Destroy();
}

TEST_F(CoreWindowsTest, UnknownWindowNamesDoNothing) {
  Core.windows.GetValue("main")->width = 10;
  kv::engine::testing::StartTrace();
  Core.ActivateWindow("other");
  Core.OrthoWindow("other");
  Core.CenterWindow("other");
  Core.ActivateWindow(nullptr);
  EXPECT_TRUE(kv::engine::testing::TracedCalls().empty());
  EXPECT_EQ(Core.windows.GetValue("main")->x, 0);
  EXPECT_EQ(Core.windows.values.Count(), 1u);
}

TEST_F(CoreWindowsTest, RefusedVsyncLimitsFramesToTheRefreshRate) {
  platform::testing::UseTestClock(0.0005);
  platform::testing::SetRefreshRate(60);
  KV_LOOP& loop = KV_LOOP::Instance();
  kv::engine::testing::FailNext("KvRenderVsync", {}, -1);
  Core.SetVsync(true);
  EXPECT_FLOAT_EQ(loop.frameLimit, 1000.0f / 60.0f);
  // Recalibrated: L = 17.67 ms with a step of 1.
  EXPECT_GE(loop.targetB, loop.frameLimit + 1);
  EXPECT_LT(loop.targetA, loop.frameLimit);
  Core.SetVsync(false);
  EXPECT_EQ(loop.frameLimit, 0.0f);
  EXPECT_EQ(loop.targetA, 0.0f);
  platform::testing::SetRefreshRate(75);
  Core.SetVsync(true);
  EXPECT_FLOAT_EQ(loop.frameLimit, 1000.0f / 75.0f);
}

TEST_F(CoreWindowsTest, RefusedVsyncOnADisplayWithoutARefreshRateLimitsFramesTo60Hz) {
  platform::testing::UseTestClock(0.0005);
  KV_LOOP& loop = KV_LOOP::Instance();
  kv::engine::testing::FailNext("KvRenderVsync", {}, -1);
  // Virtual displays report 0 Hz, and a broken one might report less: without a limit the
  // game would run at hundreds of frames a second, with everything moving that much faster.
  for (int unknown : {0, -1}) {
    platform::testing::SetRefreshRate(unknown);
    loop.frameLimit = 0;
    Core.SetVsync(true);
    EXPECT_FLOAT_EQ(loop.frameLimit, 1000.0f / 60.0f) << unknown;
    EXPECT_GE(loop.targetB, loop.frameLimit + 1) << unknown;
    Core.SetVsync(false);
    EXPECT_EQ(loop.frameLimit, 0.0f) << unknown;
  }
}

TEST_F(CoreWindowsTest, AcceptedVsyncLeavesTheFrameLimit) {
  KV_WINDOW& window = CreateMain();
  Core.ActivateWindow("main");
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = 5;
  kv::engine::testing::StartTrace();
  Core.SetVsync(false);  // turning it off is always accepted by a live target
  EXPECT_TRUE(Traced("KvRenderVsync(0)"));
  EXPECT_EQ(loop.frameLimit, 5.0f);
  window.Destroy();
}
