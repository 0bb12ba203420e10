// Display-mode changes through a full-screen window.
#include "platform/display/display_mode.h"

#include <SDL2/SDL.h>

#include "platform/display/video.h"
#include "platform/windows/window_table.h"
#include "platform/winapi/constants.h"

namespace platform {
namespace {

// The window that carries a mode change: the one in front, else the newest.
WindowRecord* CarrierWindow() {
  if (WindowRecord* front = FindWindowRecord(Focus().foreground)) return front;
  auto& windows = Windows();
  return windows.empty() ? nullptr : windows.rbegin()->second.get();
}

HWND& FullScreenWindow() {
  static HWND window = nullptr;
  return window;
}

// The mode asked for, filled from the desktop's mode where the record names no field.
SDL_DisplayMode WantedMode(const DEVMODEA& mode, int display) {
  SDL_DisplayMode wanted{};
  SDL_GetDesktopDisplayMode(display, &wanted);
  if (mode.dmFields & DM_PELSWIDTH) wanted.w = static_cast<int>(mode.dmPelsWidth);
  if (mode.dmFields & DM_PELSHEIGHT) wanted.h = static_cast<int>(mode.dmPelsHeight);
  if (mode.dmFields & DM_DISPLAYFREQUENCY) {
    wanted.refresh_rate = static_cast<int>(mode.dmDisplayFrequency);
  }
  // The pixel format follows the desktop; a 16-bit request still gets its size and rate.
  return wanted;
}

}  // namespace

LONG ApplyDisplayMode(const DEVMODEA& mode, bool testOnly) {
  if (!VideoReady()) return DISP_CHANGE_FAILED;
  WindowRecord* window = CarrierWindow();
  int display = window ? SDL_GetWindowDisplayIndex(window->sdl) : 0;
  if (display < 0) display = 0;
  SDL_DisplayMode wanted = WantedMode(mode, display);
  SDL_DisplayMode closest;
  if (SDL_GetClosestDisplayMode(display, &wanted, &closest) == nullptr) {
    return DISP_CHANGE_BADMODE;
  }
  if (testOnly) return DISP_CHANGE_SUCCESSFUL;
  if (window == nullptr) return DISP_CHANGE_FAILED;
  if (SDL_SetWindowDisplayMode(window->sdl, &closest) != 0 ||
      SDL_SetWindowFullscreen(window->sdl, SDL_WINDOW_FULLSCREEN) != 0) {
    return DISP_CHANGE_FAILED;
  }
  FullScreenWindow() = HandleOf(*window);
  return DISP_CHANGE_SUCCESSFUL;
}

LONG RestoreDisplayMode() {
  WindowRecord* window = FindWindowRecord(FullScreenWindow());
  FullScreenWindow() = nullptr;
  if (window != nullptr && VideoRunning() && SDL_SetWindowFullscreen(window->sdl, 0) != 0) {
    return DISP_CHANGE_FAILED;
  }
  return DISP_CHANGE_SUCCESSFUL;
}

}  // namespace platform
