// The batch: sprites drawn through the matrix calls land where their transform puts them, blend
// over what is below, join into one GL draw when they share a texture, split where a state change
// demands it, and look the same pixel for pixel with and without batching.
#include "engine/engine_fixture.h"

using Batch = EngineTest;
namespace testing_api = kv::engine::testing;

TEST_F(Batch, DrawsATranslatedRotatedScaledQuadBlendedOverAnother) {
  KV_HANDLE red = SolidTexture(4, 4, {255, 0, 0, 255});
  KV_HANDLE blue = SolidTexture(4, 4, {0, 0, 255, 128});
  KV_VERTEX v[4];
  Quad(v, 40, 40);
  DrawSprite(red, v, 0, 0);
  // A 4 x 4 quad centred on its pivot, scaled by 4 and turned 45 degrees, at (20, 20): a diamond
  // reaching 11.3 pixels from its centre along the axes.
  Quad(v, 4, 4, 2, 2);
  DrawSprite(blue, v, 20, 20, 45, 4, 4);
  Rgba centre = At(20, 20);
  EXPECT_TRUE(Near(centre, {127, 0, 128, 255}, 3)) << centre;
  EXPECT_TRUE(Near(At(20, 30), {127, 0, 128, 255}, 3));           // inside the diamond's lower tip
  EXPECT_TRUE(Near(At(29, 29), {255, 0, 0, 255})) << At(29, 29);  // the square's corner, cut away
  EXPECT_TRUE(Near(At(50, 20), {0, 0, 0, 255}));                  // outside the red square
  KvTextureDestroy(red);
  KvTextureDestroy(blue);
}

TEST_F(Batch, VertexColoursModulateTheTexture) {
  KV_HANDLE white = SolidTexture(2, 2, {255, 255, 255, 255});
  KV_VERTEX v[4];
  Quad(v, 10, 10, 0, 0, {0, 255, 0, 255});
  DrawSprite(white, v, 5, 5);
  EXPECT_TRUE(Near(At(8, 8), {0, 255, 0, 255}));
  KvTextureDestroy(white);
}

TEST_F(Batch, UntintedAndTintedSpritesShareADrawAndEachKeepsItsColour) {
  // Untinted sprites show the texture as it is (drawn replacing the colour); a tinted sprite
  // joining their draw must still be tinted, and untinted ones after it must stay untinted.
  KV_HANDLE texture = SolidTexture(2, 2, {200, 100, 50, 255});
  KV_VERTEX plain[4], green[4];
  Quad(plain, 8, 8);
  Quad(green, 8, 8, 0, 0, {0, 255, 0, 255});
  DrawSprite(texture, plain, 0, 0);
  DrawSprite(texture, green, 10, 0);
  DrawSprite(texture, plain, 20, 0);
  DrawSprite(texture, green, 30, 10);  // a tinted record joined by an untinted sprite
  DrawSprite(texture, plain, 40, 10);
  EXPECT_TRUE(Near(At(4, 4), {200, 100, 50, 255})) << At(4, 4);
  EXPECT_TRUE(Near(At(14, 4), {0, 100, 0, 255})) << At(14, 4);
  EXPECT_TRUE(Near(At(24, 4), {200, 100, 50, 255})) << At(24, 4);
  EXPECT_TRUE(Near(At(34, 14), {0, 100, 0, 255})) << At(34, 14);
  EXPECT_TRUE(Near(At(44, 14), {200, 100, 50, 255})) << At(44, 14);
  KvRenderScene(KV_SCENE_FRAME);
  EXPECT_EQ(testing_api::LastFrameStats().drawCalls, 1u);
  KvTextureDestroy(texture);
}

TEST_F(Batch, SpritesSharingATextureCostOneDraw) {
  KV_HANDLE white = SolidTexture(2, 2, {255, 255, 255, 255});
  KV_VERTEX v[4];
  Quad(v, 2, 2);
  for (int i = 0; i < 100; ++i) DrawSprite(white, v, i % 32 * 2, i / 32 * 2);
  KvRenderScene(KV_SCENE_FRAME);
  EXPECT_EQ(testing_api::LastFrameStats().flushes, 1u);
  EXPECT_EQ(testing_api::LastFrameStats().drawCalls, 1u);
  KvTextureDestroy(white);
}

