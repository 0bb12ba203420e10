// How a layered window shows the frames presented to it, for the engine that presents them.
// On an X desktop with a compositing manager a window made layered has a visual with an alpha
// channel, which GL cannot draw on: it takes each frame as a picture, premultiplied, as a
// compositor blends it over the desktop. A colour key cuts the pixels of the key colour out of
// the window's shape after each frame, composited or not. Elsewhere (offscreen, Wayland) a frame
// needs nothing of either. Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>

namespace platform {

struct WindowRecord;

// What presenting a frame to the window needs besides GL.
struct FrameNeeds {
  bool picture = false;   // the frame goes to the window as a picture (PutFrame), not through GL
  bool colorKey = false;  // the key colour is cut out of each frame (CutColorKey)
  // A present that does not name the window layered shows its frame (opaque). A layered window
  // without layered attributes shows only what layered presents give it, as a window that
  // takes its pictures through UpdateLayeredWindow ignores its ordinary painting.
  bool plainPresentsShow = true;
};

// The needs of a window of the program; none for a window the program did not make.
FrameNeeds FrameNeedsOf(SDL_Window* window);
// Whether the window, layered, shows per-pixel alpha: made with the alpha visual where a
// compositor runs, or on a desktop whose compositor is followed (x_layered.h), where a window on
// the usual visual gets the alpha visual once a compositor starts and one with it keeps it when
// the compositor goes. Without a compositor such a window shows its colour on black.
bool WindowCanShowAlpha(SDL_Window* window);
// Shows a frame of w x h (32-bit pixels, bytes blue, green, red, alpha, premultiplied, rows top
// first) on a window whose needs name a picture. False when it cannot be shown.
bool PutFrame(SDL_Window* window, const uint8_t* pixels, int w, int h);
// Cuts the pixels of the window's key colour out of its shape, from the frame just presented
// (same layout as PutFrame's); the shape changes only when the frame's key pixels do.
void CutColorKey(SDL_Window* window, const uint8_t* pixels, int w, int h);
// Gives a window whose colour key no longer applies its whole rectangle back.
void DropColorKeyShape(WindowRecord& window);

}  // namespace platform
