// Render states: the state table's argument types and checks, the storage KvGetState points at,
// and the states whose effect shows in pixels (clip rectangle, colour mask, blending, texturing).
#include "engine/engine_fixture.h"

using RenderStates = EngineTest;

TEST_F(RenderStates, UnknownNumbersFailAndPointNowhere) {
  EXPECT_EQ(KvSetState(0), 0);
  EXPECT_EQ(KvSetState(109, 1), 0);
  EXPECT_EQ(KvSetState(KV_STATE_TEXT_WIDTH, 3.0), 0);  // read-only
  EXPECT_EQ(KvGetState(0), nullptr);
  EXPECT_EQ(KvGetState(264), nullptr);
}

TEST_F(RenderStates, ValuesOutsideAStatesRangeAreRefusedAndChangeNothing) {
  auto* func = static_cast<int32_t*>(KvGetState(KV_STATE_BLEND_FUNC));
  ASSERT_NE(func, nullptr);
  EXPECT_EQ(KvSetState(KV_STATE_BLEND_FUNC, 0, KV_BLEND_ONE_MINUS_SRC_ALPHA),
            0);  // a technique keyword outside the factors
  EXPECT_EQ(KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, 173), 0);  // 173 is no factor
  EXPECT_EQ(func[0], KV_BLEND_SRC_ALPHA);
  EXPECT_EQ(func[1], KV_BLEND_ONE_MINUS_SRC_ALPHA);
  EXPECT_EQ(KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_ONE_MINUS_CONSTANT_ALPHA, KV_BLEND_ZERO), 1);
  EXPECT_EQ(func[0], KV_BLEND_ONE_MINUS_CONSTANT_ALPHA);
  EXPECT_EQ(KvSetState(KV_STATE_BLEND_EQUATION, 179), 0);
  EXPECT_EQ(*static_cast<int32_t*>(KvGetState(KV_STATE_BLEND_EQUATION)), KV_BLEND_ADD);
  EXPECT_EQ(KvSetState(KV_STATE_BLEND, 2), 0);
  EXPECT_EQ(KvSetState(KV_STATE_LINE_BREAK, 256), 0);
  EXPECT_EQ(KvSetState(KV_STATE_POINT_SIZE, 0.0), 0);
  EXPECT_EQ(KvSetState(KV_STATE_CLIP_RECT, 0, 0, -1, 4), 0);
  EXPECT_EQ(KvSetState(KV_STATE_DRAW_COLOR, 1.0, NAN, 1.0, 1.0), 0);
}

TEST_F(RenderStates, GetStatePointsAtLiveStorage) {
  KvSetState(KV_STATE_TEXT_METRICS, 10.0, 12.0, 1.0, 2.0);
  EXPECT_EQ(*static_cast<double*>(KvGetState(KV_STATE_TEXT_WIDTH)), 10.0);
  EXPECT_EQ(*static_cast<double*>(KvGetState(KV_STATE_TEXT_HEIGHT)), 12.0);
  EXPECT_EQ(*static_cast<double*>(KvGetState(KV_STATE_TEXT_HSPACING)), 1.0);
  EXPECT_EQ(*static_cast<double*>(KvGetState(KV_STATE_TEXT_VSPACING)), 2.0);
  EXPECT_EQ(KvGetState(KV_STATE_TEXT_METRICS), KvGetState(KV_STATE_TEXT_WIDTH));
  KvSetState(KV_STATE_LINE_BREAK, 124);
  EXPECT_EQ(*static_cast<uint8_t*>(KvGetState(KV_STATE_LINE_BREAK)), 124);
  KvSetState(KV_STATE_CLEAR_COLOR, 0.25, 0.5, 0.75, 1.0);
  const double* clear = static_cast<double*>(KvGetState(KV_STATE_CLEAR_COLOR));
  EXPECT_EQ(clear[2], 0.75);
  KvSetState(KV_STATE_CLIP_RECT, 1, 2, 3, 4);
  EXPECT_EQ(static_cast<int32_t*>(KvGetState(KV_STATE_CLIP_RECT))[3], 4);
}

TEST_F(RenderStates, TheClipRectangleLimitsDrawingAndClearingWithYFromTheBottom) {
  KV_HANDLE white = SolidTexture(1, 1, {255, 255, 255, 255});
  KV_VERTEX v[4];
  Quad(v, kWidth, kHeight);
  KvSetState(KV_STATE_CLIP, 1);
  KvSetState(KV_STATE_CLIP_RECT, 0, 0, 10, 8);  // the bottom-left corner
  DrawSprite(white, v, 0, 0);
  EXPECT_TRUE(Near(At(5, kHeight - 4), {255, 255, 255, 255}));
  EXPECT_TRUE(Near(At(5, 4), {0, 0, 0, 255}));
  EXPECT_TRUE(Near(At(20, kHeight - 4), {0, 0, 0, 255}));
  KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 1.0, 1.0);
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  EXPECT_TRUE(Near(At(5, kHeight - 4), {0, 0, 255, 255}));
  EXPECT_TRUE(Near(At(30, 20), {0, 0, 0, 255}));
  KvSetState(KV_STATE_CLIP, 0);
  KvTextureDestroy(white);
}

TEST_F(RenderStates, TheColourMaskKeepsChannelsFromBeingWritten) {
  KV_HANDLE white = SolidTexture(1, 1, {255, 255, 255, 255});
  KV_VERTEX v[4];
  Quad(v, 8, 8);
  KvSetState(KV_STATE_COLOR_MASK, 1, 0, 1, 1);
  DrawSprite(white, v, 0, 0);
  EXPECT_TRUE(Near(At(4, 4), {255, 0, 255, 255}));
  KvSetState(KV_STATE_COLOR_MASK, 1, 1, 1, 1);
  KvTextureDestroy(white);
}

TEST_F(RenderStates, TexturingOffAndNoTextureDrawInTheVertexColour) {
  KV_HANDLE red = SolidTexture(1, 1, {255, 0, 0, 255});
  KV_VERTEX v[4];
  Quad(v, 8, 8, 0, 0, {0, 0, 255, 255});
  KvSetState(KV_STATE_TEXTURING, 0);
  DrawSprite(red, v, 0, 0);
  EXPECT_TRUE(Near(At(4, 4), {0, 0, 255, 255}));
  KvSetState(KV_STATE_TEXTURING, 1);
  DrawSprite(KV_HANDLE{}, v, 10, 0);
  EXPECT_TRUE(Near(At(14, 4), {0, 0, 255, 255}));
  DrawSprite(red, v, 20, 0);
  EXPECT_TRUE(Near(At(24, 4), {0, 0, 0, 255}));  // red times blue
  KvTextureDestroy(red);
}

TEST_F(RenderStates, BlendingOffWritesTheSourceAsItIs) {
  KV_HANDLE half = SolidTexture(1, 1, {200, 100, 0, 128});
  KV_VERTEX v[4];
  Quad(v, 8, 8);
  KvSetState(KV_STATE_BLEND, 0);
  DrawSprite(half, v, 0, 0);
  EXPECT_TRUE(Near(At(4, 4), {200, 100, 0, 255}));  // the opaque target keeps no alpha
  KvSetState(KV_STATE_BLEND, 1);
  DrawSprite(half, v, 10, 0);
  EXPECT_TRUE(Near(At(14, 4), {100, 50, 0, 255}));
  KvTextureDestroy(half);
}
