// The keys held across a focus change, kept with the thread's message queue.
#include "platform/messages/focus_keys.h"

#include <algorithm>
#include <vector>

#include "platform/messages/queue.h"
#include "platform/windows/window_table.h"
#include "platform/winapi/windows.h"

namespace platform {
namespace {

// How long after the focus left a window another window of the program may take it, and how
// long after that a held key may take to come down again (X repeats a held key within its
// repeat delay, 660 ms unless set otherwise), in ms.
constexpr DWORD kFocusArrival = 250;
constexpr DWORD kComeBack = 1000;
// SDL stamps events in whole milliseconds: the releases and the focus loss it makes together may
// straddle one boundary.
constexpr Uint32 kSameMoment = 1;

// Where a late release goes: the window with the focus, else the window the key was released
// from, else the newest window of the program.
HWND ReleaseTarget(const CarriedKey& key) {
  if (Focus().focus != nullptr) return Focus().focus;
  if (FindWindowRecord(key.window) != nullptr) return key.window;
  return Windows().empty() ? nullptr : HandleOf(*Windows().rbegin()->second);
}

}  // namespace

bool IsFocusLossRelease(const SDL_Event* events, size_t count, size_t index) {
  const SDL_KeyboardEvent& release = events[index].key;
  if (release.type != SDL_KEYUP) return false;
  size_t next = index + 1;
  while (next < count && events[next].type == SDL_KEYUP) ++next;
  if (next == count || events[next].type != SDL_WINDOWEVENT) return false;
  const SDL_WindowEvent& window = events[next].window;
  return window.event == SDL_WINDOWEVENT_FOCUS_LOST && window.windowID == release.windowID &&
         window.timestamp - release.timestamp <= kSameMoment;
}

void CarryAcrossFocus(const CarriedKey& key) {
  MessageQueue& queue = ThreadQueue();
  queue.carriedSince = GetTickCount();
  queue.focusArrived = false;
  TakeCarriedKey(key.scancode);
  queue.carried.push_back(key);
}

void NoteFocusArrived() { ThreadQueue().focusArrived = true; }

bool TakeCarriedKey(SDL_Scancode scancode) {
  auto& carried = ThreadQueue().carried;
  auto found = std::find_if(carried.begin(), carried.end(),
                            [scancode](const CarriedKey& key) { return key.scancode == scancode; });
  if (found == carried.end()) return false;
  carried.erase(found);
  return true;
}

void ReleaseOverdueKeys() {
  MessageQueue& queue = ThreadQueue();
  if (queue.carried.empty()) return;
  DWORD waited = GetTickCount() - queue.carriedSince;
  if (waited < (queue.focusArrived ? kComeBack : kFocusArrival)) return;
  std::vector<CarriedKey> overdue;
  overdue.swap(queue.carried);
  for (const CarriedKey& key : overdue) {
    PostToQueue(ReleaseTarget(key), key.upMessage, key.virtualKey, key.upParam);
  }
}

}  // namespace platform
