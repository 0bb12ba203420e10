// Making a window's SDL window with the visual its layered style needs, when it is created and
// again when the style changes that need.
#include "platform/windows/window_visual.h"

#include <string>
#include <vector>

#include "platform/display/x_layered.h"
#include "platform/display/x_window_state.h"
#include "platform/text/code_page.h"
#include "platform/windows/focus.h"
#include "platform/windows/sdl_window.h"
#include "platform/windows/style_table.h"
#include "platform/windows/window_table.h"
#include "platform/winapi/windows.h"

namespace platform {
namespace {

void (*replacementListener)(SDL_Window*) = nullptr;

// Whether the style needs the alpha visual: it is layered and a compositor runs. Asking costs
// a connection of its own, so a window that has the alpha visual keeps it without asking.
bool NeedsAlphaVisual(const WindowRecord& window, DWORD exStyle) {
  if (!(exStyle & WS_EX_LAYERED)) return false;
  return window.alphaVisual || AlphaVisualForNewWindow() != 0;
}

// Brings the new window to what the old one showed: its opacity and its colour key's shape,
// given before it shows, then shown (minimised or maximised) as it was, in the old one's place
// in the stacking order.
void CarryOver(const WindowRecord& window, SDL_Window* old, SDL_Window* made) {
  const uint32_t oldFlags = SDL_GetWindowFlags(old);
  if (window.layeredFlags & LWA_ALPHA) SDL_SetWindowOpacity(made, window.alpha / 255.0f);
  if (!window.shape.empty())
    SetWindowShape(made, window.shape.data(), window.shapeWidth, window.shapeHeight);
  if (!window.visible) return;
  SDL_ShowWindow(made);
  StackAbove(made, old);
  if (oldFlags & SDL_WINDOW_MINIMIZED) SDL_MinimizeWindow(made);
  if (oldFlags & SDL_WINDOW_MAXIMIZED) SDL_MaximizeWindow(made);
}

}  // namespace

void SetWindowReplacementListener(void (*beforeReplacement)(SDL_Window* old)) {
  replacementListener = beforeReplacement;
}

// SDL asks compositors by default to leave its windows out, which some honour by stopping
// compositing altogether: a layered window must be composited. GL does not draw on a window with
// the alpha visual (the engine's one context has another visual): its frames arrive as pictures
// (layered_frames.h).
SDL_Window* CreateSdlWindow(const char* title, int x, int y, int width, int height, uint32_t flags,
                            DWORD exStyle, bool* alphaVisual) {
  unsigned long visual = (exStyle & WS_EX_LAYERED) ? AlphaVisualForNewWindow() : 0;
  *alphaVisual = visual != 0;
  if (visual == 0) return SDL_CreateWindow(title, x, y, width, height, flags);
  std::string id = std::to_string(visual);
  SDL_SetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID, id.c_str());
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_Window* sdl = SDL_CreateWindow(title, x, y, width, height, flags & ~SDL_WINDOW_OPENGL);
  SDL_ResetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID);
  SDL_ResetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR);
  return sdl;
}

bool FitVisualToStyle(WindowRecord& window, DWORD exStyle) {
  if (NeedsAlphaVisual(window, exStyle) == window.alphaVisual) return true;
  // Made hidden, so that it shows only once it is like the old one.
  const uint32_t flags =
      SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SdlFlagsOfStyles(window.style, exStyle);
  const std::string title = Latin1ToUtf8(window.title.c_str());
  bool alphaVisual = false;
  SDL_Window* made = CreateSdlWindow(title.c_str(), window.x, window.y, window.width, window.height,
                                     flags, exStyle, &alphaVisual);
  if (made == nullptr) return false;
  SDL_Window* old = window.sdl;
  const HWND hwnd = HandleOf(window);
  // The engine leaves the old window first, taking out the picture its buffers hold.
  if (replacementListener != nullptr) replacementListener(old);
  CarryOver(window, old, made);
  WatchFrontLeaving(hwnd);
  window.sdl = made;
  window.alphaVisual = alphaVisual;
  ForgetWindowPictures(old);
  SDL_DestroyWindow(old);
  KeepFocusAfterReplacement(hwnd);
  return true;
}

void FitVisualsToCompositor() {
  // Handles first: a window made again keeps its record, but the window procedure may run.
  std::vector<HWND> waiting;
  for (auto& [id, window] : Windows()) {
    if ((window->exStyle & WS_EX_LAYERED) && !window->alphaVisual)
      waiting.push_back(HandleOf(*window));
  }
  for (HWND hwnd : waiting) {
    if (WindowRecord* window = FindWindowRecord(hwnd)) FitVisualToStyle(*window, window->exStyle);
  }
}

}  // namespace platform
