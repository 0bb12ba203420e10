// Windows that the desktop resizes (a tiling window manager, a user dragging an edge, a tool
// such as a test driver): SDL's report goes through the platform's translation, the message
// queue and the window procedure, and the window's stored size and its render target change
// together, so that a frame is drawn at the new size, one pixel for one.
#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "app/window.h"

namespace {

namespace pt = platform::testing;

class DesktopResizeTest : public AppTest {
 protected:
  void TearDown() override {
    window.Destroy();
    second.Destroy();
    AppTest::TearDown();
  }

  // A created window of w x h whose target is current.
  static void Open(KV_WINDOW& opened, const char* title, int w, int h) {
    opened.title = title;
    opened.x = 40;
    opened.y = 30;
    opened.width = w;
    opened.height = h;
    ASSERT_TRUE(opened.Create(KV_HANDLE()));
    ASSERT_TRUE(KvRenderTargetActivate(opened.renderTarget));
  }

  // Takes and hands on every waiting message, as the frame loop does between frames; the number
  // handled.
  static int HandleMessages() {
    MSG msg{};
    int handled = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageA(&msg);
      ++handled;
    }
    return handled;
  }

  static int32_t TargetValue(const KV_WINDOW& of, uint32_t property) {
    auto* value = static_cast<const int32_t*>(KvRenderTargetGet(of.renderTarget, property));
    return value != nullptr ? *value : -1;
  }

  // A frame as a program draws it: cleared, projected one unit to a pixel from the window's
  // stored size (as the central object's OrthoWindow does), with red squares of 10 pixels at
  // (10, 10) and in the bottom-right corner.
  static void DrawFrame(const KV_WINDOW& drawn) {
    KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 1.0);
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    KvCameraOrtho(0, 0, drawn.width, drawn.height, 0);
    KvSetState(KV_STATE_DRAW_COLOR, 1.0, 0.0, 0.0, 1.0);
    Square(10, 10);
    Square((float)drawn.width - 10, (float)drawn.height - 10);
  }
  static void Square(float x, float y) {
    const float corners[] = {x, y, 0, 1, x + 10, y, 0, 1, x + 10, y + 10, 0, 1, x, y + 10, 0, 1};
    KvDrawData(KV_PRIM_QUADS, 0, 4, corners, nullptr, nullptr, nullptr, nullptr, nullptr,
               KV_ELEMENT_FLOAT, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0);
  }
  // The red channel of a pixel of the current target (y down); -1 outside it.
  static int Red(int x, int y) {
    std::vector<uint8_t> p = kv::engine::testing::ReadPixels(x, y, 1, 1);
    return p.size() == 4 && p[3] != 0 ? p[0] : -1;
  }

  KV_WINDOW window;
  KV_WINDOW second;
};

}  // namespace

TEST_F(DesktopResizeTest, AFrameAfterADesktopResizeIsDrawnAtTheNewSizeUnscaled) {
  Open(window, "Resized", 200, 100);
  pt::ResizeByDesktop(window.hwnd, 320, 240);
  EXPECT_EQ(HandleMessages(), 1);  // the one WM_SIZE
  EXPECT_EQ(window.width, 320);
  EXPECT_EQ(window.height, 240);
  EXPECT_EQ(TargetValue(window, KV_RT_VIEWPORT_W), 320);
  EXPECT_EQ(TargetValue(window, KV_RT_VIEWPORT_H), 240);
  EXPECT_EQ(TargetValue(window, KV_RT_FORMAT), KV_FORMAT_OPAQUE);

  DrawFrame(window);
  // Each square covers exactly its ten pixels: nothing is scaled.
  EXPECT_EQ(Red(9, 9), 0);
  EXPECT_EQ(Red(10, 10), 255);
  EXPECT_EQ(Red(19, 19), 255);
  EXPECT_EQ(Red(20, 20), 0);
  EXPECT_EQ(Red(309, 229), 0);
  EXPECT_EQ(Red(310, 230), 255);
  EXPECT_EQ(Red(319, 239), 255);
  // Presenting copies the whole frame; the next one starts at the same size.
  EXPECT_EQ(KvRenderScene(KV_SCENE_FRAME), 1);
  EXPECT_EQ(Red(319, 239), 0);

  // Smaller again: the target shrinks with the window.
  pt::ResizeByDesktop(window.hwnd, 120, 90);
  HandleMessages();
  DrawFrame(window);
  EXPECT_EQ(TargetValue(window, KV_RT_VIEWPORT_W), 120);
  EXPECT_EQ(Red(115, 85), 255);
  EXPECT_EQ(Red(120, 85), -1);
}

TEST_F(DesktopResizeTest, OnlyTheResizedWindowsTargetChangesAndTheCurrentOneStays) {
  KV_WINDOW& first = window;
  Open(first, "Resize First", 160, 120);
  Open(second, "Resize Second", 100, 80);
  ASSERT_TRUE(KvRenderTargetActivate(first.renderTarget));
  std::string id = std::to_string(second.renderTarget.value);
  kv::engine::testing::StartTrace();
  pt::ResizeByDesktop(second.hwnd, 130, 90);
  HandleMessages();
  kv::engine::testing::StopTrace();
  // Sized as Apply sizes a target: re-made in its format, then the whole window as its area.
  EXPECT_TRUE(Traced("KvRenderTargetChange(" + id + ", 81)"));
  EXPECT_TRUE(Traced("KvRenderTargetArea(" + id + ", 0, 0, 130, 90, 45, -1, 1, 0)"));
  EXPECT_TRUE(TracedStartingWith("KvRenderTargetActivate").empty());
  auto* current = static_cast<const KV_HANDLE*>(KvGetState(KV_STATE_RENDER_TARGET));
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current->value, first.renderTarget.value);
  EXPECT_EQ(TargetValue(first, KV_RT_VIEWPORT_W), 160);
  EXPECT_EQ(TargetValue(second, KV_RT_VIEWPORT_W), 130);

  // Drawing goes on into the current target, at its own size.
  DrawFrame(first);
  EXPECT_EQ(Red(155, 115), 255);
}

TEST_F(DesktopResizeTest, SizesTheProgramSetsItselfKeepTheirOwnBehaviour) {
  Open(window, "Program Sized", 200, 100);
  // The program's own resize: Apply sizes the target, and the desktop's echo of it is no news.
  window.width = 260;
  window.height = 140;
  window.Apply();
  EXPECT_EQ(HandleMessages(), 0);
  EXPECT_EQ(TargetValue(window, KV_RT_VIEWPORT_W), 260);
  EXPECT_EQ(TargetValue(window, KV_RT_VIEWPORT_H), 140);

  // A target area the program chose itself stays while the desktop leaves the window alone.
  ASSERT_TRUE(KvRenderTargetArea(window.renderTarget, 0, 0, 130, 70, 45.0, -1.0, 1.0, 0.0));
  HandleMessages();
  KvRenderScene(KV_SCENE_FRAME);
  EXPECT_EQ(TargetValue(window, KV_RT_VIEWPORT_W), 130);

  // A minimised window keeps the size it comes back with, and so does its target.
  KvWindowProc(window.hwnd, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
  EXPECT_EQ(window.width, 260);
  EXPECT_EQ(TargetValue(window, KV_RT_VIEWPORT_W), 130);
}
