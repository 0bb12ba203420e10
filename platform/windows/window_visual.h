// The visual of a window's SDL window, which its layered style decides on a compositing X
// desktop: a layered window gets one with an alpha channel, which the compositor blends over the
// desktop, an opaque window the usual one. X fixes a window's visual when it makes the window,
// so a window that becomes layered or opaque later gets a new SDL window behind the same handle,
// carrying over what the old one showed. Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>

#include "platform/winapi/types.h"

namespace platform {

struct WindowRecord;

// Makes the SDL window for a window of that extended style: one made layered on a compositing X
// desktop gets the visual with an alpha channel, and no GL (alphaVisual says which it got).
SDL_Window* CreateSdlWindow(const char* title, int x, int y, int width, int height, uint32_t flags,
                            DWORD exStyle, bool* alphaVisual);
// Gives the window the visual that the extended style, about to become its own, needs, making
// its SDL window again when the visual differs. The new one has the old one's title, place,
// size, flags, opacity, stacking place, shape and keyboard focus; the engine is told before the
// old one goes (SetWindowReplacementListener). False when the new window cannot be made: the
// old one stays.
bool FitVisualToStyle(WindowRecord& window, DWORD exStyle);
// Called when a compositing manager takes its selection: every layered window on the usual
// visual gets the alpha visual, made again as a window made layered later is. Windows that have
// it already, and those that are not layered, stay as they are.
void FitVisualsToCompositor();

}  // namespace platform
