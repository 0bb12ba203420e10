// SDL input through the real translation: keys as virtual-key codes, typed text as WM_CHAR,
// mouse buttons, the wheel in units of 120 and a close request as WM_CLOSE.
#include "platform/platform_fixture.h"
#include "platform/windows/sdl_window.h"

namespace pt = platform::testing;

class Events : public PlatformTest {};

TEST_F(Events, GameKeysArriveAsTheirVirtualKeyCodes) {
  HWND hwnd = MakeWindow();
  ASSERT_NE(hwnd, nullptr);
  SetFocus(hwnd);
  const std::pair<SDL_Scancode, WPARAM> keys[] = {
      {SDL_SCANCODE_LEFT, 37},    {SDL_SCANCODE_UP, 38},    {SDL_SCANCODE_RIGHT, 39},
      {SDL_SCANCODE_DOWN, 40},    {SDL_SCANCODE_W, 87},     {SDL_SCANCODE_A, 65},
      {SDL_SCANCODE_S, 83},       {SDL_SCANCODE_D, 68},     {SDL_SCANCODE_ESCAPE, 27},
      {SDL_SCANCODE_RETURN, 13},  {SDL_SCANCODE_SPACE, 32}, {SDL_SCANCODE_LSHIFT, 16},
      {SDL_SCANCODE_RCTRL, 17},   {SDL_SCANCODE_F1, 112},   {SDL_SCANCODE_7, 55},
      {SDL_SCANCODE_DELETE, 46},  {SDL_SCANCODE_HOME, 36},  {SDL_SCANCODE_END, 35},
      {SDL_SCANCODE_BACKSPACE, 8}};
  for (auto [scancode, virtualKey] : keys) {
    pt::InjectKey(scancode, true);
    pt::InjectKey(scancode, false);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.wParam, virtualKey) << SDL_GetScancodeName(scancode);
    EXPECT_EQ(msg.hwnd, hwnd);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(msg.wParam, virtualKey);
  }
}

TEST_F(Events, AutoRepeatGivesFurtherKeyDownsMarkedAsRepeats) {
  HWND hwnd = MakeWindow();
  SetFocus(hwnd);
  pt::InjectKey(SDL_SCANCODE_LEFT, true);
  pt::InjectKey(SDL_SCANCODE_LEFT, true, true);
  std::vector<MSG> taken = Drain();
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(taken[0].lParam & (1L << 30), 0);
  EXPECT_NE(taken[1].lParam & (1L << 30), 0);
}

TEST_F(Events, AltAndF10AreSystemKeysThatNeverReachTheKeyMessages) {
  HWND hwnd = MakeWindow();
  SetFocus(hwnd);
  pt::InjectKey(SDL_SCANCODE_A, true, false, KMOD_LALT);
  pt::InjectKey(SDL_SCANCODE_F10, true);
  pt::InjectKey(SDL_SCANCODE_UNKNOWN, true);
  std::vector<MSG> taken = Drain();
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_SYSKEYDOWN));
  EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_SYSKEYDOWN));
  EXPECT_EQ(taken[1].wParam, static_cast<WPARAM>(VK_F10));
}

TEST_F(Events, TypedTextArrivesAsCharactersInOrder) {
  HWND hwnd = MakeWindow();
  SetFocus(hwnd);
  pt::InjectText("ab");
  pt::InjectText("c\xC3\xA9\xE2\x82\xAC!");  // c, e acute, euro sign (dropped), !
  std::vector<MSG> taken = Drain();
  std::string text;
  for (const MSG& msg : taken) {
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(msg.hwnd, hwnd);
    text += static_cast<char>(msg.wParam);
  }
  EXPECT_EQ(text, "abc\xE9!");
  ASSERT_EQ(Calls().size(), 5u);  // each reached the window procedure
}

