// Frame buffers on the real GL path: drawing lands in their texture and not on the render target,
// the target's viewport comes back afterwards (a lent viewport, clipping and matrices included),
// frame buffers nest inside each other and give drawing back one level at a time, destroying one
// anywhere in the nesting leaves the rest working, given textures stay the caller's, and unknown
// or destroyed handles do nothing.
#include <utility>
#include <vector>

#include "engine/camera_pass.h"
#include "engine/engine_fixture.h"

namespace {

class FrameBuffers : public EngineTest {
 protected:
  // The texture's pixel at (x, y), row 0 the texture's first row.
  static Rgba TexturePixel(KV_HANDLE texture, int x, int y) {
    const uint8_t* p = static_cast<const uint8_t*>(KvTextureLock(texture, KV_LOCK_READ));
    uint32_t width = *static_cast<uint32_t*>(KvTextureGet(texture, KV_TEX_WIDTH));
    Rgba c{-1, -1, -1, -1};
    if (p != nullptr) {
      const uint8_t* at = p + (static_cast<size_t>(y) * width + x) * 4;
      c = Rgba{at[0], at[1], at[2], at[3]};
    }
    KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
    return c;
  }

  static void Fill(double x, double y, double w, double h, Rgba c) {
    KV_VERTEX v[4];
    Quad(v, static_cast<float>(w), static_cast<float>(h), 0, 0, c);
    DrawSprite(KV_HANDLE{}, v, x, y);
  }

  // The projection and model-view matrices in force.
  struct Matrices {
    std::vector<double> projection = std::vector<double>(16);
    std::vector<double> modelView = std::vector<double>(16);
    bool operator==(const Matrices& other) const {
      return projection == other.projection && modelView == other.modelView;
    }
  };
  static Matrices MatricesNow() {
    Matrices now;
    KvMatrixSave(KV_MATRIX_PROJECTION, now.projection.data());
    KvMatrixSave(KV_MATRIX_MODELVIEW, now.modelView.data());
    return now;
  }

  static int32_t Clip() { return *static_cast<int32_t*>(KvGetState(KV_STATE_CLIP)); }

  // Starts drawing the way a 2D camera's pass does (see kvtest::BeginCameraPass), with a moved
  // model-view matrix. Returns its matrices.
  Matrices BeginCameraPass() {
    kvtest::BeginCameraPass(target);
    KvMatrixTranslate(2, 0, 0);
    return MatricesNow();
  }

  // Drawing is back in the camera's pass as BeginCameraPass left it: the same clipping and
  // matrices with the model-view current, clears kept to the lent viewport and the view mapped
  // onto it. Nothing else may have reached the screen before (it is still black).
  static void ExpectCameraPass(const Matrices& camera) {
    EXPECT_TRUE(Near(At(20, 20), {0, 0, 0, 255}))
        << "drawing leaked onto the screen: " << At(20, 20);
    const int32_t* clipRect = static_cast<int32_t*>(KvGetState(KV_STATE_CLIP_RECT));
    EXPECT_EQ(Clip(), 1);
    EXPECT_EQ(std::vector<int32_t>(clipRect, clipRect + 4),
              std::vector<int32_t>(kvtest::kPassViewport, kvtest::kPassViewport + 4));
    EXPECT_TRUE(MatricesNow() == camera);
    // The model-view mode is current: resetting the current matrix leaves the projection.
    KvMatrixIdentity();
    EXPECT_EQ(MatricesNow().projection, camera.projection);
    // A clear is clipped to the lent viewport (window x 8..39, rows 8..31 from the top).
    KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 1.0, 1.0);
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    EXPECT_TRUE(Near(At(8, 20), {0, 0, 255, 255})) << At(8, 20);
    EXPECT_TRUE(Near(At(39, 31), {0, 0, 255, 255})) << At(39, 31);
    EXPECT_TRUE(Near(At(7, 20), {0, 0, 0, 255})) << At(7, 20);
    EXPECT_TRUE(Near(At(20, 32), {0, 0, 0, 255})) << At(20, 32);
    // And the view (100, 200, 32, 24) maps onto that viewport.
    Fill(100, 200, 4, 4, {0, 255, 0, 255});
    EXPECT_TRUE(Near(At(9, 9), {0, 255, 0, 255})) << At(9, 9);
    EXPECT_TRUE(Near(At(13, 9), {0, 0, 255, 255})) << At(13, 9);
  }

