// SDL events -> window messages: keys, typed text, mouse buttons, wheel and motion, and the
// window's close, move, size, minimise, restore and focus events. Keys held while the focus
// moves stay down, as focus_keys.h tells.
#include <cmath>
#include <vector>

#include "platform/messages/mouse_button_table.h"
#include "platform/messages/queue.h"
#include "platform/messages/scancode_table.h"
#include "platform/text/code_page.h"
#include "platform/windows/window_table.h"
#include "platform/winapi/windows.h"

namespace platform {
namespace {

// The window an event names; keys and text without one go to the window with the focus.
HWND TargetOf(uint32_t sdlWindowId) {
  HWND hwnd = sdlWindowId != 0 ? WindowOfSdlId(sdlWindowId) : nullptr;
  return hwnd != nullptr ? hwnd : Focus().focus;
}

LPARAM PointParam(int x, int y) { return MAKELPARAM(static_cast<SHORT>(x), static_cast<SHORT>(y)); }

// A wheel movement in the window system's units of 120 per notch, kept to 16 bits.
SHORT WheelDelta(float notches) {
  double delta = std::round(static_cast<double>(notches) * WHEEL_DELTA);
  if (delta > 32767) delta = 32767;
  if (delta < -32768) delta = -32768;
  return static_cast<SHORT>(delta);
}

struct KeyMessage {
  UINT message;
  WPARAM virtualKey;
  LPARAM lParam;
};

// The message of a key event; a virtual key of 0 for keys that have none.
KeyMessage KeyMessageOf(const SDL_KeyboardEvent& key, bool wasDown) {
  int virtualKey = VirtualKeyOfScancode(key.keysym.scancode);
  bool down = key.type == SDL_KEYDOWN;
  // Alt, F10 and every key pressed while Alt is held are system keys.
  bool system = (key.keysym.mod & KMOD_ALT) || virtualKey == VK_MENU || virtualKey == VK_F10;
  UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  // lParam: repeat count 1, scancode in bits 16-23, Control held in bit 25, bit 30 "was down",
  // bit 31 "being released".
  LPARAM lParam = 1 | ((key.keysym.scancode & 0xFF) << 16);
  if (key.keysym.mod & KMOD_CTRL) lParam |= kControlHeldBit;
  if (!down || key.repeat || wasDown) lParam |= 1L << 30;
  if (!down) lParam |= 1L << 31;
  return KeyMessage{message, static_cast<WPARAM>(virtualKey), lParam};
}

void TranslateKey(const SDL_KeyboardEvent& key) {
  // A key held across a focus change is still down: its next key-down is a repeat.
  bool carried = TakeCarriedKey(key.keysym.scancode);
  KeyMessage translated = KeyMessageOf(key, carried);
  if (translated.virtualKey == 0) return;
  PostToQueue(TargetOf(key.windowID), translated.message, translated.virtualKey, translated.lParam);
}

// A release SDL made as the window lost the focus: held back, the key stays down.
void CarryKey(const SDL_KeyboardEvent& key) {
  KeyMessage release = KeyMessageOf(key, true);
  if (release.virtualKey == 0) return;
  CarryAcrossFocus(CarriedKey{key.keysym.scancode, WindowOfSdlId(key.windowID), release.message,
                              release.virtualKey, release.lParam});
}

void TranslateText(const SDL_TextInputEvent& text) {
  HWND target = TargetOf(text.windowID);
  for (unsigned char character : Utf8ToLatin1(text.text)) {
    PostToQueue(target, WM_CHAR, character, 1);
  }
}

void TranslateButton(const SDL_MouseButtonEvent& button) {
  const ButtonMessages* messages = MessagesOfButton(button.button);
  if (messages == nullptr) return;
  UINT message = button.type == SDL_MOUSEBUTTONDOWN ? messages->down : messages->up;
  PostToQueue(TargetOf(button.windowID), message, MAKEWPARAM(0, messages->xButton),
              PointParam(button.x, button.y));
}

void TranslateWheel(const SDL_MouseWheelEvent& wheel) {
  HWND target = TargetOf(wheel.windowID);
  float flip = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
  // The wheel message carries the cursor in screen pixels.
  WindowRecord* window = FindWindowRecord(target);
  LPARAM where = window ? PointParam(window->x + wheel.mouseX, window->y + wheel.mouseY) : 0;
  SHORT vertical = WheelDelta(wheel.preciseY * flip);
  SHORT horizontal = WheelDelta(wheel.preciseX * flip);
  if (vertical != 0) PostToQueue(target, WM_MOUSEWHEEL, MAKEWPARAM(0, vertical), where);
  if (horizontal != 0) PostToQueue(target, WM_MOUSEHWHEEL, MAKEWPARAM(0, horizontal), where);
}

// Motion is coalesced as the window system does: a move still waiting at the end of the queue
// takes the newest position instead of a second message piling up.
void TranslateMotion(const SDL_MouseMotionEvent& motion) {
  HWND target = TargetOf(motion.windowID);
  LPARAM where = PointParam(motion.x, motion.y);
  auto& posted = ThreadQueue().posted;
  if (!posted.empty() && posted.back().message == WM_MOUSEMOVE && posted.back().hwnd == target) {
    posted.back().lParam = where;
    return;
  }
  PostToQueue(target, WM_MOUSEMOVE, 0, where);
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
  HWND hwnd = WindowOfSdlId(event.windowID);
  WindowRecord* window = FindWindowRecord(hwnd);
  if (window == nullptr) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE: PostToQueue(hwnd, WM_CLOSE, 0, 0); break;
    // The desktop's word on where a window is and how big. What the program asked for itself
    // (MoveWindow) was told to the window procedure as it was asked: its echo is not posted,
    // so that it neither follows twice nor undoes a newer setting that the program made since.
    case SDL_WINDOWEVENT_MOVED:
      if (window->placesAsked.TakeEcho(event.data1, event.data2)) break;
      window->placesAsked.Forget();
      if (window->x == event.data1 && window->y == event.data2) break;
      window->x = event.data1;
      window->y = event.data2;
      PostToQueue(hwnd, WM_MOVE, 0, PointParam(event.data1, event.data2));
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      if (window->sizesAsked.TakeEcho(event.data1, event.data2)) break;
      window->sizesAsked.Forget();
      if (window->width == event.data1 && window->height == event.data2) break;
      window->width = event.data1;
      window->height = event.data2;
      PostToQueue(hwnd, WM_SIZE, SIZE_RESTORED, PointParam(event.data1, event.data2));
      break;
    case SDL_WINDOWEVENT_MINIMIZED: PostToQueue(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0); break;
    case SDL_WINDOWEVENT_RESTORED: PostToQueue(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      Focus().focus = hwnd;
      NoteFocusArrived();
      PostToQueue(hwnd, WM_SETFOCUS, 0, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (Focus().focus == hwnd) Focus().focus = nullptr;
      PostToQueue(hwnd, WM_KILLFOCUS, 0, 0);
      break;
    default: break;
  }
}

// A quit request from outside (a signal, the session ending) closes the window in front, as a
// close request would; with no window left it ends the loop directly.
void TranslateQuit() {
  HWND target = Focus().focus ? Focus().focus : Focus().active;
  if (target == nullptr && !Windows().empty()) target = HandleOf(*Windows().rbegin()->second);
  if (target != nullptr) {
    PostToQueue(target, WM_CLOSE, 0, 0);
  } else {
    PostQuitMessage(0);
  }
}

void TranslateSdlEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: TranslateKey(event.key); break;
    case SDL_TEXTINPUT: TranslateText(event.text); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: TranslateButton(event.button); break;
    case SDL_MOUSEWHEEL: TranslateWheel(event.wheel); break;
    case SDL_MOUSEMOTION: TranslateMotion(event.motion); break;
    case SDL_WINDOWEVENT: TranslateWindowEvent(event.window); break;
    case SDL_QUIT: TranslateQuit(); break;
    default: break;
  }
}

}  // namespace

void TranslateSdlEvents(const SDL_Event* events, size_t count) {
  // Key-ups that the last batch ended with come first: the events after them decide.
  std::vector<SDL_Event> batch = TakeAwaitedReleases();
  if (!batch.empty()) {
    batch.insert(batch.end(), events, events + count);
    events = batch.data();
    count = batch.size();
  }
  // The display's keyboard is asked once for the batch, after SDL read it, so that the answer
  // is at least as new as every event in it.
  KeyboardReading keyboard;
  for (size_t i = 0; i < count; ++i) {
    switch (RoleOf(events, count, i, keyboard)) {
      case KeyUpRole::HoldBack: CarryKey(events[i].key); break;
      case KeyUpRole::Await: AwaitNextEvents(events[i]); break;
      case KeyUpRole::Translate: TranslateSdlEvent(events[i]); break;
    }
  }
  ReleaseLetGoKeys(keyboard);
}

}  // namespace platform
