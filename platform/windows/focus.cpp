// The foreground, active and focused windows: SetForegroundWindow, SetActiveWindow and SetFocus,
// and the hand-over when the window in front goes away.
#include "platform/windows/focus.h"

#include <SDL2/SDL.h>

#include "platform/testing/test_hooks.h"
#include "platform/windows/window_table.h"
#include "platform/winapi/windows.h"

namespace platform {
namespace {

// Asks the desktop to give the keyboard to the window. X only gives it to a mapped window;
// SDL refuses the others and drivers without a focus of their own (offscreen) ignore it.
void RequestInputFocus(WindowRecord& window) {
  Hooks().lastFocusRequest = HandleOf(window);
  if (window.visible) SDL_SetWindowInputFocus(window.sdl);
}

}  // namespace

void Activate(HWND hwnd) {
  WindowRecord* window = FindWindowRecord(hwnd);
  if (window == nullptr) return;
  FocusState& focus = Focus();
  focus.foreground = hwnd;
  focus.active = hwnd;
  focus.focus = hwnd;
  // Raising also asks a window manager to activate the window; the input focus request is what
  // works without one.
  SDL_RaiseWindow(window->sdl);
  RequestInputFocus(*window);
}

void HandFocusOnFrom(HWND gone) {
  FocusState& focus = Focus();
  bool wasInFront = focus.foreground == gone || focus.focus == gone || focus.active == gone;
  if (!wasInFront) return;
  // The newest visible window of the process takes the front, as the desktop would activate it.
  HWND next = nullptr;
  for (auto it = Windows().rbegin(); it != Windows().rend() && next == nullptr; ++it) {
    HWND candidate = HandleOf(*it->second);
    if (candidate != gone && it->second->visible) next = candidate;
  }
  if (next != nullptr) {
    Activate(next);
    return;
  }
  if (focus.foreground == gone) focus.foreground = nullptr;
  if (focus.focus == gone) focus.focus = nullptr;
  if (focus.active == gone) focus.active = nullptr;
}

}  // namespace platform

BOOL WINAPI SetForegroundWindow(HWND hwnd) {
  if (platform::FindWindowRecord(hwnd) == nullptr) return FALSE;
  platform::Activate(hwnd);
  return TRUE;
}

HWND WINAPI SetFocus(HWND hwnd) {
  platform::WindowRecord* window = platform::FindWindowRecord(hwnd);
  if (window == nullptr) return nullptr;
  HWND previous = platform::Focus().focus;
  platform::Focus().focus = hwnd;
  platform::RequestInputFocus(*window);
  return previous;
}

HWND WINAPI SetActiveWindow(HWND hwnd) {
  if (platform::FindWindowRecord(hwnd) == nullptr) return nullptr;
  HWND previous = platform::Focus().active;
  platform::Activate(hwnd);
  return previous;
}
