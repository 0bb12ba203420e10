// From a window handle to the SDL window behind it, through the window-system layer (or a
// replacement a test installs). Kept apart from the GL code: the window-system declarations and
// the GL header both define the calling-convention word APIENTRY.
#include "engine/targets/window_of.h"

#include "engine/testing.h"
#include "platform/windows/sdl_window.h"

namespace kv::engine {

namespace {
SDL_Window* (*windowResolver)(HWND) = nullptr;
}

SDL_Window* SdlWindowOf(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  return windowResolver != nullptr ? windowResolver(hwnd) : platform::SdlWindowOf(hwnd);
}

void ListenForWindowReplacement(void (*beforeReplacement)(SDL_Window* old)) {
  platform::SetWindowReplacementListener(beforeReplacement);
}

}  // namespace kv::engine

namespace kv::engine::testing {

void SetWindowResolver(SDL_Window* (*resolver)(HWND)) { windowResolver = resolver; }

}  // namespace kv::engine::testing
