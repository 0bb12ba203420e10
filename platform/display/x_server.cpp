// The questions put to the X server. SDL's X11 driver keeps its own copies of the keyboard and
// the pointer, which go stale exactly where they matter: it lets go of every key when a window
// loses the focus, and it refreshes the pointer only on raw input, so motion that arrives as
// absolute motion (XTEST, remote desktops, some tablets) leaves it where it was.
#include "platform/display/x_server.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/display/x_keysym_table.h"
#include "platform/windows/window_table.h"

namespace platform {
namespace {

// The headless drivers have no keyboard or pointer of their own to ask: SDL's copies are the
// whole truth there, and nothing needs saying.
bool Headless(const char* driver) {
  return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

// One line, once, for a real display that cannot be asked: what the program does instead.
void ReportUnaskable(const char* driver) {
  static bool reported = false;
  if (reported || Headless(driver)) return;
  reported = true;
  std::fprintf(stderr,
               "%s: the %s display does not tell which keys are held or where the pointer is: "
               "keys held across a focus change are let go by time, the pointer is SDL's\n",
               program_invocation_short_name, driver);
}

// SDL's connection to the X server, found through any window of the program (SDL opens one
// connection and keeps it while video runs, which is until the process ends); null when the
// driver is not X11 or no window exists yet.
Display* ServerDisplay() {
  static Display* display = nullptr;
  if (display != nullptr) return display;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) return nullptr;
  if (std::strcmp(driver, "x11") != 0) {
    ReportUnaskable(driver);
    return nullptr;
  }
  for (auto& [id, window] : Windows()) {
    if (window->sdl == nullptr) continue;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window->sdl, &info) && info.subsystem == SDL_SYSWM_X11) {
      display = info.info.x11.display;
      break;
    }
  }
  return display;
}

// Whether any X key that bears the symbol is down in the server's key map.
bool SymbolDown(Display* display, const char keymap[32], unsigned long keysym) {
  if (keysym == 0) return false;
  KeyCode code = XKeysymToKeycode(display, keysym);
  return code != 0 && (keymap[code / 8] & (1 << (code % 8))) != 0;
}

// The X key of an SDL key is found by the symbol that the layout gives it, as SDL found the
// key's code from the same layout.
bool KeyDown(Display* display, const char keymap[32], SDL_Scancode scancode) {
  XKeysyms keysyms = XKeysymsOfKey(SDL_GetKeyFromScancode(scancode));
  return SymbolDown(display, keymap, keysyms.usual) || SymbolDown(display, keymap, keysyms.other);
}

}  // namespace

bool QueryServerKeymap(ServerKeymap& keymap) {
  Display* display = ServerDisplay();
  if (display == nullptr) return false;
  XQueryKeymap(display, keymap.keys);
  return true;
}

bool ServerKeyDown(const ServerKeymap& keymap, SDL_Scancode scancode) {
  Display* display = ServerDisplay();
  return display != nullptr && KeyDown(display, keymap.keys, scancode);
}

bool QueryServerPointer(POINT& where) {
  Display* display = ServerDisplay();
  if (display == nullptr) return false;
  Window root = 0;
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  int windowX = 0;
  int windowY = 0;
  unsigned int buttons = 0;
  if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX,
                     &windowY, &buttons)) {
    return false;
  }
  where = POINT{rootX, rootY};
  return true;
}

}  // namespace platform
