// Keys held while the keyboard focus moves. When a window loses the focus, SDL lets go of every
// held key (its key-ups come right before the focus-lost event), and when such a key comes down
// again in the window that takes the focus, SDL reports a new press. The desktop of the Windows
// calls keeps the key down instead and delivers it to the new window as a repeat (previous-state
// bit set), which the framework's key-repeat filter drops, so that a key held through the end
// of one window never acts as a fresh press in the next. The translation does the same, decided
// by the keyboard's real state: a key-up for a key that the display still holds down is held
// back, the key's next key-down is a repeat, and the release goes out once the display says the
// key is up, wherever the focus is by then. A display that cannot be asked falls back to time
// (only the key-ups that come with a focus loss are held, and let go when the key does not come
// back soon). Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

#include <cstddef>

#include "platform/display/x_server.h"
#include "platform/winapi/records.h"

namespace platform {

// A key whose release SDL made as a window lost the focus, held back.
struct CarriedKey {
  SDL_Scancode scancode;
  HWND window;     // the window that lost the focus
  UINT upMessage;  // WM_KEYUP or WM_SYSKEYUP, with the parameters below, for a late release
  WPARAM virtualKey;
  LPARAM upParam;
};

// The display's keyboard, read at most once (one round trip) for a batch of events: the
// testing interface's keyboard where a test put one.
class KeyboardReading {
 public:
  // Whether the display can be asked which keys it holds down; reads it on the first call.
  bool Askable();
  // Whether the display holds the key down; false when it cannot be asked.
  bool Down(SDL_Scancode scancode);

 private:
  void Read();
  bool read = false;
  bool askable = false;
  bool test = false;
  ServerKeymap keymap{};
};

// Whether events[index], a key-up, is one that SDL made for a key still held (as it lets go of
// every key when a window loses the focus) and must be held back.
bool IsHeldKeyRelease(const SDL_Event* events, size_t count, size_t index,
                      KeyboardReading& keyboard);
// Holds that release back: the key stays down for the program.
void CarryAcrossFocus(const CarriedKey& key);
// A window of the program took the focus.
void NoteFocusArrived();
// Whether the key was carried across a focus change, which its next key event ends; a key-down
// of such a key is a repeat.
bool TakeCarriedKey(SDL_Scancode scancode);
// Posts the held-back releases of keys let go since: those the display no longer holds down
// (to the window with the focus, else a window of the program), or, where the display cannot
// be asked, those that did not come back in time.
void ReleaseLetGoKeys(KeyboardReading& keyboard);

}  // namespace platform
