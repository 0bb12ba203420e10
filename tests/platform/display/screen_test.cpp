// Screen size, work area, refresh rate, the display-mode change and the cursor, from the real
// offscreen display and from the values a test sets.
#include "platform/platform_fixture.h"
#include "platform/windows/sdl_window.h"

namespace pt = platform::testing;

class Screen : public PlatformTest {};

TEST_F(Screen, RealDisplayGivesASizeAndTestValuesReplaceIt) {
  EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
  EXPECT_GT(GetSystemMetrics(SM_CYSCREEN), 0);
  EXPECT_EQ(GetSystemMetrics(99), 0);
  pt::SetScreenSize(1920, 1080);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);

  RECT area{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
  EXPECT_GT(area.right - area.left, 0);
  pt::SetWorkArea(RECT{0, 30, 1920, 1050});
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
  EXPECT_EQ(area.top, 30);
  EXPECT_EQ(area.bottom, 1050);
  EXPECT_FALSE(SystemParametersInfoA(SPI_GETWORKAREA, 0, nullptr, 0));
  EXPECT_FALSE(SystemParametersInfoA(0x31, 0, &area, 0));
}

TEST_F(Screen, RefreshRateComesFromTheScreensDeviceContext) {
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_GE(GetDeviceCaps(screen, VREFRESH), 0);
  pt::SetRefreshRate(60);
  EXPECT_EQ(GetDeviceCaps(screen, VREFRESH), 60);
  pt::SetRefreshRate(0);
  EXPECT_EQ(GetDeviceCaps(screen, VREFRESH), 0);
  EXPECT_EQ(GetDeviceCaps(screen, 8), 0);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  EXPECT_EQ(GetDeviceCaps(nullptr, VREFRESH), 0);
  EXPECT_EQ(GetDeviceCaps(reinterpret_cast<HDC>(77), VREFRESH), 0);

  HWND hwnd = MakeWindow();
  HDC windowDc = GetDC(hwnd);
  pt::SetRefreshRate(75);
  EXPECT_EQ(GetDeviceCaps(windowDc, VREFRESH), 75);
  DestroyWindow(hwnd);
  EXPECT_EQ(GetDeviceCaps(windowDc, VREFRESH), 0);
  EXPECT_EQ(ReleaseDC(hwnd, windowDc), 0);
}

TEST_F(Screen, DisplayModeChangeGoesFullScreenAndBack) {
  HWND hwnd = MakeWindow();
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SDL_DisplayMode desktop;
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = desktop.w;
  mode.dmPelsHeight = desktop.h;
  mode.dmBitsPerPel = 32;
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_TEST), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_TRUE(SDL_GetWindowFlags(platform::SdlWindowOf(hwnd)) & SDL_WINDOW_FULLSCREEN);
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_FALSE(SDL_GetWindowFlags(platform::SdlWindowOf(hwnd)) & SDL_WINDOW_FULLSCREEN);

  mode.dmSize = 40;
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, 0), DISP_CHANGE_BADPARAM);
}

TEST_F(Screen, ForcedDisplayChangeFailureIsReportedAsFailed) {
  MakeWindow();
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  pt::FailDisplayChange(2);
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, 0), DISP_CHANGE_FAILED);
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_FAILED);
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
}

TEST_F(Screen, CursorPositionIsReadMovedAndCanFail) {
  POINT point{-1, -1};
  EXPECT_TRUE(GetCursorPos(&point));
  EXPECT_FALSE(GetCursorPos(nullptr));
  pt::SetCursorPosition(300, 200);
  ASSERT_TRUE(GetCursorPos(&point));
  EXPECT_EQ(point.x, 300);
  EXPECT_EQ(point.y, 200);
  ASSERT_TRUE(SetCursorPos(5, 6));
  ASSERT_TRUE(GetCursorPos(&point));
  EXPECT_EQ(point.x, 5);
  EXPECT_EQ(point.y, 6);
  pt::FailCursor(true);
  EXPECT_FALSE(GetCursorPos(&point));
  EXPECT_FALSE(SetCursorPos(1, 1));
}

TEST_F(Screen, ShowCursorKeepsTheDisplayCounter) {
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  EXPECT_EQ(ShowCursor(FALSE), -2);
  EXPECT_EQ(ShowCursor(TRUE), -1);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);  // still below zero
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  EXPECT_EQ(pt::CursorDisplayCount(), 0);
}