  // Every pixel of the texture is c.
  static void ExpectFilled(KV_HANDLE texture, Rgba c) {
    int32_t w = static_cast<int32_t>(*static_cast<uint32_t*>(KvTextureGet(texture, KV_TEX_WIDTH)));
    int32_t h = static_cast<int32_t>(*static_cast<uint32_t*>(KvTextureGet(texture, KV_TEX_HEIGHT)));
    for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {w / 2, h / 2}})
      EXPECT_TRUE(Near(TexturePixel(texture, x, y), c))
          << x << "," << y << " of " << w << "x" << h << ": " << TexturePixel(texture, x, y);
  }

  static KV_HANDLE TextureOf(KV_HANDLE fb) {
    return *static_cast<KV_HANDLE*>(KvFrameBufferGet(fb, KV_FB_TEXTURE));
  }
};

TEST_F(FrameBuffers, DrawingGoesIntoTheTextureWhileActive) {
  KV_HANDLE fb;
  ASSERT_EQ(KvFrameBufferCreate(&fb, 16, 8, 0, 0), 1);
  EXPECT_EQ(*static_cast<int32_t*>(KvFrameBufferGet(fb, KV_FB_WIDTH)), 16);
  EXPECT_EQ(*static_cast<int32_t*>(KvFrameBufferGet(fb, KV_FB_HEIGHT)), 8);
  KV_HANDLE texture = *static_cast<KV_HANDLE*>(KvFrameBufferGet(fb, KV_FB_TEXTURE));
  EXPECT_EQ(*static_cast<uint32_t*>(KvTextureGet(texture, KV_TEX_WIDTH)), 16u);
  EXPECT_EQ(KvFrameBufferUseFBO(fb), 1);
  Fill(0, 0, 4, 4, {0, 0, 255, 255});  // on the target, waiting in the batch
  ASSERT_EQ(KvFrameBufferActivate(fb), 1);
  // The camera covers the frame buffer: y grows downwards, so the top half is GL's upper rows.
  KvCameraOrtho(0, 0, 16, 8, 0);
  Fill(0, 0, 16, 4, {255, 0, 0, 255});
  KvFrameBufferUnactivate(fb);
  KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  // GL keeps a texture's rows bottom-up, so what was drawn at the top sits in the last rows.
  EXPECT_TRUE(Near(TexturePixel(texture, 3, 6), {255, 0, 0, 255})) << TexturePixel(texture, 3, 6);
  EXPECT_TRUE(Near(TexturePixel(texture, 3, 1), {0, 0, 0, 0})) << TexturePixel(texture, 3, 1);
  // The square drawn before activation reached the target, and the canvas drawing did not.
  EXPECT_TRUE(Near(At(2, 2), {0, 0, 255, 255})) << At(2, 2);
  EXPECT_TRUE(Near(At(10, 2), {0, 0, 0, 255})) << At(10, 2);
  // The target's viewport is back: a square at its far corner lands there.
  Fill(kWidth - 4, kHeight - 4, 4, 4, {0, 255, 0, 255});
  EXPECT_TRUE(Near(At(kWidth - 2, kHeight - 2), {0, 255, 0, 255})) << At(kWidth - 2, kHeight - 2);
  KvFrameBufferDestroy(fb);
  EXPECT_EQ(KvTextureGet(texture, KV_TEX_WIDTH), nullptr);  // its own texture went with it
}

// A frame buffer taking over inside a camera's pass gets none of its viewport, clip or matrices,
// and gives all of them back.
TEST_F(FrameBuffers, GivingDrawingBackRestoresTheViewportClipAndMatricesInForce) {
  Matrices camera = BeginCameraPass();
  KV_HANDLE fb;
  ASSERT_EQ(KvFrameBufferCreate(&fb, 16, 8, 0, 0), 1);
  ASSERT_EQ(KvFrameBufferActivate(fb), 1);
  EXPECT_EQ(Clip(), 0);
  // Its whole area, unclipped: a fill of all of it reaches every corner.
  KvCameraOrtho(0, 0, 16, 8, 0);
  Fill(0, 0, 16, 8, {255, 0, 0, 255});
  KvMatrixMode(KV_MATRIX_PROJECTION);  // left in the other mode on purpose
  KvFrameBufferUnactivate(fb);
  ExpectFilled(TextureOf(fb), {255, 0, 0, 255});
  ExpectCameraPass(camera);
  KvFrameBufferDestroy(fb);
}

