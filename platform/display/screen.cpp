// Screen size, work area, refresh rate and the full-screen display mode, from SDL's display 0
// unless a test has set them.
#include <SDL2/SDL.h>

#include "platform/display/display_mode.h"
#include "platform/display/video.h"
#include "platform/testing/test_hooks.h"
#include "platform/windows/sdl_window.h"
#include "platform/windows/window_table.h"
#include "platform/winapi/windows.h"

namespace {

// Device contexts are tokens: the screen's, or a window's number with the high bit set.
constexpr uintptr_t kScreenDc = 1;
constexpr uintptr_t kWindowDcBit = uintptr_t(1) << (sizeof(uintptr_t) * 8 - 1);

bool DesktopMode(SDL_DisplayMode* mode) {
  return platform::VideoReady() && SDL_GetDesktopDisplayMode(0, mode) == 0;
}

int DisplayOf(HDC dc) {
  uintptr_t token = reinterpret_cast<uintptr_t>(dc);
  if (token == kScreenDc) return 0;
  SDL_Window* window = platform::SdlWindowOf(reinterpret_cast<HWND>(token & ~kWindowDcBit));
  int display = window ? SDL_GetWindowDisplayIndex(window) : -1;
  return display < 0 ? 0 : display;
}

bool IsDc(HDC dc) {
  uintptr_t token = reinterpret_cast<uintptr_t>(dc);
  if (token == kScreenDc) return true;
  if (!(token & kWindowDcBit)) return false;
  return platform::FindWindowRecord(reinterpret_cast<HWND>(token & ~kWindowDcBit)) != nullptr;
}

}  // namespace

int WINAPI GetSystemMetrics(int index) {
  platform::TestHooks& hooks = platform::Hooks();
  if (index == SM_CXSCREEN && hooks.screenWidth) return *hooks.screenWidth;
  if (index == SM_CYSCREEN && hooks.screenHeight) return *hooks.screenHeight;
  if (index != SM_CXSCREEN && index != SM_CYSCREEN) return 0;
  SDL_DisplayMode mode;
  if (!DesktopMode(&mode)) return 0;
  return index == SM_CXSCREEN ? mode.w : mode.h;
}

BOOL WINAPI SystemParametersInfoA(UINT action, UINT, PVOID out, UINT) {
  if (action != SPI_GETWORKAREA || out == nullptr) return FALSE;
  RECT* area = static_cast<RECT*>(out);
  if (platform::Hooks().workArea) {
    *area = *platform::Hooks().workArea;
    return TRUE;
  }
  SDL_Rect bounds;
  if (!platform::VideoReady() || SDL_GetDisplayUsableBounds(0, &bounds) != 0) return FALSE;
  *area = RECT{bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
  return TRUE;
}

HDC WINAPI GetDC(HWND hwnd) {
  if (hwnd == nullptr) {
    return platform::VideoReady() ? reinterpret_cast<HDC>(kScreenDc) : nullptr;
  }
  if (platform::FindWindowRecord(hwnd) == nullptr) return nullptr;
  return reinterpret_cast<HDC>(reinterpret_cast<uintptr_t>(hwnd) | kWindowDcBit);
}

int WINAPI ReleaseDC(HWND, HDC dc) { return IsDc(dc) ? 1 : 0; }

int WINAPI GetDeviceCaps(HDC dc, int index) {
  if (index != VREFRESH || !IsDc(dc)) return 0;
  if (platform::Hooks().refreshRate) return *platform::Hooks().refreshRate;
  SDL_DisplayMode mode;
  if (!platform::VideoReady() || SDL_GetCurrentDisplayMode(DisplayOf(dc), &mode) != 0) return 0;
  return mode.refresh_rate;
}

LONG WINAPI ChangeDisplaySettingsA(LPDEVMODEA mode, DWORD flags) {
  using namespace platform;
  if (ConsumeFailure(Hooks().failDisplayChange)) return DISP_CHANGE_FAILED;
  if (mode == nullptr) return RestoreDisplayMode();
  if (mode->dmSize < sizeof(DEVMODEA)) return DISP_CHANGE_BADPARAM;
  return ApplyDisplayMode(*mode, (flags & CDS_TEST) != 0);
}
