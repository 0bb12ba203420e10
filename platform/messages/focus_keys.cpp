// The keys held across a focus change, kept with the thread's message queue.
#include "platform/messages/focus_keys.h"

#include <algorithm>
#include <vector>

#include "platform/messages/queue.h"
#include "platform/testing/test_hooks.h"
#include "platform/windows/window_table.h"
#include "platform/winapi/windows.h"

namespace platform {
namespace {

// The timed fallback, for a display that cannot say which keys it holds down. How long after
// the focus left a window another window of the program may take it, and how long after that a
// held key may take to come down again (X repeats a held key within its repeat delay, 660 ms
// unless set otherwise), in ms.
constexpr DWORD kFocusArrival = 250;
constexpr DWORD kComeBack = 1000;
// SDL stamps events in whole milliseconds: the releases and the focus loss it makes together may
// straddle one boundary.
constexpr Uint32 kSameMoment = 1;

bool IsFocusChange(const SDL_Event& event) {
  return event.type == SDL_WINDOWEVENT && (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
                                           event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
}

// Whether the key comes down again after events[index], its key-up, before any focus change:
// then the key-up was a real release, even if the key is down again by the time the display is
// asked (let go and pressed again quickly).
bool PressedAgain(const SDL_Event* events, size_t count, size_t index) {
  SDL_Scancode scancode = events[index].key.keysym.scancode;
  for (size_t next = index + 1; next < count; ++next) {
    if (IsFocusChange(events[next])) return false;
    if (events[next].type == SDL_KEYDOWN && events[next].key.keysym.scancode == scancode) {
      return true;
    }
  }
  return false;
}

// Without the display's word: only key-ups followed by a focus-lost event of the same window,
// at the same moment and in the same batch, count as the focus change's.
bool IsFocusLossRelease(const SDL_Event* events, size_t count, size_t index) {
  const SDL_KeyboardEvent& release = events[index].key;
  size_t next = index + 1;
  while (next < count && events[next].type == SDL_KEYUP) ++next;
  if (next == count || events[next].type != SDL_WINDOWEVENT) return false;
  const SDL_WindowEvent& window = events[next].window;
  return window.event == SDL_WINDOWEVENT_FOCUS_LOST && window.windowID == release.windowID &&
         window.timestamp - release.timestamp <= kSameMoment;
}

// Where a late release goes: the window with the focus, else the window the key was released
// from, else the newest window of the program.
HWND ReleaseTarget(const CarriedKey& key) {
  if (Focus().focus != nullptr) return Focus().focus;
  if (FindWindowRecord(key.window) != nullptr) return key.window;
  return Windows().empty() ? nullptr : HandleOf(*Windows().rbegin()->second);
}

void PostRelease(const CarriedKey& key) {
  PostToQueue(ReleaseTarget(key), key.upMessage, key.virtualKey, key.upParam);
}

// The timed fallback: every held-back release goes out once no window of the program took the
// focus soon, or the keys did not come down again soon after it did.
void ReleaseOverdueKeys() {
  MessageQueue& queue = ThreadQueue();
  DWORD waited = GetTickCount() - queue.carriedSince;
  if (waited < (queue.focusArrived ? kComeBack : kFocusArrival)) return;
  std::vector<CarriedKey> overdue;
  overdue.swap(queue.carried);
  for (const CarriedKey& key : overdue) PostRelease(key);
}

}  // namespace

void KeyboardReading::Read() {
  read = true;
  const auto& testKeyboard = Hooks().keyboard;
  test = testKeyboard.has_value();
  askable = test ? testKeyboard->askable : QueryServerKeymap(keymap);
}

bool KeyboardReading::Askable() {
  if (!read) Read();
  return askable;
}

bool KeyboardReading::Down(SDL_Scancode scancode) {
  if (!Askable()) return false;
  return test ? Hooks().keyboard->down[scancode] : ServerKeyDown(keymap, scancode);
}

bool IsHeldKeyRelease(const SDL_Event* events, size_t count, size_t index,
                      KeyboardReading& keyboard) {
  if (events[index].type != SDL_KEYUP) return false;
  if (PressedAgain(events, count, index)) return false;
  if (keyboard.Askable()) return keyboard.Down(events[index].key.keysym.scancode);
  return IsFocusLossRelease(events, count, index);
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

void ReleaseLetGoKeys(KeyboardReading& keyboard) {
  auto& carried = ThreadQueue().carried;
  if (carried.empty()) return;
  if (!keyboard.Askable()) {
    ReleaseOverdueKeys();
    return;
  }
  std::vector<CarriedKey> still;
  std::vector<CarriedKey> letGo;
  for (const CarriedKey& key : carried)
    (keyboard.Down(key.scancode) ? still : letGo).push_back(key);
  carried.swap(still);
  for (const CarriedKey& key : letGo) PostRelease(key);
}

}  // namespace platform
