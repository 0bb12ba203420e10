// The desktop connection: one connection of the program's own beside SDL's, shared by everything
// that watches the desktop, so that a program pumps one connection however much it watches.
#include "platform/display/x_desktop.h"

#include <SDL2/SDL_syswm.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/display/x_compositor.h"
#include "platform/display/x_layered.h"
#include "platform/display/x_tray.h"
#include "platform/windows/window_table.h"

namespace platform {
namespace {

struct DesktopConnection {
  Display* display = nullptr;
  bool unavailable = false;  // the display could not be opened: nothing is watched
};

DesktopConnection& Desktop() {
  static DesktopConnection desktop;
  return desktop;
}

XErrorHandler previousHandler = nullptr;

// What is watched may go at any moment, between a question and its answer; the errors that come
// of it on this connection are expected, and dropped. Others go on as before.
int DropDesktopErrors(Display* display, XErrorEvent* error) {
  if (display == Desktop().display) return 0;
  return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

// The name of the display SDL opened, through any window of the program. Before the first
// window there is none to ask: SDL's X11 driver opened the display that DISPLAY names, which an
// empty name opens too.
std::string SdlDisplayName() {
  for (auto& [id, window] : Windows()) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window->sdl != nullptr && SDL_GetWindowWMInfo(window->sdl, &info) &&
        info.subsystem == SDL_SYSWM_X11)
      return DisplayString(info.info.x11.display);
  }
  return {};
}

}  // namespace

Display* DesktopDisplay() {
  DesktopConnection& desktop = Desktop();
  if (desktop.display != nullptr || desktop.unavailable || !X11Video()) return desktop.display;
  std::string name = SdlDisplayName();
  desktop.display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
  if (desktop.display == nullptr) {
    std::fprintf(stderr,
                 "%s: cannot open a second connection to the display: tray icons are not shown, "
                 "and a compositing manager that starts later is not followed\n",
                 program_invocation_short_name);
    desktop.unavailable = true;
    return nullptr;
  }
  previousHandler = XSetErrorHandler(DropDesktopErrors);
  return desktop.display;
}

void PumpDesktopEvents() {
  Display* display = Desktop().display;
  if (display == nullptr) return;
  // XPending sends what waits and reads what has arrived, without waiting for more.
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (!TakeCompositorEvent(event)) TakeTrayEvent(event);
  }
}

}  // namespace platform
