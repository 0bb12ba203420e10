// The EWMH window state on SDL's own connection, so that it follows SDL's requests for the same
// window in order.
#include "platform/display/x_window_state.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

namespace platform {
namespace {

constexpr long kStateRemove = 0;        // _NET_WM_STATE_REMOVE
constexpr long kStateAdd = 1;           // _NET_WM_STATE_ADD
constexpr long kNormalApplication = 1;  // the source of the request: an application

struct StateAtoms {
  Atom state;
  Atom skipTaskbar;
  Atom skipPager;
};

StateAtoms AtomsOf(Display* display) {
  return StateAtoms{XInternAtom(display, "_NET_WM_STATE", False),
                    XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False),
                    XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False)};
}

void AskWindowManager(Display* display, Window window, const StateAtoms& atoms, bool shown) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = atoms.state;
  event.xclient.format = 32;
  event.xclient.data.l[0] = shown ? kStateRemove : kStateAdd;
  event.xclient.data.l[1] = static_cast<long>(atoms.skipTaskbar);
  event.xclient.data.l[2] = static_cast<long>(atoms.skipPager);
  event.xclient.data.l[3] = kNormalApplication;
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

// The window's state as it is, without the two skip entries.
std::vector<Atom> StateWithoutSkips(Display* display, Window window, const StateAtoms& atoms) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  std::vector<Atom> state;
  if (XGetWindowProperty(display, window, atoms.state, 0, 64, False, XA_ATOM, &type, &format,
                         &count, &after, &data) == Success &&
      type == XA_ATOM && format == 32) {
    const auto* entries = reinterpret_cast<const Atom*>(data);
    state.assign(entries, entries + count);
  }
  if (data != nullptr) XFree(data);
  std::erase_if(state,
                [&](Atom entry) { return entry == atoms.skipTaskbar || entry == atoms.skipPager; });
  return state;
}

void WriteState(Display* display, Window window, const StateAtoms& atoms, bool shown) {
  std::vector<Atom> state = StateWithoutSkips(display, window, atoms);
  if (!shown) {
    state.push_back(atoms.skipTaskbar);
    state.push_back(atoms.skipPager);
  }
  XChangeProperty(display, window, atoms.state, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(state.data()),
                  static_cast<int>(state.size()));
}

constexpr long kStackAbove = 0;  // Above, the detail of a restack request

bool X11WindowOf(SDL_Window* window, SDL_SysWMinfo* info) {
  SDL_VERSION(&info->version);
  return window != nullptr && SDL_GetWindowWMInfo(window, info) && info->subsystem == SDL_SYSWM_X11;
}

Window ParentOf(Display* display, Window window) {
  Window root = None, parent = None, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return None;
  if (children != nullptr) XFree(children);
  return parent;
}

void AskRestack(Display* display, Window window, Window sibling) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "_NET_RESTACK_WINDOW", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = kNormalApplication;
  event.xclient.data.l[1] = static_cast<long>(sibling);
  event.xclient.data.l[2] = kStackAbove;
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

}  // namespace

void StackAbove(SDL_Window* window, SDL_Window* sibling) {
  SDL_SysWMinfo info, siblingInfo;
  if (!X11WindowOf(window, &info) || !X11WindowOf(sibling, &siblingInfo)) return;
  Display* display = info.info.x11.display;
  const Window root = DefaultRootWindow(display);
  const Window x = info.info.x11.window, below = siblingInfo.info.x11.window;
  // A sibling that is not one in the server's tree would be an error, which ends the process.
  if (ParentOf(display, x) == root && ParentOf(display, below) == root) {
    XWindowChanges changes{};
    changes.sibling = below;
    changes.stack_mode = Above;
    XConfigureWindow(display, x, CWSibling | CWStackMode, &changes);
  } else {
    AskRestack(display, x, below);
  }
  XFlush(display);
}

void SetTaskbarButton(SDL_Window* window, bool shown, bool mapped) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return;
  Display* display = info.info.x11.display;
  StateAtoms atoms = AtomsOf(display);
  if (mapped) {
    AskWindowManager(display, info.info.x11.window, atoms, shown);
  } else {
    WriteState(display, info.info.x11.window, atoms, shown);
  }
  XFlush(display);
}

}  // namespace platform