// Canvas-like nesting inside a camera's pass: the inner one gives drawing back to the outer one
// (its whole area, no clip, its matrices), and the outer one to the camera's pass.
TEST_F(FrameBuffers, NestedOnesGiveDrawingBackOneLevelAtATime) {
  Matrices camera = BeginCameraPass();
  KV_HANDLE outer, inner;
  ASSERT_EQ(KvFrameBufferCreate(&outer, 32, 16, 0, 0), 1);
  ASSERT_EQ(KvFrameBufferCreate(&inner, 8, 8, 0, 0), 1);
  ASSERT_EQ(KvFrameBufferActivate(outer), 1);
  KvCameraOrtho(0, 0, 32, 16, 0);
  KvMatrixTranslate(3, 0, 0);
  Matrices outerMatrices = MatricesNow();
  ASSERT_EQ(KvFrameBufferActivate(inner), 1);
  KvCameraOrtho(0, 0, 8, 8, 0);
  Fill(0, 0, 8, 8, {0, 0, 255, 255});
  KvSetState(KV_STATE_CLIP_RECT, 0, 0, 2, 2);
  KvSetState(KV_STATE_CLIP, 1);
  KvFrameBufferUnactivate(inner);

  EXPECT_EQ(Clip(), 0);
  EXPECT_TRUE(MatricesNow() == outerMatrices);
  Fill(0, 0, 32, 16, {255, 0, 0, 255});
  KvFrameBufferUnactivate(outer);
  ExpectCameraPass(camera);
  ExpectFilled(TextureOf(outer), {255, 0, 0, 255});
  ExpectFilled(TextureOf(inner), {0, 0, 255, 255});
  KvFrameBufferDestroy(inner);
  KvFrameBufferDestroy(outer);
}

TEST_F(FrameBuffers, GivingBackFromOneThatIsNotDrawingChangesNothing) {
  Matrices camera = BeginCameraPass();
  KV_HANDLE outer, inner;
  ASSERT_EQ(KvFrameBufferCreate(&outer, 8, 8, 0, 0), 1);
  ASSERT_EQ(KvFrameBufferCreate(&inner, 4, 4, 0, 0), 1);
  KvFrameBufferUnactivate(outer);  // none is drawing
  EXPECT_TRUE(MatricesNow() == camera);
  EXPECT_EQ(Clip(), 1);

  ASSERT_EQ(KvFrameBufferActivate(outer), 1);
  KvCameraOrtho(0, 0, 8, 8, 0);
  ASSERT_EQ(KvFrameBufferActivate(inner), 1);
  KvCameraOrtho(0, 0, 4, 4, 0);
  KvSetState(KV_STATE_CLIP, 1);
  KvSetState(KV_STATE_CLIP_RECT, 0, 0, 4, 4);
  Matrices innerMatrices = MatricesNow();
  KvFrameBufferUnactivate(outer);  // the outer one is not the one drawing
  EXPECT_TRUE(MatricesNow() == innerMatrices);
  EXPECT_EQ(Clip(), 1);
  Fill(0, 0, 4, 4, {255, 255, 0, 255});
  KvFrameBufferUnactivate(inner);
  KvFrameBufferUnactivate(outer);
  ExpectCameraPass(camera);
  ExpectFilled(TextureOf(inner), {255, 255, 0, 255});
  ExpectFilled(TextureOf(outer), {0, 0, 0, 0});
  KvFrameBufferDestroy(inner);
  KvFrameBufferDestroy(outer);
}

TEST_F(FrameBuffers, OneActivatedTwiceIsGivenBackTwice) {
  KV_HANDLE fb;
  ASSERT_EQ(KvFrameBufferCreate(&fb, 8, 8, 0, 0), 1);
  ASSERT_EQ(KvFrameBufferActivate(fb), 1);
  ASSERT_EQ(KvFrameBufferActivate(fb), 1);
  KvFrameBufferUnactivate(fb);
  KvCameraOrtho(0, 0, 8, 8, 0);
  Fill(0, 0, 8, 8, {255, 0, 0, 255});  // still into the frame buffer
  KvFrameBufferUnactivate(fb);
  KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  EXPECT_TRUE(Near(At(4, 4), {0, 0, 0, 255})) << At(4, 4);
  ExpectFilled(TextureOf(fb), {255, 0, 0, 255});
  Fill(0, 0, 8, 8, {0, 255, 0, 255});  // on the target now
  EXPECT_TRUE(Near(At(4, 4), {0, 255, 0, 255})) << At(4, 4);
  KvFrameBufferDestroy(fb);
}

