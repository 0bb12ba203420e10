// SDL key codes to X key symbols, to find the X key of an SDL key. Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

namespace platform {

// The X key symbols a key may bear: the usual one, and one that some layouts give it instead
// (0 for none).
struct XKeysyms {
  unsigned long usual;
  unsigned long other;
};

// The X key symbols of an SDL key code (a character, or a key without one); {0, 0} for a key the
// table does not name.
XKeysyms XKeysymsOfKey(SDL_Keycode key);

}  // namespace platform
