// Keys held while the keyboard focus moves, as SDL reports the move (a release of every held key
// and the focus loss, then the focus gain): only the key-ups right before the focus loss may be
// held back, those whose key the display still holds down; such a key's next key-down is a
// repeat, and its release goes out when the display lets go of it, however the events fall into
// pumps and however long the focus takes to arrive. Every other key-up is a release, also when
// the key is down again by the time the display is asked. Where the display cannot be asked,
// time decides when a held-back key is let go. And the Control state a key message carries,
// which decides its control character.
#include "platform/platform_fixture.h"

namespace pt = platform::testing;

namespace {

constexpr LPARAM kWasDown = 1L << 30;

class FocusKeys : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    pt::UseTestClock(0.0001);
    pt::UseTestKeyboard();
    intro = MakeWindow("Intro");
    main = MakeWindow("Main");
    ShowWindow(main, SW_SHOW);
    ShowWindow(intro, SW_SHOW);
    introId = pt::SdlWindowId(intro);
    mainId = pt::SdlWindowId(main);
  }

  // The key messages among the messages waiting, in order (taken and dispatched): each call
  // is a pump of the queue.
  static std::vector<MSG> KeyMessages() {
    std::vector<MSG> keys;
    for (const MSG& msg : Drain())
      if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) keys.push_back(msg);
    return keys;
  }

  // One event of a focus change, as SDL makes it.
  static SDL_Event Release(Uint32 window, SDL_Scancode scancode, Uint32 timestamp = 500) {
    SDL_Event event{};
    event.type = event.key.type = SDL_KEYUP;
    event.key.timestamp = timestamp;
    event.key.windowID = window;
    event.key.keysym.scancode = scancode;
    return event;
  }
  static SDL_Event Press(Uint32 window, SDL_Scancode scancode) {
    SDL_Event event = Release(window, scancode);
    event.type = event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    return event;
  }
  static SDL_Event FocusEvent(Uint32 window, SDL_WindowEventID change, Uint32 timestamp = 500) {
    SDL_Event event{};
    event.type = event.window.type = SDL_WINDOWEVENT;
    event.window.event = static_cast<Uint8>(change);
    event.window.timestamp = timestamp;
    event.window.windowID = window;
    return event;
  }

  // Holds a key down on a window, as a person does; the press is taken.
  static void Hold(SDL_Scancode scancode, HWND hwnd) {
    pt::InjectKey(scancode, true, false, KMOD_NONE, hwnd);
    ASSERT_EQ(KeyMessages().size(), 1u);
  }

  static void ExpectOne(const std::vector<MSG>& keys, UINT message, WPARAM key, HWND hwnd,
                        bool wasDown) {
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].message, message);
    EXPECT_EQ(keys[0].wParam, key);
    EXPECT_EQ(keys[0].hwnd, hwnd);
    EXPECT_EQ((keys[0].lParam & kWasDown) != 0, wasDown);
  }

  HWND intro = nullptr;
  HWND main = nullptr;
  Uint32 introId = 0;
  Uint32 mainId = 0;
};

}  // namespace

// ---- The display holds the key: it stays down ----