// The outer one's texture changes size while another draws on top: drawing comes back to the
// whole of the new texture.
TEST_F(FrameBuffers, AnOuterOneGetsItsWholeAreaBackAfterASwap) {
  KV_HANDLE bigger = SolidTexture(32, 16, {0, 0, 0, 255});
  KV_HANDLE outer, inner;
  ASSERT_EQ(KvFrameBufferCreate(&outer, 8, 8, 0, 0), 1);
  ASSERT_EQ(KvFrameBufferCreate(&inner, 4, 4, 0, 0), 1);
  ASSERT_EQ(KvFrameBufferActivate(outer), 1);
  ASSERT_EQ(KvFrameBufferActivate(inner), 1);
  ASSERT_EQ(KvFrameBufferSwapTexture(outer, bigger), 1);
  KvFrameBufferUnactivate(inner);
  KvCameraOrtho(0, 0, 32, 16, 0);
  Fill(0, 0, 32, 16, {255, 0, 0, 255});
  KvFrameBufferUnactivate(outer);
  ExpectFilled(bigger, {255, 0, 0, 255});
  KvFrameBufferDestroy(inner);
  KvFrameBufferDestroy(outer);
  KvTextureDestroy(bigger);
}

TEST_F(FrameBuffers, ItsTextureDrawsLikeAnyOther) {
  KV_HANDLE fb;
  ASSERT_EQ(KvFrameBufferCreate(&fb, 8, 8, 16, 1), 1);  // with depth and mipmaps
  KvFrameBufferActivate(fb);
  KvCameraOrtho(0, 0, 8, 8, 0);
  Fill(0, 0, 8, 8, {255, 255, 0, 255});
  KvFrameBufferUnactivate(fb);
  KvFrameBufferMipmap(fb);
  KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  KV_VERTEX v[4];
  Quad(v, 16, 16);
  KvMatrixPush();
  KvMatrixIdentity();
  KvMatrixTranslate(20, 20, 0);
  KvFrameBufferActivateTexture(fb);
  KvDrawDataStruct(KV_PRIM_QUADS, 0, 4, v, nullptr, 0, 0, 0, 0, 0, 0);
  KvMatrixPop();
  EXPECT_TRUE(Near(At(28, 28), {255, 255, 0, 255})) << At(28, 28);
  KvFrameBufferDestroy(fb);
}

TEST_F(FrameBuffers, AGivenTextureStaysTheCallersAndCanBeSwapped) {
  KV_HANDLE mine = SolidTexture(4, 4, {0, 0, 0, 255});
  KV_HANDLE other = SolidTexture(6, 2, {0, 0, 0, 255});
  KV_HANDLE fb;
  ASSERT_EQ(KvFrameBufferCreateFromTexture(&fb, mine, 1), 1);
  EXPECT_EQ(*static_cast<int32_t*>(KvFrameBufferGet(fb, KV_FB_WIDTH)), 4);
  ASSERT_EQ(KvFrameBufferSwapTexture(fb, other), 1);
  EXPECT_EQ(*static_cast<int32_t*>(KvFrameBufferGet(fb, KV_FB_WIDTH)), 6);
  EXPECT_EQ(*static_cast<int32_t*>(KvFrameBufferGet(fb, KV_FB_HEIGHT)), 2);
  EXPECT_EQ(static_cast<KV_HANDLE*>(KvFrameBufferGet(fb, KV_FB_TEXTURE))->value, other.value);
  KvFrameBufferActivate(fb);
  KvCameraOrtho(0, 0, 6, 2, 0);
  Fill(0, 0, 6, 2, {0, 255, 255, 255});
  KvFrameBufferUnactivate(fb);
  EXPECT_TRUE(Near(TexturePixel(other, 5, 1), {0, 255, 255, 255}));
  EXPECT_TRUE(Near(TexturePixel(mine, 1, 1), {0, 0, 0, 255}));
  KV_HANDLE unknown;
  unknown.endFlag = 0;
  unknown.value = 0x7ffffff0;
  EXPECT_EQ(KvFrameBufferSwapTexture(fb, unknown), 0);
  EXPECT_EQ(*static_cast<int32_t*>(KvFrameBufferGet(fb, KV_FB_WIDTH)), 6);
  KvFrameBufferDestroy(fb);
  EXPECT_NE(KvTextureGet(mine, KV_TEX_WIDTH), nullptr);
  EXPECT_NE(KvTextureGet(other, KV_TEX_WIDTH), nullptr);
  KvTextureDestroy(mine);
  KvTextureDestroy(other);
}

