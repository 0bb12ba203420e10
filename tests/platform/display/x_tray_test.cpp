// The tray on X against a notification-area host played by the test: the icon docks with the
// host that owns the tray selection, carries its XEmbed information and its tip as its name,
// shows its picture in the size the host gives it, posts clicks as its callback message, docks
// when a host appears and again when it restarts, and is destroyed when deleted or when its
// window goes.
#include "platform/x_server_fixture.h"

namespace {

constexpr UINT kId = 5;
constexpr long kRequestDock = 0;
constexpr unsigned char kPlainBlue[3] = {32, 96, 192};

class XTray : public XServerTest {
 protected:
  void SetUp() override {
    XServerTest::SetUp();
    if (HasFatalFailure()) return;
    // Icons that are not embedded stay on the root window: their end is seen there.
    XSelectInput(display, root, SubstructureNotifyMask);
  }

  // A host: a window of the test's that takes the tray selection and says so on the root.
  Window StartHost() {
    Window host = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
    Atom selection = AtomNamed("_NET_SYSTEM_TRAY_S0");
    XSetSelectionOwner(display, selection, host, CurrentTime);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = root;
    event.xclient.message_type = AtomNamed("MANAGER");
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = static_cast<long>(selection);
    event.xclient.data.l[2] = static_cast<long>(host);
    XSendEvent(display, root, False, StructureNotifyMask, &event);
    XSync(display, False);
    return host;
  }

  // Waits for a dock request to the host; the icon window it names, 0 when none came.
  Window DockRequest(Window host) {
    Window icon = 0;
    WaitFor([&](const XEvent* event) {
      if (event == nullptr || event->type != ClientMessage || event->xclient.window != host ||
          event->xclient.message_type != AtomNamed("_NET_SYSTEM_TRAY_OPCODE") ||
          event->xclient.data.l[1] != kRequestDock)
        return false;
      icon = Window(event->xclient.data.l[2]);
      return true;
    });
    return icon;
  }

  bool Destroyed(Window window) {
    return WaitFor([&](const XEvent* event) {
      return event != nullptr && event->type == DestroyNotify &&
             event->xdestroywindow.window == window;
    });
  }

  HWND AddIcon(const char* tip) {
    HWND hwnd = MakeWindow("Tray Owner");
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd;
    data.uID = kId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_APP;
    std::snprintf(data.szTip, sizeof data.szTip, "%s", tip);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
    return hwnd;
  }

  std::string TextProperty(Window window, const char* name) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display, window, AtomNamed(name), 0, 256, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        format == 8) {
      text.assign(reinterpret_cast<char*>(data), count);
    }
    if (data != nullptr) XFree(data);
    return text;
  }

  std::vector<long> XEmbedInfo(Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> info;
    Atom name = AtomNamed("_XEMBED_INFO");
    if (XGetWindowProperty(display, window, name, 0, 2, False, name, &type, &format, &count, &after,
                           &data) == Success &&
        format == 32) {
      info.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
    }
    if (data != nullptr) XFree(data);
    return info;
  }

  // The colour of a pixel of a window, as R, G, B.
  std::vector<int> Colour(Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return {};
    unsigned long pixel = XGetPixel(image, 0, 0);
    std::vector<int> rgb = {int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF)};
    XDestroyImage(image);
    return rgb;
  }

  void SendButton(Window icon, int type, unsigned button, Time time) {
    XEvent event{};
    event.xbutton.type = type;
    event.xbutton.window = icon;
    event.xbutton.root = root;
    event.xbutton.button = button;
    event.xbutton.time = time;
    event.xbutton.x = event.xbutton.y = 10;
    event.xbutton.same_screen = True;
    long mask = type == ButtonPress ? ButtonPressMask : ButtonReleaseMask;
    XSendEvent(display, icon, False, mask, &event);
    XSync(display, False);
  }
};

TEST_F(XTray, TheIconDocksNamedAndDrawnAndPostsItsClicks) {
  Window host = StartHost();
  HWND hwnd = AddIcon("Caf\xE9");
  Window icon = DockRequest(host);
  ASSERT_NE(icon, 0u);
  EXPECT_EQ(XEmbedInfo(icon), (std::vector<long>{0, 1}));  // version 0, mapped once embedded
  EXPECT_EQ(TextProperty(icon, "WM_NAME"), "Caf\xE9");
  EXPECT_EQ(TextProperty(icon, "_NET_WM_NAME"), "Caf\xC3\xA9");

  // Embedded in a white socket at the size the host chooses, it shows the plain icon (it has
  // none of its own), with the socket showing through around it.
  Window socket = XCreateSimpleWindow(display, root, 0, 0, 40, 40, 0, 0, 0xFFFFFF);
  XMapWindow(display, socket);
  XReparentWindow(display, icon, socket, 0, 0);
  XResizeWindow(display, icon, 20, 20);
  XMapWindow(display, icon);
  XSync(display, False);
  std::vector<int> blue(kPlainBlue, kPlainBlue + 3);
  std::vector<int> white = {255, 255, 255};
  EXPECT_TRUE(WaitFor([&](const XEvent*) {
    return Colour(icon, 10, 10) == blue && Colour(icon, 0, 0) == white;
  })) << "centre "
      << ::testing::PrintToString(Colour(icon, 10, 10));

  Calls().clear();
  SendButton(icon, ButtonPress, Button3, 1000);
  SendButton(icon, ButtonRelease, Button3, 1050);
  ASSERT_TRUE(WaitFor([&](const XEvent*) { return Calls().size() >= 2; }));
  EXPECT_EQ(Calls()[0].hwnd, hwnd);
  EXPECT_EQ(Calls()[0].message, UINT(WM_APP));
  EXPECT_EQ(Calls()[0].wParam, kId);
  EXPECT_EQ(Calls()[0].lParam, WM_RBUTTONDOWN);
  EXPECT_EQ(Calls()[1].lParam, WM_RBUTTONUP);

  XSelectInput(display, socket, SubstructureNotifyMask);
  XSync(display, False);
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = kId;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_TRUE(Destroyed(icon));
}

TEST_F(XTray, IconsDockWhenAHostAppearsAndAgainWhenItRestarts) {
  HWND hwnd = AddIcon("Waiting");
  Drain();
  Window first = DockRequest(StartHost());
  ASSERT_NE(first, 0u);
  // The host ends: its icon window goes, and a new one docks with the next host.
  Atom selection = AtomNamed("_NET_SYSTEM_TRAY_S0");
  XDestroyWindow(display, XGetSelectionOwner(display, selection));
  EXPECT_TRUE(Destroyed(first));
  Window second = DockRequest(StartHost());
  ASSERT_NE(second, 0u);
  EXPECT_NE(second, first);
  EXPECT_EQ(TextProperty(second, "WM_NAME"), "Waiting");
  // The icon goes with its window.
  DestroyWindow(hwnd);
  EXPECT_TRUE(Destroyed(second));
}

}  // namespace
