// Targets that draw straight into their window's own buffers: which targets do, that they draw,
// present, clear and read back as a frame buffer of their own would, and that a target moves to
// a frame buffer where the window's buffers cannot serve it.
#include "engine/engine_fixture.h"
#include "platform/windows/sdl_window.h"

namespace {

using kv::engine::testing::DrawsIntoWindow;

class WindowDrawing : public EngineTest {
 protected:
  // A w x h quad of one colour at (x, y), y down.
  void Fill(KV_HANDLE texture, int x, int y, int w, int h) {
    KV_VERTEX v[4];
    Quad(v, w, h);
    DrawSprite(texture, v, x, y);
  }
};

}  // namespace

TEST_F(WindowDrawing, AnOpaqueTargetOfTheWindowsSizeDrawsPresentsAndClearsInTheWindow) {
  // The fixture's target: opaque, 32 colour bits, depth, the window's size.
  ASSERT_TRUE(DrawsIntoWindow(target));
  KV_HANDLE green = SolidTexture(2, 2, {0, 255, 0, 255});
  Fill(green, 0, 0, 8, 8);
  EXPECT_TRUE(Near(At(4, 4), {0, 255, 0, 255})) << At(4, 4);
  // No alpha channel: what is read back is opaque, as from an opaque frame buffer.
  EXPECT_TRUE(Near(At(kWidth - 1, kHeight - 1), {0, 0, 0, 255})) << At(kWidth - 1, kHeight - 1);
  KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 1.0, 1.0);
  EXPECT_EQ(KvRenderScene(KV_SCENE_FRAME), 1);
  EXPECT_TRUE(DrawsIntoWindow(target));
  EXPECT_TRUE(Near(At(4, 4), {0, 0, 255, 255})) << At(4, 4);
  KvTextureDestroy(green);
}

TEST_F(WindowDrawing, APresentWithoutAClearKeepsItsFrameInAFrameBufferFromThenOn) {
  KV_HANDLE red = SolidTexture(2, 2, {255, 0, 0, 255});
  Fill(red, 0, 0, 8, 8);
  EXPECT_EQ(KvRenderScene(KV_SCENE_PRESENT), 1);
  EXPECT_FALSE(DrawsIntoWindow(target));
  EXPECT_TRUE(Near(At(4, 4), {255, 0, 0, 255})) << At(4, 4);
  // The next frame draws on the kept one, and presenting it keeps both.
  Fill(red, 16, 16, 8, 8);
  EXPECT_EQ(KvRenderScene(KV_SCENE_PRESENT), 1);
  EXPECT_TRUE(Near(At(4, 4), {255, 0, 0, 255})) << At(4, 4);
  EXPECT_TRUE(Near(At(20, 20), {255, 0, 0, 255})) << At(20, 20);
  // A clearing frame end no longer brings it back to the window: its caller keeps frames.
  EXPECT_EQ(KvRenderScene(KV_SCENE_FRAME), 1);
  EXPECT_FALSE(DrawsIntoWindow(target));
  EXPECT_TRUE(Near(At(4, 4), {0, 0, 0, 255})) << At(4, 4);
  KvTextureDestroy(red);
}

TEST_F(WindowDrawing, AnAreaOfAnotherSizeDrawsOffscreenAndTheWindowsSizeComesBack) {
  ASSERT_EQ(KvRenderTargetArea(target, 0, 0, 32, 16, 45.0, -1.0, 1.0, 0.0), 1);
  EXPECT_FALSE(DrawsIntoWindow(target));
  KV_HANDLE white = SolidTexture(2, 2, {255, 255, 255, 255});
  KvCameraOrtho(0, 0, 32, 16, 0);
  Fill(white, 24, 8, 8, 8);
  EXPECT_TRUE(Near(At(28, 12), {255, 255, 255, 255})) << At(28, 12);
  ASSERT_EQ(KvRenderTargetArea(target, 0, 0, kWidth, kHeight, 45.0, -1.0, 1.0, 0.0), 1);
  EXPECT_TRUE(DrawsIntoWindow(target));
  // Rebuilt buffers start cleared.
  EXPECT_TRUE(Near(At(28, 12), {0, 0, 0, 255})) << At(28, 12);
  KvTextureDestroy(white);
}

