// Shared set-up of the platform tests that run on an X server of their own (run_on_x_server.py):
// the platform reset around each test, and a connection of the test's own to the same server,
// which watches what the platform tells the desktop. Waits end as soon as what they wait for is
// there; their limit only ends a test that would otherwise hang.
#pragma once

#include "platform/platform_fixture.h"
#include "platform/display/video.h"
#include "platform/windows/sdl_window.h"

#include <SDL2/SDL_syswm.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class XServerTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    ASSERT_TRUE(platform::VideoReady());
    const char* driver = SDL_GetCurrentVideoDriver();
    ASSERT_STREQ(driver, "x11") << "run through tests/run_on_x_server.py";
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    root = DefaultRootWindow(display);
  }
  void TearDown() override {
    if (display != nullptr) XCloseDisplay(display);
    PlatformTest::TearDown();
  }

  // The X window behind a platform window.
  static Window XWindowOf(HWND hwnd) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(platform::SdlWindowOf(hwnd), &info)) return 0;
    return info.info.x11.window;
  }

  Atom AtomNamed(const char* name) { return XInternAtom(display, name, False); }

  // The atoms of a window's property of type ATOM; empty when it has none.
  std::vector<Atom> AtomsOf(Window window, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<Atom> atoms;
    if (XGetWindowProperty(display, window, property, 0, 64, False, XA_ATOM, &type, &format, &count,
                           &after, &data) == Success &&
        format == 32) {
      atoms.assign(reinterpret_cast<Atom*>(data), reinterpret_cast<Atom*>(data) + count);
    }
    if (data != nullptr) XFree(data);
    return atoms;
  }

  // Takes the test connection's events, and lets the platform take its messages, until done
  // says so; false after ten seconds.
  bool WaitFor(const std::function<bool(const XEvent*)>& done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      Drain();
      XSync(display, False);
      while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (done(&event)) return true;
      }
      if (done(nullptr)) return true;
      SDL_Delay(5);
    }
    return false;
  }

  Display* display = nullptr;
  Window root = 0;
};