TEST_F(Batch, ATextureChangeStartsANewRecordWithoutFlushing) {
  KV_HANDLE a = SolidTexture(2, 2, {255, 255, 255, 255});
  KV_HANDLE b = SolidTexture(2, 2, {255, 0, 0, 255});
  KV_VERTEX v[4];
  Quad(v, 2, 2);
  DrawSprite(a, v, 0, 0);
  DrawSprite(b, v, 4, 0);
  DrawSprite(a, v, 8, 0);
  KvRenderScene(KV_SCENE_FRAME);
  EXPECT_EQ(testing_api::LastFrameStats().flushes, 1u);
  EXPECT_EQ(testing_api::LastFrameStats().drawCalls, 3u);
  KvTextureDestroy(a);
  KvTextureDestroy(b);
}

TEST_F(Batch, ABlendChangeBetweenTwoSpritesFlushes) {
  KV_HANDLE grey = SolidTexture(2, 2, {128, 128, 128, 128});
  KV_VERTEX v[4];
  Quad(v, 8, 8);
  DrawSprite(grey, v, 0, 0);
  KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE);
  DrawSprite(grey, v, 16, 0);
  KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA,
             KV_BLEND_ONE_MINUS_SRC_ALPHA);  // back: no change of state, no flush
  EXPECT_EQ(testing_api::CurrentFrameStats().flushes, 2u);
  Rgba first = At(4, 4), second = At(20, 4);
  EXPECT_TRUE(Near(first, {64, 64, 64, 255})) << first;
  EXPECT_TRUE(Near(second, {64, 64, 64, 255})) << second;  // over black the two agree ...
  DrawSprite(grey, v, 0, 0);                               // ... but not over themselves
  KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE);
  DrawSprite(grey, v, 16, 0);
  EXPECT_TRUE(Near(At(4, 4), {96, 96, 96, 255})) << At(4, 4);
  EXPECT_TRUE(Near(At(20, 4), {128, 128, 128, 255})) << At(20, 4);
  KvTextureDestroy(grey);
}

TEST_F(Batch, EachTriggerFlushesWhatWaits) {
  KV_HANDLE white = SolidTexture(2, 2, {255, 255, 255, 255});
  KV_VERTEX v[4];
  Quad(v, 4, 4);
  auto flushesAfter = [&](auto change) {
    uint32_t before = testing_api::CurrentFrameStats().flushes;
    DrawSprite(white, v, 0, 0);
    change();
    return testing_api::CurrentFrameStats().flushes - before;
  };
  EXPECT_EQ(flushesAfter([] { KvSetState(KV_STATE_CLIP, 1); }), 1u);
  EXPECT_EQ(flushesAfter([] { KvSetState(KV_STATE_CLIP_RECT, 0, 0, 8, 8); }), 1u);
  EXPECT_EQ(flushesAfter([] { KvSetState(KV_STATE_COLOR_MASK, 1, 1, 1, 0); }), 1u);
  EXPECT_EQ(flushesAfter([] { KvSetState(KV_STATE_POINT_SIZE, 3.0); }), 1u);
  EXPECT_EQ(flushesAfter([] { KvSetState(KV_STATE_BLEND_EQUATION, KV_BLEND_SUBTRACT); }), 1u);
  EXPECT_EQ(flushesAfter([] { KvCameraOrtho(0, 0, 32, 32, 0); }), 1u);
  EXPECT_EQ(flushesAfter([this] { KvRenderTargetActivate(target); }), 1u);
  EXPECT_EQ(flushesAfter([&] {
              KvTextureUnactivate(KV_TEXTURE_TARGET);
              EXPECT_EQ(KvTextureParameter(KV_TEX_MIN_FILTER, KV_FILTER_LINEAR),
                        0);  // no texture is current
            }),
            0u);
  EXPECT_EQ(flushesAfter([&] {
              KvTextureActivate(white);
              KvTextureParameter(KV_TEX_MIN_FILTER, KV_FILTER_LINEAR);
            }),
            1u);
  EXPECT_EQ(flushesAfter([&] {
              KvTextureLock(white, KV_LOCK_EDIT), KvTextureUnlock(white, KV_UNLOCK_UPLOAD);
            }),
            1u);
  EXPECT_EQ(flushesAfter([] { testing_api::ReadPixels(0, 0, 1, 1); }), 1u);
  EXPECT_EQ(flushesAfter([] { KvRenderScene(KV_SCENE_CLEAR_COLOR); }), 1u);
  // The draw colour and matrix calls do not flush.
  EXPECT_EQ(flushesAfter([] {
              KvSetState(KV_STATE_DRAW_COLOR, 0.5, 0.5, 0.5, 1.0);
              KvMatrixTranslate(1, 1, 0);
            }),
            0u);
  // Destroying a texture the batch still holds draws it first.
  uint32_t before = testing_api::CurrentFrameStats().flushes;
  KvTextureDestroy(white);
  EXPECT_EQ(testing_api::CurrentFrameStats().flushes, before + 1);
}

