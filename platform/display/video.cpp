// Lazy start and end-of-process shutdown of SDL video.
#include "platform/display/video.h"

#include <SDL2/SDL.h>

#include <cstdlib>

namespace platform {
namespace {

enum class VideoState { NotStarted, Running, Failed, ShutDown };

VideoState& State() {
  static VideoState state = VideoState::NotStarted;
  return state;
}

void ShutdownVideo() {
  if (State() != VideoState::Running) return;
  SDL_Quit();
  State() = VideoState::ShutDown;
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
    if (state == VideoState::Running) std::atexit(ShutdownVideo);
  }
  return state == VideoState::Running;
}

bool VideoRunning() { return State() == VideoState::Running; }

}  // namespace platform
