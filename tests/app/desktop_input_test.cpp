// Input from the desktop, end to end: SDL events injected through the platform's translation,
// the message queue, the real frame loop and the framework's window procedure into the input
// tables, as a program reads them frame by frame. No field of the input is written by hand.
#include <functional>
#include <vector>

#include "app/window.h"
#include "app_fixture.h"

namespace {

namespace pt = platform::testing;

// What a frame saw of the input.
struct SEEN {
  bool escapeDown, escapePressed, escapeReleased;
  bool leftPressed, leftDown, leftReleased;
  bool wheelUp;
  int wheelNotches;
  int cursorX, cursorY;  // in the window
  std::string typed;
};

class DesktopInputTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    KV_INPUT::Instance().keyRepeatFilter = 1;
    window.title = "Desktop Input";
    window.x = 100;
    window.y = 50;
    window.width = 320;
    window.height = 240;
    ASSERT_TRUE(window.Create(KV_HANDLE()));
  }
  void TearDown() override {
    window.Destroy();
    AppTest::TearDown();
  }

  // Runs the frame loop for one frame per step: a frame reads the input of the events that the
  // step before it injected, then its own step injects the next ones.
  std::vector<SEEN> Run(std::vector<std::function<void()>> steps) {
    script = std::move(steps);
    seen.clear();
    current = this;
    KV_LOOP::Instance().Run(Frame, 0);
    return seen;
  }

  static void Frame(HWND, uintptr_t) {
    DesktopInputTest& test = *current;
    KV_INPUT& input = KV_INPUT::Instance();
    KV_STRING typed;
    KvReadText(typed, true);
    test.seen.push_back(SEEN{KvKeyDown(VK_ESCAPE), KvKeyPressed(VK_ESCAPE),
                             KvKeyReleased(VK_ESCAPE), KvMousePressed(1), KvMouseDown(1),
                             KvMouseReleased(1), KvMouseDown(4) != 0, input.wheelNotches,
                             KvCursorXIn(&test.window), KvCursorYIn(&test.window), typed.c_str()});
    size_t step = test.seen.size() - 1;
    if (step < test.script.size()) {
      test.script[step]();
    } else {
      KV_LOOP::Instance().running = 0;
    }
  }

  KV_WINDOW window;
  std::vector<std::function<void()>> script;
  std::vector<SEEN> seen;
  static DesktopInputTest* current;
};

DesktopInputTest* DesktopInputTest::current = nullptr;

}  // namespace

TEST_F(DesktopInputTest, AHeldKeyPressesOnceThroughRepeatsAndAFocusChange) {
  pt::UseTestKeyboard();
  HWND hwnd = window.hwnd;
  Uint32 gone = 0x7FFF;  // the window that had the focus before, already destroyed
  std::vector<SEEN> frames = Run({
      [&] { pt::InjectKey(SDL_SCANCODE_ESCAPE, true, false, KMOD_NONE, hwnd); },
      [&] { pt::InjectKey(SDL_SCANCODE_ESCAPE, true, true, KMOD_NONE, hwnd); },  // auto-repeat
      [&] {
        // Another window takes the focus while Escape is held, then this one takes it back,
        // and the held key comes down again there.
        pt::InjectFocusMove(pt::SdlWindowId(hwnd), gone, {SDL_SCANCODE_ESCAPE});
        pt::InjectFocusMove(gone, pt::SdlWindowId(hwnd), {});
        pt::InjectKey(SDL_SCANCODE_ESCAPE, true, false, KMOD_NONE, hwnd);
      },
      [&] { pt::InjectKey(SDL_SCANCODE_ESCAPE, false, false, KMOD_NONE, hwnd); },
      [&] { pt::InjectKey(SDL_SCANCODE_ESCAPE, true, false, KMOD_NONE, hwnd); },
  });
  ASSERT_EQ(frames.size(), 6u);
  EXPECT_FALSE(frames[0].escapeDown);
  EXPECT_TRUE(frames[1].escapePressed);
  EXPECT_TRUE(frames[1].escapeDown);
  for (int i : {2, 3}) {
    EXPECT_FALSE(frames[i].escapePressed) << i;
    EXPECT_FALSE(frames[i].escapeReleased) << i;
    EXPECT_TRUE(frames[i].escapeDown) << i;
  }
  EXPECT_TRUE(frames[4].escapeReleased);
  EXPECT_FALSE(frames[4].escapeDown);
  EXPECT_TRUE(frames[5].escapePressed);  // a fresh press after the release
}

