// Windows changed after they are made, on a real X server: MoveWindow's own report is not heard
// twice while the desktop's moves are, and a window whose layered style comes to need another
// visual gets a new X window with it, behind the same handle and looking as the old one did.
// The test stands in for a compositing manager by owning its selection.
#include "platform/x_server_fixture.h"

#include <X11/extensions/shape.h>

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <vector>

#include "platform/windows/layered_frames.h"

namespace {

class WindowChanges : public XServerTest {
 protected:
  // Takes the compositing manager's selection, as xcompmgr does when it starts.
  void StartCompositor() {
    Window owner = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, AtomNamed("_NET_WM_CM_S0"), owner, CurrentTime);
    XSync(display, False);
  }
  // Lets the selection go, as a compositing manager that stops does.
  void StopCompositor() {
    XSetSelectionOwner(display, AtomNamed("_NET_WM_CM_S0"), None, CurrentTime);
    XSync(display, False);
  }

  int DepthOf(Window window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes)) return 0;
    return attributes.depth;
  }

  // The window's corner on the screen and its size.
  std::vector<int> PlaceOf(Window window) {
    XWindowAttributes attributes{};
    Window child = 0;
    int x = 0, y = 0;
    XGetWindowAttributes(display, window, &attributes);
    XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
  }

  // The root window's children, bottom first.
  std::vector<Window> Stacking() {
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    std::vector<Window> order;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) && children) {
      order.assign(children, children + count);
      XFree(children);
    }
    return order;
  }

  std::vector<XRectangle> ShapeOf(Window window) {
    int count = 0, ordering = 0;
    XRectangle* rectangles = XShapeGetRectangles(display, window, ShapeBounding, &count, &ordering);
    std::vector<XRectangle> shape(rectangles, rectangles + count);
    if (rectangles != nullptr) XFree(rectangles);
    return shape;
  }

  // The whole-window opacity the window carries for a compositor; 0 when it has none.
  unsigned long OpacityOf(Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0, opacity = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, AtomNamed("_NET_WM_WINDOW_OPACITY"), 0, 1, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        format == 32 && count == 1)
      opacity = *reinterpret_cast<unsigned long*>(data);
    if (data != nullptr) XFree(data);
    return opacity;
  }

  // Lets the platform take its messages until the window has another X window than before.
  bool MadeAgain(HWND hwnd, Window before) {
    return WaitFor([&](const XEvent*) { return XWindowOf(hwnd) != before; });
  }

  // Presents an 8 x 2 frame to the window, keyed magenta: two rows of eight pixels (blue,
  // green, red, alpha), the left half of each the key colour, which its shape leaves out.
  static void CutKeyedFrame(HWND hwnd) {
    std::vector<uint8_t> frame;
    for (int i = 0; i < 16; ++i) {
      bool key = i % 8 < 4;
      std::vector<uint8_t> pixel =
          key ? std::vector<uint8_t>{255, 0, 255, 255} : std::vector<uint8_t>{255, 0, 0, 255};
      frame.insert(frame.end(), pixel.begin(), pixel.end());
    }
    platform::CutColorKey(platform::SdlWindowOf(hwnd), frame.data(), 8, 2);
  }

  bool KeyboardAt(Window window) {
    return WaitFor([&](const XEvent*) {
      Window focus = 0;
      int revert = 0;
      XGetInputFocus(display, &focus, &revert);
      return focus == window;
    });
  }
};

// The X server reports a move by the program too; what the program asked for was told to the
// window procedure already, while a move by someone else, reported after it, is posted.
TEST_F(WindowChanges, MoveWindowsOwnReportIsNotPostedButALaterMoveByTheDesktopIs) {
  HWND hwnd = MakeWindow("Moved", WS_EX_APPWINDOW, 10, 20, 64, 48);
  ShowWindow(hwnd, SW_SHOW);
  Drain();
  ASSERT_TRUE(MoveWindow(hwnd, 200, 220, 90, 70, TRUE));
  Calls().clear();
  XMoveWindow(display, XWindowOf(hwnd), 300, 310);
  XSync(display, False);
  // The fixture's wait takes the messages itself: they are gathered here instead.
  std::vector<std::pair<int, int>> moves;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (moves.empty() && std::chrono::steady_clock::now() < deadline) {
    for (const MSG& msg : Drain()) {
      if (msg.message == WM_MOVE)
        moves.emplace_back(SHORT(LOWORD(msg.lParam)), SHORT(HIWORD(msg.lParam)));
    }
    SDL_Delay(5);
  }
  EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{300, 310}}));
  EXPECT_EQ(platform::testing::Window(hwnd)->x, 300);
}

