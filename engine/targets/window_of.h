// The SDL window behind a window handle.
#pragma once

#include <SDL2/SDL.h>

#include "engine/kv_engine.h"

namespace kv::engine {

// The SDL window of a live window; null for a null, unknown or destroyed one.
SDL_Window* SdlWindowOf(HWND hwnd);
// Has the window system call beforeReplacement(old) just before it replaces the SDL window
// behind a handle with another one (the handle still leads to the old one then).
void ListenForWindowReplacement(void (*beforeReplacement)(SDL_Window* old));

}  // namespace kv::engine
