// Whether a window can show per-pixel alpha (render target format KV_FORMAT_ALPHA). That needs a
// compositor and a window whose drawable keeps an alpha channel. The offscreen and dummy drivers
// show nothing, and an X desktop without a compositor shows alpha as black, so both refuse and the
// framework falls back to an opaque target.
#include <SDL2/SDL_syswm.h>
#include <dlfcn.h>

#include <cstring>
#include <string>

#include "engine/gl/context.h"
#include "engine/targets/drawing_buffers.h"
#include "engine/targets/render_targets.h"

namespace kv::engine {

namespace {

// An X compositor owns the selection _NET_WM_CM_S<screen>. libX11 is opened at run time, so the
// engine does not link it for this one question.
bool X11HasCompositor(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
  if (x11 == nullptr) return false;
  using InternAtom = unsigned long (*)(Display*, const char*, int);
  using GetSelectionOwner = unsigned long (*)(Display*, unsigned long);
  using DefaultScreen = int (*)(Display*);
  auto internAtom = reinterpret_cast<InternAtom>(dlsym(x11, "XInternAtom"));
  auto getOwner = reinterpret_cast<GetSelectionOwner>(dlsym(x11, "XGetSelectionOwner"));
  auto defaultScreen = reinterpret_cast<DefaultScreen>(dlsym(x11, "XDefaultScreen"));
  bool composited = false;
  if (internAtom != nullptr && getOwner != nullptr && defaultScreen != nullptr) {
    Display* display = info.info.x11.display;
    std::string name = "_NET_WM_CM_S" + std::to_string(defaultScreen(display));
    unsigned long atom = internAtom(display, name.c_str(), 0);
    composited = atom != 0 && getOwner(display, atom) != 0;
  }
  dlclose(x11);
  return composited;
}

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

}  // namespace

bool DesktopShowsPerPixelAlpha(SDL_Window* window) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) return false;
  bool composited = false;
  if (std::strcmp(driver, "wayland") == 0)
    composited = true;
  else if (std::strcmp(driver, "x11") == 0)
    composited = X11HasCompositor(window);
  return composited && DrawableHasAlpha(window);
}

}  // namespace kv::engine
