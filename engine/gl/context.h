// The engine's one GL context. Every render target draws into its own frame buffer inside it, so
// textures and fonts made while one window is current serve every window. The context lives on a
// hidden helper window of its own, so it outlives any window the framework destroys; presenting
// makes it current on the target's window for the copy and the swap.
#pragma once

#include <SDL2/SDL.h>

namespace kv::engine {

// Creates the context on first use (starting SDL video when needed); false when video or a GL
// 2.1 compatibility context with frame buffer objects is not available.
bool EnsureContext();
// True once the context exists.
bool HasContext();
// Makes the context current on the window (null: the helper window); false when that fails.
bool MakeCurrentOn(SDL_Window* window);
// Makes sure the context is current somewhere (the helper window when SDL released it); false
// when there is no context.
bool EnsureCurrent();
// The window the context is current on (the helper window when none other).
SDL_Window* CurrentWindow();
// Destroys the context and the helper window, and stops SDL video if the engine started it.
void DestroyContext();

}  // namespace kv::engine
