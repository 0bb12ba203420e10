// The SDL window behind a window handle.
#pragma once

#include <SDL2/SDL.h>

#include "engine/kv_engine.h"

namespace kv::engine {

// The SDL window of a live window; null for a null, unknown or destroyed one.
SDL_Window* SdlWindowOf(HWND hwnd);

}  // namespace kv::engine