TEST_F(FrameBuffers, BadSizesUnknownHandlesAndLostTexturesAreRefused) {
  KV_HANDLE fb;
  EXPECT_EQ(KvFrameBufferCreate(&fb, 0, 8, 0, 0), 0);
  EXPECT_TRUE(fb.IsNull());
  EXPECT_EQ(KvFrameBufferCreate(&fb, 8, 100000, 0, 0), 0);
  EXPECT_EQ(KvFrameBufferCreate(nullptr, 8, 8, 0, 0), 0);
  EXPECT_EQ(KvFrameBufferCreateFromTexture(&fb, KV_HANDLE{}, 0), 0);
  KV_HANDLE empty;
  KvTextureCreate(&empty);  // never filled
  EXPECT_EQ(KvFrameBufferCreateFromTexture(&fb, empty, 0), 0);
  KvTextureDestroy(empty);
  KV_HANDLE texture = SolidTexture(4, 4, {0, 0, 0, 255});
  ASSERT_EQ(KvFrameBufferCreateFromTexture(&fb, texture, 0), 1);
  KvTextureDestroy(texture);
  EXPECT_EQ(KvFrameBufferActivate(fb), 0);  // nothing left to draw into
  KvFrameBufferDestroy(fb);
  KvFrameBufferDestroy(fb);
  KvFrameBufferDestroy(KV_HANDLE{});
  EXPECT_EQ(KvFrameBufferActivate(fb), 0);
  EXPECT_EQ(KvFrameBufferGet(fb, KV_FB_WIDTH), nullptr);
  EXPECT_EQ(KvFrameBufferUseFBO(fb), 0);
  KvFrameBufferUnactivate(fb);
  KvFrameBufferMipmap(fb);
  KvFrameBufferActivateTexture(fb);
}

TEST_F(FrameBuffers, DestroyingTheActiveOneSendsDrawingBackToTheTarget) {
  KV_HANDLE fb;
  ASSERT_EQ(KvFrameBufferCreate(&fb, 8, 8, 0, 0), 1);
  KvFrameBufferActivate(fb);
  KvFrameBufferDestroy(fb);
  Fill(0, 0, 10, 10, {255, 0, 0, 255});
  EXPECT_TRUE(Near(At(kWidth / 8, kHeight / 8), {255, 0, 0, 255})) << At(5, 5);
}

TEST_F(FrameBuffers, DestroyingTheOneDrawingHandsDrawingToTheOneBeneath) {
  Matrices camera = BeginCameraPass();
  KV_HANDLE outer, inner;
  ASSERT_EQ(KvFrameBufferCreate(&outer, 16, 8, 0, 0), 1);
  ASSERT_EQ(KvFrameBufferCreate(&inner, 8, 8, 16, 0), 1);
  ASSERT_EQ(KvFrameBufferActivate(outer), 1);
  KvCameraOrtho(0, 0, 16, 8, 0);
  Matrices outerMatrices = MatricesNow();
  ASSERT_EQ(KvFrameBufferActivate(inner), 1);
  KvCameraOrtho(0, 0, 8, 8, 0);
  KvSetState(KV_STATE_CLIP, 1);
  KvSetState(KV_STATE_CLIP_RECT, 0, 0, 2, 2);
  Fill(0, 0, 8, 8, {0, 0, 255, 255});  // waiting in the batch when the inner one goes
  KvFrameBufferDestroy(inner);
  EXPECT_EQ(Clip(), 0);
  EXPECT_TRUE(MatricesNow() == outerMatrices);
  Fill(0, 0, 16, 8, {255, 0, 0, 255});
  KvFrameBufferUnactivate(outer);
  ExpectCameraPass(camera);
  ExpectFilled(TextureOf(outer), {255, 0, 0, 255});
  KvFrameBufferDestroy(outer);
}

