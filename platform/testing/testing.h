// The testing interface of platform/: tests post messages and inject SDL-like input that goes
// through the real translation, set the screen, work area, refresh rate and cursor, drive the
// clock, read back what Linux only records, and force the failures of the window calls.
// Everything else stays real; Reset puts every replaced value back.
#pragma once

#include <SDL2/SDL.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/winapi/windows.h"

namespace platform::testing {

// ---- Set-up ---------------------------------------------------------------------------------
// Destroys every window, empties the queue and the tray, and puts every replaced value back.
void Reset();

// ---- Input, through the real translation ----------------------------------------------------
// A key pressed (or auto-repeated) or released, with SDL modifier bits (KMOD_CTRL, ...). The
// window is the one with the focus when null.
void InjectKey(SDL_Scancode scancode, bool down, bool repeat = false, Uint16 mods = KMOD_NONE,
               HWND hwnd = nullptr);
// Typed text in UTF-8, as the desktop's text input delivers it.
void InjectText(const char* utf8, HWND hwnd = nullptr);
// A mouse button (SDL_BUTTON_LEFT, ...) at client coordinates. A click happens where the cursor
// is: the cursor (the test's own, see SetCursorPosition) moves to that point on the screen.
void InjectMouseButton(HWND hwnd, Uint8 button, bool down, int x, int y);
// The mouse moving to client coordinates (with the buttons held, as SDL_BUTTON_LMASK, ...); the
// test's cursor moves with it.
void InjectMouseMotion(HWND hwnd, int x, int y, Uint32 buttonsHeld = 0);
// A wheel movement in notches (positive away from the user); fractions for smooth wheels.
void InjectWheel(HWND hwnd, float notches, float horizontalNotches = 0);
// The desktop asking the window to close (its close button or the window manager).
void InjectClose(HWND hwnd);
// Any SDL event, through the translation.
void InjectEvent(const SDL_Event& event);
// SDL events that SDL gives together, in order, through the translation.
void InjectEvents(const std::vector<SDL_Event>& events);
// The SDL id of a live window (0 for none), which stays known to a test after the window goes.
Uint32 SdlWindowId(HWND hwnd);
// The keyboard focus moving from one window to another (SDL ids; 0 for a window outside the
// program) while keys are held, as SDL reports it: a release of each held key and the focus
// loss of `from` at the same moment, then the focus gain of `to`.
void InjectFocusMove(Uint32 from, Uint32 to, std::initializer_list<SDL_Scancode> held);

// ---- The display's keyboard ----------------------------------------------------------------
// Puts a keyboard of the test's own in place of the display's, which the platform asks which keys
// are held down. An askable one starts with every key up; InjectKey presses and lets go of its
// keys as the desktop's keyboard does, while the releases InjectFocusMove makes leave it alone,
// as SDL's own do. One that cannot be asked stands for a display without that question (the
// platform then decides by time).
void UseTestKeyboard(bool askable = true);
// Presses or lets go of a key on the test's keyboard without any event reaching the program, as
// when the key changes while no window of the program has the focus.
void SetKeyHeld(SDL_Scancode scancode, bool down);

// ---- Screen and cursor ----------------------------------------------------------------------
void SetScreenSize(int width, int height);
void SetWorkArea(RECT area);
// The desktop resizing a window to a client area of width x height (a window manager tiling it,
// a user dragging its edge): SDL resizes the window and reports it as it reports any resize the
// program did not ask for; the report is translated when messages are next taken.
void ResizeByDesktop(HWND hwnd, int width, int height);
// The refresh rate GetDeviceCaps(VREFRESH) reports; 0 stands for "unknown".
void SetRefreshRate(int hertz);
// Puts a cursor of the test's own at a position; GetCursorPos and SetCursorPos then use it.
void SetCursorPosition(int x, int y);
// Makes GetCursorPos and SetCursorPos fail (or work again).
void FailCursor(bool fail);
// The cursor's display counter (shown while >= 0).
int CursorDisplayCount();

// ---- Clock ----------------------------------------------------------------------------------
// Replaces the performance counter: it reads startSeconds first and moves stepSeconds on every
// read (Sleep moves it by the time asked). Jumps still to come are dropped.
void UseTestClock(double stepSeconds, double startSeconds = 0);
// Moves the test clock by hand.
void AdvanceTestClock(double seconds);
// Makes the test clock jump by seconds at its reads-th read from now, as it would for a
// process that the system deschedules. Jumps add up: each call adds one more.
void JumpTestClockLater(int reads, double seconds);
// The real clock again.
void UseRealClock();
// Makes the performance counter unavailable (the tick count is then the clock), or available.
void SetCounterAvailable(bool available);
// The whole milliseconds of the last sleep asked for (Sleep, or the finer platform sleep).
DWORD LastSleepMilliseconds();
// The last sleep asked for, in seconds.
double LastSleepSeconds();
// Makes every Sleep on the test clock wake this much later than asked, as on a busy system.
void SetSleepLateness(double seconds);

// ---- Forced failures: the next `times` calls fail as the window system reports it ----------
void FailRegisterClass(int times = 1);
void FailCreateWindow(int times = 1);
// ChangeDisplaySettingsA then answers DISP_CHANGE_FAILED.
void FailDisplayChange(int times = 1);

// ---- What Linux only records ----------------------------------------------------------------
struct TrayIconState {
  UINT flags;
  UINT callbackMessage;
  HICON icon;
  std::string tip;
  DWORD lastOperation;  // NIM_ADD or NIM_MODIFY
};
// The tray icon of (window, id), when one is added.
std::optional<TrayIconState> TrayIcon(HWND hwnd, UINT id);
int TrayIconCount();
// A pointer button (X numbering: 1 left, 2 middle, 3 right) pressed or let go on the tray icon
// of (window, id) at a time stamp in milliseconds and a point on the icon, as the desktop
// reports it; false when no such icon is added.
bool InjectTrayButton(HWND hwnd, UINT id, unsigned button, bool down, unsigned long time, int x = 0,
                      int y = 0);
// The pointer moving over the tray icon of (window, id); false when no such icon is added.
bool InjectTrayMotion(HWND hwnd, UINT id, int x, int y);

struct LayeredState {
  DWORD flags;  // LWA_ALPHA and/or LWA_COLORKEY of the last call
  BYTE alpha;
  COLORREF colorKey;
};
// The layered attributes last set on a window; nothing for an unknown window.
std::optional<LayeredState> Layered(HWND hwnd);

struct WindowState {
  std::string title;
  DWORD style;
  DWORD exStyle;
  int x;
  int y;
  int width;
  int height;
  bool visible;
};
// What a live window was asked to be; nothing for an unknown or destroyed window.
std::optional<WindowState> Window(HWND hwnd);
// The windows in front, with the keys, and active.
HWND ForegroundWindow();
HWND FocusWindow();
HWND ActiveWindow();
// The window the platform last asked the desktop to give the keyboard to (null when none yet).
HWND LastInputFocusRequest();

}  // namespace platform::testing
