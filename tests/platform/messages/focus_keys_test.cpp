// Keys held while the keyboard focus moves, as SDL reports the move (a release of every held key
// and the focus loss at the same moment, then the focus gain): the key stays down and its next
// key-down is a repeat; a key that does not come back is released a little later. And the
// Control state a key message carries, which decides its control character.
#include "platform/platform_fixture.h"

namespace pt = platform::testing;

namespace {

constexpr LPARAM kWasDown = 1L << 30;

class FocusKeys : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    pt::UseTestClock(0.0001);
    intro = MakeWindow("Intro");
    main = MakeWindow("Main");
    ShowWindow(main, SW_SHOW);
    ShowWindow(intro, SW_SHOW);
  }

  // The key messages among the messages waiting, in order (taken and dispatched).
  static std::vector<MSG> KeyMessages() {
    std::vector<MSG> keys;
    for (const MSG& msg : Drain())
      if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) keys.push_back(msg);
    return keys;
  }

  HWND intro = nullptr;
  HWND main = nullptr;
};

}  // namespace

TEST_F(FocusKeys, AKeyHeldAsTheFocusMovesStaysDownAndComesBackAsARepeat) {
  pt::InjectKey(SDL_SCANCODE_ESCAPE, true, false, KMOD_NONE, intro);
  std::vector<MSG> before = KeyMessages();
  ASSERT_EQ(before.size(), 1u);
  EXPECT_EQ(before[0].lParam & kWasDown, 0);

  // The intro window goes while Escape is held; the focus arrives at the main window.
  Uint32 introId = pt::SdlWindowId(intro);
  DestroyWindow(intro);
  pt::InjectFocusMove(introId, pt::SdlWindowId(main), {SDL_SCANCODE_ESCAPE});
  pt::InjectKey(SDL_SCANCODE_ESCAPE, true, false, KMOD_NONE, main);
  std::vector<MSG> after = KeyMessages();
  // No release reached the program; the key-down there says the key was down already.
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(after[0].hwnd, main);
  EXPECT_NE(after[0].lParam & kWasDown, 0);

  // Let go and pressed again: a release, then a fresh press.
  pt::InjectKey(SDL_SCANCODE_ESCAPE, false, false, KMOD_NONE, main);
  pt::InjectKey(SDL_SCANCODE_ESCAPE, true, false, KMOD_NONE, main);
  std::vector<MSG> again = KeyMessages();
  ASSERT_EQ(again.size(), 2u);
  EXPECT_EQ(again[0].message, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(again[1].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(again[1].lParam & kWasDown, 0);
}

TEST_F(FocusKeys, AKeyThatDoesNotComeBackIsReleasedLate) {
  // The focus goes to another program: the held keys are released once it does not come back.
  pt::InjectKey(SDL_SCANCODE_LEFT, true, false, KMOD_NONE, intro);
  KeyMessages();
  pt::InjectFocusMove(pt::SdlWindowId(intro), 0, {SDL_SCANCODE_LEFT});
  EXPECT_TRUE(KeyMessages().empty());
  pt::AdvanceTestClock(0.3);
  std::vector<MSG> late = KeyMessages();
  ASSERT_EQ(late.size(), 1u);
  EXPECT_EQ(late[0].message, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(late[0].wParam, static_cast<WPARAM>(VK_LEFT));

  // The focus arrives at the main window, but the key never comes down again there (it was let
  // go in between): released a second after the focus left.
  pt::InjectKey(SDL_SCANCODE_UP, true, false, KMOD_NONE, intro);
  KeyMessages();
  pt::InjectFocusMove(pt::SdlWindowId(intro), pt::SdlWindowId(main), {SDL_SCANCODE_UP});
  pt::AdvanceTestClock(0.5);
  EXPECT_TRUE(KeyMessages().empty());
  pt::AdvanceTestClock(0.6);
  late = KeyMessages();
  ASSERT_EQ(late.size(), 1u);
  EXPECT_EQ(late[0].wParam, static_cast<WPARAM>(VK_UP));
  EXPECT_EQ(late[0].hwnd, main);
}

TEST_F(FocusKeys, OnlyTheReleasesOfTheFocusLossAreHeldBack) {
  // A key let go before the focus moves, at another moment, is released at once; the key still
  // held is not, and a later fresh press of the released key is a press.
  Uint32 introId = pt::SdlWindowId(intro);
  std::vector<SDL_Event> events(4);
  for (SDL_Event& event : events) event.key.windowID = introId;
  events[0].type = events[0].key.type = SDL_KEYUP;
  events[0].key.timestamp = 100;
  events[0].key.keysym.scancode = SDL_SCANCODE_A;
  events[1] = events[0];
  events[1].key.timestamp = 500;
  events[1].key.keysym.scancode = SDL_SCANCODE_D;
  events[2].type = events[2].window.type = SDL_WINDOWEVENT;
  events[2].window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  events[2].window.timestamp = 500;
  events[2].window.windowID = introId;
  events[3] = events[2];
  events[3].window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  events[3].window.windowID = pt::SdlWindowId(main);
  pt::InjectEvents(events);
  std::vector<MSG> keys = KeyMessages();
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>('A'));
  pt::InjectKey(SDL_SCANCODE_A, true, false, KMOD_NONE, main);
  pt::InjectKey(SDL_SCANCODE_D, true, false, KMOD_NONE, main);
  keys = KeyMessages();
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].lParam & kWasDown, 0);
  EXPECT_NE(keys[1].lParam & kWasDown, 0);
}

// ---- Control travels inside the key message ----

TEST_F(FocusKeys, TheControlCharacterComesFromTheMessageTranslated) {
  SetFocus(main);
  pt::InjectKey(SDL_SCANCODE_C, true, false, KMOD_LCTRL);
  pt::InjectKey(SDL_SCANCODE_V, true);
  MSG withControl{}, without{};
  ASSERT_TRUE(PeekMessageA(&withControl, nullptr, 0, 0, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&without, nullptr, 0, 0, PM_REMOVE));
  // Translated after a later message was taken, each still makes its own character.
  TranslateMessage(&without);
  TranslateMessage(&withControl);
  std::vector<MSG> typed = Drain();
  ASSERT_EQ(typed.size(), 1u);
  EXPECT_EQ(typed[0].message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(typed[0].wParam, 3u);
  // A key message a program posts says nothing of Control: no control character, whatever key
  // event came before it.
  pt::InjectKey(SDL_SCANCODE_C, true, false, KMOD_RCTRL);
  Drain();
  PostMessageA(main, WM_KEYDOWN, 'C', 0);
  std::vector<MSG> posted = Drain();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_KEYDOWN));
}
