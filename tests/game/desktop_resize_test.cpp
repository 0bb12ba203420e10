// The game's window resized by the desktop while the game runs (a tiling window manager, a
// user dragging an edge): the arena goes on being drawn one pixel for one, in the window's
// top-left corner, with the rest of the larger window dark; nothing is stretched.
#include "game_fixture.h"

namespace {

class DesktopResizeGameTest : public GameTest {};

}  // namespace

TEST_F(DesktopResizeGameTest, TheArenaStaysUnscaledInAWindowTheDesktopMadeLarger) {
  int targetWidth = 0, targetHeight = 0;
  int rightWall = 0, bottomWall = 0, beyondRight = -1, beyondBottom = -1, cutTiles = 0;
  RunProgram([&](int frame) {
    KV_WINDOW* window = Core.windows.GetValue("main");
    if (frame == 1) {
      platform::testing::ResizeByDesktop(window->GetHandle(), 1000, 700);
    } else if (frame == 2) {
      KeepNextFrame();
    } else if (frame == 3) {
      // Frame 2, kept: the right column of wall tiles at x 784..799 and the bottom row at
      // y 584..599, as at 800 x 600; nothing right of x 800, and below y 600 only the
      // columns' last tiles (at y 592), which the 800 x 600 window cut off.
      targetWidth =
          *static_cast<int32_t*>(KvRenderTargetGet(window->renderTarget, KV_RT_VIEWPORT_W));
      targetHeight =
          *static_cast<int32_t*>(KvRenderTargetGet(window->renderTarget, KV_RT_VIEWPORT_H));
      rightWall = LitPixels(784, 100, 16, 400);
      bottomWall = LitPixels(100, 584, 600, 16);
      beyondRight = LitPixels(800, 0, 200, 700);
      beyondBottom = LitPixels(0, 608, 1000, 92);
      cutTiles = LitPixels(0, 600, 800, 8);
      Core.Quit();
    }
  });
  EXPECT_EQ(targetWidth, 1000);
  EXPECT_EQ(targetHeight, 700);
  EXPECT_GT(rightWall, 16 * 400 / 2);
  EXPECT_GT(bottomWall, 600 * 16 / 2);
  EXPECT_EQ(beyondRight, 0);
  EXPECT_EQ(beyondBottom, 0);
  EXPECT_EQ(cutTiles, 2 * 16 * 8);
}
