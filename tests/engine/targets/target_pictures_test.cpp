// Every render target keeps a picture of its own: what is drawn into it, the clear that ends a
// frame included, stays until the program draws over it or presents it, whatever is drawn into
// other targets, other windows or frame buffers in between. Two windows with a target each, and
// two targets on one window, drawn and presented in interleaved orders and read back.
#include "engine/engine_fixture.h"

namespace {

using kv::engine::testing::DrawsIntoWindow;

constexpr Rgba kBlack{0, 0, 0, 255};

class TargetPictures : public EngineTest {
 protected:
  HWND second = nullptr;
  KV_HANDLE other;
  KV_HANDLE white;

  void SetUp() override {
    EngineTest::SetUp();
    white = SolidTexture(2, 2, {255, 255, 255, 255});
  }

  void TearDown() override {
    KvTextureDestroy(white);
    if (!other.IsNull()) KvRenderTargetDestroy(other);
    if (second != nullptr) {
      DestroyWindow(second);
      UnregisterClassA("Second Window", GetModuleHandleA(nullptr));
    }
    EngineTest::TearDown();
  }

  // A second window of the fixture's size with an opaque target of its own, as the fixture's.
  void MakeSecondWindow() {
    second = MakeWindow("Second Window", kWidth, kHeight);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(KvRenderTargetCreate(&other, second, KV_FORMAT_OPAQUE, 32, 16), 1);
  }

  // A second target on the fixture's own window.
  void MakeSecondTargetOnTheWindow() {
    ASSERT_EQ(KvRenderTargetCreate(&other, hwnd, KV_FORMAT_OPAQUE, 32, 16), 1);
  }

  static void Use(KV_HANDLE rt) {
    ASSERT_EQ(KvRenderTargetActivate(rt), 1);
    KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  }

  static void SetClear(Rgba c) {
    KvSetState(KV_STATE_CLEAR_COLOR, c.r / 255.0, c.g / 255.0, c.b / 255.0, 1.0);
  }

  // Ends the frame of rt with its next frame cleared to c: the game's frame end.
  static void EndFrame(KV_HANDLE rt, Rgba c) {
    Use(rt);
    SetClear(c);
    ASSERT_EQ(KvRenderScene(KV_SCENE_FRAME), 1);
  }

  // Draws a white 8 x 8 square at (x, y) into rt.
  void Square(KV_HANDLE rt, int x, int y) {
    Use(rt);
    KV_VERTEX v[4];
    Quad(v, 8, 8);
    DrawSprite(white, v, x, y);
  }

  // rt's pixel at (x, y), read with rt current.
  static Rgba PixelOf(KV_HANDLE rt, int x, int y) {
    KvRenderTargetActivate(rt);
    return At(x, y);
  }
};

Rgba Shade(int frame, int channel) {
  Rgba c{0, 0, 0, 255};
  int level = 40 + 30 * frame;
  (channel == 0 ? c.r : channel == 1 ? c.g : c.b) = level;
  return c;
}

}  // namespace

TEST_F(TargetPictures, TwoWindowsEachKeepTheirFrameEndClearAndDrawingWhenDrawnInTurn) {
  MakeSecondWindow();
  for (int frame = 0; frame < 4; ++frame) {
    // Each window: present, then clear for the next frame, then draw a square into it.
    EndFrame(target, Shade(frame, 2));
    Square(target, 8, 8);
    EndFrame(other, Shade(frame, 0));
    Square(other, 40, 24);
    EXPECT_TRUE(Near(PixelOf(target, 2, 2), Shade(frame, 2))) << frame << PixelOf(target, 2, 2);
    EXPECT_TRUE(Near(PixelOf(target, 12, 12), {255, 255, 255, 255})) << frame;
    EXPECT_TRUE(Near(PixelOf(target, 44, 28), Shade(frame, 2))) << frame;
    EXPECT_TRUE(Near(PixelOf(other, 2, 2), Shade(frame, 0))) << frame << PixelOf(other, 2, 2);
    EXPECT_TRUE(Near(PixelOf(other, 44, 28), {255, 255, 255, 255})) << frame;
    EXPECT_TRUE(Near(PixelOf(other, 12, 12), Shade(frame, 0))) << frame;
  }
}