// Made layered later where a compositor runs, the window gets the alpha visual; made opaque
// again, the usual one with GL. Each time the handle, title, place, size, stacking place and
// keyboard stay, and the tray icon of the window with them; the old X window is gone.
TEST_F(WindowChanges, LayeredOnAndOffMakesTheWindowAgainKeepingWhatItShows) {
  StartCompositor();
  HWND under = MakeWindow("Under", WS_EX_APPWINDOW, 10, 20, 64, 48);
  HWND over = MakeWindow("Over", WS_EX_APPWINDOW, 400, 20, 64, 48);
  ShowWindow(under, SW_SHOW);
  ShowWindow(over, SW_SHOW);
  SetFocus(under);
  NOTIFYICONDATAA icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = under;
  icon.uID = 3;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &icon));
  Window first = XWindowOf(under);
  ASSERT_TRUE(KeyboardAt(first));
  const std::vector<int> place = PlaceOf(first);
  ASSERT_EQ(place, (std::vector<int>{10, 20, 64, 48}));

  SetWindowLongA(under, GWL_EXSTYLE, WS_EX_APPWINDOW | WS_EX_LAYERED);
  Window layered = XWindowOf(under);
  ASSERT_NE(layered, first);
  EXPECT_EQ(DepthOf(layered), 32);
  EXPECT_TRUE(platform::WindowCanShowAlpha(platform::SdlWindowOf(under)));
  EXPECT_FALSE(SDL_GetWindowFlags(platform::SdlWindowOf(under)) & SDL_WINDOW_OPENGL);
  std::vector<Window> order = Stacking();
  EXPECT_EQ(std::count(order.begin(), order.end(), first), 0);
  auto at = [&](Window window) { return std::find(order.begin(), order.end(), window); };
  EXPECT_LT(at(layered), at(XWindowOf(over)));
  EXPECT_EQ(PlaceOf(layered), place);
  char* name = nullptr;
  ASSERT_TRUE(XFetchName(display, layered, &name));
  EXPECT_STREQ(name, "Under");
  XFree(name);
  EXPECT_TRUE(KeyboardAt(layered));
  EXPECT_EQ(platform::testing::Window(under)->exStyle, DWORD(WS_EX_APPWINDOW | WS_EX_LAYERED));
  EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon));

  SetWindowLongA(under, GWL_EXSTYLE, WS_EX_APPWINDOW);
  Window opaque = XWindowOf(under);
  ASSERT_NE(opaque, layered);
  EXPECT_EQ(DepthOf(opaque), 24);
  EXPECT_TRUE(SDL_GetWindowFlags(platform::SdlWindowOf(under)) & SDL_WINDOW_OPENGL);
  EXPECT_EQ(PlaceOf(opaque), place);
  EXPECT_TRUE(KeyboardAt(opaque));
  // A style that needs the visual the window has already makes nothing again.
  SetWindowLongA(under, GWL_EXSTYLE, WS_EX_APPWINDOW | WS_EX_TOPMOST);
  EXPECT_EQ(XWindowOf(under), opaque);
}

// A colour-keyed window made while no compositor ran has the usual visual. Once one runs, a
// style applied again gives it the alpha visual, and the shape its key cut goes with it.
TEST_F(WindowChanges, AColourKeysShapeGoesToTheWindowMadeAgain) {
  HWND hwnd = MakeWindow("Keyed", WS_EX_APPWINDOW | WS_EX_LAYERED, 10, 20, 8, 2);
  ShowWindow(hwnd, SW_SHOW);
  ASSERT_TRUE(SetLayeredWindowAttributes(hwnd, COLORREF(0x00ff00ff), 255, LWA_COLORKEY));
  CutKeyedFrame(hwnd);
  Window first = XWindowOf(hwnd);
  const std::vector<XRectangle> shape = ShapeOf(first);
  ASSERT_EQ(shape.size(), 1u);
  EXPECT_EQ(shape[0].x, 4);
  EXPECT_EQ(DepthOf(first), 24);

  StartCompositor();
  SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_APPWINDOW | WS_EX_LAYERED);
  Window again = XWindowOf(hwnd);
  ASSERT_NE(again, first);
  EXPECT_EQ(DepthOf(again), 32);
  std::vector<XRectangle> kept = ShapeOf(again);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(std::make_tuple(kept[0].x, kept[0].y, kept[0].width, kept[0].height),
            std::make_tuple(shape[0].x, shape[0].y, shape[0].width, shape[0].height));
}

