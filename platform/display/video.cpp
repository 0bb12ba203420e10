// Lazy start of SDL video. Video stays up until the process ends: the program's static objects
// may still call in while it exits, and the GL library loaded here is never unloaded, so that
// windows (and the engine's contexts) come and go without reloading the driver each time.
#include "platform/display/video.h"

#include <SDL2/SDL.h>

#include <cstdlib>

namespace platform {
namespace {

enum class VideoState { NotStarted, Running, Failed };

VideoState& State() {
  static VideoState state = VideoState::NotStarted;
  return state;
}

bool StartVideo() {
  // Windows are placed and the cursor is read and moved, which X11 allows and a Wayland
  // surface does not; XWayland serves X11 on a Wayland desktop.
  const char* chosen = std::getenv("SDL_VIDEODRIVER");
  if (chosen == nullptr || *chosen == '\0') {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, nullptr);
  }
  return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
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
    if (state == VideoState::Running) SDL_GL_LoadLibrary(nullptr);
  }
  return state == VideoState::Running;
}

bool VideoRunning() { return State() == VideoState::Running; }

}  // namespace platform