TEST_F(WindowDrawing, OnlyTargetsTheWindowsBuffersServeDrawIntoThem) {
  KV_HANDLE shallow, without, sharing;
  // One target a window draws there: a second one on the fixture's window draws apart.
  ASSERT_EQ(KvRenderTargetCreate(&sharing, hwnd, KV_FORMAT_OPAQUE, 32, 16), 1);
  EXPECT_FALSE(DrawsIntoWindow(sharing));
  EXPECT_TRUE(DrawsIntoWindow(target));
  KV_HANDLE red = SolidTexture(2, 2, {255, 0, 0, 255});
  KvRenderTargetActivate(sharing);
  KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  Fill(red, 0, 0, kWidth, kHeight);
  EXPECT_TRUE(Near(At(8, 8), {255, 0, 0, 255}));
  KvRenderTargetActivate(target);
  EXPECT_TRUE(Near(At(8, 8), {0, 0, 0, 255})) << At(8, 8);
  // 16 colour bits, and no depth where the window has it: frame buffers of their own.
  HWND second = MakeWindow("Second Window", 16, 16);
  ASSERT_EQ(KvRenderTargetCreate(&shallow, second, KV_FORMAT_OPAQUE, 16, 16), 1);
  EXPECT_FALSE(DrawsIntoWindow(shallow));
  ASSERT_EQ(KvRenderTargetCreate(&without, second, KV_FORMAT_OPAQUE, 32, 0), 1);
  EXPECT_FALSE(DrawsIntoWindow(without));
  for (KV_HANDLE made : {shallow, without, sharing}) KvRenderTargetDestroy(made);
  DestroyWindow(second);
  UnregisterClassA("Second Window", GetModuleHandleA(nullptr));
  KvTextureDestroy(red);
}

TEST_F(WindowDrawing, AWindowMadeLargerDrawsToItsNewCornerWhateverItsBuffersDo) {
  // Some drivers keep a window's buffers at the size it was made at (the offscreen one does);
  // the target then draws into a frame buffer, else into the larger window. Either way the new
  // corner is drawn and read.
  SDL_SetWindowSize(platform::SdlWindowOf(hwnd), 2 * kWidth, 2 * kHeight);
  ASSERT_EQ(KvRenderTargetChange(target, KV_FORMAT_OPAQUE), 1);
  ASSERT_EQ(*static_cast<int32_t*>(KvRenderTargetGet(target, KV_RT_VIEWPORT_W)), 2 * kWidth);
  KV_HANDLE green = SolidTexture(2, 2, {0, 255, 0, 255});
  KvCameraOrtho(0, 0, 2 * kWidth, 2 * kHeight, 0);
  Fill(green, 2 * kWidth - 8, 2 * kHeight - 8, 8, 8);
  EXPECT_TRUE(Near(At(2 * kWidth - 4, 2 * kHeight - 4), {0, 255, 0, 255}))
      << At(2 * kWidth - 4, 2 * kHeight - 4);
  KvTextureDestroy(green);
}

namespace {

SDL_Window* bareWindow = nullptr;
HWND const kBareHandle = reinterpret_cast<HWND>(0x7e57);

// The fixture's window as the window-system layer has it; the bare one for its handle.
SDL_Window* ResolveBare(HWND hwnd) {
  return hwnd == kBareHandle ? bareWindow : platform::SdlWindowOf(hwnd);
}

}  // namespace

TEST_F(WindowDrawing, AWindowWithoutGlIsNeverEnteredItsTargetDrawsIntoAFrameBuffer) {
  // A window made for pictures, as a layered window on a compositing desktop is: GL must never be
  // made current on it, and its target keeps its picture in a frame buffer.
  bareWindow = SDL_CreateWindow("bare", 0, 0, kWidth, kHeight, SDL_WINDOW_HIDDEN);
  ASSERT_NE(bareWindow, nullptr);
  kv::engine::testing::SetWindowResolver(ResolveBare);
  KV_HANDLE bare;
  ASSERT_EQ(KvRenderTargetCreate(&bare, kBareHandle, KV_FORMAT_OPAQUE, 32, 16), 1);
  EXPECT_FALSE(DrawsIntoWindow(bare));
  ASSERT_EQ(KvRenderTargetActivate(bare), 1);
  KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  KV_HANDLE green = SolidTexture(2, 2, {0, 255, 0, 255});
  Fill(green, 0, 0, 8, 8);
  EXPECT_TRUE(Near(At(4, 4), {0, 255, 0, 255})) << At(4, 4);
  // Nothing can be swapped there: vertical sync is refused and a present reports failure.
  EXPECT_EQ(KvRenderVsync(1), 0);
  EXPECT_EQ(KvRenderScene(KV_SCENE_PRESENT), 0);
  EXPECT_TRUE(Near(At(4, 4), {0, 255, 0, 255})) << At(4, 4);
  // The fixture's target still draws into its own window.
  ASSERT_EQ(KvRenderTargetActivate(target), 1);
  EXPECT_TRUE(DrawsIntoWindow(target));
  KvRenderTargetDestroy(bare);
  kv::engine::testing::SetWindowResolver(nullptr);
  SDL_DestroyWindow(bareWindow);
  KvTextureDestroy(green);
}
