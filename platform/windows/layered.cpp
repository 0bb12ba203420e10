// Layered-window attributes: whole-window opacity through SDL (a compositing desktop shows it);
// the colour key is kept here and cut out of each frame the window presents (layered_frames.h).
#include <SDL2/SDL.h>

#include "platform/windows/layered_frames.h"
#include "platform/windows/window_table.h"
#include "platform/winapi/windows.h"

BOOL WINAPI SetLayeredWindowAttributes(HWND hwnd, COLORREF colorKey, BYTE alpha, DWORD flags) {
  platform::WindowRecord* window = platform::FindWindowRecord(hwnd);
  if (window == nullptr || !(window->exStyle & WS_EX_LAYERED)) return FALSE;
  if (flags & LWA_ALPHA) {
    // Without a compositor SDL cannot show opacity; the window system would not fail here either.
    SDL_SetWindowOpacity(window->sdl, alpha / 255.0f);
    window->alpha = alpha;
  } else {
    SDL_SetWindowOpacity(window->sdl, 1.0f);
    window->alpha = 255;
  }
  if (flags & LWA_COLORKEY)
    window->colorKey = colorKey;
  else
    platform::DropColorKeyShape(*window);
  window->layeredFlags = flags & (LWA_ALPHA | LWA_COLORKEY);
  return TRUE;
}
