// The testing switches: the call trace records calls with their numbers in order, and a forced
// failure makes exactly the call asked for fail.
#include "engine/engine_fixture.h"

namespace testing_api = kv::engine::testing;
using Trace = EngineTest;

TEST_F(Trace, RecordsCallsWithTheirNumbersInOrder) {
  testing_api::StartTrace();
  KvSetState(KV_STATE_CLEAR_COLOR, 1.0, 1.0, 1.0, 1.0);
  KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE_MINUS_SRC_ALPHA);
  KvMatrixTranslate(1.5, -2, 0);
  KvRenderTargetActivate(target);
  KvTextureLoad(KV_HANDLE{}, "data\\1.kvt", 1);
  KvRenderScene(KV_SCENE_FRAME);
  testing_api::StopTrace();
  KvRenderScene(KV_SCENE_FRAME);  // not recorded
  const std::vector<std::string> expected = {
      "KvSetState(262, 1, 1, 1, 1)",
      "KvSetState(155, 164, 165)",
      "KvMatrixTranslate(1.5, -2, 0)",
      "KvRenderTargetActivate(" + std::to_string(target.value) + ")",
      "KvTextureLoad(0, \"data\\1.kvt\", 1)",
      "KvRenderScene(35)",
  };
  EXPECT_EQ(testing_api::TracedCalls(), expected);
  EXPECT_EQ(testing_api::TraceText().substr(0, 28), "KvSetState(262, 1, 1, 1, 1)\n");
  testing_api::StartTrace();
  EXPECT_TRUE(testing_api::TracedCalls().empty());
}

TEST_F(Trace, RecordsTheSpritesDrawSequence) {
  KV_HANDLE white = SolidTexture(1, 1, {255, 255, 255, 255});
  KV_VERTEX v[4];
  Quad(v, 4, 4);
  testing_api::StartTrace();
  DrawSprite(white, v, 3, 4, 0, 2, 2);
  std::string id = std::to_string(white.value);
  EXPECT_EQ(
      testing_api::TraceText(),
      "KvMatrixPush()\nKvMatrixIdentity()\nKvMatrixTranslate(3, 4, 0)\nKvMatrixRotate(0, 1, 0, 0)\n"
      "KvMatrixRotate(0, 0, 1, 0)\nKvMatrixRotate(0, 0, 0, 1)\nKvMatrixScale(2, 2, "
      "1)\nKvTextureActivate(" +
          id + ")\nKvDrawDataStruct(11, 0, 4, ptr, 0, 0, 0, 0, 0, 0, 0)\nKvMatrixPop()\n");
  KvTextureDestroy(white);
}

TEST_F(Trace, AForcedFailureHitsOnlyTheMatchingCall) {
  HWND second = MakeWindow("Forced Failure", 8, 8);
  testing_api::FailNext("KvRenderTargetCreate", {{2, "81"}});
  KV_HANDLE made;
  EXPECT_EQ(KvRenderTargetCreate(&made, second, KV_FORMAT_ALPHA, 32, 16), 0);  // refused on its own
  EXPECT_EQ(KvRenderTargetCreate(&made, second, KV_FORMAT_OPAQUE, 32, 16), 0);  // the forced one
  EXPECT_TRUE(made.IsNull());
  EXPECT_EQ(KvRenderTargetCreate(&made, second, KV_FORMAT_OPAQUE, 32, 16), 1);  // used up
  KvRenderTargetDestroy(made);
  // The real calls stay untouched by a failure aimed elsewhere; a count makes several fail.
  testing_api::FailNext("KvTextureLoadRGBAFromMemory", {}, 2);
  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  uint8_t pixel[4] = {1, 2, 3, 4};
  EXPECT_EQ(KvTextureLoadRGBAFromMemory(texture, pixel, 1, 1), 0);
  EXPECT_EQ(KvTextureLoadRGBAFromMemory(texture, pixel, 1, 1), 0);
  EXPECT_EQ(KvTextureLoadRGBAFromMemory(texture, pixel, 1, 1), 1);
  // Refusing vertical sync until cleared.
  testing_api::FailNext("KvRenderVsync", {{0, "0"}}, -1);
  EXPECT_EQ(KvRenderVsync(0), 0);
  EXPECT_EQ(KvRenderVsync(0), 0);
  testing_api::ClearFailures();
  EXPECT_EQ(KvRenderVsync(0), 1);
  // A failed state change changes nothing.
  testing_api::FailNext("KvSetState", {{0, "263"}});
  EXPECT_EQ(KvSetState(KV_STATE_DRAW_COLOR, 0.0, 0.0, 0.0, 0.0), 0);
  EXPECT_EQ(static_cast<double*>(KvGetState(KV_STATE_DRAW_COLOR))[0], 1.0);
  KvTextureDestroy(texture);
  DestroyWindow(second);
  UnregisterClassA("Forced Failure", GetModuleHandleA(nullptr));
}
