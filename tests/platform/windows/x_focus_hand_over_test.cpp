// The keyboard handed on when a window of the program closes, under a window manager that
// answers the close late (late_window_manager.cpp): it moves the focus to PointerRoot after the
// program has given it to its next window. The next window must have the keyboard once the
// manager is done, whether the manager frames its windows or only lists them.
#include "platform/x_server_fixture.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>

extern char** environ;

namespace {

class FocusHandOver : public XServerTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    XServerTest::SetUp();
    if (HasFatalFailure()) return;
    StartManager(GetParam());
  }
  void TearDown() override {
    // The windows go while the manager still runs: a framing manager that ends takes the
    // windows in its frames with it.
    platform::testing::Reset();
    if (manager > 0) {
      kill(manager, SIGTERM);
      waitpid(manager, nullptr, 0);
    }
    XServerTest::TearDown();
  }

  // Starts the manager and waits until it says it manages the screen.
  void StartManager(bool frames) {
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string path = LATE_WINDOW_MANAGER;
    std::vector<char*> arguments = {path.data()};
    std::string option = "--frames";
    if (frames) arguments.push_back(option.data());
    arguments.push_back(nullptr);
    ASSERT_EQ(posix_spawn(&manager, path.c_str(), &actions, nullptr, arguments.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char said[8] = {};
    ASSERT_EQ(read(out[0], said, 6), 6);
    close(out[0]);
    ASSERT_STREQ(said, "ready\n");
  }

  Window Focus() {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
  }

  // The manager's client list holds the window.
  bool Listed(Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool holds = false;
    if (XGetWindowProperty(display, root, AtomNamed("_NET_CLIENT_LIST"), 0, 1024, False, XA_WINDOW,
                           &type, &format, &count, &after, &data) == Success &&
        format == 32) {
      auto* windows = reinterpret_cast<unsigned long*>(data);
      holds = std::find(windows, windows + count, window) != windows + count;
    }
    if (data != nullptr) XFree(data);
    return holds;
  }

  pid_t manager = 0;
};

TEST_P(FocusHandOver, TheNextWindowHasTheKeyboardAfterTheManagersLateAnswer) {
  HWND first = MakeWindow("First", WS_EX_APPWINDOW, 10, 10, 64, 48);
  ShowWindow(first, SW_SHOW);
  Window firstX = XWindowOf(first);
  ASSERT_TRUE(WaitFor([&](const XEvent*) { return Focus() == firstX; }));
  for (int round = 0; round < 3; ++round) {
    HWND second =
        MakeWindow(("Second " + std::to_string(round)).c_str(), WS_EX_APPWINDOW, 200, 10, 64, 48);
    ShowWindow(second, SW_SHOW);
    Window secondX = XWindowOf(second);
    ASSERT_TRUE(WaitFor([&](const XEvent*) { return Focus() == secondX && Listed(secondX); }));
    DestroyWindow(second);
    // Once the manager has answered, the first window has the keyboard, and keeps it.
    EXPECT_TRUE(WaitFor([&](const XEvent*) { return !Listed(secondX) && Focus() == firstX; }))
        << "round " << round << ": the keyboard is at " << Focus();
    Drain();
    EXPECT_EQ(Focus(), firstX);
    EXPECT_EQ(platform::testing::FocusWindow(), first);
  }
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, FocusHandOver, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Framing" : "Listing");
                         });

}  // namespace
