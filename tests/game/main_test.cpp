// The entry function end to end: exit codes, Escape after a drawn frame, a window close in the
// intro or the game, a window that cannot be made, and what is left afterwards.
#include "game_fixture.h"
#include "platform/windows/sdl_window.h"

namespace {

class MainTest : public GameTest {};

bool closeTheIntro = false;
HWND introWindow = nullptr;

// Resolves windows as the platform does, closing the intro's window the first time it is seen.
SDL_Window* CloseIntro(HWND hwnd) {
  auto state = platform::testing::Window(hwnd);
  if (closeTheIntro && introWindow == nullptr && state && state->title == "Kelvo Core Intro") {
    introWindow = hwnd;
    platform::testing::InjectClose(hwnd);
  }
  return platform::SdlWindowOf(hwnd);
}

}  // namespace

TEST_F(MainTest, EscapeEndsTheProgramWithOneAfterThatFrameIsPresented) {
  int presentsInLastFrame = -1;
  int result = RunProgram([&](int frame) {
    if (frame == 3) Key(SDL_SCANCODE_ESCAPE, true);
    if (frame == 4) kv::engine::testing::StartTrace();
  });
  kv::engine::testing::StopTrace();
  presentsInLastFrame = CountTraced("KvRenderScene(35)");
  EXPECT_EQ(result, 1);
  // Escape pressed before frame 4: frame 4 is the last, and it is still presented.
  EXPECT_EQ(FramesRun(), 4);
  EXPECT_EQ(presentsInLastFrame, 1);
  EXPECT_EQ(CountTraced("KvClosure("), 1);
  // The game state freed the actors and the resources; window "main" was destroyed.
  EXPECT_TRUE(Core.liveActors.Begin().IsEnd());
  EXPECT_TRUE(Core.sprites.Begin().IsEnd());
  EXPECT_FALSE(Core.windows.GetValue("main")->IsCreated());
}

TEST_F(MainTest, TheWindowIsSetUpForTheGame) {
  std::optional<platform::testing::WindowState> window;
  RunProgram([&](int frame) {
    if (frame != 1) return;
    window = platform::testing::Window(Core.windows.GetValue("main")->GetHandle());
    Core.Quit();
  });
  ASSERT_TRUE(window.has_value());
  EXPECT_EQ(window->title, "Kelvo Tumbix");
  EXPECT_EQ(window->width, 800);
  EXPECT_EQ(window->height, 600);
  EXPECT_TRUE(KV_INPUT::Instance().keyRepeatFilter);
}

TEST_F(MainTest, OnceTheIntroIsGoneTheGameDrawsStraightIntoItsWindow) {
  // The intro's window and the game's are presented in turn for a while; after that the game's
  // one window spares the software renderer a frame buffer of its own.
  bool direct = false;
  RunProgram([&](int frame) {
    if (frame != 3) return;
    direct = kv::engine::testing::DrawsIntoWindow(Core.windows.GetValue("main")->GetRenderTarget());
    Core.Quit();
  });
  EXPECT_TRUE(direct);
}

TEST_F(MainTest, AWindowCloseDuringTheIntroSkipsToTheGame) {
  closeTheIntro = true;
  introWindow = nullptr;
  kv::engine::testing::SetWindowResolver(CloseIntro);
  kv::engine::testing::StartTrace();
  int result = RunProgram([&](int frame) {
    if (frame == 1) Key(SDL_SCANCODE_ESCAPE, true);
  });
  closeTheIntro = false;
  EXPECT_NE(introWindow, nullptr);
  EXPECT_LE(CountTraced("KvRenderScene(99)"), 1);
  EXPECT_EQ(FramesRun(), 2);
  EXPECT_EQ(result, 1);
}

TEST_F(MainTest, AWindowCloseDuringTheGameEndsTheProgram) {
  int result = RunProgram([&](int frame) {
    if (frame == 5) platform::testing::InjectClose(Core.windows.GetValue("main")->GetHandle());
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(FramesRun(), 5);
}

TEST_F(MainTest, AMainWindowThatCannotBeMadeEndsWithZeroAndRunsNoState) {
  platform::testing::FailCreateWindow(1);
  kv::engine::testing::StartTrace();
  int result = RunProgram([](int) {});
  EXPECT_EQ(result, 0);
  EXPECT_EQ(FramesRun(), 0);
  EXPECT_EQ(CountTraced("KvRenderScene("), 0);
  EXPECT_EQ(CountTraced("KvClosure("), 0);
}