// A busy frame: many textures, tinted and untinted sprites, blend and clip changes, every
// primitive kind.
void DrawBusyFrame(KV_HANDLE textures[3]) {
  KV_VERTEX tinted[4], untinted[4];
  EngineTest::Quad(tinted, 6, 6, 3, 3, {255, 255, 255, 200});
  EngineTest::Quad(untinted, 6, 6, 3, 3);
  for (int i = 0; i < 60; ++i) {
    const KV_VERTEX* v = i % 5 < 2 ? untinted : tinted;
    EngineTest::DrawSprite(textures[i % 5 == 4 ? 0 : i % 3], v, 3 + (i * 7) % 58, 3 + (i * 11) % 42,
                           i * 17.0, 1 + i % 3 * 0.5, 1.0);
    if (i == 30) KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE);
  }
  KvSetState(KV_STATE_CLIP, 1);
  KvSetState(KV_STATE_CLIP_RECT, 8, 8, 30, 20);
  const double fan[6][4] = {{32, 24, 0, 1}, {44, 24, 0, 1}, {32, 36, 0, 1},
                            {20, 24, 0, 1}, {32, 12, 0, 1}, {44, 24, 0, 1}};
  KvTextureUnactivate(KV_TEXTURE_TARGET);
  KvSetState(KV_STATE_DRAW_COLOR, 0.0, 1.0, 0.5, 0.5);
  KvDrawData(KV_PRIM_TRIANGLE_FAN, 0, 6, fan, nullptr, nullptr, nullptr, nullptr, nullptr,
             KV_ELEMENT_DOUBLE, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0);
  KvSetState(KV_STATE_CLIP, 0);
  KvDrawData(KV_PRIM_LINE_LOOP, 1, 4, fan, nullptr, nullptr, nullptr, nullptr, nullptr,
             KV_ELEMENT_DOUBLE, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0);
  KvSetState(KV_STATE_POINT_SIZE, 3.0);
  KvDrawData(KV_PRIM_POINTS, 0, 6, fan, nullptr, nullptr, nullptr, nullptr, nullptr,
             KV_ELEMENT_DOUBLE, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0);
  KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 1.0, 1.0);
  KvSetState(KV_STATE_POINT_SIZE, 1.0);
  KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE_MINUS_SRC_ALPHA);
}

TEST_F(Batch, BatchedAndUnbatchedFramesAreEqualPixelForPixel) {
  std::vector<uint8_t> texels;
  for (int i = 0; i < 16; ++i) {
    texels.insert(texels.end(),
                  {static_cast<uint8_t>(i * 16), static_cast<uint8_t>(255 - i * 16), 90, 255});
  }
  KV_HANDLE textures[3] = {TextureFrom(texels, 4, 4), SolidTexture(2, 2, {250, 30, 30, 180}),
                           SolidTexture(1, 1, {30, 30, 250, 255})};
  DrawBusyFrame(textures);
  std::vector<uint8_t> batched = testing_api::ReadPixels(0, 0, kWidth, kHeight);
  uint32_t batchedFlushes = testing_api::CurrentFrameStats().flushes;
  KvRenderScene(KV_SCENE_FRAME);
  testing_api::SetFlushEveryDraw(true);
  DrawBusyFrame(textures);
  std::vector<uint8_t> unbatched = testing_api::ReadPixels(0, 0, kWidth, kHeight);
  uint32_t unbatchedFlushes = testing_api::CurrentFrameStats().flushes;
  EXPECT_LT(batchedFlushes, 10u);
  EXPECT_GT(unbatchedFlushes, 60u);
  ASSERT_EQ(batched.size(), unbatched.size());
  EXPECT_TRUE(batched == unbatched);
  // The frame is not empty: the test compares real drawing.
  int lit = 0;
  for (size_t i = 0; i < batched.size(); i += 4)
    lit += batched[i] + batched[i + 1] + batched[i + 2] > 0;
  EXPECT_GT(lit, kWidth * kHeight / 4);
  for (KV_HANDLE t : textures) KvTextureDestroy(t);
}

