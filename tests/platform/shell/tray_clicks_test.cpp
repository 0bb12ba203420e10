// Pointer events on a tray icon become its callback message, posted to its window with the icon's
// id and the mouse message: each button's press and release, double clicks within the time and
// distance, moves coalesced, and nothing for an icon without a callback.
#include "platform/platform_fixture.h"

namespace pt = platform::testing;

namespace {

// X's button numbers (X.h's Button1 to Button5, whose header's names clash with the test's).
constexpr unsigned Button1 = 1, Button2 = 2, Button3 = 3, Button4 = 4, Button5 = 5;
constexpr UINT kId = 9;
constexpr UINT kCallback = WM_APP;

class TrayClicks : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    hwnd = MakeWindow("Tray Clicks");
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd;
    data.uID = kId;
    data.uFlags = NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kCallback;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  }

  void Click(unsigned button, unsigned long time, int x = 5, int y = 5) {
    ASSERT_TRUE(pt::InjectTrayButton(hwnd, kId, button, true, time, x, y));
    ASSERT_TRUE(pt::InjectTrayButton(hwnd, kId, button, false, time + 40, x, y));
  }

  // The mouse messages of the callbacks that reached the window procedure, each checked to be
  // the icon's callback with its id.
  std::vector<LPARAM> Heard() {
    Drain();
    std::vector<LPARAM> heard;
    for (const ProcCall& call : Calls()) {
      EXPECT_EQ(call.hwnd, hwnd);
      EXPECT_EQ(call.message, kCallback);
      EXPECT_EQ(call.wParam, kId);
      heard.push_back(call.lParam);
    }
    Calls().clear();
    return heard;
  }

  HWND hwnd = nullptr;
};

TEST_F(TrayClicks, EachButtonPostsItsPressAndRelease) {
  Click(Button1, 1000);
  Click(Button3, 3000);
  Click(Button2, 5000);
  EXPECT_EQ(Heard(), (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                                          WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}));
  // The wheel and the side buttons send nothing.
  for (unsigned button : {Button4, Button5, 8u, 9u}) Click(button, 7000);
  EXPECT_TRUE(Heard().empty());
}

TEST_F(TrayClicks, ASecondPressSoonAndNearIsADoubleClick) {
  Click(Button1, 1000, 5, 5);
  Click(Button1, 1400, 7, 3);  // 400 ms later, 2 pixels away
  Click(Button1, 1600, 7, 3);  // a third press starts over
  EXPECT_EQ(Heard(), (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                          WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
  Click(Button3, 5000);
  Click(Button3, 5100);
  EXPECT_EQ(Heard(),
            (std::vector<LPARAM>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_RBUTTONUP}));
  // Time stamps that wrapped around past 32 bits still pair.
  Click(Button2, 0xFFFFFF00ul);
  Click(Button2, 0x00000010ul);
  EXPECT_EQ(Heard(),
            (std::vector<LPARAM>{WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, WM_MBUTTONUP}));
}

TEST_F(TrayClicks, TooLateTooFarOrAnotherButtonIsAFreshPress) {
  Click(Button1, 1000);
  Click(Button1, 1600);        // 600 ms later
  Click(Button1, 1700, 8, 5);  // 3 pixels away
  Click(Button3, 1800, 8, 5);  // another button
  Click(Button1, 1900, 8, 5);  // the right press came between
  EXPECT_EQ(Heard(),
            (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                 WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP,
                                 WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(TrayClicks, MovesAreCoalescedWhileTheyWait) {
  ASSERT_TRUE(pt::InjectTrayMotion(hwnd, kId, 1, 1));
  ASSERT_TRUE(pt::InjectTrayMotion(hwnd, kId, 2, 2));
  ASSERT_TRUE(pt::InjectTrayButton(hwnd, kId, Button1, true, 100));
  ASSERT_TRUE(pt::InjectTrayMotion(hwnd, kId, 3, 3));
  EXPECT_EQ(Heard(), (std::vector<LPARAM>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE}));
  ASSERT_TRUE(pt::InjectTrayMotion(hwnd, kId, 4, 4));
  EXPECT_EQ(Heard(), (std::vector<LPARAM>{WM_MOUSEMOVE}));
}

TEST_F(TrayClicks, NothingIsPostedWithoutACallbackOrAnIcon) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = kId + 1;
  data.uFlags = NIF_TIP;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  ASSERT_TRUE(pt::InjectTrayButton(hwnd, kId + 1, Button1, true, 100));
  EXPECT_TRUE(Heard().empty());
  EXPECT_FALSE(pt::InjectTrayButton(hwnd, kId + 2, Button1, true, 100));
  data.uID = kId;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_FALSE(pt::InjectTrayButton(hwnd, kId, Button1, true, 100));
}

}  // namespace
