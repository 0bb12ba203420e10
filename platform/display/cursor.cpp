// The cursor: its position on the screen and the display counter that shows or hides it.
#include <SDL2/SDL.h>

#include "platform/display/cursor.h"
#include "platform/display/video.h"
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
