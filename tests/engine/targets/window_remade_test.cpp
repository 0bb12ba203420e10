// A window made again behind its handle for another visual (made layered, then opaque, where a
// compositor runs on X): its target keeps its picture and goes on drawing with the textures the
// one context made before, in the format the new window can show.
#include "engine/engine_fixture.h"

#include <SDL2/SDL.h>
#include <X11/Xlib.h>

#include <cstring>

#include "platform/windows/sdl_window.h"

namespace {

using kv::engine::testing::DrawsIntoWindow;

class WindowRemade : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "x11") != 0)
      GTEST_SKIP() << "windows are made again for a visual on X only";
    // The test stands in for a compositing manager by owning its selection.
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    Window owner = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, XInternAtom(display, "_NET_WM_CM_S0", False), owner, CurrentTime);
    XSync(display, False);
  }
  void TearDown() override {
    if (display != nullptr) XCloseDisplay(display);
    EngineTest::TearDown();
  }

  void Fill(KV_HANDLE texture, int x, int y) {
    KV_VERTEX v[4];
    Quad(v, 8, 8);
    DrawSprite(texture, v, x, y);
  }

  Display* display = nullptr;
};

}  // namespace

TEST_F(WindowRemade, TheTargetKeepsItsPictureAndDrawsWithTexturesMadeBefore) {
  KV_HANDLE green = SolidTexture(2, 2, {0, 255, 0, 255});
  Fill(green, 0, 0);
  ASSERT_TRUE(DrawsIntoWindow(target));
  SDL_Window* before = platform::SdlWindowOf(hwnd);

  SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_LAYERED);
  ASSERT_NE(platform::SdlWindowOf(hwnd), before);
  // Its picture left the old window's buffers before that window went.
  EXPECT_FALSE(DrawsIntoWindow(target));
  EXPECT_TRUE(Near(At(4, 4), {0, 255, 0, 255})) << At(4, 4);
  ASSERT_EQ(KvRenderTargetChange(target, KV_FORMAT_ALPHA), 1);
  KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  Fill(green, 16, 16);
  EXPECT_TRUE(Near(At(20, 20), {0, 255, 0, 255})) << At(20, 20);
  EXPECT_EQ(KvRenderScene(KV_SCENE_LAYERED_FRAME), 1);

  SetWindowLongA(hwnd, GWL_EXSTYLE, 0);
  // The opaque window has GL again: a target of its format and size draws straight into it.
  ASSERT_EQ(KvRenderTargetChange(target, KV_FORMAT_OPAQUE), 1);
  EXPECT_TRUE(DrawsIntoWindow(target));
  KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  Fill(green, 32, 32);
  EXPECT_TRUE(Near(At(36, 36), {0, 255, 0, 255})) << At(36, 36);
  EXPECT_EQ(KvRenderScene(KV_SCENE_FRAME), 1);
  KvTextureDestroy(green);
}
