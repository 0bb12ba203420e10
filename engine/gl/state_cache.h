// The GL texture-unit state the engine last set, so that calls which would change nothing are
// skipped. Every bind, unit switch and texturing switch of the engine goes through here.
#pragma once

#include <cstdint>

#include "engine/gl/gl_functions.h"

namespace kv::engine::glcache {

// Texture units the engine uses (the fixed-function minimum is 2; drivers offer 8 or more).
constexpr uint32_t kTextureUnits = 8;

// Forgets everything (the context is new, or someone else touched the units).
void Reset();
// Makes unit the active texture unit.
void ActiveUnit(uint32_t unit);
// Binds texture id (0: none) to unit; leaves unit active.
void BindTexture(uint32_t unit, GLuint id);
// Turns 2D texturing on or off on unit; leaves unit active.
void EnableTexturing(uint32_t unit, bool on);
// Drops every binding of id (the texture is being deleted).
void ForgetTexture(GLuint id);

}  // namespace kv::engine::glcache
