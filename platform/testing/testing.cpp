// The testing interface: it writes the hooks the areas read and reads back their records.
#include "platform/testing/testing.h"

#include <cstring>
#include <vector>

#include "platform/display/cursor.h"
#include "platform/display/video.h"
#include "platform/messages/queue.h"
#include "platform/shell/tray.h"
#include "platform/shell/tray_clicks.h"
#include "platform/testing/test_hooks.h"
#include "platform/windows/window_classes.h"
#include "platform/windows/window_table.h"

namespace platform {

TestHooks& Hooks() {
  static TestHooks hooks;
  return hooks;
}

bool ConsumeFailure(int& counter) {
  if (counter <= 0) return false;
  --counter;
  return true;
}

}  // namespace platform

namespace platform::testing {
namespace {

Uint32 SdlIdOf(HWND hwnd) {
  WindowRecord* window = FindWindowRecord(hwnd ? hwnd : Focus().focus);
  return window && window->sdl ? SDL_GetWindowID(window->sdl) : 0;
}

int64_t Nanoseconds(double seconds) { return static_cast<int64_t>(seconds * 1e9 + 0.5); }

}  // namespace

void Reset() {
  std::vector<HWND> live;
  for (auto& [id, window] : Windows()) live.push_back(HandleOf(*window));
  for (HWND hwnd : live) DestroyWindow(hwnd);
  Focus() = FocusState{};
  if (VideoRunning()) SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  ThreadQueue() = MessageQueue{};
  RemoveAllTrayIcons();
  if (CursorDisplayCounter() != 0) {
    CursorDisplayCounter() = -1;
    ShowCursor(TRUE);
  }
  ForgetWindowClasses();
  ChangeDisplaySettingsA(nullptr, 0);
  Hooks() = TestHooks{};
}

void InjectKey(SDL_Scancode scancode, bool down, bool repeat, Uint16 mods, HWND hwnd) {
  if (Hooks().keyboard) Hooks().keyboard->down[scancode] = down;
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat ? 1 : 0;
  event.key.windowID = SdlIdOf(hwnd);
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
  event.key.keysym.mod = mods;
  TranslateSdlEvents(&event, 1);
}

void InjectText(const char* utf8, HWND hwnd) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  event.text.windowID = SdlIdOf(hwnd);
  std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
  TranslateSdlEvents(&event, 1);
}

// The test's cursor moves to a point in a window, as the real one is where the mouse acts.
void MoveCursorTo(HWND hwnd, int x, int y) {
  WindowRecord* window = FindWindowRecord(hwnd ? hwnd : Focus().focus);
  if (window != nullptr) Hooks().cursor = POINT{window->x + x, window->y + y};
}

void InjectMouseButton(HWND hwnd, Uint8 button, bool down, int x, int y) {
  MoveCursorTo(hwnd, x, y);
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.type = event.type;
  event.button.windowID = SdlIdOf(hwnd);
  event.button.button = button;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.clicks = 1;
  event.button.x = x;
  event.button.y = y;
  TranslateSdlEvents(&event, 1);
}

void InjectMouseMotion(HWND hwnd, int x, int y, Uint32 buttonsHeld) {
  MoveCursorTo(hwnd, x, y);
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = SdlIdOf(hwnd);
  event.motion.state = buttonsHeld;
  event.motion.x = x;
  event.motion.y = y;
  TranslateSdlEvents(&event, 1);
}

void InjectWheel(HWND hwnd, float notches, float horizontalNotches) {
  SDL_Event event{};
  event.type = SDL_MOUSEWHEEL;
  event.wheel.windowID = SdlIdOf(hwnd);
  event.wheel.y = static_cast<Sint32>(notches);
  event.wheel.x = static_cast<Sint32>(horizontalNotches);
  event.wheel.preciseY = notches;
  event.wheel.preciseX = horizontalNotches;
  event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  TranslateSdlEvents(&event, 1);
}

void InjectClose(HWND hwnd) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = SdlIdOf(hwnd);
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  TranslateSdlEvents(&event, 1);
}

void InjectEvent(const SDL_Event& event) { TranslateSdlEvents(&event, 1); }

void InjectEvents(const std::vector<SDL_Event>& events) {
  TranslateSdlEvents(events.data(), events.size());
}

Uint32 SdlWindowId(HWND hwnd) {
  WindowRecord* window = FindWindowRecord(hwnd);
  return window && window->sdl ? SDL_GetWindowID(window->sdl) : 0;
}

