// Watching a window manager finish with a window that left the screen, on a connection of its
// own to SDL's X server, so that what it selects never mixes with SDL's event handling.
#include "platform/display/x_focus.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

struct LeavingWatch {
  Display* display = nullptr;
  bool unavailable = false;
  Window root = None;
  Atom clientList = None;
  bool active = false;
  Window client = None;  // the window that leaves
  Window frame = None;   // the manager's frame around it; None when it has none
  bool frameGone = true;
  bool listed = false;  // still in the manager's client list
};

LeavingWatch& Watch() {
  static LeavingWatch watch;
  return watch;
}

XErrorHandler previousHandler = nullptr;

// The windows watched may go at any moment between a question and its answer; the errors that
// come of it on this connection are expected and dropped. Others go on as before.
int DropWatchErrors(Display* display, XErrorEvent* error) {
  if (display == Watch().display) return 0;
  return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

bool Connect(SDL_Window* window, Window* xwindow) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return false;
  *xwindow = info.info.x11.window;
  LeavingWatch& watch = Watch();
  if (watch.display != nullptr) return true;
  if (watch.unavailable) return false;
  watch.display = XOpenDisplay(DisplayString(info.info.x11.display));
  if (watch.display == nullptr) {
    std::fprintf(stderr,
                 "%s: cannot open a second connection to the display: a window manager that "
                 "moves the focus late when a window closes may leave the keyboard nowhere\n",
                 program_invocation_short_name);
    watch.unavailable = true;
    return false;
  }
  previousHandler = XSetErrorHandler(DropWatchErrors);
  watch.root = DefaultRootWindow(watch.display);
  watch.clientList = XInternAtom(watch.display, "_NET_CLIENT_LIST", False);
  return true;
}

// A window manager redirects the root window's children's map and configure requests.
bool ManagerRuns(Display* display, Window root) {
  XWindowAttributes attributes;
  return XGetWindowAttributes(display, root, &attributes) &&
         (attributes.all_event_masks & SubstructureRedirectMask) != 0;
}

// The child of the root window that holds the window: its frame, or the window itself.
Window TopLevelOf(Display* display, Window window) {
  Window root = None, parent = None, *children = nullptr;
  unsigned int count = 0;
  while (XQueryTree(display, window, &root, &parent, &children, &count)) {
    if (children != nullptr) XFree(children);
    children = nullptr;
    if (parent == None || parent == root) break;
    window = parent;
  }
  return window;
}

bool ClientListHolds(const LeavingWatch& watch, Window window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool holds = false;
  if (XGetWindowProperty(watch.display, watch.root, watch.clientList, 0, 4096, False, XA_WINDOW,
                         &type, &format, &count, &after, &data) == Success &&
      type == XA_WINDOW && format == 32) {
    const auto* windows = reinterpret_cast<const unsigned long*>(data);
    for (unsigned long i = 0; i < count && !holds; ++i) holds = windows[i] == window;
  }
  if (data != nullptr) XFree(data);
  return holds;
}

void Take(LeavingWatch& watch, const XEvent& event) {
  const bool frameEnds =
      (event.type == DestroyNotify && event.xdestroywindow.window == watch.frame) ||
      (event.type == UnmapNotify && event.xunmap.window == watch.frame);
  if (frameEnds) watch.frameGone = true;
  if (event.type == PropertyNotify && event.xproperty.atom == watch.clientList && watch.listed)
    watch.listed = ClientListHolds(watch, watch.client);
}

}  // namespace

bool WatchLeaving(SDL_Window* leaving) {
  StopWatchingLeaving();
  Window client = None;
  if (!Connect(leaving, &client)) return false;
  LeavingWatch& watch = Watch();
  if (!ManagerRuns(watch.display, watch.root)) return false;
  Window top = TopLevelOf(watch.display, client);
  watch.client = client;
  watch.frame = top != client ? top : None;
  watch.frameGone = watch.frame == None;
  watch.listed = ClientListHolds(watch, client);
  if (watch.frame != None) XSelectInput(watch.display, watch.frame, StructureNotifyMask);
  XSelectInput(watch.display, watch.root, PropertyChangeMask);
  // The watch is in place at the server before SDL's connection asks for the window to go.
  XSync(watch.display, False);
  watch.active = true;
  return true;
}

bool LeavingAnswered() {
  LeavingWatch& watch = Watch();
  if (!watch.active) return true;
  while (XPending(watch.display) > 0) {
    XEvent event;
    XNextEvent(watch.display, &event);
    Take(watch, event);
  }
  // A manager that neither frames nor lists its windows gives no sign: the window's own leaving,
  // done before the watch is read, is all there is.
  if (!watch.frameGone || watch.listed) return false;
  StopWatchingLeaving();
  return true;
}

bool KeyboardNowhere() {
  LeavingWatch& watch = Watch();
  if (watch.display == nullptr) return false;
  Window focus = None;
  int revert = 0;
  XGetInputFocus(watch.display, &focus, &revert);
  return focus == None || focus == PointerRoot || focus == watch.root;
}

void StopWatchingLeaving() {
  LeavingWatch& watch = Watch();
  if (!watch.active) return;
  watch.active = false;
  if (watch.frame != None) XSelectInput(watch.display, watch.frame, NoEventMask);
  XSelectInput(watch.display, watch.root, NoEventMask);
  XSync(watch.display, True);
  watch.frame = watch.client = None;
}

}  // namespace platform
