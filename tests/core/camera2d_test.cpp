// KV_CAMERA2D on the real engine, offscreen: the engine calls of Begin and End in order, the
// viewport lent to the target and given back, clipping and clearing inside the viewport, the
// view mapped onto it, following an actor, and canvases (one alone, one inside another) painted in
// the middle of a pass.
#include "core/camera2d.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/actor.h"
#include "core/core.h"
#include "graphics/graphics_fixture.h"
#include "graphics/quad.h"
#include "graphics/sprite.h"

using kv::engine::testing::StartTrace;
using kv::engine::testing::StopTrace;
using kv::engine::testing::TracedCalls;

namespace {

constexpr uint32_t kBlack = 0x000000FFu, kRed = 0xFF0000FFu, kWhite = 0xFFFFFFFFu;

// The target's viewport x, y, width and height as stored.
std::vector<int32_t> Viewport(KV_HANDLE target) {
  std::vector<int32_t> values;
  for (uint32_t property = KV_RT_VIEWPORT_X; property <= KV_RT_VIEWPORT_H; ++property)
    values.push_back(*static_cast<int32_t*>(KvRenderTargetGet(target, property)));
  return values;
}

// A camera showing the world rectangle (100, 200, 32, 24) in the target pixels x 8..23 and,
// counted from the bottom, y 4..15 (window rows 32..43 of the 48-pixel target).
KV_CAMERA2D TestCamera() {
  KV_CAMERA2D camera;
  camera.enabled = 1;
  camera.viewportPosition = KV_VECTOR_D(8.9, 4.2);
  camera.viewportSize = KV_VECTOR_D(16.5, 12.7);
  camera.viewPosition = KV_VECTOR_D(100, 200);
  camera.viewSize = KV_VECTOR_D(32, 24);
  return camera;
}

}  // namespace

using Camera2D = GraphicsTest;

TEST_F(Camera2D, BeginLendsTheViewportThenGivesItBack) {
  KV_CAMERA2D camera = TestCamera();
  std::string id = std::to_string(target.Id());
  StartTrace();
  camera.Begin();
  StopTrace();
  std::vector<std::string> expected = {"KvGetState(16)",
                                       "KvRenderTargetGet(" + id + ", 440)",
                                       "KvRenderTargetGet(" + id + ", 441)",
                                       "KvRenderTargetGet(" + id + ", 442)",
                                       "KvRenderTargetGet(" + id + ", 443)",
                                       "KvRenderTargetActivate(" + id + ")",
                                       "KvCameraOrtho(100, 200, 32, 24, 0)",
                                       "KvSetState(220, 1)",
                                       "KvSetState(219, 8, 4, 16, 12)",
                                       "KvRenderScene(2)"};
  EXPECT_EQ(TracedCalls(), expected);
  EXPECT_EQ(Viewport(target), (std::vector<int32_t>{0, 0, kWidth, kHeight}));
  StartTrace();
  camera.End();
  StopTrace();
  std::vector<std::string> ending = {"KvGetState(16)",
                                     "KvRenderTargetActivate(" + id + ")",
                                     "KvRenderTargetGet(" + id + ", 440)",
                                     "KvRenderTargetGet(" + id + ", 441)",
                                     "KvRenderTargetGet(" + id + ", 442)",
                                     "KvRenderTargetGet(" + id + ", 443)",
                                     "KvCameraOrtho(0, 0, 64, 48, 0)",
                                     "KvSetState(220, 0)",
                                     "KvSetState(219, 0, 0, 64, 48)"};
  EXPECT_EQ(TracedCalls(), ending);
}

TEST_F(Camera2D, ClearsClipsAndMapsTheViewIntoTheViewport) {
  kvtest::WriteSolidKvt("camera2d_white.kvt", 16, 12);
  KV_SPRITE sprite;
  ASSERT_TRUE(sprite.Load("camera2d_white.kvt", 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1,
                          -1, 0, 0));
  KvSetState(KV_STATE_CLEAR_COLOR, 1.0, 0.0, 0.0, 1.0);
  KV_CAMERA2D camera = TestCamera();
  camera.Begin();
  // The clear stays inside the viewport.
  EXPECT_EQ(Pixel(8, 32), kRed);
  EXPECT_EQ(Pixel(23, 43), kRed);
  EXPECT_EQ(Pixel(7, 32), kBlack);
  EXPECT_EQ(Pixel(24, 40), kBlack);
  EXPECT_EQ(Pixel(8, 31), kBlack);
  EXPECT_EQ(Pixel(8, 44), kBlack);
  // The view's top-left quarter is the viewport's top-left quarter.
  sprite.Draw(KV_VECTOR_D(100, 200), KV_VECTOR_D(0, 0, 0, 0), KV_VECTOR_D(1, 1, 1));
  EXPECT_EQ(Pixel(9, 33), kWhite);
  EXPECT_EQ(Pixel(17, 33), kRed);
  EXPECT_EQ(Pixel(9, 40), kRed);
  // Drawing far outside the viewport is clipped away.
  sprite.Draw(KV_VECTOR_D(60, 180), KV_VECTOR_D(0, 0, 0, 0), KV_VECTOR_D(4, 4, 1));
  EXPECT_EQ(Pixel(2, 34), kBlack);
  camera.End();
  // Back on the whole target without clipping: pixel coordinates again.
  sprite.Draw(KV_VECTOR_D(40, 2), KV_VECTOR_D(0, 0, 0, 0), KV_VECTOR_D(1, 1, 1));
  EXPECT_EQ(Pixel(41, 3), kWhite);
  sprite.Destroy(0);
}