TEST_F(FocusKeys, AKeyHeldAsTheFocusMovesStaysDownAndComesBackAsARepeat) {
  Hold(SDL_SCANCODE_ESCAPE, intro);
  // The intro window goes while Escape is held; the focus arrives at the main window.
  DestroyWindow(intro);
  pt::InjectFocusMove(introId, mainId, {SDL_SCANCODE_ESCAPE});
  EXPECT_TRUE(KeyMessages().empty());
  pt::AdvanceTestClock(5);  // however long the key stays held before it comes down there
  EXPECT_TRUE(KeyMessages().empty());
  pt::InjectKey(SDL_SCANCODE_ESCAPE, true, false, KMOD_NONE, main);
  ExpectOne(KeyMessages(), WM_KEYDOWN, VK_ESCAPE, main, true);

  // Let go and pressed again: a release, then a fresh press.
  pt::InjectKey(SDL_SCANCODE_ESCAPE, false, false, KMOD_NONE, main);
  pt::InjectKey(SDL_SCANCODE_ESCAPE, true, false, KMOD_NONE, main);
  std::vector<MSG> again = KeyMessages();
  ASSERT_EQ(again.size(), 2u);
  EXPECT_EQ(again[0].message, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(again[1].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(again[1].lParam & kWasDown, 0);
}

TEST_F(FocusKeys, TheReleaseAndTheFocusLossMayComeInSeparatePumpsAndTheFocusSecondsLater) {
  Hold(SDL_SCANCODE_ESCAPE, intro);
  pt::InjectEvents({Release(introId, SDL_SCANCODE_ESCAPE, 100)});
  EXPECT_TRUE(KeyMessages().empty());
  pt::AdvanceTestClock(0.5);
  pt::InjectEvents({FocusEvent(introId, SDL_WINDOWEVENT_FOCUS_LOST, 900)});
  EXPECT_TRUE(KeyMessages().empty());
  pt::AdvanceTestClock(3);
  EXPECT_TRUE(KeyMessages().empty());
  pt::InjectEvents({FocusEvent(mainId, SDL_WINDOWEVENT_FOCUS_GAINED, 3900)});
  pt::AdvanceTestClock(2);
  EXPECT_TRUE(KeyMessages().empty());
  // The key's repeats arrive at the main window: still one press.
  pt::InjectKey(SDL_SCANCODE_ESCAPE, true, false, KMOD_NONE, main);
  pt::InjectKey(SDL_SCANCODE_ESCAPE, true, true, KMOD_NONE, main);
  std::vector<MSG> repeats = KeyMessages();
  ASSERT_EQ(repeats.size(), 2u);
  for (const MSG& msg : repeats) EXPECT_NE(msg.lParam & kWasDown, 0);
}

TEST_F(FocusKeys, AKeyLetGoWhileNoWindowHasTheFocusIsReleasedWhenTheDisplaySaysSo) {
  // The focus goes to another program with Left held; it is let go there.
  Hold(SDL_SCANCODE_LEFT, intro);
  pt::InjectFocusMove(introId, 0, {SDL_SCANCODE_LEFT});
  pt::AdvanceTestClock(10);
  EXPECT_TRUE(KeyMessages().empty());
  pt::SetKeyHeld(SDL_SCANCODE_LEFT, false);
  ExpectOne(KeyMessages(), WM_KEYUP, VK_LEFT, intro, true);
  // Back in the program, the key pressed again is a fresh press.
  pt::InjectEvents({FocusEvent(mainId, SDL_WINDOWEVENT_FOCUS_GAINED)});
  pt::InjectKey(SDL_SCANCODE_LEFT, true, false, KMOD_NONE, main);
  ExpectOne(KeyMessages(), WM_KEYDOWN, VK_LEFT, main, false);

  // Let go after the focus arrived at the main window, without coming down there first: the
  // release goes to the window with the focus.
  Hold(SDL_SCANCODE_UP, main);
  pt::InjectFocusMove(mainId, introId, {SDL_SCANCODE_UP});
  EXPECT_TRUE(KeyMessages().empty());
  pt::SetKeyHeld(SDL_SCANCODE_UP, false);
  ExpectOne(KeyMessages(), WM_KEYUP, VK_UP, intro, true);
}

TEST_F(FocusKeys, AReleaseFollowedByAPressOfTheSameKeyIsARealRelease) {
  // Let go and pressed again before the batch was read: the display holds the key down again by
  // the time it is asked, yet the release and the fresh press both reach the program.
  Hold(SDL_SCANCODE_SPACE, main);
  pt::InjectEvents({Release(mainId, SDL_SCANCODE_SPACE), Press(mainId, SDL_SCANCODE_SPACE)});
  std::vector<MSG> keys = KeyMessages();
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(keys[1].lParam & kWasDown, 0);
  // A focus change between them makes the key-up the focus change's again: a modifier that the
  // new window finds held comes down there as a repeat.
  pt::InjectEvents(
      {Release(mainId, SDL_SCANCODE_SPACE), FocusEvent(mainId, SDL_WINDOWEVENT_FOCUS_LOST),
       FocusEvent(introId, SDL_WINDOWEVENT_FOCUS_GAINED), Press(introId, SDL_SCANCODE_SPACE)});
  ExpectOne(KeyMessages(), WM_KEYDOWN, VK_SPACE, intro, true);
}

TEST_F(FocusKeys, AKeyLetGoAndPressedAgainAcrossPumpsIsReleasedAndPressedAfresh) {
  // Let go and pressed again quickly, again and again: the display holds the key down again
  // when the release's pump asks it, and the new press comes in the next pump.
  Hold(SDL_SCANCODE_SPACE, main);
  std::vector<MSG> keys;
  for (int press = 0; press < 3; ++press) {
    for (const SDL_Event& event :
         {Release(mainId, SDL_SCANCODE_SPACE), Press(mainId, SDL_SCANCODE_SPACE)}) {
      pt::InjectEvents({event});
      for (const MSG& msg : KeyMessages()) keys.push_back(msg);
    }
  }
  ASSERT_EQ(keys.size(), 6u);
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].message, static_cast<UINT>(i % 2 == 0 ? WM_KEYUP : WM_KEYDOWN)) << i;
    EXPECT_EQ(keys[i].hwnd, main) << i;
    EXPECT_EQ(keys[i].lParam & kWasDown, i % 2 == 0 ? kWasDown : 0) << i;
  }
  // Let go for good: the release goes out once the display says the key is up, with no further
  // event.
  pt::InjectEvents({Release(mainId, SDL_SCANCODE_SPACE)});
  pt::SetKeyHeld(SDL_SCANCODE_SPACE, false);
  ExpectOne(KeyMessages(), WM_KEYUP, VK_SPACE, main, true);
}

