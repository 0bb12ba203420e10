// Layered windows: whether a window can show per-pixel alpha (render target format
// KV_FORMAT_ALPHA), and presenting to a window whose frames the desktop takes as pictures or cuts
// to a colour key (platform/windows/layered_frames.h says which).
//
// On X a layered window shows alpha where a compositing manager runs and the window was made with
// a visual that has an alpha channel; the engine's context cannot draw on such a window, so its
// frame is read back and handed over as a picture. Where a compositor that starts later is
// followed, a layered window keeps its alpha without one (showing its colour on black) and shows
// it from the frame after a compositor starts. The offscreen and dummy drivers show nothing, and
// neither does an X desktop without a compositor where none would be followed: both refuse, and
// the framework falls back to an opaque target.
#include <cstring>

#include "engine/gl/context.h"
#include "engine/targets/drawing_buffers.h"
#include "engine/targets/render_targets.h"

namespace kv::engine {

namespace {

// On Wayland the compositor blends every surface whose buffers keep alpha.
bool DrawableHasAlpha(SDL_Window* window) {
  SDL_Window* previous = CurrentWindow();
  if (!EnterWindow(window)) return false;
  GLint alphaBits = 0;
  GLint bound = 0;
  gl.GetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
  gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
  gl.GetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_BACK_LEFT,
                                         GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE, &alphaBits);
  gl.BindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(bound));
  EnterWindow(previous);
  return alphaBits > 0;
}

// Every pixel fully opaque: a present without the layered bit shows the frame as an opaque
// window would.
void MakeOpaque(std::vector<uint8_t>& pixels) {
  for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
}

}  // namespace

bool DesktopShowsPerPixelAlpha(SDL_Window* window) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) return false;
  if (std::strcmp(driver, "x11") == 0) return platform::WindowCanShowAlpha(window);
  if (std::strcmp(driver, "wayland") == 0) return DrawableHasAlpha(window);
  return false;
}

bool PresentAsPicture(RenderTarget& target, SDL_Window* window, bool layered,
                      const platform::FrameNeeds& needs) {
  target.disturbed = false;
  // The window goes on showing what the last layered present gave it.
  if (!layered && !needs.plainPresentsShow) return true;
  // Kept from frame to frame: every frame of such a window is read back.
  static std::vector<uint8_t> pixels;
  int w = 0, h = 0;
  ReadFrameForWindow(target, window, false, &pixels, &w, &h);
  BindDrawing();
  if (!layered) MakeOpaque(pixels);
  if (!platform::PutFrame(window, pixels.data(), w, h)) return false;
  if (needs.colorKey) platform::CutColorKey(window, pixels.data(), w, h);
  return true;
}

}  // namespace kv::engine
