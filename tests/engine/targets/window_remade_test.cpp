// A window made again behind its handle for another visual (made layered, then opaque, where a
// compositor runs on X, or made layered before a compositor starts): its target keeps its picture
// and goes on drawing with the textures the one context made before, in the format the new window
// can show.
#include "engine/engine_fixture.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstring>
#include <vector>

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
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
  }
  void TearDown() override {
    if (display != nullptr) XCloseDisplay(display);
    EngineTest::TearDown();
  }

  // The test stands in for a compositing manager by owning its selection.
  void StartCompositor() {
    Window owner = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, XInternAtom(display, "_NET_WM_CM_S0", False), owner, CurrentTime);
    XSync(display, False);
  }

  void Fill(KV_HANDLE texture, int x, int y) {
    KV_VERTEX v[4];
    Quad(v, 8, 8);
    DrawSprite(texture, v, x, y);
  }

  Display* display = nullptr;
};

// Takes the window's messages, as the frame loop does between frames, until the SDL window behind
// it is another than before; false after ten seconds.
bool MadeAgain(HWND hwnd, SDL_Window* before) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (platform::SdlWindowOf(hwnd) == before) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    SDL_Delay(5);
  }
  return true;
}

// SDL's X connection and the X window behind the handle.
Window XWindowOf(HWND hwnd, Display** sdlDisplay) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(platform::SdlWindowOf(hwnd), &info)) return 0;
  *sdlDisplay = info.info.x11.display;
  return info.info.x11.window;
}

// The window's pixels as the X server keeps them, once it is mapped: for a window with the alpha
// visual, alpha in the top byte and the colour premultiplied.
std::vector<uint32_t> WindowPixels(Display* display, HWND hwnd, int w, int h) {
  Display* sdlDisplay = nullptr;
  Window window = XWindowOf(hwnd, &sdlDisplay);
  // What SDL's connection sent is done before this connection asks.
  XSync(sdlDisplay, False);
  XWindowAttributes attributes{};
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (XGetWindowAttributes(display, window, &attributes) && attributes.map_state != IsViewable &&
         std::chrono::steady_clock::now() < deadline)
    SDL_Delay(5);
  std::vector<uint32_t> pixels;
  if (attributes.map_state != IsViewable) return pixels;
  XImage* image = XGetImage(display, window, 0, 0, w, h, AllPlanes, ZPixmap);
  if (image == nullptr) return pixels;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)));
  }
  XDestroyImage(image);
  return pixels;
}

}  // namespace

TEST_F(WindowRemade, TheTargetKeepsItsPictureAndDrawsWithTexturesMadeBefore) {
  StartCompositor();
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

// Made layered while no compositor runs, a window keeps an alpha target, which shows its colour
// on black until one starts. A compositor taking its selection makes the window again with the
// alpha visual: the target keeps its format, size and picture, draws with the textures made
// before, and its next layered frame reaches the new window with its alpha.
TEST_F(WindowRemade, ALayeredTargetKeepsEverythingWhenACompositorStartsLater) {
  HWND layered = CreateWindowExA(WS_EX_LAYERED, "Engine Test", "Engine Test Layered", WS_POPUP, 0,
                                 0, kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(layered, nullptr);
  ShowWindow(layered, SW_SHOW);
  KV_HANDLE alpha;
  ASSERT_EQ(KvRenderTargetCreate(&alpha, layered, KV_FORMAT_ALPHA, 32, 16), 1);
  ASSERT_EQ(KvRenderTargetArea(alpha, 0, 0, kWidth, kHeight, 45.0, -1.0, 1.0, 0.0), 1);
  ASSERT_EQ(KvRenderTargetActivate(alpha), 1);
  KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 0.0);
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  KV_HANDLE green = SolidTexture(2, 2, {0, 255, 0, 255});
  KV_HANDLE halfRed = SolidTexture(2, 2, {255, 0, 0, 128});
  Fill(green, 0, 0);
  Fill(halfRed, 16, 0);
  ASSERT_TRUE(Near(At(20, 4), {128, 0, 0, 64})) << At(20, 4);
  SDL_Window* before = platform::SdlWindowOf(layered);

  StartCompositor();
  ASSERT_TRUE(MadeAgain(layered, before));
  EXPECT_EQ(*static_cast<int32_t*>(KvRenderTargetGet(alpha, KV_RT_FORMAT)), KV_FORMAT_ALPHA);
  EXPECT_EQ(*static_cast<int32_t*>(KvRenderTargetGet(alpha, KV_RT_VIEWPORT_W)), kWidth);
  EXPECT_EQ(*static_cast<int32_t*>(KvRenderTargetGet(alpha, KV_RT_VIEWPORT_H)), kHeight);
  EXPECT_TRUE(Near(At(4, 4), {0, 255, 0, 255})) << At(4, 4);
  EXPECT_TRUE(Near(At(20, 4), {128, 0, 0, 64})) << At(20, 4);
  Fill(green, 32, 32);
  EXPECT_TRUE(Near(At(36, 36), {0, 255, 0, 255})) << At(36, 36);
  EXPECT_EQ(KvRenderScene(KV_SCENE_LAYERED_FRAME), 1);

  std::vector<uint32_t> shown = WindowPixels(display, layered, kWidth, kHeight);
  ASSERT_EQ(shown.size(), size_t(kWidth * kHeight));
  auto pixel = [&](int x, int y) { return shown[y * kWidth + x]; };
  EXPECT_EQ(pixel(4, 4), 0xff00ff00u);
  EXPECT_EQ(pixel(36, 36), 0xff00ff00u);
  EXPECT_NEAR(pixel(20, 4) >> 24, 64, 2);
  EXPECT_NEAR((pixel(20, 4) >> 16) & 0xff, 128, 2);
  EXPECT_EQ(pixel(50, 20), 0u);
  KvTextureDestroy(green);
  KvTextureDestroy(halfRed);
  KvRenderTargetDestroy(alpha);
  DestroyWindow(layered);
}
