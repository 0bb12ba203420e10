// The central object's render-state shortcuts: the states and values they hand the engine.
#include "core/core.h"

#include "graphics/graphics_fixture.h"

using kv::engine::testing::StartTrace;
using kv::engine::testing::StopTrace;
using kv::engine::testing::TracedCalls;

using CoreRenderStates = GraphicsTest;

TEST_F(CoreRenderStates, ColoursAndBlendsReachTheEngine) {
  KV_CORE core;
  StartTrace();
  core.SetColorARGB(0x80FF0000u);
  core.SetColor(0.25, 0.5, 0.75, 1);
  core.ClearColorARGB(0xFF0000FFu);
  core.ClearColor(0, 1, 0, 0.5);
  core.SetBlend(KV_BLEND_SRC_ALPHA, KV_BLEND_ONE, KV_BLEND_SUBTRACT);
  core.SetDefaultBlend();
  StopTrace();
  std::vector<std::string> expected = {
      "KvSetState(263, 0, 0, 1, 0.501961)", "KvSetState(263, 0.25, 0.5, 0.75, 1)",
      "KvSetState(262, 1, 0, 0, 1)",        "KvRenderScene(2)",
      "KvSetState(262, 0, 1, 0, 0.5)",      "KvRenderScene(2)",
      "KvSetState(155, 164, 159)",          "KvSetState(173, 175)",
      "KvSetState(155, 164, 165)",          "KvSetState(173, 174)"};
  EXPECT_EQ(TracedCalls(), expected);
}

TEST_F(CoreRenderStates, ClearColorFillsTheTarget) {
  KV_CORE core;
  core.ClearColorARGB(0xFF00FF00u);  // opaque green
  EXPECT_EQ(Pixel(0, 0), 0x00FF00FFu);
  EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), 0x00FF00FFu);
}
