// KV_CANVAS on the real engine: the camera over the canvas, the projection put back afterwards,
// drawing that lands in the canvas's texture, canvases nested inside a camera's pass, and a
// canvas never created that changes nothing.
#include <cstring>
#include <utility>

#include "graphics/canvas.h"
#include "graphics/graphics_fixture.h"

namespace {

class Canvas : public GraphicsTest {
 protected:
  KV_CANVAS canvas;

  void TearDown() override {
    canvas.Destroy();
    GraphicsTest::TearDown();
  }

  static void Square(float x, float y, float w, float h, float r, float g, float b) {
    KV_VERTEX v[4];
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
      v[i].texCoord[0] = corners[i][0];
      v[i].texCoord[1] = corners[i][1];
      v[i].position[0] = x + corners[i][0] * w;
      v[i].position[1] = y + corners[i][1] * h;
      v[i].color[0] = r;
      v[i].color[1] = g;
      v[i].color[2] = b;
    }
    KvDrawDataStruct(KV_PRIM_QUADS, 0, 4, v, nullptr, 0, 0, 0, 0, 0, 0);
  }

  // Every corner and the middle of the canvas's texture are the colour (0xRRGGBBAA).
  static void ExpectFilled(const KV_CANVAS& filled, uint32_t colour) {
    KV_HANDLE texture = filled.GetTexture();
    int w = filled.GetWidth(), h = filled.GetHeight();
    for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {w / 2, h / 2}})
      EXPECT_EQ(TexturePixel(texture, x, y), colour) << x << "," << y << " of " << w << "x" << h;
  }

  static bool SameProjection(const double before[16]) {
    double now[16];
    KvMatrixSave(KV_MATRIX_PROJECTION, now);
    return std::memcmp(before, now, sizeof now) == 0;
  }
};

TEST_F(Canvas, ActivationSetsTheCameraOverItsPixelsAndUnactivationPutsTheProjectionBack) {
  ASSERT_EQ(canvas.Create(256, 128, 0, 0), 1);
  EXPECT_EQ(canvas.GetWidth(), 256);
  EXPECT_EQ(canvas.GetHeight(), 128);
  EXPECT_EQ(canvas.UseFBO(), 1);
  double before[16];
  KvMatrixSave(KV_MATRIX_PROJECTION, before);
  kv::engine::testing::StartTrace();
  ASSERT_TRUE(canvas.Activate(0));
  EXPECT_EQ(Calls("KvCameraOrtho"), std::vector<std::string>{"KvCameraOrtho(0, 0, 256, 128, 0)"});
  canvas.Unactivate(0);
  EXPECT_TRUE(SameProjection(before));
  ASSERT_TRUE(canvas.Activate(1));
  EXPECT_EQ(Calls("KvCameraOrtho").back(), "KvCameraOrtho(0, 128, 256, -128, 0)");
  canvas.Unactivate(1);
  EXPECT_EQ(Calls("KvFrameBufferMipmap").size(), 1u);
  EXPECT_TRUE(SameProjection(before));
  // The model-view matrix is current again: changing it leaves the projection alone.
  KvMatrixTranslate(5, 5, 0);
  KvMatrixIdentity();
  EXPECT_TRUE(SameProjection(before));
}

TEST_F(Canvas, WhatIsDrawnInsideLandsInItsTextureAndNotOnTheScreen) {
  ASSERT_EQ(canvas.Create(16, 16, 0, 0), 1);
  ASSERT_TRUE(canvas.Activate(1));
  Square(0, 0, 16, 8, 1, 0, 0);  // top half red
  Square(0, 8, 16, 8, 0, 0, 1);  // bottom half blue
  canvas.Unactivate(0);
  EXPECT_EQ(Pixel(4, 4), 0x000000ffu);  // the screen is still clear
  // Drawn flipped, the canvas's texture has its top rows first, as every texture does, so it
  // shows upright on the screen.
  canvas.ActivateTexture();
  Square(20, 10, 32, 32, 1, 1, 1);
  EXPECT_EQ(Pixel(36, 14), 0xff0000ffu);
  EXPECT_EQ(Pixel(36, 38), 0x0000ffffu);
  KV_HANDLE texture = canvas.GetTexture();
  EXPECT_EQ(*static_cast<uint32_t*>(KvTextureGet(texture, KV_TEX_WIDTH)), 16u);
}

