// PeekMessageA, PostMessageA, PostQuitMessage, TranslateMessage, DispatchMessageA and
// DefWindowProcA over the thread's queue, fed from SDL's events and the desktop connection's
// events (the tray icons', a compositing manager's arrival) when it runs dry.
#include "platform/messages/queue.h"

#include <vector>

#include "platform/display/video.h"
#include "platform/display/x_desktop.h"
#include "platform/windows/focus.h"
#include "platform/windows/window_classes.h"
#include "platform/windows/window_table.h"
#include "platform/winapi/windows.h"

namespace platform {
namespace {

bool Matches(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (hwnd != nullptr && msg.hwnd != hwnd) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return msg.message >= filterMin && msg.message <= filterMax;
}

// Takes the first matching posted message; false when none matches.
bool TakePosted(LPMSG out, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  auto& posted = ThreadQueue().posted;
  for (auto it = posted.begin(); it != posted.end(); ++it) {
    if (!Matches(*it, hwnd, filterMin, filterMax)) continue;
    *out = *it;
    if (remove) posted.erase(it);
    return true;
  }
  return false;
}

// Moves every waiting SDL event into the queue, and the releases of keys held across a focus
// change that were let go since (the translation looks at those even when no event waits). SDL
// is only polled once video runs, on the thread that started it.
void PumpSdlEvents() {
  if (!VideoRunning()) return;
  std::vector<SDL_Event> events;
  SDL_Event event;
  while (SDL_PollEvent(&event)) events.push_back(event);
  TranslateSdlEvents(events.data(), events.size());
}

// The control character a key-down makes, as the keyboard driver would type it; 0 for none.
int ControlCharacterOf(WPARAM key, bool controlHeld) {
  switch (key) {
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_RETURN: return controlHeld ? 10 : 13;
    case VK_ESCAPE: return 27;
    default: break;
  }
  if (controlHeld && key >= 'A' && key <= 'Z') return static_cast<int>(key - 'A' + 1);
  return 0;
}

}  // namespace

MessageQueue& ThreadQueue() {
  thread_local MessageQueue queue;
  return queue;
}

void PostToQueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{};
  msg.hwnd = hwnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = GetTickCount();
  ThreadQueue().posted.push_back(msg);
}

}  // namespace platform

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
  using namespace platform;
  if (msg == nullptr) return FALSE;
  bool remove = (removeMsg & PM_REMOVE) != 0;
  if (TakePosted(msg, hwnd, filterMin, filterMax, remove)) return TRUE;
  PumpSdlEvents();
  PumpDesktopEvents();
  FollowFocusHandOver();
  if (TakePosted(msg, hwnd, filterMin, filterMax, remove)) return TRUE;

  MessageQueue& queue = ThreadQueue();
  bool quitInRange =
      (filterMin == 0 && filterMax == 0) || (WM_QUIT >= filterMin && WM_QUIT <= filterMax);
  if (!queue.quitPending || hwnd != nullptr || !quitInRange) return FALSE;
  *msg = MSG{};
  msg->message = WM_QUIT;
  msg->wParam = static_cast<WPARAM>(queue.exitCode);
  msg->time = GetTickCount();
  if (remove) queue.quitPending = false;
  return TRUE;
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd != nullptr && platform::FindWindowRecord(hwnd) == nullptr) return FALSE;
  platform::PostToQueue(hwnd, message, wParam, lParam);
  return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
  platform::MessageQueue& queue = platform::ThreadQueue();
  queue.quitPending = true;
  queue.exitCode = exitCode;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (msg == nullptr) return FALSE;
  if (msg->message != WM_KEYDOWN) {
    bool keyMessage =
        msg->message == WM_KEYUP || msg->message == WM_SYSKEYDOWN || msg->message == WM_SYSKEYUP;
    return keyMessage ? TRUE : FALSE;
  }
  // Printable characters come from SDL's text input; only the control characters, which SDL
  // does not type, are made here.
  int character =
      platform::ControlCharacterOf(msg->wParam, (msg->lParam & platform::kControlHeldBit) != 0);
  if (character != 0) platform::PostToQueue(msg->hwnd, WM_CHAR, character, msg->lParam);
  return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (msg == nullptr) return 0;
  return platform::CallWindowProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND, UINT, WPARAM, LPARAM) { return 0; }