TEST_F(Events, ControlKeysTypeTheirControlCharacters) {
  HWND hwnd = MakeWindow();
  SetFocus(hwnd);
  pt::InjectKey(SDL_SCANCODE_BACKSPACE, true);
  pt::InjectKey(SDL_SCANCODE_TAB, true);
  pt::InjectKey(SDL_SCANCODE_RETURN, true);
  pt::InjectKey(SDL_SCANCODE_ESCAPE, true);
  pt::InjectKey(SDL_SCANCODE_RETURN, true, false, KMOD_LCTRL);
  pt::InjectKey(SDL_SCANCODE_C, true, false, KMOD_RCTRL);
  pt::InjectKey(SDL_SCANCODE_C, true);  // plain letters come from text input, not from keys
  std::vector<int> characters;
  for (const MSG& msg : Drain()) {
    if (msg.message == WM_CHAR) characters.push_back(static_cast<int>(msg.wParam));
  }
  EXPECT_EQ(characters, (std::vector<int>{8, 9, 13, 27, 10, 3}));
}

TEST_F(Events, WheelNotchesAreMultiplesOf120InTheHighWord) {
  HWND hwnd = MakeWindow();
  pt::InjectWheel(hwnd, 1);
  pt::InjectWheel(hwnd, -2);
  pt::InjectWheel(hwnd, 0.5f);
  pt::InjectWheel(hwnd, 0, 1);
  std::vector<MSG> taken = Drain();
  ASSERT_EQ(taken.size(), 4u);
  EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_MOUSEWHEEL));
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(taken[0].wParam), 120);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(taken[1].wParam), -240);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(taken[2].wParam), 60);
  EXPECT_EQ(taken[3].message, static_cast<UINT>(WM_MOUSEHWHEEL));
  EXPECT_EQ(taken[0].hwnd, hwnd);
}

TEST_F(Events, MouseButtonsBecomeTheirMessagesWithClientCoordinates) {
  HWND hwnd = MakeWindow();
  pt::InjectMouseButton(hwnd, SDL_BUTTON_LEFT, true, 5, 6);
  pt::InjectMouseButton(hwnd, SDL_BUTTON_LEFT, true, 5, 6);  // a second click: no double-click
  pt::InjectMouseButton(hwnd, SDL_BUTTON_MIDDLE, true, 0, 0);
  pt::InjectMouseButton(hwnd, SDL_BUTTON_RIGHT, false, 0, 0);
  pt::InjectMouseButton(hwnd, SDL_BUTTON_X2, true, 0, 0);
  std::vector<MSG> taken = Drain();
  ASSERT_EQ(taken.size(), 5u);
  EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(LOWORD(taken[0].lParam), 5);
  EXPECT_EQ(HIWORD(taken[0].lParam), 6);
  EXPECT_EQ(taken[2].message, static_cast<UINT>(WM_MBUTTONDOWN));
  EXPECT_EQ(taken[3].message, static_cast<UINT>(WM_RBUTTONUP));
  EXPECT_EQ(taken[4].message, static_cast<UINT>(WM_XBUTTONDOWN));
  EXPECT_EQ(HIWORD(taken[4].wParam), XBUTTON2);
}

TEST_F(Events, ACloseRequestBecomesWmCloseForThatWindow) {
  HWND first = MakeWindow("First");
  HWND second = MakeWindow("Second");
  pt::InjectClose(second);
  std::vector<MSG> taken = Drain();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_CLOSE));
  EXPECT_EQ(taken[0].hwnd, second);
  ASSERT_EQ(Calls().size(), 1u);
  EXPECT_EQ(Calls()[0].hwnd, second);
  EXPECT_NE(first, second);
}

TEST_F(Events, AQuitRequestClosesTheWindowInFrontOrEndsTheLoop) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  pt::InjectEvent(quit);
  std::vector<MSG> taken = Drain();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_QUIT));

  HWND hwnd = MakeWindow();
  SetFocus(hwnd);
  pt::InjectEvent(quit);
  taken = Drain();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_CLOSE));
  EXPECT_EQ(taken[0].hwnd, hwnd);
}

TEST_F(Events, MouseMotionWaitingInTheQueueIsCoalesced) {
  HWND hwnd = MakeWindow();
  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.windowID = SDL_GetWindowID(platform::SdlWindowOf(hwnd));
  for (int x = 0; x < 10; ++x) {
    motion.motion.x = x;
    pt::InjectEvent(motion);
  }
  std::vector<MSG> taken = Drain();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(LOWORD(taken[0].lParam), 9);
}
