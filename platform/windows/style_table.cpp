// Window style bits -> SDL window flags; a bit that is not in the tables adds no flag.
#include "platform/windows/style_table.h"

#include <SDL2/SDL.h>

#include "platform/winapi/constants.h"

namespace platform {
namespace {

struct StyleFlag {
  DWORD bit;
  uint32_t sdlFlag;
};

// A popup has no frame of its own; the desktop's frame is what the other styles ask for.
constexpr StyleFlag kStyleFlags[] = {
    {WS_POPUP, SDL_WINDOW_BORDERLESS},
    {WS_THICKFRAME, SDL_WINDOW_RESIZABLE},
    {WS_MINIMIZE, SDL_WINDOW_MINIMIZED},
    {WS_MAXIMIZE, SDL_WINDOW_MAXIMIZED},
};

// A tool window gets no task-bar button; SDL marks it as a utility window too.
constexpr StyleFlag kExStyleFlags[] = {
    {WS_EX_TOPMOST, SDL_WINDOW_ALWAYS_ON_TOP},
    {WS_EX_TOOLWINDOW, SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_UTILITY},
};

}  // namespace

uint32_t SdlFlagsOfStyles(DWORD style, DWORD exStyle) {
  uint32_t flags = 0;
  for (const StyleFlag& entry : kStyleFlags) {
    if (style & entry.bit) flags |= entry.sdlFlag;
  }
  for (const StyleFlag& entry : kExStyleFlags) {
    if (exStyle & entry.bit) flags |= entry.sdlFlag;
  }
  return flags;
}

}  // namespace platform