TEST_F(Batch, BatchedAndUnbatchedAgreeUnderAPerspectiveCamera) {
  // Tilted sprites at several depths, untinted and tinted in one texture's records: colours are
  // interpolated with perspective here, and must still come out the same either way.
  std::vector<uint8_t> texels;
  for (int i = 0; i < 64; ++i) {
    texels.insert(texels.end(), {static_cast<uint8_t>(i * 4), static_cast<uint8_t>(255 - i * 3),
                                 static_cast<uint8_t>(i * 7), static_cast<uint8_t>(120 + i)});
  }
  KV_HANDLE texture = TextureFrom(texels, 8, 8);
  *static_cast<double*>(KvRenderTargetGet(target, KV_RT_RANGE_NEAR)) = 0.1;
  *static_cast<double*>(KvRenderTargetGet(target, KV_RT_RANGE_FAR)) = 100;
  ASSERT_EQ(KvCameraPerspective(KV_DOUBLE4{10, 20, 30, 0}, KV_DOUBLE4{0, 0, 12, 1}, 1), 1);
  KV_VERTEX plain[4], tinted[4];
  Quad(plain, 6, 6, 3, 3);
  Quad(tinted, 6, 6, 3, 3, {255, 200, 120, 230});
  auto drawScene = [&] {
    for (int i = 0; i < 40; ++i) {
      KvMatrixPush();
      KvMatrixIdentity();
      KvMatrixTranslate(-8 + (i * 5) % 17, -6 + (i * 3) % 13, -(i % 7) * 1.5);
      KvMatrixRotate(i * 23.0, 1, 0, 0);
      KvMatrixRotate(i * 11.0, 0, 0, 1);
      KvTextureActivate(texture);
      KvDrawDataStruct(KV_PRIM_QUADS, 0, 4, i % 3 == 0 ? tinted : plain, nullptr, 0, 0, 0, 0, 0, 0);
      KvMatrixPop();
    }
  };
  drawScene();
  std::vector<uint8_t> batched = testing_api::ReadPixels(0, 0, kWidth, kHeight);
  KvRenderScene(KV_SCENE_FRAME);
  testing_api::SetFlushEveryDraw(true);
  drawScene();
  std::vector<uint8_t> unbatched = testing_api::ReadPixels(0, 0, kWidth, kHeight);
  EXPECT_TRUE(batched == unbatched);
  int lit = 0;
  for (size_t i = 0; i < batched.size(); i += 4) lit += batched[i] + batched[i + 2] > 0;
  EXPECT_GT(lit, kWidth * kHeight / 8);
  KvTextureDestroy(texture);
}

TEST_F(Batch, LongRunsGoToGlInChunksWithoutChangingTheFrame) {
  // 3,000 overlapping quads of two alternating colours: more than one chunk, so the batch hands
  // finished chunks to GL while it fills the next; the last quad drawn must stay on top.
  KV_HANDLE red = SolidTexture(1, 1, {255, 0, 0, 255});
  KV_HANDLE green = SolidTexture(1, 1, {0, 255, 0, 255});
  KV_VERTEX v[4];
  Quad(v, 6, 6);
  auto drawRun = [&] {
    for (int i = 0; i < 3000; ++i) DrawSprite(i % 2 ? green : red, v, i % 40, i % 30);
  };
  drawRun();
  std::vector<uint8_t> chunked = testing_api::ReadPixels(0, 0, kWidth, kHeight);
  uint32_t chunkedFlushes = testing_api::CurrentFrameStats().flushes;
  KvRenderScene(KV_SCENE_FRAME);
  testing_api::SetFlushEveryDraw(true);
  drawRun();
  std::vector<uint8_t> unbatched = testing_api::ReadPixels(0, 0, kWidth, kHeight);
  EXPECT_GE(chunkedFlushes, 2u);
  EXPECT_LT(chunkedFlushes, 10u);
  EXPECT_TRUE(chunked == unbatched);
  // Quad 2999 (green) was drawn last at (39, 29).
  EXPECT_TRUE(Near(At(41, 31), {0, 255, 0, 255})) << At(41, 31);
  KvTextureDestroy(red);
  KvTextureDestroy(green);
}
