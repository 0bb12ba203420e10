// KV_WINDOW on the offscreen platform and engine: defaults, creation with its styles, layered
// attributes and render target (with the alpha-format fallback and the failure paths),
// re-applying settings, the tray icon, fitting to the screen and display modes.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app_fixture.h"
#include "app/window.h"

namespace {

class WindowTest : public AppTest {
 protected:
  // A window description of size w x h and a title of its own.
  static KV_WINDOW Described(const char* title, int w = 64, int h = 48) {
    KV_WINDOW window;
    window.title = title;
    window.width = w;
    window.height = h;
    return window;
  }
  // The desktop reports a change of the window (a move, a size) as SDL does; the messages it
  // gives are dispatched.
  static void DesktopReports(const KV_WINDOW& window, Uint8 change, int a, int b) {
    SDL_Event event{};
    event.type = event.window.type = SDL_WINDOWEVENT;
    event.window.windowID = platform::testing::SdlWindowId(window.hwnd);
    event.window.event = change;
    event.window.data1 = a;
    event.window.data2 = b;
    platform::testing::InjectEvent(event);
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
};

}  // namespace

TEST_F(WindowTest, DefaultWindowDescription) {
  platform::testing::SetRefreshRate(75);
  KV_WINDOW window;
  EXPECT_EQ(static_cast<void*>(&window), static_cast<void*>(&window.notifyIcon));
  EXPECT_EQ(DWORD(window.notifyIcon.cbSize), 508u);
  EXPECT_EQ(UINT(window.notifyIcon.uCallbackMessage), (UINT)WM_APP);
  EXPECT_EQ(HWND(window.notifyIcon.hWnd), nullptr);
  EXPECT_TRUE(window.renderTarget.IsNull());
  EXPECT_EQ(window.hwnd, nullptr);
  EXPECT_EQ(window.refreshRate, 75);
  EXPECT_EQ(window.width, 1);
  EXPECT_EQ(window.height, 1);
  EXPECT_EQ(window.aspect, 1.0f);
  EXPECT_EQ(window.x, 0);
  EXPECT_EQ(window.y, 0);
  EXPECT_EQ(window.colorBits, 32);
  EXPECT_EQ(window.depthBits, 16);
  EXPECT_EQ(window.visible, 1);
  EXPECT_EQ(window.appWindow, 1);
  EXPECT_EQ(window.trayIcon, 0);
  EXPECT_STREQ(window.title.c_str(), "Kelvo Core Framework");
  EXPECT_EQ(window.opacity, 1.0f);
  EXPECT_EQ(window.colorKey, 0u);
  EXPECT_EQ(window.useColorKey, 0);
  EXPECT_EQ(window.layered, 0);
  EXPECT_EQ(window.topmost, 0);
  EXPECT_EQ(window.fullScreen, 0);
}

TEST_F(WindowTest, CreateMakesAVisiblePopupWithAnOpaqueTarget) {
  KV_WINDOW window = Described("Window Create");
  window.x = 30;
  window.y = 40;
  kv::engine::testing::StartTrace();
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  kv::engine::testing::StopTrace();
  ASSERT_NE(window.hwnd, nullptr);
  EXPECT_FALSE(window.renderTarget.IsNull());
  EXPECT_EQ(window.created, 0);  // only Attach sets it
  auto state = platform::testing::Window(window.hwnd);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->title, "Window Create");
  EXPECT_EQ(state->style, (DWORD)(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
  EXPECT_EQ(state->exStyle, (DWORD)WS_EX_APPWINDOW);
  EXPECT_EQ(state->x, 30);
  EXPECT_EQ(state->y, 40);
  EXPECT_EQ(state->width, 64);
  EXPECT_EQ(state->height, 48);
  EXPECT_TRUE(state->visible);
  EXPECT_EQ(platform::testing::ForegroundWindow(), window.hwnd);
  EXPECT_EQ(platform::testing::FocusWindow(), window.hwnd);
  EXPECT_FALSE(platform::testing::Layered(window.hwnd)->flags);
  std::string id = std::to_string(window.renderTarget.value);
  std::vector<std::string> expected = {
      "KvRenderTargetCreate(ptr, ptr, 81, 32, 16)",
      "KvRenderTargetArea(" + id + ", 0, 0, 64, 48, 45, -1, 1, 0)"};
  EXPECT_EQ(kv::engine::testing::TracedCalls(), expected);
  window.Destroy();
  EXPECT_EQ(window.hwnd, nullptr);
  EXPECT_EQ(window.instance, nullptr);
  EXPECT_TRUE(window.renderTarget.IsNull());
  // The class went with the window: a window of the same title can be made again.
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  window.Destroy();
}

TEST_F(WindowTest, ToolTopmostWindowsAndAnInvisibleOne) {
  KV_WINDOW window = Described("Window Tool");
  window.appWindow = 0;
  window.topmost = 1;
  window.visible = 0;
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  auto state = platform::testing::Window(window.hwnd);
  EXPECT_EQ(state->exStyle, (DWORD)(WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
  EXPECT_FALSE(state->visible);
  window.Destroy();
}

TEST_F(WindowTest, OpacityBecomesAClampedTruncatedAlpha) {
  struct Case {
    float opacity;
    unsigned char useColorKey;
    DWORD flags;
    BYTE alpha;
  } cases[] = {{0.5f, 0, LWA_ALPHA, 127},
               {2.0f, 1, LWA_COLORKEY, 255},
               {-1.0f, 0, LWA_ALPHA, 0},
               {0.5f, 1, LWA_ALPHA | LWA_COLORKEY, 127}};
  for (const Case& c : cases) {
    KV_WINDOW window = Described("Window Opacity");
    window.opacity = c.opacity;
    window.useColorKey = c.useColorKey;
    window.colorKey = 0x00FF00FF;
    ASSERT_TRUE(window.Create(KV_HANDLE())) << c.opacity;
    EXPECT_TRUE(platform::testing::Window(window.hwnd)->exStyle & WS_EX_LAYERED);
    auto layered = platform::testing::Layered(window.hwnd);
    ASSERT_TRUE(layered.has_value());
    EXPECT_EQ(layered->flags, c.flags) << c.opacity;
    EXPECT_EQ(layered->alpha, c.alpha) << c.opacity;
    if (c.useColorKey) {
      EXPECT_EQ(layered->colorKey, 0x00FF00FFu);
    }
    window.Destroy();
  }
}

TEST_F(WindowTest, RefusedAlphaFormatFallsBackToOpaque) {
  KV_WINDOW window = Described("Window Layered");
  window.layered = 1;
  kv::engine::testing::FailNext("KvRenderTargetCreate", {{2, "82"}});
  kv::engine::testing::StartTrace();
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  EXPECT_EQ(window.layered, 0);
  EXPECT_FALSE(platform::testing::Window(window.hwnd)->exStyle & WS_EX_LAYERED);
  std::vector<std::string> creates = TracedStartingWith("KvRenderTargetCreate");
  std::vector<std::string> expected = {"KvRenderTargetCreate(ptr, ptr, 82, 32, 16)",
                                       "KvRenderTargetCreate(ptr, ptr, 81, 32, 16)"};
  EXPECT_EQ(creates, expected);
  window.Destroy();
}

TEST_F(WindowTest, FailuresAfterRegistrationLeaveNothingBehind) {
  // Each failing step: Create is false, and a second Create of the same title works.
  auto failOpaque = [] { kv::engine::testing::FailNext("KvRenderTargetCreate"); };
  auto failBoth = [] { kv::engine::testing::FailNext("KvRenderTargetCreate", {}, 2); };
  auto failArea = [] { kv::engine::testing::FailNext("KvRenderTargetArea"); };
  auto failWindow = [] { platform::testing::FailCreateWindow(); };
  struct Case {
    const char* what;
    void (*arm)();
    unsigned char layered;
  } cases[] = {{"target", +failOpaque, 0},
               {"both targets", +failBoth, 1},
               {"area", +failArea, 0},
               {"window", +failWindow, 0}};
  for (const Case& c : cases) {
    KV_WINDOW window = Described("Window Failing");
    window.layered = c.layered;
    window.trayIcon = 1;
    size_t liveBefore = kv::engine::testing::LiveObjectCount();
    c.arm();
    EXPECT_FALSE(window.Create(KV_HANDLE())) << c.what;
    EXPECT_EQ(window.hwnd, nullptr) << c.what;
    EXPECT_EQ(platform::testing::TrayIconCount(), 0) << c.what;
    EXPECT_EQ(kv::engine::testing::LiveObjectCount(), liveBefore) << c.what;
    window.layered = 0;
    ASSERT_TRUE(window.Create(KV_HANDLE())) << c.what;
    window.Destroy();
  }
}

TEST_F(WindowTest, RefusedClassRegistrationReturnsFalse) {
  KV_WINDOW window = Described("Window Class");
  platform::testing::FailRegisterClass();
  kv::engine::testing::StartTrace();
  EXPECT_FALSE(window.Create(KV_HANDLE()));
  EXPECT_TRUE(kv::engine::testing::TracedCalls().empty());
  EXPECT_EQ(window.hwnd, nullptr);
}

TEST_F(WindowTest, TwoLiveWindowsCannotShareATitle) {
  KV_WINDOW first = Described("Window Twin");
  KV_WINDOW second = Described("Window Twin");
  ASSERT_TRUE(first.Create(KV_HANDLE()));
  EXPECT_FALSE(second.Create(KV_HANDLE()));
  // Destroying the description that never made a window leaves the other's class alone.
  second.Destroy();
  EXPECT_NE(platform::testing::Window(first.hwnd), std::nullopt);
  first.Destroy();
}

TEST_F(WindowTest, SharedTargetIsPassedOn) {
  KV_WINDOW first = Described("Window Share A");
  KV_WINDOW second = Described("Window Share B");
  ASSERT_TRUE(first.Create(KV_HANDLE()));
  kv::engine::testing::StartTrace();
  ASSERT_TRUE(second.Create(first.GetRenderTarget()));
  EXPECT_TRUE(Traced("KvRenderTargetShare(" + std::to_string(second.renderTarget.value) + ", " +
                     std::to_string(first.renderTarget.value) + ")"));
  second.Destroy();
  first.Destroy();
}

TEST_F(WindowTest, TrayIconTipIsCutTo127Characters) {
  std::string longTitle(200, 'T');
  KV_WINDOW window = Described(longTitle.c_str());
  window.trayIcon = 1;
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  EXPECT_EQ(HWND(window.notifyIcon.hWnd), window.hwnd);
  auto icon = platform::testing::TrayIcon(window.hwnd, window.notifyIcon.uID);
  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(icon->flags, (UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(icon->callbackMessage, (UINT)WM_APP);
  EXPECT_EQ(icon->tip, std::string(127, 'T'));
  EXPECT_EQ(icon->lastOperation, (DWORD)NIM_ADD);
  window.Destroy();
  EXPECT_EQ(platform::testing::TrayIconCount(), 0);
  EXPECT_EQ(HWND(window.notifyIcon.hWnd), nullptr);
}

namespace {

std::vector<std::pair<WPARAM, LPARAM>> trayHeard;
void HearTray(HWND, WPARAM wParam, LPARAM lParam) { trayHeard.push_back({wParam, lParam}); }

}  // namespace

// A click on the icon reaches the loop's tray hook as the shell's callback: the window's icon
// id and the mouse message, the right button's double click included.
TEST_F(WindowTest, TrayIconClicksReachTheTrayHook) {
  KV_WINDOW window = Described("Window Tray Clicks");
  window.trayIcon = 1;
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  KV_LOOP::Instance().trayHook = HearTray;
  trayHeard.clear();
  UINT id = window.notifyIcon.uID;
  constexpr unsigned kLeft = 1, kRight = 3;
  for (auto [button, down, time] : {std::tuple{kLeft, true, 10ul},
                                    {kLeft, false, 20ul},
                                    {kRight, true, 900ul},
                                    {kRight, false, 950ul},
                                    {kRight, true, 1000ul},
                                    {kRight, false, 1050ul}}) {
    ASSERT_TRUE(platform::testing::InjectTrayButton(window.hwnd, id, button, down, time));
  }
  MSG msg{};
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  using Heard = std::vector<std::pair<WPARAM, LPARAM>>;
  EXPECT_EQ(trayHeard, (Heard{{id, WM_LBUTTONDOWN},
                              {id, WM_LBUTTONUP},
                              {id, WM_RBUTTONDOWN},
                              {id, WM_RBUTTONUP},
                              {id, WM_RBUTTONDBLCLK},
                              {id, WM_RBUTTONUP}}));
  HWND hwnd = window.hwnd;
  window.Destroy();
  EXPECT_FALSE(platform::testing::InjectTrayButton(hwnd, id, kLeft, true, 2000));
}

TEST_F(WindowTest, ApplyMovesAndResizesTheWindowAndItsTarget) {
  KV_WINDOW window = Described("Window Apply");
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  std::string id = std::to_string(window.renderTarget.value);

  // Same size and format: only the activation reaches the target.
  kv::engine::testing::StartTrace();
  window.x = 5;
  window.y = 6;
  EXPECT_TRUE(window.Apply());
  EXPECT_TRUE(TracedStartingWith("KvRenderTargetChange").empty());
  EXPECT_TRUE(Traced("KvRenderTargetActivate(" + id + ")"));
  EXPECT_EQ(platform::testing::Window(window.hwnd)->x, 5);
  EXPECT_EQ(platform::testing::Window(window.hwnd)->y, 6);

  kv::engine::testing::ClearTrace();
  window.width = 80;
  window.height = 30;
  window.Apply();
  std::vector<std::string> expected = {
      "KvRenderTargetChange(" + id + ", 81)",
      "KvRenderTargetArea(" + id + ", 0, 0, 80, 30, 45, -1, 1, 0)"};
  EXPECT_EQ(TracedStartingWith("KvRenderTargetChange"), std::vector<std::string>{expected[0]});
  EXPECT_TRUE(Traced(expected[1]));
  EXPECT_EQ(*(uint32_t*)KvRenderTargetGet(window.renderTarget, KV_RT_VIEWPORT_W), 80u);
  EXPECT_EQ(platform::testing::Window(window.hwnd)->width, 80);
  window.Destroy();
}

TEST_F(WindowTest, ApplyChangesStylesAndTheTrayIcon) {
  KV_WINDOW window = Described("Window Restyle");
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  window.appWindow = 0;
  window.opacity = 0.25f;
  window.trayIcon = 1;
  window.Apply();
  auto state = platform::testing::Window(window.hwnd);
  EXPECT_EQ(state->exStyle, (DWORD)(WS_EX_TOOLWINDOW | WS_EX_LAYERED));
  EXPECT_TRUE(state->visible);
  EXPECT_EQ(platform::testing::Layered(window.hwnd)->alpha, 63);
  ASSERT_EQ(platform::testing::TrayIconCount(), 1);
  UINT id = window.notifyIcon.uID;
  window.Apply();
  EXPECT_EQ(platform::testing::TrayIcon(window.hwnd, id)->lastOperation, (DWORD)NIM_MODIFY);
  EXPECT_EQ(UINT(window.notifyIcon.uID), id);
  window.trayIcon = 0;
  window.opacity = 1;
  window.Apply();
  EXPECT_EQ(platform::testing::TrayIconCount(), 0);
  EXPECT_EQ(platform::testing::Window(window.hwnd)->exStyle, (DWORD)WS_EX_TOOLWINDOW);
  window.Destroy();
}

TEST_F(WindowTest, FitScreenAndWorkArea) {
  platform::testing::SetScreenSize(1920, 1080);
  platform::testing::SetWorkArea(RECT{0, 30, 1920, 1040});
  platform::testing::SetRefreshRate(60);
  KV_WINDOW window;
  window.x = 7;
  window.FitScreen();
  EXPECT_EQ(window.x, 0);
  EXPECT_EQ(window.width, 1920);
  EXPECT_EQ(window.height, 1080);
  EXPECT_FLOAT_EQ(window.aspect, 1920.0f / 1080.0f);
  EXPECT_EQ(window.GetRefreshRate(), 60);
  window.aspect = 2;
  window.FitWorkArea();
  EXPECT_EQ(window.y, 30);
  EXPECT_EQ(window.width, 1920);
  EXPECT_EQ(window.height, 1010);
  EXPECT_EQ(window.aspect, 2.0f);
}

TEST_F(WindowTest, FullScreenFollowsTheDisplayChange) {
  KV_WINDOW window = Described("Window Full", 640, 480);
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  window.SetFullScreen(1, 0);
  EXPECT_EQ(window.IsFullScreen(), 1);
  window.SetFullScreen(0, 0);
  EXPECT_EQ(window.IsFullScreen(), 0);
  platform::testing::FailDisplayChange();
  window.SetFullScreen(1, 60);
  EXPECT_EQ(window.IsFullScreen(), 0);
  window.SetFullScreen(1, 0);
  ASSERT_EQ(window.IsFullScreen(), 1);
  window.Destroy();
  EXPECT_EQ(window.IsFullScreen(), 0);
}

TEST_F(WindowTest, AttachAndDetachAWindowOfTheCaller) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "Caller Class";
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  HWND hwnd = CreateWindowExA(0, "Caller Class", "Caller", WS_POPUP, 0, 0, 32, 32, nullptr, nullptr,
                              nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  KV_WINDOW window = Described("Caller Class");
  window.opacity = 0.5f;
  ASSERT_TRUE(window.Attach(hwnd, KV_HANDLE()));
  EXPECT_EQ(window.IsCreated(), 1);
  EXPECT_FALSE(window.renderTarget.IsNull());
  EXPECT_EQ(platform::testing::Layered(hwnd)->alpha, 127);
  window.Detach();
  EXPECT_EQ(window.IsCreated(), 0);
  EXPECT_TRUE(window.renderTarget.IsNull());
  EXPECT_NE(platform::testing::Window(hwnd), std::nullopt);
  DestroyWindow(hwnd);
  UnregisterClassA("Caller Class", nullptr);
}

TEST_F(WindowTest, DestroyIsHarmlessOnANeverCreatedOrDestroyedWindow) {
  KV_WINDOW window = Described("Window Never");
  window.trayIcon = 1;
  window.Destroy();
  window.Destroy();
  EXPECT_EQ(window.hwnd, nullptr);
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  window.Destroy();
  window.Destroy();
}

// A program that moves its window itself (MoveWindow) is followed as the desktop's moves are,
// before the call returns: the fields, and the render target sized to the window, so frames are
// not stretched. SDL's report of that move later is no news, and neither is a stale one.
TEST_F(WindowTest, MoveWindowIsFollowedAtOnceAndItsEchoIsNoNews) {
  KV_WINDOW window = Described("Window Moved", 320, 240);
  window.x = 100;
  window.y = 100;
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  ASSERT_TRUE(MoveWindow(window.hwnd, 200, 320, 360, 180, TRUE));
  EXPECT_EQ(std::make_tuple(window.x, window.y, window.width, window.height),
            std::make_tuple(200, 320, 360, 180));
  EXPECT_EQ(*(uint32_t*)KvRenderTargetGet(window.renderTarget, KV_RT_VIEWPORT_W), 360u);
  EXPECT_EQ(*(uint32_t*)KvRenderTargetGet(window.renderTarget, KV_RT_VIEWPORT_H), 180u);

  MoveWindow(window.hwnd, 210, 330, 360, 180, TRUE);
  // The program's own setting since, which the reports of either move must not undo.
  window.x = 7;
  auto report = [&](Uint8 change, int a, int b) { DesktopReports(window, change, a, b); };
  report(SDL_WINDOWEVENT_MOVED, 200, 320);
  report(SDL_WINDOWEVENT_SIZE_CHANGED, 360, 180);
  report(SDL_WINDOWEVENT_MOVED, 210, 330);
  EXPECT_EQ(window.x, 7);
  EXPECT_EQ(window.y, 330);
  // A later move by the desktop, even back to a place the program once asked for, is followed.
  report(SDL_WINDOWEVENT_MOVED, 200, 320);
  EXPECT_EQ(window.x, 200);
  // A window manager may put the window elsewhere than asked, and no echo comes: its word
  // stands, and a move by it to the place once asked for is its word too.
  MoveWindow(window.hwnd, 400, 400, 360, 180, TRUE);
  report(SDL_WINDOWEVENT_MOVED, 405, 400);
  EXPECT_EQ(window.x, 405);
  report(SDL_WINDOWEVENT_MOVED, 400, 400);
  EXPECT_EQ(window.x, 400);
  window.Destroy();
}

// The desktop moves and resizes windows too (a user dragging one, a window manager placing
// it): the stored place and size follow, so that positions in the window stay right.
TEST_F(WindowTest, TheStoredPlaceAndSizeFollowTheDesktop) {
  KV_WINDOW window = Described("Window Dragged", 200, 100);
  window.x = 30;
  window.y = 40;
  ASSERT_TRUE(window.Create(KV_HANDLE()));
  auto desktop = [&](Uint8 change, int a, int b) { DesktopReports(window, change, a, b); };
  desktop(SDL_WINDOWEVENT_MOVED, 330, 240);
  EXPECT_EQ(window.x, 330);
  EXPECT_EQ(window.y, 240);
  platform::testing::SetCursorPosition(350, 250);
  KvCursorRefresh();
  EXPECT_EQ(KvCursorXIn(&window), 20);
  EXPECT_EQ(KvCursorYIn(&window), 10);
  desktop(SDL_WINDOWEVENT_MOVED, -50, -20);  // partly off the screen
  EXPECT_EQ(window.x, -50);
  EXPECT_EQ(window.y, -20);
  desktop(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480);
  EXPECT_EQ(window.width, 640);
  EXPECT_EQ(window.height, 480);

  // The echo of the program's own move is no news: a setting made since is not undone.
  window.x = 5;
  window.y = 6;
  window.Apply();
  window.x = 7;
  desktop(SDL_WINDOWEVENT_MOVED, 5, 6);
  EXPECT_EQ(window.x, 7);

  // Once destroyed, the window is no longer followed.
  HWND hwnd = window.hwnd;
  window.Destroy();
  KvWindowProc(hwnd, WM_MOVE, 0, MAKELPARAM(1, 2));
  EXPECT_EQ(window.x, 7);
}