TEST_F(FocusKeys, EveryKeyHeldAtAFocusLossIsLetGoAsTheDisplayLetsGoOfIt) {
  Hold(SDL_SCANCODE_A, intro);
  Hold(SDL_SCANCODE_D, intro);
  Hold(SDL_SCANCODE_W, intro);
  // W let go and pressed again quickly, across two pumps, before the focus moves: a release and
  // a fresh press.
  pt::InjectEvents({Release(introId, SDL_SCANCODE_W)});
  pt::InjectEvents({Press(introId, SDL_SCANCODE_W)});
  std::vector<MSG> again = KeyMessages();
  ASSERT_EQ(again.size(), 2u);
  EXPECT_EQ(again[0].message, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(again[1].lParam & kWasDown, 0);
  // The focus moves with all three held: each stays down until the display lets go of it, and
  // its release goes to the window with the focus.
  pt::InjectFocusMove(introId, mainId, {SDL_SCANCODE_A, SDL_SCANCODE_D, SDL_SCANCODE_W});
  EXPECT_TRUE(KeyMessages().empty());
  pt::SetKeyHeld(SDL_SCANCODE_D, false);
  ExpectOne(KeyMessages(), WM_KEYUP, 'D', main, true);
  pt::SetKeyHeld(SDL_SCANCODE_A, false);
  pt::SetKeyHeld(SDL_SCANCODE_W, false);
  std::vector<MSG> rest = KeyMessages();
  ASSERT_EQ(rest.size(), 2u);
  for (const MSG& msg : rest) {
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(msg.hwnd, main);
  }
}

TEST_F(FocusKeys, OnlyKeysTheDisplayHoldsAreHeldBack) {
  // A key let go before the focus moves is released at once, whatever the timing; the key
  // still held is not, and a later fresh press of the released key is a press.
  Hold(SDL_SCANCODE_A, intro);
  Hold(SDL_SCANCODE_D, intro);
  pt::SetKeyHeld(SDL_SCANCODE_A, false);
  pt::InjectEvents({Release(introId, SDL_SCANCODE_A), Release(introId, SDL_SCANCODE_D),
                    FocusEvent(introId, SDL_WINDOWEVENT_FOCUS_LOST),
                    FocusEvent(mainId, SDL_WINDOWEVENT_FOCUS_GAINED)});
  ExpectOne(KeyMessages(), WM_KEYUP, 'A', intro, true);
  pt::InjectKey(SDL_SCANCODE_A, true, false, KMOD_NONE, main);
  pt::InjectKey(SDL_SCANCODE_D, true, false, KMOD_NONE, main);
  std::vector<MSG> keys = KeyMessages();
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].lParam & kWasDown, 0);
  EXPECT_NE(keys[1].lParam & kWasDown, 0);
}

// ---- A display that cannot be asked: time decides ----

TEST_F(FocusKeys, WithoutTheDisplaysWordAKeyThatDoesNotComeBackIsReleasedLate) {
  pt::UseTestKeyboard(false);
  // The focus goes to another program: the held keys are released once it does not come back.
  Hold(SDL_SCANCODE_LEFT, intro);
  pt::InjectFocusMove(introId, 0, {SDL_SCANCODE_LEFT});
  EXPECT_TRUE(KeyMessages().empty());
  pt::AdvanceTestClock(0.3);
  ExpectOne(KeyMessages(), WM_KEYUP, VK_LEFT, intro, true);

  // The focus arrives at the main window, but the key never comes down again there (it was let
  // go in between): released a second after the focus left.
  Hold(SDL_SCANCODE_UP, intro);
  pt::InjectFocusMove(introId, mainId, {SDL_SCANCODE_UP});
  pt::AdvanceTestClock(0.5);
  EXPECT_TRUE(KeyMessages().empty());
  pt::AdvanceTestClock(0.6);
  ExpectOne(KeyMessages(), WM_KEYUP, VK_UP, main, true);
}

TEST_F(FocusKeys, WithoutTheDisplaysWordTheKeyUpsRightBeforeTheFocusLossAreHeldBack) {
  pt::UseTestKeyboard(false);
  // A key-up that ends its batch, or that other events follow, is a release.
  pt::InjectEvents({Release(introId, SDL_SCANCODE_S, 100)});
  ExpectOne(KeyMessages(), WM_KEYUP, 'S', intro, true);
  // The run of key-ups right before the focus loss is held back, however far apart SDL stamped
  // them (the program may lose the processor between them).
  pt::InjectEvents({Release(introId, SDL_SCANCODE_A, 100), Press(introId, SDL_SCANCODE_W),
                    Release(introId, SDL_SCANCODE_D, 500),
                    FocusEvent(introId, SDL_WINDOWEVENT_FOCUS_LOST, 504),
                    FocusEvent(mainId, SDL_WINDOWEVENT_FOCUS_GAINED, 504)});
  std::vector<MSG> keys = KeyMessages();
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>('A'));
  EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>('W'));
  pt::InjectKey(SDL_SCANCODE_D, true, false, KMOD_NONE, main);
  ExpectOne(KeyMessages(), WM_KEYDOWN, 'D', main, true);
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
