// Render targets: clearing and presenting, the live viewport and range properties, format and
// size changes, vertical sync, and the no-object cases.
#include "engine/engine_fixture.h"

using RenderTarget = EngineTest;

TEST_F(RenderTarget, ClearsToTheClearColour) {
  KvSetState(KV_STATE_CLEAR_COLOR, 0.2, 0.4, 0.6, 1.0);
  EXPECT_EQ(KvRenderScene(KV_SCENE_CLEAR_COLOR), 1);
  EXPECT_TRUE(Near(At(0, 0), {51, 102, 153, 255})) << At(0, 0);
  EXPECT_TRUE(Near(At(kWidth - 1, kHeight - 1), {51, 102, 153, 255}));
}

TEST_F(RenderTarget, PresentsThenClearsForTheNextFrame) {
  KV_HANDLE white = SolidTexture(4, 4, {255, 255, 255, 255});
  KV_VERTEX v[4];
  Quad(v, kWidth, kHeight);
  DrawSprite(white, v, 0, 0);
  EXPECT_TRUE(Near(At(10, 10), {255, 255, 255, 255}));
  KvSetState(KV_STATE_CLEAR_COLOR, 1.0, 0.0, 0.0, 1.0);
  EXPECT_EQ(KvRenderScene(KV_SCENE_FRAME), 1);
  EXPECT_TRUE(Near(At(10, 10), {255, 0, 0, 255})) << At(10, 10);
  EXPECT_EQ(kv::engine::testing::LastFrameStats().flushes, 1u);
  KvTextureDestroy(white);
}

TEST_F(RenderTarget, RefusesUnknownSceneBitsAndNeedsACurrentTarget) {
  EXPECT_EQ(KvRenderScene(128), 0);
  KvRenderTargetDestroy(target);
  EXPECT_EQ(KvRenderScene(KV_SCENE_CLEAR_COLOR), 0);
  EXPECT_TRUE(static_cast<KV_HANDLE*>(KvGetState(KV_STATE_RENDER_TARGET))->IsNull());
}

TEST_F(RenderTarget, StateSixteenPointsAtTheCurrentTarget) {
  auto* current = static_cast<KV_HANDLE*>(KvGetState(KV_STATE_RENDER_TARGET));
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(*current, target);
  EXPECT_EQ(current->endFlag, 0);
}

TEST_F(RenderTarget, PropertiesAreLiveAndTheViewportAppliesAtActivation) {
  auto* x = static_cast<int32_t*>(KvRenderTargetGet(target, KV_RT_VIEWPORT_X));
  auto* w = static_cast<int32_t*>(KvRenderTargetGet(target, KV_RT_VIEWPORT_W));
  auto* h = static_cast<int32_t*>(KvRenderTargetGet(target, KV_RT_VIEWPORT_H));
  auto* format = static_cast<int32_t*>(KvRenderTargetGet(target, KV_RT_FORMAT));
  ASSERT_TRUE(x && w && h && format);
  EXPECT_EQ(*w, kWidth);
  EXPECT_EQ(*h, kHeight);
  EXPECT_EQ(*format, KV_FORMAT_OPAQUE);
  EXPECT_EQ(KvRenderTargetGet(target, KV_RT_EXTRA), KvRenderTargetGet(target, KV_RT_EXTRA));
  EXPECT_EQ(KvRenderTargetGet(target, 449), nullptr);

  // Draw a full-view quad into the right half only: the viewport written through the pointers.
  *x = kWidth / 2;
  *w = kWidth / 2;
  KvRenderTargetActivate(target);
  KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  KV_HANDLE white = SolidTexture(2, 2, {255, 255, 255, 255});
  KV_VERTEX v[4];
  Quad(v, kWidth, kHeight);
  DrawSprite(white, v, 0, 0);
  EXPECT_TRUE(Near(At(kWidth / 4, 10), {0, 0, 0, 255})) << At(kWidth / 4, 10);
  EXPECT_TRUE(Near(At(3 * kWidth / 4, 10), {255, 255, 255, 255}));
  KvTextureDestroy(white);
}

TEST_F(RenderTarget, RangeValuesFeedLaterProjections) {
  auto* nearZ = static_cast<double*>(KvRenderTargetGet(target, KV_RT_RANGE_NEAR));
  auto* farZ = static_cast<double*>(KvRenderTargetGet(target, KV_RT_RANGE_FAR));
  ASSERT_TRUE(nearZ && farZ);
  EXPECT_EQ(*nearZ, -1.0);
  EXPECT_EQ(*farZ, 1.0);
  *nearZ = -10.0;
  *farZ = 10.0;
  double projection[16];
  KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  KvMatrixSave(KV_MATRIX_PROJECTION, projection);
  EXPECT_DOUBLE_EQ(projection[10], -2.0 / 20.0);
  // Unusable perspective ranges are refused; usable ones are taken.
  *nearZ = -1.0;
  EXPECT_EQ(KvCameraPerspective(KV_DOUBLE4{}, KV_DOUBLE4{0, 0, 5, 1}, 0), 0);
  *nearZ = 0.5;
  EXPECT_EQ(KvCameraPerspective(KV_DOUBLE4{}, KV_DOUBLE4{0, 0, 5, 1}, 0), 1);
}

