// The foreground, active and focused windows: SetForegroundWindow, SetActiveWindow and SetFocus,
// and the hand-over when the window in front goes away.
#include "platform/windows/focus.h"

#include <SDL2/SDL.h>

#include "platform/display/x_focus.h"
#include "platform/testing/test_hooks.h"
#include "platform/windows/window_table.h"
#include "platform/winapi/windows.h"

namespace platform {
namespace {

// The window that was handed the keyboard while a window manager's answer to a window's leaving
// is awaited; null when none is.
HWND handedTo = nullptr;

bool InFront(HWND hwnd) {
  const FocusState& focus = Focus();
  return hwnd != nullptr &&
         (focus.foreground == hwnd || focus.focus == hwnd || focus.active == hwnd);
}

// The hand-over waits for the window manager's answer to the leaving watched; with nothing
// watched, the next pump looks at the focus once.
void HoldHandOver(HWND to) { handedTo = to; }

// The program moved the front itself: an older hand-over no longer speaks for it.
void EndHandOver() {
  handedTo = nullptr;
  StopWatchingLeaving();
}

// Asks the desktop to give the keyboard to the window. X only gives it to a mapped window;
// SDL refuses the others and drivers without a focus of their own (offscreen) ignore it.
void RequestInputFocus(WindowRecord& window) {
  Hooks().lastFocusRequest = HandleOf(window);
  if (window.visible) SDL_SetWindowInputFocus(window.sdl);
}

// Makes the window the foreground, active and focused one, raised, and asks for the keyboard.
void MakeFront(HWND hwnd) {
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

}  // namespace

void Activate(HWND hwnd) {
  if (FindWindowRecord(hwnd) == nullptr) return;
  EndHandOver();
  MakeFront(hwnd);
}

void WatchFrontLeaving(HWND leaving) {
  WindowRecord* window = FindWindowRecord(leaving);
  if (window == nullptr || !InFront(leaving)) return;
  // Only a window the server shows can be unmapped, which is what a manager answers.
  if (!window->visible) return;
  if (!WatchLeaving(window->sdl)) StopWatchingLeaving();
}

void HandFocusOnFrom(HWND gone) {
  FocusState& focus = Focus();
  if (!InFront(gone)) return;
  // The newest visible window of the process takes the front, as the desktop would activate it.
  HWND next = nullptr;
  for (auto it = Windows().rbegin(); it != Windows().rend() && next == nullptr; ++it) {
    HWND candidate = HandleOf(*it->second);
    if (candidate != gone && it->second->visible) next = candidate;
  }
  if (next != nullptr) {
    MakeFront(next);
    HoldHandOver(next);
    return;
  }
  EndHandOver();
  if (focus.foreground == gone) focus.foreground = nullptr;
  if (focus.focus == gone) focus.focus = nullptr;
  if (focus.active == gone) focus.active = nullptr;
}

void KeepFocusAfterReplacement(HWND hwnd) {
  WindowRecord* window = FindWindowRecord(hwnd);
  if (window == nullptr || !InFront(hwnd)) return;
  RequestInputFocus(*window);
  HoldHandOver(hwnd);
}

void FollowFocusHandOver() {
  if (handedTo == nullptr || !LeavingAnswered()) return;
  HWND to = handedTo;
  handedTo = nullptr;
  WindowRecord* window = FindWindowRecord(to);
  // The manager's answer came after the request and undid it: the request goes again, after
  // the answer, so it stands. A focus the manager or the user gave to a real window stays.
  if (window != nullptr && window->visible && Focus().active == to && KeyboardNowhere())
    RequestInputFocus(*window);
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
  platform::EndHandOver();
  platform::RequestInputFocus(*window);
  return previous;
}

HWND WINAPI SetActiveWindow(HWND hwnd) {
  if (platform::FindWindowRecord(hwnd) == nullptr) return nullptr;
  HWND previous = platform::Focus().active;
  platform::Activate(hwnd);
  return previous;
}