// A frame buffer destroyed while others draw on top of it is taken out: unwinding skips it and
// the outer one gets back what the removed one would have given it.
TEST_F(FrameBuffers, DestroyingALowerOneTakesItOutOfTheNesting) {
  Matrices camera = BeginCameraPass();
  KV_HANDLE outer, middle, inner;
  ASSERT_EQ(KvFrameBufferCreate(&outer, 16, 8, 0, 0), 1);
  ASSERT_EQ(KvFrameBufferCreate(&middle, 4, 4, 0, 0), 1);
  ASSERT_EQ(KvFrameBufferCreate(&inner, 8, 8, 0, 0), 1);
  ASSERT_EQ(KvFrameBufferActivate(outer), 1);
  KvCameraOrtho(0, 0, 16, 8, 0);
  Matrices outerMatrices = MatricesNow();
  ASSERT_EQ(KvFrameBufferActivate(middle), 1);
  KvCameraOrtho(0, 0, 4, 4, 0);
  KvSetState(KV_STATE_CLIP, 1);
  ASSERT_EQ(KvFrameBufferActivate(middle), 1);  // twice: both entries go
  ASSERT_EQ(KvFrameBufferActivate(inner), 1);
  KvCameraOrtho(0, 0, 8, 8, 0);
  Matrices innerMatrices = MatricesNow();
  KvFrameBufferDestroy(middle);
  EXPECT_TRUE(MatricesNow() == innerMatrices);
  Fill(0, 0, 8, 8, {0, 0, 255, 255});
  KvFrameBufferUnactivate(inner);
  EXPECT_EQ(Clip(), 0);
  EXPECT_TRUE(MatricesNow() == outerMatrices);
  Fill(0, 0, 16, 8, {255, 0, 0, 255});
  KvFrameBufferUnactivate(outer);
  ExpectCameraPass(camera);
  ExpectFilled(TextureOf(inner), {0, 0, 255, 255});
  ExpectFilled(TextureOf(outer), {255, 0, 0, 255});
  KvFrameBufferDestroy(inner);
  KvFrameBufferDestroy(outer);
}

TEST_F(FrameBuffers, AClearActsOnTheActiveOneAndAPresentOnTheTarget) {
  KV_HANDLE fb;
  ASSERT_EQ(KvFrameBufferCreate(&fb, 8, 8, 16, 0), 1);
  KV_HANDLE texture = *static_cast<KV_HANDLE*>(KvFrameBufferGet(fb, KV_FB_TEXTURE));
  Fill(0, 0, 4, 4, {0, 0, 255, 255});  // on the target, waiting in the batch
  ASSERT_EQ(KvFrameBufferActivate(fb), 1);
  KvCameraOrtho(0, 0, 8, 8, 0);
  KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 1.0, 0.0, 1.0);
  EXPECT_EQ(KvRenderScene(KV_SCENE_CLEAR_COLOR | KV_SCENE_CLEAR_DEPTH), 1);
  // Reading the target back in between leaves drawing on the frame buffer.
  EXPECT_TRUE(Near(At(2, 2), {0, 0, 255, 255})) << At(2, 2);
  EXPECT_TRUE(Near(At(10, 10), {0, 0, 0, 255})) << At(10, 10);
  Fill(0, 0, 8, 4, {255, 0, 0, 255});
  // A present shows the target and clears the target, not the frame buffer; drawing then still
  // goes into the frame buffer.
  KvSetState(KV_STATE_CLEAR_COLOR, 1.0, 1.0, 1.0, 1.0);
  EXPECT_EQ(KvRenderScene(KV_SCENE_FRAME), 1);
  Fill(0, 4, 2, 4, {0, 0, 255, 255});
  KvFrameBufferUnactivate(fb);
  KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  EXPECT_TRUE(Near(TexturePixel(texture, 5, 6), {255, 0, 0, 255})) << TexturePixel(texture, 5, 6);
  EXPECT_TRUE(Near(TexturePixel(texture, 5, 1), {0, 255, 0, 255})) << TexturePixel(texture, 5, 1);
  EXPECT_TRUE(Near(TexturePixel(texture, 1, 1), {0, 0, 255, 255})) << TexturePixel(texture, 1, 1);
  EXPECT_TRUE(Near(At(2, 2), {255, 255, 255, 255})) << At(2, 2);
  EXPECT_TRUE(Near(At(10, 10), {255, 255, 255, 255})) << At(10, 10);
  KvFrameBufferDestroy(fb);
}

}  // namespace