TEST_F(RenderTarget, ChangeAndAreaResizeTheTarget) {
  EXPECT_EQ(KvRenderTargetArea(target, 0, 0, 32, 16, 45.0, -1.0, 1.0, 0.0), 1);
  EXPECT_EQ(*static_cast<int32_t*>(KvRenderTargetGet(target, KV_RT_VIEWPORT_W)), 32);
  EXPECT_TRUE(Near(At(40, 0), {0, 0, 0, 0}));  // outside the smaller target
  EXPECT_EQ(KvRenderTargetChange(target, KV_FORMAT_OPAQUE), 1);
  EXPECT_EQ(*static_cast<int32_t*>(KvRenderTargetGet(target, KV_RT_VIEWPORT_W)), kWidth);
  EXPECT_EQ(KvRenderTargetArea(target, 0, 0, 0, 10, 45.0, -1.0, 1.0, 0.0), 0);
  EXPECT_EQ(KvRenderTargetArea(target, 0, 0, 10, 10, 45.0, NAN, 1.0, 0.0), 0);
}

TEST_F(RenderTarget, RefusesPerPixelAlphaWhereTheDesktopCannotShowIt) {
  KV_HANDLE layered;
  EXPECT_EQ(KvRenderTargetCreate(&layered, hwnd, KV_FORMAT_ALPHA, 32, 16), 0);
  EXPECT_TRUE(layered.IsNull());
  EXPECT_EQ(KvRenderTargetChange(target, KV_FORMAT_ALPHA), 0);
  EXPECT_EQ(*static_cast<int32_t*>(KvRenderTargetGet(target, KV_RT_FORMAT)), KV_FORMAT_OPAQUE);
  EXPECT_EQ(KvRenderTargetCreate(&layered, hwnd, 80, 32, 16), 0);
  EXPECT_EQ(KvRenderTargetCreate(&layered, nullptr, KV_FORMAT_OPAQUE, 32, 16), 0);
  EXPECT_EQ(KvRenderTargetCreate(nullptr, hwnd, KV_FORMAT_OPAQUE, 32, 16), 0);
}

TEST_F(RenderTarget, VerticalSyncIsRefusedWhenPresentsDoNotWait) {
  // The offscreen driver presents without waiting for any display.
  EXPECT_EQ(KvRenderVsync(1), 0);
  EXPECT_EQ(KvRenderVsync(0), 1);
}

TEST_F(RenderTarget, TwoTargetsShareTexturesAndDrawApart) {
  HWND second = MakeWindow("Second Window", 16, 16);
  KV_HANDLE other;
  ASSERT_EQ(KvRenderTargetCreate(&other, second, KV_FORMAT_OPAQUE, 32, 0), 1);
  EXPECT_EQ(KvRenderTargetShare(other, target), 1);
  KV_HANDLE red = SolidTexture(2, 2, {255, 0, 0, 255});
  KvRenderTargetActivate(other);
  KvCameraOrtho(0, 0, 16, 16, 0);
  KV_VERTEX v[4];
  Quad(v, 16, 16);
  DrawSprite(red, v, 0, 0);
  EXPECT_TRUE(Near(At(8, 8), {255, 0, 0, 255}));
  KvRenderTargetActivate(target);
  EXPECT_TRUE(Near(At(8, 8), {0, 0, 0, 255}));
  KvRenderTargetDestroy(other);
  DestroyWindow(second);
  UnregisterClassA("Second Window", GetModuleHandleA(nullptr));
  KvTextureDestroy(red);
}

TEST_F(RenderTarget, DestroyTakesNullUnknownAndDestroyedHandles) {
  KvRenderTargetDestroy(KV_HANDLE{});
  KV_HANDLE unknown;
  unknown.endFlag = 0;
  unknown.value = 0x7fffffff;
  KvRenderTargetDestroy(unknown);
  EXPECT_EQ(KvRenderTargetActivate(unknown), 0);
  EXPECT_EQ(KvRenderTargetGet(unknown, KV_RT_VIEWPORT_X), nullptr);
  KvRenderTargetDestroy(target);
  KvRenderTargetDestroy(target);
  EXPECT_EQ(KvRenderTargetActivate(target), 0);
  EXPECT_EQ(KvRenderTargetArea(target, 0, 0, 4, 4, 45, -1, 1, 0), 0);
  EXPECT_EQ(KvRenderTargetChange(target, KV_FORMAT_OPAQUE), 0);
  EXPECT_EQ(KvRenderVsync(0), 0);
}