// A canvas drawn inside another, inside a camera's pass: the inner one gives drawing back to the
// outer one (all of it, unclipped, its camera), and the outer one to the pass (its viewport, its
// clip, its camera).
TEST_F(Canvas, ACanvasInsideAnotherGivesDrawingBackToItAndItToTheCameraPass) {
  KV_CANVAS inner;
  ASSERT_EQ(canvas.Create(32, 16, 0, 0), 1);
  ASSERT_EQ(inner.Create(8, 8, 0, 0), 1);
  BeginCameraPass();
  double pass[16], outer[16];
  KvMatrixSave(KV_MATRIX_PROJECTION, pass);
  ASSERT_TRUE(canvas.Activate(0));
  KvMatrixSave(KV_MATRIX_PROJECTION, outer);
  ASSERT_TRUE(inner.Activate(1));
  Square(0, 0, 8, 8, 0, 0, 1);
  inner.Unactivate(0);

  EXPECT_TRUE(SameProjection(outer));
  EXPECT_EQ(*static_cast<int32_t*>(KvGetState(KV_STATE_CLIP)), 0);
  Square(0, 0, 32, 16, 1, 0, 0);
  canvas.Unactivate(0);
  EXPECT_TRUE(SameProjection(pass));
  EXPECT_EQ(Pixel(20, 20), 0x000000ffu);  // nothing meant for the canvases reached the screen
  // The pass's view maps onto its viewport, and a clear stays inside it.
  KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 1.0, 1.0);
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  Square(100, 200, 4, 4, 0, 1, 0);
  EXPECT_EQ(Pixel(9, 9), 0x00ff00ffu);
  EXPECT_EQ(Pixel(13, 9), 0x0000ffffu);
  EXPECT_EQ(Pixel(39, 31), 0x0000ffffu);
  EXPECT_EQ(Pixel(7, 20), 0x000000ffu);
  EXPECT_EQ(Pixel(20, 32), 0x000000ffu);
  ExpectFilled(canvas, 0xff0000ffu);
  ExpectFilled(inner, 0x0000ffffu);
  inner.Destroy();
}

TEST_F(Canvas, ACanvasOnAGivenTextureCanSwapToAnother) {
  KV_HANDLE first, second;
  KvTextureCreate(&first);
  KvTextureLoadEmpty(first, 8, 8, 1);
  KvTextureCreate(&second);
  KvTextureLoadEmpty(second, 4, 2, 1);
  ASSERT_EQ(canvas.CreateFromTexture(first, 0), 1);
  EXPECT_EQ(canvas.GetTexture().value, first.value);
  EXPECT_EQ(canvas.SwapTexture(second), 1);
  EXPECT_EQ(canvas.GetWidth(), 4);
  EXPECT_EQ(canvas.GetHeight(), 2);
  EXPECT_EQ(canvas.GetTexture().value, second.value);
  canvas.Destroy();
  canvas = KV_CANVAS();
  KvTextureDestroy(first);
  KvTextureDestroy(second);
}

TEST_F(Canvas, ACanvasNeverCreatedRefusesAndChangesNothing) {
  double before[16];
  KvMatrixSave(KV_MATRIX_PROJECTION, before);
  kv::engine::testing::StartTrace();
  EXPECT_FALSE(canvas.Activate(0));
  EXPECT_TRUE(Calls("KvMatrixSave").empty());
  EXPECT_TRUE(Calls("KvCameraOrtho").empty());
  EXPECT_TRUE(SameProjection(before));
  EXPECT_EQ(canvas.GetWidth(), 0);
  EXPECT_TRUE(canvas.GetTexture().IsNull());
  EXPECT_EQ(canvas.UseFBO(), 0);
  EXPECT_EQ(canvas.SwapTexture(KV_HANDLE{}), 0);
  canvas.ActivateTexture();
  canvas.Destroy();
  EXPECT_EQ(canvas.Create(0, 16, 0, 0), 0);
  EXPECT_TRUE(canvas.handle.IsNull());
}

}  // namespace
