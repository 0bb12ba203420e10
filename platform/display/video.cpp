// Lazy start of SDL video. Video stays up until the process ends: the program's static objects
// may still call in while it exits, and the GL library loaded here is never unloaded, so that
// windows (and the engine's contexts) come and go without reloading the driver each time.
#include "platform/display/video.h"

#include "platform/display/x_errors.h"

#include <SDL2/SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

enum class VideoState { NotStarted, Running, Failed };

VideoState& State() {
  static VideoState state = VideoState::NotStarted;
  return state;
}

bool Nonempty(const char* text) { return text != nullptr && *text != '\0'; }

bool StartDriver(const char* driver) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
  SDL_SetHint(SDL_HINT_VIDEODRIVER, nullptr);
  return false;
}

// One line that names why no window can be made, with the X11 driver's own reason.
void ReportNoDisplay(const std::string& reason) {
  const char* display = std::getenv("DISPLAY");
  if (Nonempty(display)) {
    std::fprintf(stderr,
                 "%s: cannot open the display \"%s\" (%s; SDL_VIDEODRIVER=offscreen runs "
                 "without one)\n",
                 program_invocation_short_name, display, reason.c_str());
  } else {
    std::fprintf(stderr,
                 "%s: no display: DISPLAY is not set (SDL_VIDEODRIVER=offscreen runs "
                 "without one)\n",
                 program_invocation_short_name);
  }
}

// Windows are placed and the cursor is read and moved, which X11 allows and a Wayland surface
// does not; XWayland serves X11 on a Wayland desktop, and Wayland itself is the fallback where
// a Wayland display is named. A driver that SDL_VIDEODRIVER chooses is taken as it is: the
// offscreen driver is the headless mode, and only that request selects it, so that a program
// whose display cannot be opened fails to make its windows instead of running unseen.
bool StartVideo() {
  const char* chosen = std::getenv("SDL_VIDEODRIVER");
  if (Nonempty(chosen)) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    std::fprintf(stderr, "%s: cannot start the video driver \"%s\": %s\n",
                 program_invocation_short_name, chosen, SDL_GetError());
    return false;
  }
  if (StartDriver("x11")) return true;
  std::string reason = SDL_GetError();
  // Asked without a display named, the Wayland client library complains on its own.
  if (Nonempty(std::getenv("WAYLAND_DISPLAY")) && StartDriver("wayland")) return true;
  ReportNoDisplay(reason);
  return false;
}

}  // namespace

bool VideoReady() {
  VideoState& state = State();
  if (state == VideoState::NotStarted) {
    // Closing the last window must reach the program as WM_CLOSE, not end it behind its back.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    state = StartVideo() ? VideoState::Running : VideoState::Failed;
    // Every window is an OpenGL window; a driver without GL still gets its windows refused
    // one by one by SDL, so the result is not needed here.
    if (state == VideoState::Running) {
      // The windows' own buffers get the depth and stencil that render targets with depth
      // ask for (24 and 8 bits), so that such a target can draw into its window directly.
      SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
      SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
      SDL_GL_LoadLibrary(nullptr);
      TolerateFocusRequestErrors();
    }
  }
  return state == VideoState::Running;
}

bool VideoRunning() { return State() == VideoState::Running; }

}  // namespace platform
