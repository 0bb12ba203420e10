// Window classes and windows: creation, placement, showing, styles, translucency, the tray
// record and every forced failure reported as the window system reports it.
#include "platform/platform_fixture.h"
#include "platform/display/x_compositor.h"
#include "platform/windows/layered_frames.h"
#include "platform/windows/sdl_window.h"

#include <tuple>
#include <vector>

namespace pt = platform::testing;

class Windows : public PlatformTest {};

TEST_F(Windows, ClassNamesAreUniqueWithoutCaseAndUnregisterOnlyWhenUnused) {
  EXPECT_TRUE(Register("Kelvo Tumbix"));
  EXPECT_FALSE(Register("Kelvo Tumbix"));
  EXPECT_FALSE(Register("KELVO TUMBIX"));
  HWND hwnd = CreateWindowExA(0, "kelvo tumbix", "t", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_FALSE(UnregisterClassA("Kelvo Tumbix", nullptr));  // it still has a window
  DestroyWindow(hwnd);
  EXPECT_TRUE(UnregisterClassA("Kelvo Tumbix", nullptr));
  EXPECT_FALSE(UnregisterClassA("Kelvo Tumbix", nullptr));
  EXPECT_FALSE(UnregisterClassA(nullptr, nullptr));
  EXPECT_TRUE(Register("Kelvo Tumbix"));
}

TEST_F(Windows, CreatedWindowIsHiddenBorderlessOpenGlAndWhereAsked) {
  RECT rect{560, 240, 1360, 840};
  ASSERT_TRUE(AdjustWindowRectEx(&rect, WS_POPUP, FALSE, WS_EX_APPWINDOW));
  EXPECT_EQ(rect.right - rect.left, 800);
  HWND hwnd = MakeWindow("Main", WS_EX_APPWINDOW, rect.left, rect.top, 800, 600);
  ASSERT_NE(hwnd, nullptr);
  SDL_Window* sdl = platform::SdlWindowOf(hwnd);
  ASSERT_NE(sdl, nullptr);
  Uint32 flags = SDL_GetWindowFlags(sdl);
  EXPECT_TRUE(flags & SDL_WINDOW_OPENGL);
  EXPECT_TRUE(flags & SDL_WINDOW_BORDERLESS);
  EXPECT_TRUE(flags & SDL_WINDOW_HIDDEN);
  auto state = pt::Window(hwnd);
  ASSERT_TRUE(state);
  EXPECT_EQ(state->title, "Main");
  EXPECT_FALSE(state->visible);
  EXPECT_EQ(state->width, 800);
  EXPECT_EQ(state->height, 600);
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_EXSTYLE), WS_EX_APPWINDOW);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & WS_POPUP, WS_POPUP);
}

TEST_F(Windows, ToolAndTopmostWindowsGetTheirSdlFlags) {
  HWND hwnd = MakeWindow("Kelvo Core Intro", WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED);
  ASSERT_NE(hwnd, nullptr);
  Uint32 flags = SDL_GetWindowFlags(platform::SdlWindowOf(hwnd));
  EXPECT_TRUE(flags & SDL_WINDOW_SKIP_TASKBAR);
  EXPECT_TRUE(flags & SDL_WINDOW_ALWAYS_ON_TOP);
  EXPECT_EQ(SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
            WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED);
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_EXSTYLE), WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
}

TEST_F(Windows, ShowMoveFocusAndDestroy) {
  HWND main = MakeWindow("Main");
  HWND intro = MakeWindow("Intro");
  EXPECT_FALSE(ShowWindow(main, SW_SHOW));  // was hidden
  EXPECT_TRUE(ShowWindow(main, SW_SHOW));
  EXPECT_TRUE(pt::Window(main)->visible);
  EXPECT_FALSE(SDL_GetWindowFlags(platform::SdlWindowOf(main)) & SDL_WINDOW_HIDDEN);
  EXPECT_TRUE(SetForegroundWindow(main));
  EXPECT_EQ(SetFocus(main), main);  // showing it activated it already
  EXPECT_EQ(SetActiveWindow(main), main);
  ShowWindow(intro, SW_SHOW);
  SetForegroundWindow(intro);
  EXPECT_EQ(SetFocus(intro), intro);

  ASSERT_TRUE(MoveWindow(main, 560, 240, 800, 600, TRUE));
  EXPECT_TRUE(UpdateWindow(main));
  auto state = pt::Window(main);
  EXPECT_EQ(state->x, 560);
  EXPECT_EQ(state->y, 240);
  EXPECT_EQ(state->width, 800);
  int w = 0, h = 0;
  SDL_GetWindowSize(platform::SdlWindowOf(main), &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);

  // Destroying the window in front hands the front, focus and activation to the one left.
  EXPECT_TRUE(DestroyWindow(intro));
  EXPECT_EQ(platform::SdlWindowOf(intro), nullptr);
  EXPECT_EQ(pt::ForegroundWindow(), main);
  EXPECT_EQ(pt::FocusWindow(), main);
  EXPECT_FALSE(DestroyWindow(intro));
  EXPECT_FALSE(DestroyWindow(nullptr));
  EXPECT_FALSE(ShowWindow(intro, SW_SHOW));
  EXPECT_FALSE(MoveWindow(intro, 0, 0, 1, 1, TRUE));
  EXPECT_EQ(GetWindowLongA(intro, GWL_EXSTYLE), 0);
  EXPECT_TRUE(ShowWindow(main, SW_HIDE));
  EXPECT_FALSE(pt::Window(main)->visible);
}