void InjectFocusMove(Uint32 from, Uint32 to, std::initializer_list<SDL_Scancode> held) {
  const Uint32 now = SDL_GetTicks();
  std::vector<SDL_Event> events;
  for (SDL_Scancode scancode : held) {
    SDL_Event release{};
    release.type = SDL_KEYUP;
    release.key.type = SDL_KEYUP;
    release.key.timestamp = now;
    release.key.windowID = from;
    release.key.state = SDL_RELEASED;
    release.key.keysym.scancode = scancode;
    release.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    events.push_back(release);
  }
  for (auto [window, change] :
       {std::pair{from, SDL_WINDOWEVENT_FOCUS_LOST}, std::pair{to, SDL_WINDOWEVENT_FOCUS_GAINED}}) {
    if (window == 0) continue;
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.type = SDL_WINDOWEVENT;
    focus.window.timestamp = now;
    focus.window.windowID = window;
    focus.window.event = static_cast<Uint8>(change);
    events.push_back(focus);
  }
  InjectEvents(events);
}

void UseTestKeyboard(bool askable) { Hooks().keyboard = TestKeyboard{askable, {}}; }

void SetKeyHeld(SDL_Scancode scancode, bool down) {
  if (Hooks().keyboard) Hooks().keyboard->down[scancode] = down;
}

void SetScreenSize(int width, int height) {
  Hooks().screenWidth = width;
  Hooks().screenHeight = height;
}

void SetWorkArea(RECT area) { Hooks().workArea = area; }

void ResizeByDesktop(HWND hwnd, int width, int height) {
  WindowRecord* window = FindWindowRecord(hwnd);
  if (window != nullptr && window->sdl != nullptr) SDL_SetWindowSize(window->sdl, width, height);
}

void SetRefreshRate(int hertz) { Hooks().refreshRate = hertz; }

void SetCursorPosition(int x, int y) { Hooks().cursor = POINT{x, y}; }

void FailCursor(bool fail) { Hooks().failCursor = fail; }

int CursorDisplayCount() { return CursorDisplayCounter(); }

void UseTestClock(double stepSeconds, double startSeconds) {
  Hooks().testClock = true;
  Hooks().clockStep = Nanoseconds(stepSeconds);
  Hooks().clockNow = Nanoseconds(startSeconds);
  Hooks().clockReads = 0;
  Hooks().clockJumps.clear();
}

void AdvanceTestClock(double seconds) { Hooks().clockNow += Nanoseconds(seconds); }

void JumpTestClockLater(int reads, double seconds) {
  if (reads <= 0) return;
  Hooks().clockJumps.emplace(Hooks().clockReads + reads, Nanoseconds(seconds));
}

void UseRealClock() { Hooks().testClock = false; }

void SetCounterAvailable(bool available) { Hooks().counterUnavailable = !available; }

DWORD LastSleepMilliseconds() { return static_cast<DWORD>(Hooks().lastSleep / 1000000); }

double LastSleepSeconds() { return static_cast<double>(Hooks().lastSleep) / 1e9; }

void SetSleepLateness(double seconds) { Hooks().sleepLateness = Nanoseconds(seconds); }

void FailRegisterClass(int times) { Hooks().failRegisterClass = times; }

void FailCreateWindow(int times) { Hooks().failCreateWindow = times; }

void FailDisplayChange(int times) { Hooks().failDisplayChange = times; }

std::optional<TrayIconState> TrayIcon(HWND hwnd, UINT id) {
  for (const TrayRecord& record : TrayIcons()) {
    if (record.hwnd == hwnd && record.id == id) {
      return TrayIconState{record.flags, record.callbackMessage, record.icon, record.tip,
                           record.lastOperation};
    }
  }
  return std::nullopt;
}

int TrayIconCount() { return static_cast<int>(TrayIcons().size()); }

bool InjectTrayButton(HWND hwnd, UINT id, unsigned button, bool down, unsigned long time, int x,
                      int y) {
  TrayRecord* record = FindTrayIcon(hwnd, id);
  if (record == nullptr) return false;
  auto kind = down ? TrayPointerEvent::Kind::Press : TrayPointerEvent::Kind::Release;
  TranslateTrayPointer(*record, TrayPointerEvent{kind, button, time, x, y});
  return true;
}

bool InjectTrayMotion(HWND hwnd, UINT id, int x, int y) {
  TrayRecord* record = FindTrayIcon(hwnd, id);
  if (record == nullptr) return false;
  TranslateTrayPointer(*record, TrayPointerEvent{TrayPointerEvent::Kind::Motion, 0, 0, x, y});
  return true;
}

std::optional<LayeredState> Layered(HWND hwnd) {
  WindowRecord* window = FindWindowRecord(hwnd);
  if (window == nullptr) return std::nullopt;
  return LayeredState{window->layeredFlags, window->alpha, window->colorKey};
}

std::optional<WindowState> Window(HWND hwnd) {
  WindowRecord* window = FindWindowRecord(hwnd);
  if (window == nullptr) return std::nullopt;
  return WindowState{window->title, window->style, window->exStyle, window->x,
                     window->y,     window->width, window->height,  window->visible};
}

HWND ForegroundWindow() { return Focus().foreground; }
HWND FocusWindow() { return Focus().focus; }
HWND ActiveWindow() { return Focus().active; }
HWND LastInputFocusRequest() { return Hooks().lastFocusRequest; }

}  // namespace platform::testing
