// The cursor: its position on the screen and the display counter that shows or hides it. The
// position is the X server's, asked each time: SDL's copy follows only the motion it hears
// through raw input and misses absolute motion (XTEST, remote desktops, some tablets), and a
// GUI reading it would miss a hover or jump a window by the unseen distance at the next drag.
// Where there is no X server to ask, SDL's copy is all there is.
#include <SDL2/SDL.h>

#include "platform/display/cursor.h"
#include "platform/display/video.h"
#include "platform/display/x_server.h"
#include "platform/testing/test_hooks.h"
#include "platform/winapi/windows.h"

namespace platform {

int& CursorDisplayCounter() {
  static int count = 0;
  return count;
}

}  // namespace platform

BOOL WINAPI GetCursorPos(LPPOINT point) {
  platform::TestHooks& hooks = platform::Hooks();
  if (point == nullptr || hooks.failCursor) return FALSE;
  if (hooks.cursor) {
    *point = *hooks.cursor;
    return TRUE;
  }
  if (!platform::VideoReady()) return FALSE;
  if (platform::QueryServerPointer(*point)) return TRUE;
  int x = 0;
  int y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  *point = POINT{x, y};
  return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
  platform::TestHooks& hooks = platform::Hooks();
  if (hooks.failCursor) return FALSE;
  if (hooks.cursor) {
    *hooks.cursor = POINT{x, y};
    return TRUE;
  }
  if (!platform::VideoReady()) return FALSE;
  return SDL_WarpMouseGlobal(x, y) == 0 ? TRUE : FALSE;
}

int WINAPI ShowCursor(BOOL show) {
  int& count = platform::CursorDisplayCounter();
  count += show ? 1 : -1;
  if (platform::VideoReady()) SDL_ShowCursor(count >= 0 ? SDL_ENABLE : SDL_DISABLE);
  return count;
}
