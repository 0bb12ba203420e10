// The tray records under Shell_NotifyIconA: one icon per (window, id), the results the shell
// gives for bad input, the tip's length, and icons going with their window.
#include <cstring>

#include "platform/platform_fixture.h"

namespace pt = platform::testing;

namespace {

class Tray : public PlatformTest {
 protected:
  static NOTIFYICONDATAA Icon(HWND hwnd, UINT id, const char* tip = "Kelvo Tumbix") {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd;
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_APP;
    data.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    std::snprintf(data.szTip, sizeof data.szTip, "%s", tip);
    return data;
  }
};

TEST_F(Tray, BadInputGetsTheShellsFailureAndLeavesNoIcon) {
  HWND hwnd = MakeWindow("Tray");
  NOTIFYICONDATAA data = Icon(hwnd, 3);
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, nullptr));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &data));  // not added yet
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_FALSE(Shell_NotifyIconA(7, &data));  // no such operation
  NOTIFYICONDATAA tooSmall = data;
  tooSmall.cbSize = 4;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &tooSmall));
  NOTIFYICONDATAA noWindow = data;
  noWindow.hWnd = reinterpret_cast<HWND>(4242);
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &noWindow));
  EXPECT_EQ(pt::TrayIconCount(), 0);

  // A second add of the same icon fails and keeps the first as it was.
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  NOTIFYICONDATAA again = Icon(hwnd, 3, "Second");
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &again));
  EXPECT_EQ(pt::TrayIconCount(), 1);
  EXPECT_EQ(pt::TrayIcon(hwnd, 3)->tip, "Kelvo Tumbix");
  // Another id of the same window is another icon; deleting one leaves the other.
  NOTIFYICONDATAA other = Icon(hwnd, 4);
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &other));
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_FALSE(pt::TrayIcon(hwnd, 3));
  EXPECT_TRUE(pt::TrayIcon(hwnd, 4));
}

TEST_F(Tray, ANullIconIsAddedAndModifyTakesOnlyTheFieldsItsFlagsName) {
  HWND hwnd = MakeWindow("Tray");
  NOTIFYICONDATAA data = Icon(hwnd, 1);
  data.hIcon = nullptr;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_EQ(pt::TrayIcon(hwnd, 1)->icon, nullptr);
  NOTIFYICONDATAA change = Icon(hwnd, 1, "New tip");
  change.uFlags = NIF_ICON;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &change));
  auto icon = pt::TrayIcon(hwnd, 1);
  EXPECT_EQ(icon->icon, LoadIconA(nullptr, IDI_APPLICATION));
  EXPECT_EQ(icon->tip, "Kelvo Tumbix");
  EXPECT_EQ(icon->lastOperation, static_cast<DWORD>(NIM_MODIFY));
}

TEST_F(Tray, ATipIsCutToTheCharactersItsFieldHolds) {
  HWND hwnd = MakeWindow("Tray");
  NOTIFYICONDATAA data = Icon(hwnd, 1);
  // Every byte of the field set, no terminator: 127 characters are taken.
  std::memset(data.szTip, 'T', sizeof data.szTip);
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_EQ(pt::TrayIcon(hwnd, 1)->tip, std::string(127, 'T'));
  // An older, shorter record ends inside the field: what lies past its end is never read.
  NOTIFYICONDATAA shorter = data;
  shorter.uID = 2;
  shorter.cbSize = offsetof(NOTIFYICONDATAA, szTip) + 64;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &shorter));
  EXPECT_EQ(pt::TrayIcon(hwnd, 2)->tip, std::string(63, 'T'));
}

TEST_F(Tray, IconsGoWithTheirWindow) {
  HWND first = MakeWindow("Tray A");
  HWND second = MakeWindow("Tray B");
  for (HWND hwnd : {first, second}) {
    NOTIFYICONDATAA data = Icon(hwnd, 1);
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  }
  ASSERT_TRUE(DestroyWindow(first));
  EXPECT_FALSE(pt::TrayIcon(first, 1));
  EXPECT_TRUE(pt::TrayIcon(second, 1));
  NOTIFYICONDATAA gone = Icon(first, 1);
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &gone));
  EXPECT_EQ(pt::TrayIconCount(), 1);
}

}  // namespace
