// Keys held while the keyboard focus moves. When a window loses the focus, SDL lets go of every
// held key (its key-ups come right before the focus-lost event, at the same moment), and when
// such a key comes down again in the window that takes the focus, SDL reports a new press. The
// desktop of the Windows calls keeps the key down instead and delivers it to the new window as
// a repeat (previous-state bit set), which the framework's key-repeat filter drops, so that a
// key held through the end of one window never acts as a fresh press in the next. The
// translation does the same with these records: such a release is held back, the key's next
// key-down is a repeat, and a key that does not come back (let go while no window of the
// program had the focus) is released shortly after. Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

#include <cstddef>

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

// Whether events[index], a key-up, is one of the releases SDL makes as a window loses the
// focus: only key-ups follow it up to a focus-lost event of the same window, at the same moment.
bool IsFocusLossRelease(const SDL_Event* events, size_t count, size_t index);
// Holds that release back: the key stays down for the program.
void CarryAcrossFocus(const CarriedKey& key);
// A window of the program took the focus.
void NoteFocusArrived();
// Whether the key was carried across a focus change, which its next key event ends; a key-down
// of such a key is a repeat.
bool TakeCarriedKey(SDL_Scancode scancode);
// Posts the held-back releases of keys that have not come back in time: the focus did not
// arrive at another window of the program soon, or the key did not come down again there.
void ReleaseOverdueKeys();

}  // namespace platform
