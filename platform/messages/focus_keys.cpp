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

// How a run of key-ups ends: SDL's releases for a focus loss come as one run, right before the
// focus-lost event of the window they were released from, and in the same batch.
enum class RunEnd { FocusLoss, OtherEvent, BatchEnd };

RunEnd EndOfKeyUps(const SDL_Event* events, size_t count, size_t index) {
  size_t next = index + 1;
  while (next < count && events[next].type == SDL_KEYUP) ++next;
  if (next == count) return RunEnd::BatchEnd;
  const SDL_Event& after = events[next];
  bool focusLost = after.type == SDL_WINDOWEVENT &&
                   after.window.event == SDL_WINDOWEVENT_FOCUS_LOST &&
                   after.window.windowID == events[index].key.windowID;
  return focusLost ? RunEnd::FocusLoss : RunEnd::OtherEvent;
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

std::vector<SDL_Event> TakeAwaitedReleases() {
  std::vector<SDL_Event> awaited;
  awaited.swap(ThreadQueue().awaited);
  return awaited;
}

KeyUpRole RoleOf(const SDL_Event* events, size_t count, size_t index, KeyboardReading& keyboard) {
  if (events[index].type != SDL_KEYUP) return KeyUpRole::Translate;
  RunEnd end = EndOfKeyUps(events, count, index);
  if (end == RunEnd::OtherEvent) return KeyUpRole::Translate;
  // Without the display's word every key-up of a focus loss is held, and time lets it go. A run
  // that ends the batch is a release: nothing would end the wait for the next events.
  if (!keyboard.Askable())
    return end == RunEnd::FocusLoss ? KeyUpRole::HoldBack : KeyUpRole::Translate;
  // A key the display no longer holds is up whatever follows: released at once.
  if (!keyboard.Down(events[index].key.keysym.scancode)) return KeyUpRole::Translate;
  // A run that ends the batch, its key down again, is either a focus loss whose event is still
  // to come or a key let go and pressed again quickly, whose new press is on its way: the next
  // events tell, and until they come the key stays down, as it is.
  return end == RunEnd::FocusLoss ? KeyUpRole::HoldBack : KeyUpRole::Await;
}

void AwaitNextEvents(const SDL_Event& release) { ThreadQueue().awaited.push_back(release); }

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
