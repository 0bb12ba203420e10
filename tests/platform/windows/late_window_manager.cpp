// A window manager for the focus tests that answers late: it maps the windows it is asked to
// map (in a frame of its own with --frames) and lists them in _NET_CLIENT_LIST, and when one
// goes, it waits until the keyboard focus has moved to another window before it answers: it
// sets the focus to PointerRoot, then takes the frame away and the window off its list. That is
// the order in which a manager that hears the unmap after the program's own focus request undoes
// it. It says "ready" on stdout once it manages the screen, and runs until it is ended.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <thread>
#include <vector>

namespace {

Display* display = nullptr;
Window root = None;
bool frames = false;
std::map<Window, Window> managed;  // window -> its frame (itself without frames)
std::vector<Window> listed;

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

void WriteClientList() {
  XChangeProperty(display, root, XInternAtom(display, "_NET_CLIENT_LIST", False), XA_WINDOW, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(listed.data()),
                  static_cast<int>(listed.size()));
}

void Manage(Window window) {
  Window frame = window;
  if (frames) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    frame = XCreateSimpleWindow(display, root, attributes.x, attributes.y,
                                static_cast<unsigned>(attributes.width),
                                static_cast<unsigned>(attributes.height), 0, 0, 0);
    XSelectInput(display, frame, SubstructureRedirectMask | SubstructureNotifyMask);
    XAddToSaveSet(display, window);
    XReparentWindow(display, window, frame, 0, 0);
    XMapWindow(display, frame);
  }
  XMapWindow(display, window);
  managed[window] = frame;
  listed.push_back(window);
  WriteClientList();
  XSync(display, False);
}

// The program gave the keyboard away from the window that went (or the wait ran out).
void AwaitFocusElsewhere(Window gone) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (focus != None && focus != PointerRoot && focus != gone) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void Forget(Window window) {
  auto found = managed.find(window);
  if (found == managed.end()) return;
  AwaitFocusElsewhere(window);
  XSetInputFocus(display, PointerRoot, RevertToPointerRoot, CurrentTime);
  if (found->second != window) XDestroyWindow(display, found->second);
  managed.erase(found);
  listed.erase(std::remove(listed.begin(), listed.end(), window), listed.end());
  WriteClientList();
  XSync(display, False);
}

void Configure(const XConfigureRequestEvent& request) {
  XWindowChanges changes{};
  changes.x = request.x;
  changes.y = request.y;
  changes.width = request.width;
  changes.height = request.height;
  // Stacking requests are left alone: their sibling may be in another frame.
  unsigned mask = request.value_mask & (CWX | CWY | CWWidth | CWHeight);
  auto found = managed.find(request.window);
  if (found != managed.end() && found->second != request.window) {
    XConfigureWindow(display, found->second, mask, &changes);
    changes.x = changes.y = 0;
  }
  XConfigureWindow(display, request.window, mask, &changes);
}

}  // namespace

int main(int argc, char** argv) {
  frames = argc > 1 && std::strcmp(argv[1], "--frames") == 0;
  display = XOpenDisplay(nullptr);
  if (display == nullptr) return 2;
  root = DefaultRootWindow(display);
  XSetErrorHandler(IgnoreErrors);
  XSelectInput(display, root, SubstructureRedirectMask | SubstructureNotifyMask);
  WriteClientList();
  XSync(display, False);
  std::printf("ready\n");
  std::fflush(stdout);
  while (true) {
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case MapRequest: Manage(event.xmaprequest.window); break;
      case ConfigureRequest: Configure(event.xconfigurerequest); break;
      case UnmapNotify: Forget(event.xunmap.window); break;
      case DestroyNotify: Forget(event.xdestroywindow.window); break;
      default: break;
    }
  }
}
