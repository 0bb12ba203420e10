// SDL scancodes to virtual-key codes. Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

namespace platform {

// The virtual-key code of a physical key (1..254); 0 for a key without one.
int VirtualKeyOfScancode(SDL_Scancode scancode);

}  // namespace platform
