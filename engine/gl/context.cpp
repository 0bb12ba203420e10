// Creating, switching and destroying the engine's GL context.
#include "engine/gl/context.h"

#include <dlfcn.h>
#include <link.h>

#include "engine/draw/batch.h"
#include "engine/gl/gl_functions.h"
#include "engine/gl/state_cache.h"
#include "engine/states/render_states.h"
#include "platform/display/video.h"

namespace kv::engine {

namespace {

SDL_Window* helperWindow = nullptr;
SDL_GLContext context = nullptr;
bool driversPinned = false;

// Mesa's driver modules are unloaded at exit, and the allocations they made once per process then
// show as leaks of an unknown module. Keeping every loaded object resident lets the leak checker
// attribute them (and suppress them) by library name.
int PinObject(struct dl_phdr_info* info, size_t, void*) {
  if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0') return 0;
  void* handle = dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  if (handle != nullptr) dlclose(handle);
  return 0;
}

void PinLoadedObjects() {
  if (driversPinned) return;
  driversPinned = true;
  dl_iterate_phdr(PinObject, nullptr);
}

// Video starts in one place for the whole program, which picks the display's driver and never
// falls back to an invisible one (so a texture made before any window cannot start the offscreen
// driver behind the windows' back), and keeps it running until the process ends.
bool StartVideo() { return platform::VideoReady(); }

// Version 2.1 is the least that has everything the engine calls besides frame buffer objects,
// which LoadGlFunctions checks by name.
bool VersionAtLeast21() {
  const char* version = reinterpret_cast<const char*>(gl.GetString(GL_VERSION));
  if (version == nullptr) return false;
  int major = 0, minor = 0;
  if (SDL_sscanf(version, "%d.%d", &major, &minor) != 2) return false;
  return major > 2 || (major == 2 && minor >= 1);
}

void Release() {
  if (context != nullptr) SDL_GL_DeleteContext(context);
  if (helperWindow != nullptr) SDL_DestroyWindow(helperWindow);
  context = nullptr;
  helperWindow = nullptr;
}

}  // namespace

bool EnsureContext() {
  if (context != nullptr) return true;
  if (!StartVideo()) return false;
  helperWindow = SDL_CreateWindow("kv engine", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (helperWindow == nullptr) return false;
  context = SDL_GL_CreateContext(helperWindow);
  if (context == nullptr) {
    Release();
    return false;
  }
  PinLoadedObjects();
  if (!LoadGlFunctions() || !VersionAtLeast21()) {
    Release();
    return false;
  }
  glcache::Reset();
  batch::ResetGlState();
  SyncStatesToGl();
  return true;
}

bool HasContext() { return context != nullptr; }

// SDL itself releases the context when the window it is current on is destroyed, so the current
// window is asked of SDL each time rather than remembered here.
bool MakeCurrentOn(SDL_Window* window) {
  if (context == nullptr) return false;
  if (window == nullptr) window = helperWindow;
  if (SDL_GL_GetCurrentContext() == context && SDL_GL_GetCurrentWindow() == window) return true;
  return SDL_GL_MakeCurrent(window, context) == 0;
}

bool EnsureCurrent() {
  if (context == nullptr) return false;
  if (SDL_GL_GetCurrentContext() == context && SDL_GL_GetCurrentWindow() != nullptr) return true;
  return SDL_GL_MakeCurrent(helperWindow, context) == 0;
}

SDL_Window* CurrentWindow() {
  if (context == nullptr || SDL_GL_GetCurrentContext() != context) return nullptr;
  return SDL_GL_GetCurrentWindow();
}

void DestroyContext() {
  batch::ResetGlState();
  Release();
  gl = GlFunctions{};
}

}  // namespace kv::engine
