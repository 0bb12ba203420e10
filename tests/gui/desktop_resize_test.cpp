// A GUI on a real window that the desktop resizes: SDL's report goes through the platform's
// translation, the message queue, the real frame loop and the window procedure. The GUI window
// docked to the bottom-right corner moves to the new corner, is drawn there (its clip counted
// from the new height on a target of the new height, so not black), and takes clicks there.
#include <vector>

#include "desktop_fixture.h"

namespace {

namespace pt = platform::testing;

class DesktopResizeGuiTest : public DesktopGuiTest {
 protected:
  void SetUp() override {
    DesktopGuiTest::SetUp();
    OpenDesktop("Resized GUI", 400, 300);
    ASSERT_TRUE(KvRenderTargetActivate(desktop.renderTarget));
  }
  void TearDown() override {
    gui->DestroyAll();
    DesktopGuiTest::TearDown();
  }

  // Draws the frame as a program does (black, then the GUI in a projection of the window's
  // stored size) and presents without clearing, so the last frame stays readable.
  void DrawFrame() override {
    KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 1.0);
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    KvCameraOrtho(0, 0, desktop.width, desktop.height, 0);
    gui->Draw(0);
    KvRenderScene(KV_SCENE_PRESENT);
  }

  // The brightness (r + g + b) of a pixel of the desktop window's frame; -1 outside it.
  static int Brightness(int x, int y) {
    std::vector<uint8_t> p = kv::engine::testing::ReadPixels(x, y, 1, 1);
    return p.size() == 4 && p[3] != 0 ? p[0] + p[1] + p[2] : -1;
  }
};

constexpr int kWhite = 3 * 255;

}  // namespace

TEST_F(DesktopResizeGuiTest, AWindowDockedToTheCornerIsDrawnAndClickedAtTheNewCorner) {
  // A GUI window of 200 x 120 (its title bar 24 high, every skin part plain white) docked inside
  // the bottom-right corner, with a button at (10, 10) of its client area.
  CONTROL* client = WindowWithButton(KV_VECTOR(0, 0, 0, 1), KV_VECTOR(200, 120, 0, 1));
  ASSERT_NE(client, nullptr);
  CONTROL* window = client->GetParent();
  window->Behaviour |= KV_GUI::DOCK_TO_EDGE_RIGHT_INSIDE | KV_GUI::DOCK_TO_EDGE_BOTTOM_INSIDE;

  // At 400 x 300 the window spans (200, 180)-(400, 300); at 640 x 480, (440, 360)-(640, 480),
  // with the button at (450, 394)-(530, 414).
  float before = 0;
  Run({
      [&] { before = window->Position.x; },
      [&] { pt::ResizeByDesktop(desktop.hwnd, 640, 480); },
      MoveTo(460, 400),
      Down(460, 400),
      Up(460, 400),
  });
  EXPECT_FLOAT_EQ(before, 200);
  EXPECT_EQ(desktop.width, 640);
  EXPECT_EQ(desktop.height, 480);
  EXPECT_FLOAT_EQ(window->Position.x, 440);
  EXPECT_FLOAT_EQ(window->Position.y, 360);
  EXPECT_EQ(Heard(), (std::vector<uint32_t>{KV_GUI::BUTTON_ENTERED, KV_GUI::BUTTON_CLICKED}));

  // Drawn at the new corner, to its last pixel, and nowhere else: nothing stretched, nothing
  // left at the old place.
  EXPECT_EQ(Brightness(440, 360), kWhite);
  EXPECT_EQ(Brightness(540, 420), kWhite);
  EXPECT_EQ(Brightness(639, 479), kWhite);
  EXPECT_EQ(Brightness(439, 420), 0);
  EXPECT_EQ(Brightness(540, 359), 0);
  EXPECT_EQ(Brightness(399, 299), 0);
  EXPECT_EQ(Brightness(300, 240), 0);
}
