// Watching the compositing manager's selection. XFixes tells a client that selected it each time
// a selection changes hands, with the new owner (None when it is let go): the arrival of a
// compositor is one event on the desktop connection, read when messages are pumped.
#include "platform/display/x_compositor.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <string>

#include "platform/display/x_desktop.h"
#include "platform/windows/window_visual.h"

namespace platform {
namespace {

struct CompositorWatch {
  bool tried = false;
  bool watching = false;
  int eventBase = 0;  // XFixes' first event number on the desktop connection
  Atom selection = None;
};

CompositorWatch& Watch() {
  static CompositorWatch watch;
  return watch;
}

// Selection events came with the extension's first version.
bool HasSelectionEvents(Display* display, int* eventBase) {
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  return XFixesQueryExtension(display, eventBase, &errorBase) &&
         XFixesQueryVersion(display, &major, &minor) && major >= 1;
}

}  // namespace

bool WatchCompositor() {
  CompositorWatch& watch = Watch();
  if (watch.tried) return watch.watching;
  watch.tried = true;
  Display* display = DesktopDisplay();
  if (display == nullptr || !HasSelectionEvents(display, &watch.eventBase)) return false;
  const int screen = DefaultScreen(display);
  const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
  watch.selection = XInternAtom(display, name.c_str(), False);
  // Only a new owner matters: a window given the alpha visual keeps it when the compositor goes.
  XFixesSelectSelectionInput(display, RootWindow(display, screen), watch.selection,
                             XFixesSetSelectionOwnerNotifyMask);
  XFlush(display);
  watch.watching = true;
  return true;
}

bool TakeCompositorEvent(const XEvent& event) {
  const CompositorWatch& watch = Watch();
  if (!watch.watching || event.type != watch.eventBase + XFixesSelectionNotify) return false;
  const auto& notify = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
  if (notify.selection != watch.selection) return false;
  if (notify.owner != None) FitVisualsToCompositor();
  return true;
}

}  // namespace platform
