// The texture-unit cache.
#include "engine/gl/state_cache.h"

namespace kv::engine::glcache {

namespace {

// -1: unknown, so the next call goes to GL whatever it asks.
int64_t activeUnit = -1;
int64_t bound[kTextureUnits];
int texturing[kTextureUnits];

}  // namespace

void Reset() {
  activeUnit = -1;
  for (uint32_t i = 0; i < kTextureUnits; ++i) {
    bound[i] = -1;
    texturing[i] = -1;
  }
}

void ActiveUnit(uint32_t unit) {
  if (activeUnit == unit) return;
  gl.ActiveTexture(GL_TEXTURE0 + unit);
  activeUnit = unit;
}

void BindTexture(uint32_t unit, GLuint id) {
  ActiveUnit(unit);
  if (bound[unit] == id) return;
  gl.BindTexture(GL_TEXTURE_2D, id);
  bound[unit] = id;
}

void EnableTexturing(uint32_t unit, bool on) {
  ActiveUnit(unit);
  if (texturing[unit] == static_cast<int>(on)) return;
  on ? gl.Enable(GL_TEXTURE_2D) : gl.Disable(GL_TEXTURE_2D);
  texturing[unit] = on;
}

void ForgetTexture(GLuint id) {
  for (uint32_t i = 0; i < kTextureUnits; ++i) {
    if (bound[i] == id) bound[i] = -1;
  }
}

}  // namespace kv::engine::glcache
