// The X tray. A host owns the selection _NET_SYSTEM_TRAY_S<screen>; an icon docks by sending it
// a dock request that names the icon window, which carries _XEMBED_INFO so that the host maps
// it once embedded. A host that starts announces itself with a MANAGER message on the root
// window; one that ends is seen by its window's DestroyNotify. Icon windows belong to this
// connection, so when the process ends, however it ends, the server destroys them and no host
// keeps an icon of a program that is gone.
#include "platform/display/x_tray.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/display/x_desktop.h"
#include "platform/display/x_tray_image.h"
#include "platform/shell/tray.h"
#include "platform/shell/tray_clicks.h"
#include "platform/text/code_page.h"

namespace platform {
namespace {

constexpr long kRequestDock = 0;    // SYSTEM_TRAY_REQUEST_DOCK
constexpr long kXEmbedVersion = 0;  // the protocol version the icon speaks
constexpr long kXEmbedMapped = 1;   // XEMBED_MAPPED: the host maps the icon once embedded
constexpr int kFirstSize = 24;      // an icon's size until its host gives it one

enum AtomName { kManager, kOpcode, kXEmbedInfo, kTrayVisual, kNetWmName, kUtf8, kAtomCount };
const char* const kAtomNames[kAtomCount] = {"MANAGER",      "_NET_SYSTEM_TRAY_OPCODE",
                                            "_XEMBED_INFO", "_NET_SYSTEM_TRAY_VISUAL",
                                            "_NET_WM_NAME", "UTF8_STRING"};

struct IconWindow {
  HWND hwnd;
  UINT id;
  Window window = None;
  unsigned shownRevision = 0;  // the record's revision the window shows
  int width = kFirstSize;
  int height = kFirstSize;
};

struct XTray {
  Display* display = nullptr;  // the desktop connection, once the tray has taken it
  Window root = None;
  Atom selection = None;
  Atom atoms[kAtomCount] = {};
  Window host = None;
  IconLook look;
  std::vector<IconWindow> icons;
};

XTray& Tray() {
  static XTray tray;
  return tray;
}

// ---- the connection ----------------------------------------------------------------------

// Takes the desktop connection for the tray, once: hosts announce themselves to the root
// window's structure listeners.
bool Connect() {
  XTray& tray = Tray();
  if (tray.display != nullptr) return true;
  tray.display = DesktopDisplay();
  if (tray.display == nullptr) return false;
  int screen = DefaultScreen(tray.display);
  tray.root = RootWindow(tray.display, screen);
  std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
  tray.selection = XInternAtom(tray.display, selection.c_str(), False);
  XInternAtoms(tray.display, const_cast<char**>(kAtomNames), kAtomCount, False, tray.atoms);
  XSelectInput(tray.display, tray.root, StructureNotifyMask);
  return true;
}

// ---- the host -------------------------------------------------------------------------------

// The visual a host asks icons to use; 0 when it names none.
VisualID HostVisual(Window host) {
  XTray& tray = Tray();
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  VisualID visual = 0;
  if (XGetWindowProperty(tray.display, host, tray.atoms[kTrayVisual], 0, 1, False, XA_VISUALID,
                         &type, &format, &count, &after, &data) == Success &&
      type == XA_VISUALID && format == 32 && count == 1) {
    visual = *reinterpret_cast<unsigned long*>(data);
  }
  if (data != nullptr) XFree(data);
  return visual;
}

// Takes the selection's owner as the host, watched for its end. The server is held meanwhile,
// so that an owner cannot go between the question and the watch.
void FindHost() {
  XTray& tray = Tray();
  XGrabServer(tray.display);
  Window owner = XGetSelectionOwner(tray.display, tray.selection);
  if (owner != None) XSelectInput(tray.display, owner, StructureNotifyMask);
  XUngrabServer(tray.display);
  tray.host = owner;
  FreeIconLook(tray.display, tray.look);
  if (owner != None) tray.look = IconLookFor(tray.display, HostVisual(owner));
}

// ---- icon windows ---------------------------------------------------------------------------

// The tip names the icon window: WM_NAME is ISO-8859-1, the program's own code page, and
// _NET_WM_NAME the same text in UTF-8.
void Name(Window window, const std::string& tip) {
  XTray& tray = Tray();
  XStoreName(tray.display, window, tip.c_str());
  std::string utf8 = Latin1ToUtf8(tip.c_str());
  XChangeProperty(tray.display, window, tray.atoms[kNetWmName], tray.atoms[kUtf8], 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.data()),
                  static_cast<int>(utf8.size()));
}

void Draw(const IconWindow& icon, const TrayRecord& record) {
  DrawTrayIcon(Tray().display, icon.window, Tray().look, record.icon, icon.width, icon.height);
}

Window CreateIconWindow(const TrayRecord& record) {
  XTray& tray = Tray();
  Window window = CreateIconLookWindow(
      tray.display, tray.root, tray.look, kFirstSize,
      StructureNotifyMask | ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask);
  long info[2] = {kXEmbedVersion, kXEmbedMapped};
  XChangeProperty(tray.display, window, tray.atoms[kXEmbedInfo], tray.atoms[kXEmbedInfo], 32,
                  PropModeReplace, reinterpret_cast<unsigned char*>(info), 2);
  // Hosts built on XEmbed sockets size the icon from its size hints: without them it may get
  // no width at all.
  XSizeHints hints{};
  hints.flags = PMinSize | PBaseSize;
  hints.min_width = hints.base_width = kFirstSize;
  hints.min_height = hints.base_height = kFirstSize;
  XSetWMNormalHints(tray.display, window, &hints);
  Name(window, record.tip);
  return window;
}

void RequestDock(Window window) {
  XTray& tray = Tray();
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = tray.host;
  event.xclient.message_type = tray.atoms[kOpcode];
  event.xclient.format = 32;
  event.xclient.data.l[0] = CurrentTime;
  event.xclient.data.l[1] = kRequestDock;
  event.xclient.data.l[2] = static_cast<long>(window);
  XSendEvent(tray.display, tray.host, False, NoEventMask, &event);
}

// Takes every icon out of the notification area; each docks again once a host is there.
void UndockAll() {
  XTray& tray = Tray();
  for (IconWindow& icon : tray.icons) {
    if (icon.window != None) XDestroyWindow(tray.display, icon.window);
    icon.window = None;
    icon.width = icon.height = kFirstSize;
  }
}

void Show(IconWindow& icon, const TrayRecord& record) {
  if (icon.window == None) {
    icon.window = CreateIconWindow(record);
    RequestDock(icon.window);
  } else if (icon.shownRevision != record.revision) {
    Name(icon.window, record.tip);
    Draw(icon, record);
  }
  icon.shownRevision = record.revision;
}

// The icons whose record is gone leave the notification area; new records get an entry.
void MatchRecords() {
  XTray& tray = Tray();
  std::erase_if(tray.icons, [&](const IconWindow& icon) {
    if (FindTrayIcon(icon.hwnd, icon.id) != nullptr) return false;
    if (icon.window != None) XDestroyWindow(tray.display, icon.window);
    return true;
  });
  for (const TrayRecord& record : TrayIcons()) {
    bool listed = std::any_of(tray.icons.begin(), tray.icons.end(), [&](const IconWindow& icon) {
      return icon.hwnd == record.hwnd && icon.id == record.id;
    });
    if (!listed) tray.icons.push_back(IconWindow{record.hwnd, record.id});
  }
}

// ---- events ---------------------------------------------------------------------------------

IconWindow* IconOfWindow(Window window) {
  for (IconWindow& icon : Tray().icons) {
    if (icon.window == window && window != None) return &icon;
  }
  return nullptr;
}

void NewHost() {
  UndockAll();
  FindHost();
  FollowTrayIcons();
}

void Resize(IconWindow& icon, const XConfigureEvent& configure) {
  if (configure.width == icon.width && configure.height == icon.height) return;
  icon.width = configure.width;
  icon.height = configure.height;
  if (const TrayRecord* record = FindTrayIcon(icon.hwnd, icon.id)) Draw(icon, *record);
}

void Pointer(IconWindow& icon, TrayPointerEvent::Kind kind, unsigned button, Time time, int x,
             int y) {
  if (TrayRecord* record = FindTrayIcon(icon.hwnd, icon.id))
    TranslateTrayPointer(*record, TrayPointerEvent{kind, button, time, x, y});
}

void HandleIconEvent(IconWindow& icon, const XEvent& event) {
  using Kind = TrayPointerEvent::Kind;
  switch (event.type) {
    case ConfigureNotify: Resize(icon, event.xconfigure); break;
    case Expose:
      if (event.xexpose.count != 0) break;
      if (const TrayRecord* record = FindTrayIcon(icon.hwnd, icon.id)) Draw(icon, *record);
      break;
    case ButtonPress:
    case ButtonRelease: {
      const XButtonEvent& button = event.xbutton;
      Kind kind = event.type == ButtonPress ? Kind::Press : Kind::Release;
      Pointer(icon, kind, button.button, button.time, button.x, button.y);
      break;
    }
    case MotionNotify: {
      const XMotionEvent& motion = event.xmotion;
      Pointer(icon, Kind::Motion, 0, motion.time, motion.x, motion.y);
      break;
    }
    default: break;
  }
}

}  // namespace

void TakeTrayEvent(const XEvent& event) {
  XTray& tray = Tray();
  if (tray.display == nullptr) return;
  if (event.type == ClientMessage && event.xclient.window == tray.root &&
      event.xclient.message_type == tray.atoms[kManager] &&
      static_cast<Atom>(event.xclient.data.l[1]) == tray.selection) {
    NewHost();
  } else if (event.type == DestroyNotify && event.xdestroywindow.window == tray.host &&
             tray.host != None) {
    NewHost();
  } else if (IconWindow* icon = IconOfWindow(event.xany.window)) {
    HandleIconEvent(*icon, event);
  }
}

void FollowTrayIcons() {
  XTray& tray = Tray();
  if (tray.display == nullptr) {
    if (TrayIcons().empty() || !Connect()) return;
    FindHost();
  }
  MatchRecords();
  if (tray.host != None) {
    for (IconWindow& icon : tray.icons) {
      if (const TrayRecord* record = FindTrayIcon(icon.hwnd, icon.id)) Show(icon, *record);
    }
  }
  XFlush(tray.display);
}

}  // namespace platform
