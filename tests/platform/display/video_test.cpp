// Where no display can be opened, windows are refused after one line on stderr that says why;
// nothing falls back to an invisible window. Each case runs in a fresh process of its own (video
// starts once per process), with the environment a person's shell would give it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/testing/testing.h"
#include "platform/winapi/windows.h"

namespace {

// Whether a popup window can be made, the first call that starts video.
bool WindowCanBeMade() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "No Display";
  if (!RegisterClassA(&windowClass)) return false;
  return CreateWindowExA(0, "No Display", "No Display", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr,
                         nullptr, nullptr) != nullptr;
}

// Exits 0 when the window was refused and the screen reads as absent, 1 otherwise.
void TryWithoutDisplay() {
  unsetenv("WAYLAND_DISPLAY");
  bool made = WindowCanBeMade();
  bool screenAbsent = GetSystemMetrics(SM_CXSCREEN) == 0 && GetDC(nullptr) == nullptr;
  std::exit(!made && screenAbsent ? 0 : 1);
}

class NoDisplay : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

}  // namespace

TEST_F(NoDisplay, ADisplayThatCannotBeOpenedRefusesWindowsWithOneLine) {
  EXPECT_EXIT(
      {
        unsetenv("SDL_VIDEODRIVER");
        setenv("DISPLAY", ":4093", 1);
        TryWithoutDisplay();
      },
      ::testing::ExitedWithCode(0), "^[^\n]*cannot open the display \":4093\"[^\n]*\n$");
}

TEST_F(NoDisplay, NoDisplayNamedRefusesWindowsWithOneLine) {
  EXPECT_EXIT(
      {
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("DISPLAY");
        TryWithoutDisplay();
      },
      ::testing::ExitedWithCode(0), "^[^\n]*no display: DISPLAY is not set[^\n]*\n$");
}

TEST_F(NoDisplay, AVideoDriverThatCannotStartIsNotReplacedByAnother) {
  EXPECT_EXIT(
      {
        setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
        TryWithoutDisplay();
      },
      ::testing::ExitedWithCode(0),
      "^[^\n]*cannot start the video driver \"no-such-driver\"[^\n]*\n$");
}
