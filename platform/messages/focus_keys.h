// Keys held while the keyboard focus moves. When a window loses the focus, SDL lets go of every
// held key: it posts a key-up for each, then the window's focus-lost event, all at once. When
// such a key comes down again in the window that takes the focus, SDL reports a new press. The
// desktop of the Windows calls keeps the key down instead and delivers it to the new window as a
// repeat (previous-state bit set), which the framework's key-repeat filter drops, so that a key
// held through the end of one window never acts as a fresh press in the next.
//
// The translation does the same, deciding by the events' own order and the keyboard's state:
// only the key-ups that come right before a focus-lost event of their window are the focus
// loss's, and of those only the ones whose key the display still holds down are held back. The
// key's next key-down is then a repeat, and the release goes out once the display says the key
// is up, wherever the focus is by then. Every other key-up is a real release, whatever the
// display says after it: a key let go and pressed again quickly gives a release and a fresh
// press. Key-ups that end a batch of events, their key still held, wait for the next events to
// tell which they are. A display that cannot be asked falls back to time (the focus loss's
// key-ups are held, and let go when the key does not come back soon). Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

#include <cstddef>
#include <vector>

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

// What an event of a batch is to the held-key logic.
enum class KeyUpRole {
  Translate,  // anything but a held-back key-up, translated as it comes
  HoldBack,   // a key-up SDL made as the window lost the focus, for a key still held
  Await,      // a key-up ending the batch, its key still held: the next events decide
};

// The key-ups that the last batch ended with and could not decide; they go before the next
// batch's events (and are forgotten here).
std::vector<SDL_Event> TakeAwaitedReleases();
// What events[index] is, from the events after it and the display's keyboard.
KeyUpRole RoleOf(const SDL_Event* events, size_t count, size_t index, KeyboardReading& keyboard);
// Keeps a key-up for the next batch.
void AwaitNextEvents(const SDL_Event& release);
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
