// Which texture is current on each unit (KvTextureActivate, KvTextureUnactivate, KvTextureUnit),
// and KvTextureParameter on the current texture with its table of parameters and values. Unit 0
// feeds the batch: its texture is taken into each draw record, so switching it costs no GL call.
// Other units are bound in GL at once, after a flush, since they change how every draw looks.
#include "engine/draw/batch.h"
#include "engine/gl/context.h"
#include "engine/gl/state_cache.h"
#include "engine/numbers.h"
#include "engine/states/render_states.h"
#include "engine/textures/textures.h"
#include "engine/trace/trace.h"

namespace kv::engine {

namespace {

struct Unit {
  KV_HANDLE handle;
  GLuint id = 0;
};

Unit units[glcache::kTextureUnits];
uint32_t currentUnit = 0;

// Texture parameters and the values each takes, to GL. Values are passed as floats.
struct ParameterValue {
  uint32_t parameter;
  float value;
  GLenum glParameter;
  GLint glValue;
};
constexpr ParameterValue kParameters[] = {
    {KV_TEX_MIN_FILTER, KV_FILTER_NEAREST, GL_TEXTURE_MIN_FILTER, GL_NEAREST},
    {KV_TEX_MIN_FILTER, KV_FILTER_LINEAR, GL_TEXTURE_MIN_FILTER, GL_LINEAR},
    {KV_TEX_MAG_FILTER, KV_FILTER_NEAREST, GL_TEXTURE_MAG_FILTER, GL_NEAREST},
    {KV_TEX_MAG_FILTER, KV_FILTER_LINEAR, GL_TEXTURE_MAG_FILTER, GL_LINEAR},
    {KV_TEX_WRAP_S, KV_WRAP_REPEAT, GL_TEXTURE_WRAP_S, GL_REPEAT},
    {KV_TEX_WRAP_S, KV_WRAP_CLAMP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE},
    {KV_TEX_WRAP_T, KV_WRAP_REPEAT, GL_TEXTURE_WRAP_T, GL_REPEAT},
    {KV_TEX_WRAP_T, KV_WRAP_CLAMP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE},
};

const ParameterValue* FindParameter(uint32_t parameter, float value) {
  for (const ParameterValue& entry : kParameters) {
    if (entry.parameter == parameter && entry.value == value) return &entry;
  }
  return nullptr;
}

GLint* ParameterField(Texture& texture, GLenum parameter) {
  switch (parameter) {
    case GL_TEXTURE_MIN_FILTER: return &texture.minFilter;
    case GL_TEXTURE_MAG_FILTER: return &texture.magFilter;
    case GL_TEXTURE_WRAP_S: return &texture.wrapS;
    default: return &texture.wrapT;
  }
}

// Units beyond 0 are bound in GL as they change.
void BindExtraUnit(uint32_t unit, GLuint id) {
  if (unit == 0 || !EnsureCurrent()) return;
  batch::Flush();
  glcache::BindTexture(unit, id);
  glcache::EnableTexturing(unit, id != 0);
}

}  // namespace

void MakeCurrent(KV_HANDLE handle, Texture& texture) {
  units[currentUnit].handle = handle;
  units[currentUnit].id = texture.id;
  BindExtraUnit(currentUnit, texture.id);
}

Texture* CurrentTexture() { return FindTexture(units[currentUnit].handle); }

void ForgetCurrent(KV_HANDLE handle) {
  for (uint32_t unit = 0; unit < glcache::kTextureUnits; ++unit) {
    if (!(units[unit].handle == handle) || units[unit].handle.IsNull()) continue;
    units[unit] = Unit{};
    BindExtraUnit(unit, 0);
  }
}

GLuint BatchTexture() { return States().texturing != 0 ? units[0].id : 0; }

}  // namespace kv::engine

using namespace kv::engine;

extern "C" uint8_t KvTextureActivate(KV_HANDLE tex) {
  if (trace::Call("KvTextureActivate", tex)) return 0;
  Texture* texture = FindTexture(tex);
  if (texture == nullptr || texture->width == 0) return 0;
  MakeCurrent(tex, *texture);
  return 1;
}

extern "C" uint8_t KvTextureUnactivate(uint32_t target) {
  if (trace::Call("KvTextureUnactivate", target)) return 0;
  if (target != KV_TEXTURE_TARGET) return 0;
  units[currentUnit] = Unit{};
  BindExtraUnit(currentUnit, 0);
  return 1;
}

extern "C" uint8_t KvTextureUnit(uint32_t unit) {
  if (trace::Call("KvTextureUnit", unit)) return 0;
  if (unit >= glcache::kTextureUnits) return 0;
  currentUnit = unit;
  return 1;
}

extern "C" uint8_t KvTextureParameter(uint32_t parameter, float value) {
  if (trace::Call("KvTextureParameter", parameter, value)) return 0;
  const ParameterValue* entry = FindParameter(parameter, value);
  Texture* texture = CurrentTexture();
  if (entry == nullptr || texture == nullptr) return 0;
  GLint* field = ParameterField(*texture, entry->glParameter);
  if (*field == entry->glValue) return 1;
  if (!EnsureCurrent()) return 0;
  batch::FlushIfUses(texture->id);
  *field = entry->glValue;
  glcache::BindTexture(currentUnit, texture->id);
  gl.TexParameteri(GL_TEXTURE_2D, entry->glParameter, entry->glValue);
  return 1;
}
