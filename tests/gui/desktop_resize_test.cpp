// A GUI on a real window that the desktop resizes: SDL's report goes through the platform's
// translation, the message queue, the real frame loop and the window procedure. The GUI window
// docked to the bottom-right corner moves to the new corner, is drawn there (its clip counted
// from the new height on a target of the new height, so not black), and takes clicks there.
#include <functional>
#include <vector>

#include "app/loop.h"
#include "composite_fixture.h"

namespace {

namespace pt = platform::testing;

class DesktopResizeGuiTest : public CompositeTest {
 protected:
  void SetUp() override {
    CompositeTest::SetUp();
    desktop.title = "Resized GUI";
    desktop.x = 200;
    desktop.y = 100;
    desktop.width = 400;
    desktop.height = 300;
    ASSERT_TRUE(desktop.Create(KV_HANDLE()));
    ASSERT_TRUE(KvRenderTargetActivate(desktop.renderTarget));
    gui->Attach(&desktop);
    KV_LOOP::Instance().frameTime = 0.02f;
  }
  void TearDown() override {
    gui->DestroyAll();
    desktop.Destroy();
    CompositeTest::TearDown();
  }

  // Runs the real frame loop: each frame runs the GUI's part of the frame and draws it as a
  // program does (black, then the GUI in a projection of the window's stored size) and
  // presents without clearing, so the last frame stays readable; then the frame's step runs.
  void Run(std::vector<std::function<void()>> steps) {
    script = std::move(steps);
    current = this;
    frame = 0;
    KV_LOOP::Instance().Run(Frame, 0);
  }

  static void Frame(HWND, uintptr_t) {
    DesktopResizeGuiTest& test = *current;
    test.CompositeTest::Frame();
    KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 1.0);
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    KvCameraOrtho(0, 0, test.desktop.width, test.desktop.height, 0);
    test.gui->Draw(0);
    KvRenderScene(KV_SCENE_PRESENT);
    if (test.frame < test.script.size()) {
      test.script[test.frame++]();
    } else {
      KV_LOOP::Instance().running = 0;
    }
  }

  std::function<void()> Click(int x, int y, bool down) {
    HWND hwnd = desktop.hwnd;
    return [=] { pt::InjectMouseButton(hwnd, SDL_BUTTON_LEFT, down, x, y); };
  }

  // The brightness (r + g + b) of a pixel of the desktop window's frame; -1 outside it.
  static int Brightness(int x, int y) {
    std::vector<uint8_t> p = kv::engine::testing::ReadPixels(x, y, 1, 1);
    return p.size() == 4 && p[3] != 0 ? p[0] + p[1] + p[2] : -1;
  }

  KV_WINDOW desktop;
  std::vector<std::function<void()>> script;
  size_t frame = 0;
  static DesktopResizeGuiTest* current;
};

DesktopResizeGuiTest* DesktopResizeGuiTest::current = nullptr;

constexpr int kWhite = 3 * 255;

}  // namespace

TEST_F(DesktopResizeGuiTest, AWindowDockedToTheCornerIsDrawnAndClickedAtTheNewCorner) {
  KV_HANDLE icon = {};
  // A GUI window of 200 x 120 (its title bar 24 high, every skin part plain white) docked inside
  // the bottom-right corner, with a button at (10, 10) of its client area.
  CONTROL* client = gui->CreateWindow("sk", "w", "Title", KV_VECTOR(0, 0, 0, 1),
                                      KV_VECTOR(200, 120, 0, 1), 1, icon, 0, 0, 0, 0, nullptr);
  ASSERT_NE(client, nullptr);
  CONTROL* window = client->GetParent();
  window->Behaviour |= KV_GUI::DOCK_TO_EDGE_RIGHT_INSIDE | KV_GUI::DOCK_TO_EDGE_BOTTOM_INSIDE;
  auto* button = dynamic_cast<C_GUI_CONTROL*>(gui->CreateButton(
      "sk", "ok", "OK", KV_VECTOR(10, 10, 0, 1), KV_VECTOR(80, 20, 0, 1), icon, client));
  ASSERT_NE(button, nullptr);
  button->EventProc = Hear;

  // At 400 x 300 the window spans (200, 180)-(400, 300); at 640 x 480, (440, 360)-(640, 480),
  // with the button at (450, 394)-(530, 414).
  float before = 0;
  Run({
      [&] { before = window->Position.x; },
      [&] { pt::ResizeByDesktop(desktop.hwnd, 640, 480); },
      [this] { pt::InjectMouseMotion(desktop.hwnd, 460, 400); },
      Click(460, 400, true),
      Click(460, 400, false),
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
