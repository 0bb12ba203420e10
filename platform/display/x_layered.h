// What layered windows need of the X server that SDL's X11 driver does not offer: a visual with
// an alpha channel for a window whose pixels a compositing manager blends over the desktop, the
// upload of a picture onto such a window, and the window's shape (X Shape extension) for a colour
// key. Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>

namespace platform {

// Whether SDL's video runs on its X11 driver.
bool X11Video();
// The id of a 32-bit TrueColor visual whose top byte is alpha, when a compositing manager (an
// owner of _NET_WM_CM_S<screen>) runs on the X server that SDL's X11 driver uses; 0 when none runs,
// the server has no such visual, or the driver is not X11. Asked for a layered window before it
// exists, on the desktop connection, after the compositor's selection is watched.
unsigned long AlphaVisualForNewWindow();
// Whether a compositing manager that starts later is followed: its selection is watched and the
// server has the alpha visual, so a layered window on an opaque X window gets it when one starts.
bool CompositorFollowed();
// Whether a compositing manager runs now on the window's X server.
bool CompositorRuns(SDL_Window* window);
// Puts a picture of w x h pixels onto the window: 32-bit pixels, bytes blue, green, red, alpha,
// rows top first, the colour premultiplied by alpha as a compositor blends it. For windows made
// with the alpha visual only. False when the window is not on X or the upload cannot be made.
bool PutWindowPicture(SDL_Window* window, const uint8_t* pixels, int w, int h);
// Makes the window's shape the set bits of a mask of w x h (rows of (w + 7) / 8 bytes, top first,
// the first pixel of a byte in its lowest bit): pixels outside it show what lies beneath and pass
// the pointer through. A null mask gives the window back its whole rectangle.
void SetWindowShape(SDL_Window* window, const uint8_t* mask, int w, int h);
// Releases what the uploads to the window kept; called before the window is destroyed.
void ForgetWindowPictures(SDL_Window* window);

}  // namespace platform