// Made layered while no compositor runs, the window keeps the usual visual. A compositor taking
// its selection makes it again with the alpha visual, keeping its handle, title, place, size,
// stacking place, opacity, colour-key shape, tray icon and keyboard; an opaque window stays as it
// is. Once it has the alpha visual, the compositor letting the selection go and taking it again
// makes nothing again: only a window made layered meanwhile, on the usual visual, is made again.
TEST_F(WindowChanges, ACompositorThatStartsLaterGivesLayeredWindowsTheAlphaVisualOnce) {
  HWND under = MakeWindow("Under", WS_EX_APPWINDOW | WS_EX_LAYERED, 10, 20, 8, 2);
  HWND over = MakeWindow("Over", WS_EX_APPWINDOW, 400, 20, 64, 48);
  ShowWindow(under, SW_SHOW);
  ShowWindow(over, SW_SHOW);
  SetFocus(under);
  ASSERT_TRUE(
      SetLayeredWindowAttributes(under, COLORREF(0x00ff00ff), 128, LWA_ALPHA | LWA_COLORKEY));
  CutKeyedFrame(under);
  NOTIFYICONDATAA icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = under;
  icon.uID = 5;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &icon));
  const Window first = XWindowOf(under);
  const Window opaque = XWindowOf(over);
  ASSERT_EQ(DepthOf(first), 24);
  ASSERT_TRUE(KeyboardAt(first));
  const std::vector<int> place = PlaceOf(first);
  const std::vector<XRectangle> shape = ShapeOf(first);
  const unsigned long opacity = OpacityOf(first);
  ASSERT_EQ(shape.size(), 1u);
  ASSERT_NE(opacity, 0u);

  StartCompositor();
  ASSERT_TRUE(MadeAgain(under, first));
  const Window layered = XWindowOf(under);
  EXPECT_EQ(DepthOf(layered), 32);
  EXPECT_TRUE(platform::WindowCanShowAlpha(platform::SdlWindowOf(under)));
  EXPECT_EQ(PlaceOf(layered), place);
  char* name = nullptr;
  ASSERT_TRUE(XFetchName(display, layered, &name));
  EXPECT_STREQ(name, "Under");
  XFree(name);
  std::vector<Window> order = Stacking();
  auto at = [&](Window window) { return std::find(order.begin(), order.end(), window); };
  EXPECT_EQ(at(first), order.end());
  EXPECT_LT(at(layered), at(opaque));
  EXPECT_EQ(XWindowOf(over), opaque);
  std::vector<XRectangle> kept = ShapeOf(layered);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(std::make_tuple(kept[0].x, kept[0].y, kept[0].width, kept[0].height),
            std::make_tuple(shape[0].x, shape[0].y, shape[0].width, shape[0].height));
  EXPECT_EQ(OpacityOf(layered), opacity);
  EXPECT_TRUE(KeyboardAt(layered));
  EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon));

  StopCompositor();
  // Made while none runs: the usual visual. Once it is made again, the platform has heard the
  // selection let go and taken again, in that order.
  HWND later = MakeWindow("Later", WS_EX_APPWINDOW | WS_EX_LAYERED, 100, 200, 16, 16);
  ShowWindow(later, SW_SHOW);
  const Window laterFirst = XWindowOf(later);
  EXPECT_EQ(DepthOf(laterFirst), 24);
  StartCompositor();
  ASSERT_TRUE(MadeAgain(later, laterFirst));
  EXPECT_EQ(DepthOf(XWindowOf(later)), 32);
  EXPECT_EQ(XWindowOf(under), layered);
  EXPECT_EQ(XWindowOf(over), opaque);
}

}  // namespace
