// The bridge from a window handle to the SDL window behind it, for the engine's GL contexts.
// The SDL window is owned by platform/ and lives until DestroyWindow.
#pragma once

#include <SDL2/SDL.h>

#include "platform/winapi/types.h"

namespace platform {

// The SDL window of a live window; null for a null, unknown or destroyed window.
SDL_Window* SdlWindowOf(HWND hwnd);
// Tells the listener just before the SDL window behind a handle is replaced by another one (a
// window made layered or opaque after it was made, on X, where a window's visual is fixed when
// it is made), while the handle still leads to the old one; the old one is destroyed right after.
// One listener; null removes it.
void SetWindowReplacementListener(void (*beforeReplacement)(SDL_Window* old));

}  // namespace platform
