// The bridge from a window handle to the SDL window behind it, for the engine's GL contexts.
// The SDL window is owned by platform/ and lives until DestroyWindow.
#pragma once

#include <SDL2/SDL.h>

#include "platform/winapi/types.h"

namespace platform {

// The SDL window of a live window; null for a null, unknown or destroyed window.
SDL_Window* SdlWindowOf(HWND hwnd);

}  // namespace platform