TEST_F(Camera2D, DisabledDoesNothingAndFollowCentresTheView) {
  KV_CAMERA2D camera = TestCamera();
  camera.enabled = 0;
  StartTrace();
  camera.Begin();
  StopTrace();
  EXPECT_TRUE(TracedCalls().empty());
  KvCore::KV_ACTOR actor;
  actor.position = KV_VECTOR_D(400, 300);
  camera.enabled = 1;
  camera.clear = 0;
  camera.follow = &actor;
  camera.viewSize = KV_VECTOR_D(800, 600);
  StartTrace();
  camera.Begin();
  StopTrace();
  EXPECT_EQ(camera.viewPosition.x, 0);
  EXPECT_EQ(camera.viewPosition.y, 0);
  EXPECT_EQ(TracedCalls().back(), "KvSetState(219, 8, 4, 16, 12)");  // no clear
  camera.End();
}

namespace {

// An actor whose Draw runs a technique: inside the canvas it clears to green; back on the
// target it shows the canvas at view (4, 4) and a white square at view (20, 10), 8 x 8 each.
class PaintingActor : public KvCore::KV_ACTOR2D {
 public:
  KV_TECHNIQUE* technique = nullptr;
  KV_ARRAY<uintptr_t>* arguments = nullptr;
  void Draw() override { technique->Execute(arguments); }
};

KV_QUAD Square(double x, double y, double side) {
  KV_QUAD quad;
  quad.corners[0] = KV_VECTOR_D(x, y);
  quad.corners[1] = KV_VECTOR_D(x + side, y);
  quad.corners[2] = KV_VECTOR_D(x + side, y + side);
  quad.corners[3] = KV_VECTOR_D(x, y + side);
  return quad;
}

template <class T>
uintptr_t Word(T* pointer) {
  return reinterpret_cast<uintptr_t>(pointer);
}

}  // namespace

// A scene whose camera "view" clears its viewport (window x 8..39, rows 8..31) red and shows the
// view (0, 0, 32, 24) there one to one, drawing in white, with a white 1 x 1 texture at hand.
class CanvasInAPass : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    KV_TECHNIQUE::RegisterDefinitions();
    core = std::make_unique<KV_CORE>();
    KV_CAMERA2D& camera = *core->cameras2D.GetValue("view");
    camera.enabled = 1;
    camera.viewportPosition = KV_VECTOR_D(8, 16);
    camera.viewportSize = KV_VECTOR_D(32, 24);
    camera.viewSize = KV_VECTOR_D(32, 24);
    KvSetState(KV_STATE_CLEAR_COLOR, 1.0, 0.0, 0.0, 1.0);
    KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 1.0, 1.0);
    ASSERT_EQ(KvTextureCreate(&white), 1);
    const uint8_t pixel[4] = {255, 255, 255, 255};
    ASSERT_EQ(KvTextureLoadRGBAFromMemory(white, pixel, 1, 1), 1);
  }
  void TearDown() override {
    core.reset();
    KvTextureDestroy(white);
    GraphicsTest::TearDown();
  }

  // Compiles script as the technique "paint" and draws the scene once with an actor that runs
  // it on words, the addresses of its variables in order.
  void DrawPainting(const std::string& script, const std::vector<uintptr_t>& words) {
    KV_TECHNIQUE& technique = *core->techniques.GetValue("paint");
    ASSERT_TRUE(technique.Compile(script.data(), (unsigned)script.size()));
    arguments = std::make_unique<KV_ARRAY<uintptr_t>>((unsigned)words.size());
    for (unsigned i = 0; i < words.size(); ++i) *arguments->Get(i) = words[i];
    auto* actor = new PaintingActor;
    actor->technique = &technique;
    actor->arguments = arguments.get();
    core->AddActor("painters", actor);
    core->CommitActors();
    core->DrawScene();
  }

  // The camera cleared its viewport and nothing was drawn outside it.
  static void ExpectTheViewportClearedAlone() {
    EXPECT_EQ(Pixel(10, 10), kRed);  // the camera's clear, inside its viewport
    EXPECT_EQ(Pixel(4, 4), kBlack);  // outside the viewport nothing was drawn
    EXPECT_EQ(Pixel(44, 20), kBlack);
  }

  std::unique_ptr<KV_CORE> core;
  std::unique_ptr<KV_ARRAY<uintptr_t>> arguments;
  KV_HANDLE white;
};