// MoveWindow tells the window procedure before it returns, as the desktop's own moves are told:
// WM_MOVE with the corner, then WM_SIZE with the size (SIZE_RESTORED), each packed into two
// signed 16-bit words, and each only when that part changed.
TEST_F(Windows, MoveWindowSendsMoveAndSizeBeforeItReturns) {
  HWND hwnd = MakeWindow("Moved", WS_EX_APPWINDOW, 10, 20, 64, 48);
  auto sent = [&] {
    std::vector<std::tuple<UINT, WPARAM, int, int>> messages;
    for (const ProcCall& call : Calls()) {
      EXPECT_EQ(call.hwnd, hwnd);
      messages.emplace_back(call.message, call.wParam, SHORT(LOWORD(call.lParam)),
                            SHORT(HIWORD(call.lParam)));
    }
    Calls().clear();
    return messages;
  };
  using Sent = std::vector<std::tuple<UINT, WPARAM, int, int>>;
  ASSERT_TRUE(MoveWindow(hwnd, 200, 320, 360, 180, TRUE));
  EXPECT_EQ(sent(), (Sent{{WM_MOVE, 0, 200, 320}, {WM_SIZE, SIZE_RESTORED, 360, 180}}));
  ASSERT_TRUE(MoveWindow(hwnd, 200, 320, 360, 180, TRUE));
  EXPECT_EQ(sent(), Sent{});
  MoveWindow(hwnd, -30, -5, 360, 180, TRUE);  // partly off the screen
  EXPECT_EQ(sent(), (Sent{{WM_MOVE, 0, -30, -5}}));
  MoveWindow(hwnd, -30, -5, 0, 90, TRUE);  // a window is at least one pixel wide
  EXPECT_EQ(sent(), (Sent{{WM_SIZE, SIZE_RESTORED, 1, 90}}));
  // Nothing of it is posted as well: the frame loop does not hear it a second time.
  Drain();
  EXPECT_EQ(sent(), Sent{});
}

// A window procedure may destroy its window as it hears the move; MoveWindow then stops.
TEST_F(Windows, AWindowDestroyedAsItHearsItsMoveHearsNothingMore) {
  static HWND destroyed = nullptr;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_MOVE) {
      destroyed = hwnd;
      DestroyWindow(hwnd);
    }
    return RecordingProc(hwnd, message, wParam, lParam);
  };
  windowClass.lpszClassName = "Destroyed On Move";
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  HWND hwnd = CreateWindowExA(0, "Destroyed On Move", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr);
  ASSERT_TRUE(MoveWindow(hwnd, 5, 5, 20, 20, TRUE));
  EXPECT_EQ(destroyed, hwnd);
  ASSERT_EQ(Calls().size(), 1u);
  EXPECT_EQ(Calls()[0].message, UINT(WM_MOVE));
  EXPECT_EQ(platform::SdlWindowOf(hwnd), nullptr);
}

// Without a window manager nothing else gives a window the keyboard: showing or activating a
// window asks the desktop for the input focus, and when the window in front goes away the newest
// other visible window takes its place.
TEST_F(Windows, ShownOrActivatedWindowsTakeTheKeyboardAndTheFrontIsHandedOn) {
  HWND main = MakeWindow("Main");
  HWND hidden = MakeWindow("Hidden");
  HWND intro = MakeWindow("Intro");
  ShowWindow(main, SW_SHOW);
  EXPECT_EQ(pt::FocusWindow(), main);
  EXPECT_EQ(pt::ActiveWindow(), main);
  EXPECT_EQ(pt::LastInputFocusRequest(), main);
  // Shown without activation: the keyboard stays.
  ShowWindow(intro, SW_SHOWNA);
  EXPECT_EQ(pt::FocusWindow(), main);
  EXPECT_EQ(pt::LastInputFocusRequest(), main);
  for (auto activate : {+[](HWND h) { SetForegroundWindow(h); },
                        +[](HWND h) { SetActiveWindow(h); }, +[](HWND h) { SetFocus(h); }}) {
    ShowWindow(main, SW_SHOW);
    activate(intro);
    EXPECT_EQ(pt::FocusWindow(), intro);
    EXPECT_EQ(pt::LastInputFocusRequest(), intro);
  }
  // The focused window goes: the newest visible one takes its place, the hidden one never.
  for (int command : {SW_HIDE, SW_MINIMIZE}) {
    ShowWindow(intro, SW_SHOW);
    ASSERT_EQ(pt::FocusWindow(), intro);
    ShowWindow(intro, command);
    EXPECT_EQ(pt::FocusWindow(), main) << command;
    EXPECT_EQ(pt::ActiveWindow(), main) << command;
    EXPECT_EQ(pt::LastInputFocusRequest(), main) << command;
  }
  ShowWindow(intro, SW_SHOW);
  EXPECT_TRUE(DestroyWindow(intro));
  EXPECT_EQ(pt::FocusWindow(), main);
  EXPECT_EQ(pt::ForegroundWindow(), main);
  EXPECT_EQ(pt::LastInputFocusRequest(), main);
  // Destroying a window that is not in front moves nothing.
  HWND other = MakeWindow("Other");
  DestroyWindow(other);
  EXPECT_EQ(pt::FocusWindow(), main);
  // With no visible window left the front is empty.
  DestroyWindow(main);
  EXPECT_EQ(pt::FocusWindow(), nullptr);
  EXPECT_EQ(pt::ActiveWindow(), nullptr);
  EXPECT_EQ(pt::ForegroundWindow(), nullptr);
  DestroyWindow(hidden);
}