TEST_F(DesktopInputTest, AKeyLetGoWhileAnotherProgramHasTheFocusIsReleasedInTheFrameAfter) {
  pt::UseTestKeyboard();
  HWND hwnd = window.hwnd;
  Uint32 id = pt::SdlWindowId(hwnd);
  std::vector<SEEN> frames = Run({
      [&] { pt::InjectKey(SDL_SCANCODE_ESCAPE, true, false, KMOD_NONE, hwnd); },
      // Another program takes the focus with Escape held; frames go by while it has it.
      [&] { pt::InjectFocusMove(id, 0, {SDL_SCANCODE_ESCAPE}); },
      [] {},
      [] { pt::SetKeyHeld(SDL_SCANCODE_ESCAPE, false); },
      [&] {
        pt::InjectFocusMove(0, id, {});
        pt::InjectKey(SDL_SCANCODE_ESCAPE, true, false, KMOD_NONE, hwnd);
      },
  });
  ASSERT_EQ(frames.size(), 6u);
  EXPECT_TRUE(frames[1].escapePressed);
  for (int i : {2, 3}) {
    EXPECT_TRUE(frames[i].escapeDown) << i;
    EXPECT_FALSE(frames[i].escapeReleased) << i;
  }
  EXPECT_TRUE(frames[4].escapeReleased);
  EXPECT_FALSE(frames[4].escapeDown);
  EXPECT_TRUE(frames[5].escapePressed);  // back in the window, a fresh press
}

TEST_F(DesktopInputTest, TypedTextAndControlKeysBecomeCharacters) {
  std::vector<SEEN> frames = Run({
      [] {
        pt::InjectText("h\xC3\xA9");  // h, e acute
        pt::InjectKey(SDL_SCANCODE_BACKSPACE, true);
        pt::InjectKey(SDL_SCANCODE_C, true, false, KMOD_LCTRL);
        pt::InjectKey(SDL_SCANCODE_RETURN, true);
      },
  });
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1].typed, "h\xE9\b\x03\r");
  EXPECT_EQ(KvCharCount(), 0u);  // the loop emptied the queue after the frame
}

TEST_F(DesktopInputTest, AClickIsReadWhereItHappenedAndTheWheelAndDragsArrive) {
  HWND hwnd = window.hwnd;
  pt::SetCursorPosition(0, 0);
  std::vector<SEEN> frames = Run({
      [&] { pt::InjectMouseButton(hwnd, SDL_BUTTON_LEFT, true, 40, 30); },
      [&] {
        pt::InjectMouseMotion(hwnd, 60, 45, SDL_BUTTON_LMASK);
        pt::InjectMouseMotion(hwnd, 90, 70, SDL_BUTTON_LMASK);
      },
      [&] { pt::InjectMouseButton(hwnd, SDL_BUTTON_LEFT, false, 90, 70); },
      [&] { pt::InjectWheel(hwnd, 2); },
  });
  ASSERT_EQ(frames.size(), 5u);
  // The press is read at its point in the window, not where the cursor was before.
  EXPECT_TRUE(frames[1].leftPressed);
  EXPECT_EQ(frames[1].cursorX, 40);
  EXPECT_EQ(frames[1].cursorY, 30);
  // Dragged with the button held.
  EXPECT_TRUE(frames[2].leftDown);
  EXPECT_FALSE(frames[2].leftPressed);
  EXPECT_EQ(frames[2].cursorX, 90);
  EXPECT_EQ(frames[2].cursorY, 70);
  EXPECT_TRUE(frames[3].leftReleased);
  EXPECT_FALSE(frames[3].leftDown);
  EXPECT_TRUE(frames[4].wheelUp);
  EXPECT_EQ(frames[4].wheelNotches, 2);
}