// The canvas painted in the middle of the pass gets all of its pixels, and what the pass draws
// after it still lands in the camera's viewport, clipped to it.
TEST_F(CanvasInAPass, ACanvasPaintedInsideAPassLeavesThePassAsTheCameraSetIt) {
  constexpr uint32_t kGreen = 0x00FF00FFu;
  KV_CANVAS& canvas = *core->canvases.GetValue("canvas");
  ASSERT_EQ(canvas.Create(8, 8, 0, 0), 1);
  KV_VECTOR_D green(0, 1, 0, 1);
  KV_QUAD shown = Square(4, 4, 8), square = Square(20, 10, 8), whole = Square(0, 0, 1);
  DrawPainting(
      "!VARIABLES: canvas green shown square white whole\n"
      "CANVAS ENABLE canvas FALSE\n"
      "COLOR SCENE green\n"
      "CLEAR COLOR\n"
      "CANVAS DISABLE canvas FALSE\n"
      "RECT CANVAS canvas shown whole FALSE\n"
      "RECT TEXTURE white square whole FALSE\n",
      {Word(&canvas), Word(&green), Word(&shown), Word(&square), Word(&white), Word(&whole)});

  ExpectTheViewportClearedAlone();
  EXPECT_EQ(Pixel(12, 12), kGreen);  // the canvas, every pixel of it painted
  EXPECT_EQ(Pixel(19, 19), kGreen);
  EXPECT_EQ(Pixel(20, 20), kRed);
  EXPECT_EQ(Pixel(28, 18), kWhite);  // the square drawn after the canvas
  EXPECT_EQ(Pixel(35, 25), kWhite);
  EXPECT_EQ(Pixel(36, 26), kRed);
}

// Through the real camera and scene: a canvas painted inside another inside the pass.
// The outer canvas (16 x 16, rows flipped so it shows upright) is cleared green, gets the inner
// canvas (cleared blue) in its top left quarter and a white square in its bottom right one after
// the inner one gives drawing back; the pass then shows it at view (4, 4) and a white square at
// view (24, 14).
TEST_F(CanvasInAPass, ACanvasInsideAnotherInsideAPassGivesDrawingBackOneLevelAtATime) {
  constexpr uint32_t kGreen = 0x00FF00FFu, kBlue = 0x0000FFFFu;
  KV_CANVAS& outer = *core->canvases.GetValue("outer");
  KV_CANVAS& inner = *core->canvases.GetValue("inner");
  ASSERT_EQ(outer.Create(16, 16, 0, 0), 1);
  ASSERT_EQ(inner.Create(8, 8, 0, 0), 1);
  KV_VECTOR_D green(0, 1, 0, 1), blue(0, 0, 1, 1);
  KV_QUAD whole = Square(0, 0, 1), quarter = Square(0, 0, 8), opposite = Square(8, 8, 8);
  KV_QUAD shown = Square(4, 4, 16), square = Square(24, 14, 4);
  DrawPainting(
      "!VARIABLES: outer inner green blue white whole quarter opposite shown square\n"
      "CANVAS ENABLE outer TRUE\n"
      "COLOR SCENE green\n"
      "CLEAR COLOR\n"
      "CANVAS ENABLE inner FALSE\n"
      "COLOR SCENE blue\n"
      "CLEAR COLOR\n"
      "CANVAS DISABLE inner FALSE\n"
      "RECT CANVAS inner quarter whole FALSE\n"
      "RECT TEXTURE white opposite whole FALSE\n"
      "CANVAS DISABLE outer FALSE\n"
      "RECT CANVAS outer shown whole FALSE\n"
      "RECT TEXTURE white square whole FALSE\n",
      {Word(&outer), Word(&inner), Word(&green), Word(&blue), Word(&white), Word(&whole),
       Word(&quarter), Word(&opposite), Word(&shown), Word(&square)});

  ExpectTheViewportClearedAlone();
  EXPECT_EQ(Pixel(12, 12), kBlue);  // the outer canvas: the inner one in its top left quarter
  EXPECT_EQ(Pixel(19, 19), kBlue);
  EXPECT_EQ(Pixel(24, 14), kGreen);  // its own clear in the top right quarter
  EXPECT_EQ(Pixel(14, 25), kGreen);
  EXPECT_EQ(Pixel(20, 20), kWhite);  // and the square drawn into it after the inner one
  EXPECT_EQ(Pixel(27, 27), kWhite);
  EXPECT_EQ(Pixel(28, 28), kRed);
  EXPECT_EQ(Pixel(32, 22), kWhite);  // the square the pass drew after the outer canvas
  EXPECT_EQ(Pixel(35, 25), kWhite);
  EXPECT_EQ(Pixel(36, 26), kRed);
}