TEST_F(TargetPictures, TwoWindowsClearedFirstAndPresentedAfterwardsEachKeepTheirClear) {
  MakeSecondWindow();
  for (int frame = 0; frame < 3; ++frame) {
    Use(target);
    SetClear(Shade(frame, 1));
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    Use(other);
    SetClear(Shade(frame, 0));
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    // Each present shows what was cleared; what follows it is cleared to black.
    EXPECT_TRUE(Near(PixelOf(target, 30, 20), Shade(frame, 1))) << frame << PixelOf(target, 30, 20);
    EndFrame(target, kBlack);
    EXPECT_TRUE(Near(PixelOf(other, 30, 20), Shade(frame, 0))) << frame << PixelOf(other, 30, 20);
    EndFrame(other, kBlack);
    EXPECT_TRUE(Near(PixelOf(target, 30, 20), kBlack)) << frame;
    EXPECT_TRUE(Near(PixelOf(other, 30, 20), kBlack)) << frame;
  }
}

TEST_F(TargetPictures, ATargetKeepsItsPictureWhileAnotherWindowsTargetIsMadeAndDrawn) {
  Square(target, 8, 8);
  MakeSecondWindow();
  Square(other, 40, 24);
  EXPECT_TRUE(Near(PixelOf(target, 12, 12), {255, 255, 255, 255})) << PixelOf(target, 12, 12);
  EXPECT_TRUE(Near(PixelOf(target, 44, 28), kBlack)) << PixelOf(target, 44, 28);
  EXPECT_TRUE(Near(PixelOf(other, 44, 28), {255, 255, 255, 255}));
  EXPECT_TRUE(Near(PixelOf(other, 12, 12), {0, 0, 0, 0}, 2) ||
              Near(PixelOf(other, 12, 12), kBlack));
}

TEST_F(TargetPictures, TwoTargetsOnOneWindowKeepTheirOwnPicturesAcrossPresentsInEitherOrder) {
  MakeSecondTargetOnTheWindow();
  const Rgba blue{0, 0, 200, 255}, red{200, 0, 0, 255};
  for (int round = 0; round < 4; ++round) {
    bool firstFirst = round % 2 == 0;
    // Each target: its own clear colour and a square of its own.
    EndFrame(target, blue);
    Square(target, 8, 8);
    EndFrame(other, red);
    Square(other, 40, 24);
    KV_HANDLE presentedFirst = firstFirst ? target : other;
    KV_HANDLE presentedLast = firstFirst ? other : target;
    // Presenting without a clear keeps each frame: every present must leave the other's alone.
    Use(presentedFirst);
    ASSERT_EQ(KvRenderScene(KV_SCENE_PRESENT), 1);
    Use(presentedLast);
    ASSERT_EQ(KvRenderScene(KV_SCENE_PRESENT), 1);
    EXPECT_TRUE(Near(PixelOf(target, 2, 2), blue)) << round << PixelOf(target, 2, 2);
    EXPECT_TRUE(Near(PixelOf(target, 12, 12), {255, 255, 255, 255})) << round;
    EXPECT_TRUE(Near(PixelOf(target, 44, 28), blue)) << round << PixelOf(target, 44, 28);
    EXPECT_TRUE(Near(PixelOf(other, 2, 2), red)) << round << PixelOf(other, 2, 2);
    EXPECT_TRUE(Near(PixelOf(other, 44, 28), {255, 255, 255, 255})) << round;
    EXPECT_TRUE(Near(PixelOf(other, 12, 12), red)) << round << PixelOf(other, 12, 12);
  }
}

