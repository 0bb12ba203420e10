// Loading the engine's GL entry points through SDL.
#include "engine/gl/gl_functions.h"

#include <SDL2/SDL.h>

#include <string>

namespace kv::engine {

GlFunctions gl;

namespace {

// Frame buffer objects go by the core names from GL 3.0 and by the same names in the ARB
// extension; older drivers offer only the EXT names, which take the same arguments.
void* LookUp(const char* name) {
  void* address = SDL_GL_GetProcAddress(name);
  if (address != nullptr) return address;
  std::string extName = std::string(name) + "EXT";
  return SDL_GL_GetProcAddress(extName.c_str());
}

}  // namespace

bool LoadGlFunctions() {
  GlFunctions loaded;
  bool complete = true;
#define KV_GL_LOAD(ret, name, params)                                        \
  loaded.name = reinterpret_cast<ret(APIENTRY*) params>(LookUp("gl" #name)); \
  if (loaded.name == nullptr) complete = false;
  KV_GL_FUNCTIONS(KV_GL_LOAD)
#undef KV_GL_LOAD
#define KV_GL_LOAD_OPTIONAL(ret, name, params) \
  loaded.name = reinterpret_cast<ret(APIENTRY*) params>(SDL_GL_GetProcAddress("gl" #name));
  // The extension must be advertised too: a driver may hand out addresses for names it lacks.
  if (SDL_GL_ExtensionSupported("GL_ARB_vertex_program") &&
      SDL_GL_ExtensionSupported("GL_ARB_fragment_program")) {
    KV_GL_OPTIONAL_FUNCTIONS(KV_GL_LOAD_OPTIONAL)
  }
#undef KV_GL_LOAD_OPTIONAL
  if (complete) gl = loaded;
  return complete;
}

bool HasProgramPairs() {
  bool all = true;
#define KV_GL_PRESENT(ret, name, params) \
  if (gl.name == nullptr) all = false;
  KV_GL_OPTIONAL_FUNCTIONS(KV_GL_PRESENT)
#undef KV_GL_PRESENT
  return all;
}

}  // namespace kv::engine
