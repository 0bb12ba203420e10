// The game played from the desktop's key events, through the platform's translation, the
// message queue, the window procedure and the input tables: Escape held while the intro's
// window goes and the game's window takes the keyboard does not quit, a fresh press does.
#include "game_fixture.h"
#include "platform/windows/sdl_window.h"

namespace {

class DesktopKeysTest : public GameTest {};

HWND intro = nullptr;
Uint32 introId = 0;

// Resolves windows as the platform does; the first time the intro's window is seen, Escape goes
// down on it and stays down.
SDL_Window* HoldEscapeInTheIntro(HWND hwnd) {
  auto state = platform::testing::Window(hwnd);
  if (intro == nullptr && state && state->title == "Kelvo Core Intro") {
    intro = hwnd;
    introId = platform::testing::SdlWindowId(hwnd);
    platform::testing::InjectKey(SDL_SCANCODE_ESCAPE, true, false, KMOD_NONE, hwnd);
  }
  return platform::SdlWindowOf(hwnd);
}

}  // namespace

TEST_F(DesktopKeysTest, EscapeHeldThroughTheIntrosEndDoesNotQuitButAFreshPressDoes) {
  intro = nullptr;
  platform::testing::UseTestKeyboard();
  kv::engine::testing::SetWindowResolver(HoldEscapeInTheIntro);
  int result = RunProgram([&](int frame) {
    if (frame == 1) {
      // As the intro's window went, the desktop moved the keyboard to the game's window with
      // Escape still held; its auto-repeat goes on there.
      HWND main = Core.windows.GetValue("main")->GetHandle();
      platform::testing::InjectFocusMove(introId, platform::testing::SdlWindowId(main),
                                         {SDL_SCANCODE_ESCAPE});
      Key(SDL_SCANCODE_ESCAPE, true);
    }
    if (frame == 3) platform::testing::InjectKey(SDL_SCANCODE_ESCAPE, true, true);
    if (frame == 5) Key(SDL_SCANCODE_ESCAPE, false);
    if (frame == 7) Key(SDL_SCANCODE_ESCAPE, true);
  });
  ASSERT_NE(intro, nullptr);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(FramesRun(), 8);  // the fresh press before frame 8 ended the game after it
}

TEST_F(DesktopKeysTest, EscapeHeldWhileTheGameWindowTakesSecondsToGetTheKeyboardDoesNotQuit) {
  intro = nullptr;
  platform::testing::UseTestKeyboard();
  kv::engine::testing::SetWindowResolver(HoldEscapeInTheIntro);
  int result = RunProgram([&](int frame) {
    HWND main = Core.windows.GetValue("main")->GetHandle();
    Uint32 mainId = platform::testing::SdlWindowId(main);
    // The intro's window went with Escape held; on a busy desktop the game's window gets the
    // keyboard only seconds later, then Escape's repeats arrive there.
    if (frame == 1) platform::testing::InjectFocusMove(introId, 0, {SDL_SCANCODE_ESCAPE});
    if (frame == 2 || frame == 3) platform::testing::AdvanceTestClock(2);
    if (frame == 4) platform::testing::InjectFocusMove(0, mainId, {});
    if (frame == 5) Key(SDL_SCANCODE_ESCAPE, true);
    if (frame == 6) platform::testing::InjectKey(SDL_SCANCODE_ESCAPE, true, true);
    if (frame == 7) Key(SDL_SCANCODE_ESCAPE, false);
    if (frame == 9) Key(SDL_SCANCODE_ESCAPE, true);
  });
  ASSERT_NE(intro, nullptr);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(FramesRun(), 10);  // only the fresh press before frame 10 ended the game
}
