// Shared set-up of the GUI tests driven from the desktop: a real window of the framework at
// (200, 100) with the GUI attached, the real frame loop run through a script of steps (each
// frame runs the GUI's part of the frame, then its step injects the events the next frame sees),
// mouse steps at GUI coordinates, and a GUI window holding a button whose notifications are
// heard.
#pragma once

#include <functional>
#include <vector>

#include "app/loop.h"
#include "composite_fixture.h"

class DesktopGuiTest : public CompositeTest {
 protected:
  // Creates the desktop window of width x height and attaches the GUI to it.
  void OpenDesktop(const char* title, int width, int height) {
    desktop.title = title;
    desktop.x = 200;
    desktop.y = 100;
    desktop.width = width;
    desktop.height = height;
    ASSERT_TRUE(desktop.Create(KV_HANDLE()));
    gui->Attach(&desktop);
    KV_LOOP::Instance().frameTime = 0.02f;
  }
  void TearDown() override {
    desktop.Destroy();
    CompositeTest::TearDown();
  }

  // What a frame does after the GUI's part and before its step; nothing unless a test draws.
  virtual void DrawFrame() {}

  // Runs the real frame loop for one frame per step, and one more that ends it.
  void Run(std::vector<std::function<void()>> steps) {
    script = std::move(steps);
    current = this;
    frame = 0;
    KV_LOOP::Instance().Run(LoopFrame, 0);
  }

  // The mouse in the desktop window at GUI coordinates: moved there, pressed, released, dragged.
  std::function<void()> MoveTo(int x, int y) {
    HWND hwnd = desktop.hwnd;
    return [=] { platform::testing::InjectMouseMotion(hwnd, x, y); };
  }
  std::function<void()> Down(int x, int y) {
    HWND hwnd = desktop.hwnd;
    return [=] { platform::testing::InjectMouseButton(hwnd, SDL_BUTTON_LEFT, true, x, y); };
  }
  std::function<void()> Up(int x, int y) {
    HWND hwnd = desktop.hwnd;
    return [=] { platform::testing::InjectMouseButton(hwnd, SDL_BUTTON_LEFT, false, x, y); };
  }
  std::function<void()> DragTo(int x, int y) {
    HWND hwnd = desktop.hwnd;
    return [=] { platform::testing::InjectMouseMotion(hwnd, x, y, SDL_BUTTON_LMASK); };
  }

  // A GUI window (its title bar 24 high) at position of size, with an "OK" button of 80 x 20 at
  // (10, 10) of its client area whose notifications Hear records. Its client area; null (and
  // a failure) when either cannot be made.
  CONTROL* WindowWithButton(KV_VECTOR position, KV_VECTOR size) {
    KV_HANDLE icon = {};
    CONTROL* client =
        gui->CreateWindow("sk", "w", "Title", position, size, 1, icon, 0, 0, 0, 0, nullptr);
    EXPECT_NE(client, nullptr);
    if (client == nullptr) return nullptr;
    auto* button = dynamic_cast<C_GUI_CONTROL*>(gui->CreateButton(
        "sk", "ok", "OK", KV_VECTOR(10, 10, 0, 1), KV_VECTOR(80, 20, 0, 1), icon, client));
    EXPECT_NE(button, nullptr);
    if (button == nullptr) return nullptr;
    button->EventProc = Hear;
    return client;
  }

  KV_WINDOW desktop;

 private:
  static void LoopFrame(HWND, uintptr_t) {
    DesktopGuiTest& test = *current;
    test.CompositeTest::Frame();
    test.DrawFrame();
    if (test.frame < test.script.size()) {
      test.script[test.frame++]();
    } else {
      KV_LOOP::Instance().running = 0;
    }
  }

  std::vector<std::function<void()>> script;
  size_t frame = 0;
  inline static DesktopGuiTest* current = nullptr;
};