TEST_F(Windows, LayeredAttributesNeedTheLayeredStyleAndTheLastCallWins) {
  HWND plain = MakeWindow("Plain");
  EXPECT_FALSE(SetLayeredWindowAttributes(plain, 0, 127, LWA_ALPHA));
  HWND hwnd = MakeWindow("Layered", WS_EX_APPWINDOW | WS_EX_LAYERED);
  // Without a compositing X desktop a layered window is an ordinary GL window; headless it shows
  // no alpha, and no compositing manager is watched for.
  EXPECT_TRUE(SDL_GetWindowFlags(platform::SdlWindowOf(hwnd)) & SDL_WINDOW_OPENGL);
  EXPECT_FALSE(platform::WindowCanShowAlpha(platform::SdlWindowOf(hwnd)));
  EXPECT_FALSE(platform::WatchCompositor());
  ASSERT_TRUE(SetLayeredWindowAttributes(hwnd, 0x00FF00FF, 127, LWA_ALPHA));
  EXPECT_EQ(pt::Layered(hwnd)->alpha, 127);
  EXPECT_EQ(pt::Layered(hwnd)->flags, static_cast<DWORD>(LWA_ALPHA));
  ASSERT_TRUE(SetLayeredWindowAttributes(hwnd, 0x00FF00FF, 127, LWA_COLORKEY));
  EXPECT_EQ(pt::Layered(hwnd)->flags, static_cast<DWORD>(LWA_COLORKEY));
  EXPECT_EQ(pt::Layered(hwnd)->colorKey, 0x00FF00FFu);
  EXPECT_EQ(pt::Layered(hwnd)->alpha, 255);
  ASSERT_TRUE(SetLayeredWindowAttributes(hwnd, 0x000000FF, 64, LWA_ALPHA | LWA_COLORKEY));
  auto layered = pt::Layered(hwnd);
  EXPECT_EQ(layered->flags, static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY));
  EXPECT_EQ(layered->alpha, 64);
  EXPECT_EQ(layered->colorKey, 0x000000FFu);
  EXPECT_FALSE(pt::Layered(reinterpret_cast<HWND>(4242)));
}

TEST_F(Windows, ForcedFailuresAreReportedAsNullOrZero) {
  pt::FailRegisterClass();
  EXPECT_FALSE(Register("Kelvo Tumbix"));
  EXPECT_TRUE(Register("Kelvo Tumbix"));  // one failure only

  pt::FailCreateWindow(2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(CreateWindowExA(0, "Kelvo Tumbix", "t", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
  }
  EXPECT_NE(CreateWindowExA(0, "Kelvo Tumbix", "t", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                            nullptr),
            nullptr);
  // An unregistered class never gives a window.
  EXPECT_EQ(
      CreateWindowExA(0, "Nobody", "t", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
      nullptr);
}

TEST_F(Windows, TrayIconIsRecordedAddedModifiedAndDeleted) {
  HWND hwnd = MakeWindow("Tray");
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = 0;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_APP;
  data.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  std::snprintf(data.szTip, sizeof data.szTip, "%s", "Kelvo Tumbix");
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &data));
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));
  auto icon = pt::TrayIcon(hwnd, 0);
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->tip, "Kelvo Tumbix");
  EXPECT_EQ(icon->callbackMessage, static_cast<UINT>(WM_APP));
  EXPECT_EQ(icon->flags, 7u);
  EXPECT_NE(icon->icon, nullptr);
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
  EXPECT_EQ(pt::TrayIcon(hwnd, 0)->lastOperation, static_cast<DWORD>(NIM_MODIFY));
  data.uFlags = 0;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_FALSE(pt::TrayIcon(hwnd, 0));
  EXPECT_EQ(pt::TrayIconCount(), 0);
  data.hWnd = nullptr;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));
}

TEST_F(Windows, IconsAndCursorsAreHandlesOrNullWhenAbsent) {
  EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
  EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(1)), nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCE(1)), nullptr);
}

TEST_F(Windows, TitlesReachSdlAsUtf8) {
  HWND hwnd = MakeWindow("Gra\xE7");
  ASSERT_NE(hwnd, nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(platform::SdlWindowOf(hwnd)), "Gra\xC3\xA7");
}