TEST_F(TargetPictures, TwoTargetsOnOneWindowKeepTheirFrameEndClearsAndOneOutlivesTheOther) {
  MakeSecondTargetOnTheWindow();
  const Rgba green{0, 180, 0, 255}, grey{90, 90, 90, 255};
  for (int frame = 0; frame < 3; ++frame) {
    EndFrame(target, green);
    EndFrame(other, grey);
    EXPECT_TRUE(Near(PixelOf(target, 30, 20), green)) << frame << PixelOf(target, 30, 20);
    EXPECT_TRUE(Near(PixelOf(other, 30, 20), grey)) << frame << PixelOf(other, 30, 20);
  }
  // The pictures as copied into textures agree with what is read back.
  KV_HANDLE copy;
  ASSERT_EQ(KvTextureCreate(&copy), 1);
  Use(target);
  ASSERT_EQ(KvTextureFromRender(copy, 0, 0, kWidth, kHeight, 0), 1);
  KvRenderTargetDestroy(other);
  other = KV_HANDLE{};
  Square(target, 8, 8);
  EXPECT_TRUE(Near(PixelOf(target, 30, 20), green)) << PixelOf(target, 30, 20);
  EXPECT_TRUE(Near(PixelOf(target, 12, 12), {255, 255, 255, 255}));
  EndFrame(target, grey);
  EXPECT_TRUE(Near(PixelOf(target, 30, 20), grey)) << PixelOf(target, 30, 20);
  // The texture still holds the frame it was copied from.
  Use(target);
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  KV_VERTEX v[4];
  Quad(v, kWidth, kHeight);
  KvSetState(KV_STATE_BLEND, 0);
  DrawSprite(copy, v, 0, 0);
  EXPECT_TRUE(Near(At(30, 20), green)) << At(30, 20);
  KvTextureDestroy(copy);
}

TEST_F(TargetPictures, AFrameEndClearInsideTheClipKeepsTheRestOfTheFrame) {
  Square(target, 2, 2);
  int32_t rect[4] = {32, 0, 32, 48};
  KvSetState(KV_STATE_CLIP_RECT, rect[0], rect[1], rect[2], rect[3]);
  KvSetState(KV_STATE_CLIP, 1);
  EndFrame(target, {0, 0, 220, 255});
  KvSetState(KV_STATE_CLIP, 0);
  // A window's back buffer need not keep anything across the swap: the frame is kept apart.
  EXPECT_FALSE(DrawsIntoWindow(target));
  EXPECT_TRUE(Near(PixelOf(target, 4, 4), {255, 255, 255, 255})) << PixelOf(target, 4, 4);
  EXPECT_TRUE(Near(PixelOf(target, 48, 20), {0, 0, 220, 255})) << PixelOf(target, 48, 20);
}

TEST_F(TargetPictures, TheOnlyWindowsTargetKeepsDrawingIntoTheWindow) {
  // What the game does every frame leaves the window's own buffers serving it.
  ASSERT_TRUE(DrawsIntoWindow(target));
  for (int frame = 0; frame < 3; ++frame) {
    Square(target, 8, 8);
    EndFrame(target, Shade(frame, 1));
    KV_HANDLE fb;
    ASSERT_EQ(KvFrameBufferCreate(&fb, 16, 16, 0, 0), 1);
    ASSERT_EQ(KvFrameBufferActivate(fb), 1);
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    KvFrameBufferUnactivate(fb);
    KvFrameBufferDestroy(fb);
  }
  EXPECT_TRUE(DrawsIntoWindow(target));
  EXPECT_TRUE(Near(PixelOf(target, 30, 20), Shade(2, 1))) << PixelOf(target, 30, 20);
}

TEST_F(TargetPictures, ATargetGoesBackIntoItsWindowOnlyAfterAFrameThatNothingElseDisturbed) {
  MakeSecondWindow();
  // Presenting both windows every frame keeps both targets in frame buffers of their own.
  for (int frame = 0; frame < 3; ++frame) {
    EndFrame(target, Shade(frame, 2));
    EndFrame(other, Shade(frame, 0));
  }
  EXPECT_FALSE(DrawsIntoWindow(target));
  EXPECT_FALSE(DrawsIntoWindow(other));
  KvRenderTargetDestroy(other);
  other = KV_HANDLE{};
  // The frame that the second window's last present disturbed ends in a frame buffer; the next,
  // undisturbed, sends the target back into its window, with its picture.
  Square(target, 8, 8);
  EndFrame(target, {0, 0, 90, 255});
  EXPECT_FALSE(DrawsIntoWindow(target));
  Square(target, 8, 8);
  EndFrame(target, {0, 0, 120, 255});
  EXPECT_TRUE(DrawsIntoWindow(target));
  EXPECT_TRUE(Near(PixelOf(target, 30, 20), {0, 0, 120, 255})) << PixelOf(target, 30, 20);
  Square(target, 40, 24);
  EXPECT_TRUE(Near(PixelOf(target, 44, 28), {255, 255, 255, 255})) << PixelOf(target, 44, 28);
  EXPECT_TRUE(Near(PixelOf(target, 12, 12), {0, 0, 120, 255})) << PixelOf(target, 12, 12);
}
