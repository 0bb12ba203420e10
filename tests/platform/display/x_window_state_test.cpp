// A window's task-bar button changed after it was made: a shown window's manager is asked
// through the EWMH state message, a hidden window's state is written for its manager to read
// when it is shown; the always-on-top state SDL keeps stays as it was.
#include "platform/x_server_fixture.h"

namespace {

constexpr long kRemove = 0;
constexpr long kAdd = 1;

class TaskbarButton : public XServerTest {
 protected:
  // Waits for the state message about the window's task-bar button (SDL sends its own about
  // always-on-top); gives its action and its two states.
  bool StateMessage(Window window, long* action, std::vector<Atom>* states) {
    Atom state = AtomNamed("_NET_WM_STATE");
    Atom skipTaskbar = AtomNamed("_NET_WM_STATE_SKIP_TASKBAR");
    return WaitFor([&](const XEvent* event) {
      if (event == nullptr || event->type != ClientMessage) return false;
      const XClientMessageEvent& message = event->xclient;
      if (message.window != window || message.message_type != state ||
          Atom(message.data.l[1]) != skipTaskbar)
        return false;
      *action = message.data.l[0];
      *states = {Atom(message.data.l[1]), Atom(message.data.l[2])};
      return true;
    });
  }

  bool StateHolds(Window window, bool skips, bool above) {
    std::vector<Atom> wanted;
    if (above) wanted.push_back(AtomNamed("_NET_WM_STATE_ABOVE"));
    if (skips) {
      wanted.push_back(AtomNamed("_NET_WM_STATE_SKIP_TASKBAR"));
      wanted.push_back(AtomNamed("_NET_WM_STATE_SKIP_PAGER"));
    }
    std::sort(wanted.begin(), wanted.end());
    return WaitFor([&](const XEvent*) {
      std::vector<Atom> state = AtomsOf(window, AtomNamed("_NET_WM_STATE"));
      std::sort(state.begin(), state.end());
      return state == wanted;
    });
  }
};

TEST_F(TaskbarButton, AShownWindowsManagerIsAskedToSkipTheTaskBarAndPager) {
  HWND hwnd = MakeWindow("Task Bar", WS_EX_APPWINDOW);
  ShowWindow(hwnd, SW_SHOW);
  Window window = XWindowOf(hwnd);
  // Window managers take state messages from the root window's substructure.
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  std::vector<Atom> skips = {AtomNamed("_NET_WM_STATE_SKIP_TASKBAR"),
                             AtomNamed("_NET_WM_STATE_SKIP_PAGER")};
  long action = -1;
  std::vector<Atom> states;
  SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  ASSERT_TRUE(StateMessage(window, &action, &states));
  EXPECT_EQ(action, kAdd);
  EXPECT_EQ(states, skips);
  SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_APPWINDOW | WS_EX_TOPMOST);
  ASSERT_TRUE(StateMessage(window, &action, &states));
  EXPECT_EQ(action, kRemove);
  EXPECT_EQ(states, skips);
}

TEST_F(TaskbarButton, AHiddenWindowsStateIsWrittenAndOutlastsAnAlwaysOnTopChange) {
  HWND hwnd = MakeWindow("Task Bar", WS_EX_APPWINDOW);
  Window window = XWindowOf(hwnd);
  SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  EXPECT_TRUE(StateHolds(window, true, false));
  // SDL writes the whole state of a hidden window again when its always-on-top changes.
  SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  EXPECT_TRUE(StateHolds(window, true, true));
  SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_APPWINDOW | WS_EX_TOPMOST);
  EXPECT_TRUE(StateHolds(window, false, true));
  // Shown and hidden again, as a window changes its kind, it keeps what was written.
  ShowWindow(hwnd, SW_SHOW);
  ShowWindow(hwnd, SW_HIDE);
  SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_APPWINDOW);
  EXPECT_TRUE(StateHolds(window, false, false));
}

}  // namespace
