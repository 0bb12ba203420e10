// The ten procedures of the "TechniqueShader" language. The script runtime calls one per
// statement with the statement's arguments: pointer-sized words, a keyword's number or the address
// of a script variable, whose value the program set to one of its objects or to a whole number.
#include <cstring>

#include "engine/kv_engine.h"
#include "engine/numbers.h"
#include "foundation/vector.h"
#include "graphics/canvas.h"
#include "graphics/quad.h"
#include "graphics/shader.h"
#include "graphics/technique.h"

namespace {

// Keyword numbers: positions in the definition text's keyword line.
enum Keyword : uintptr_t {
  KW_FALSE = 0,
  KW_TRUE,
  KW_COLOR,
  KW_DEPTH,
  KW_STENCIL,
  KW_ACCUM,
  KW_ENABLE,
  KW_DISABLE,
  KW_MODEL,
  KW_SCENE,
  KW_ZERO,
  KW_ONE,
  KW_SRC_COLOR,
  KW_ONE_MINUS_SRC_COLOR,
  KW_DST_COLOR,
  KW_ONE_MINUS_DST_COLOR,
  KW_SRC_ALPHA,
  KW_ONE_MINUS_SRC_ALPHA,
  KW_DST_ALPHA,
  KW_ONE_MINUS_DST_ALPHA,
  KW_SRC_ALPHA_SATURATE,
  KW_CONSTANT_COLOR,
  KW_ONE_MINUS_CONSTANT_COLOR,
  KW_CONSTANT_ALPHA,
  KW_ONE_MINUS_CONSTANT_ALPHA,
  KW_FLOAT,
  KW_VEC2,
  KW_VEC3,
  KW_VEC4,
  KW_INT,
  KW_IVEC2,
  KW_IVEC3,
  KW_IVEC4,
  KW_TEXTURE,
  KW_CANVAS
};

// The next argument word from the cursor; 0 when the block has no more.
uintptr_t Word(KV_ARRAY<unsigned char>* arguments) {
  uintptr_t word = 0;
  if (arguments->Read(&word, sizeof word) != sizeof word) return 0;
  return word;
}

// The value of the script variable whose address is the next word; 0 for a null address.
uintptr_t Variable(KV_ARRAY<unsigned char>* arguments) {
  auto* variable = reinterpret_cast<const uintptr_t*>(Word(arguments));
  return variable == nullptr ? 0 : *variable;
}

// The object the next variable points at; null when it holds none.
template <class T>
T* Object(KV_ARRAY<unsigned char>* arguments) {
  return reinterpret_cast<T*>(Variable(arguments));
}

// The engine's blend factor of a keyword from ZERO to ONE_MINUS_CONSTANT_ALPHA; 0 for any other.
int BlendFactor(uintptr_t keyword) {
  if (keyword < KW_ZERO || keyword > KW_ONE_MINUS_CONSTANT_ALPHA) return 0;
  return (int)(KV_BLEND_ZERO + (keyword - KW_ZERO));
}

// The quad with its corners in reverse order.
KV_QUAD Reversed(const KV_QUAD& quad) {
  KV_QUAD reversed;
  for (int i = 0; i < 4; ++i) reversed.corners[i] = quad.corners[3 - i];
  return reversed;
}

}  // namespace

void KV_TECHNIQUE::ProcExecute(KV_ARRAY<unsigned char>* arguments) {
  auto* variable = reinterpret_cast<const uintptr_t*>(Word(arguments));
  if (variable == nullptr || *variable == 0) return;
  reinterpret_cast<void (*)()> (*variable)();
}

void KV_TECHNIQUE::ProcClear(KV_ARRAY<unsigned char>* arguments) {
  switch (Word(arguments)) {
    case KW_COLOR: KvRenderScene(KV_SCENE_CLEAR_COLOR); break;
    case KW_DEPTH: KvRenderScene(KV_SCENE_CLEAR_DEPTH); break;
    case KW_STENCIL: KvRenderScene(KV_SCENE_CLEAR_STENCIL); break;
    case KW_ACCUM: KvRenderScene(KV_SCENE_CLEAR_ACCUM); break;
    default: break;
  }
}

void KV_TECHNIQUE::ProcPass(KV_ARRAY<unsigned char>* arguments) {
  uintptr_t mode = Word(arguments);
  KV_SHADER* shader = Object<KV_SHADER>(arguments);
  int32_t index = (int32_t)Variable(arguments);
  if (mode == KW_ENABLE && shader != nullptr)
    shader->Activate(index);
  else if (mode == KW_DISABLE)
    KV_SHADER::Unactivate();
}

void KV_TECHNIQUE::ProcCanvas(KV_ARRAY<unsigned char>* arguments) {
  uintptr_t mode = Word(arguments);
  KV_CANVAS* canvas = Object<KV_CANVAS>(arguments);
  uint8_t flag = Word(arguments) == KW_TRUE ? 1 : 0;
  if (canvas == nullptr) return;
  if (mode == KW_ENABLE)
    canvas->Activate(flag);
  else if (mode == KW_DISABLE)
    canvas->Unactivate(flag);
}

void KV_TECHNIQUE::ProcRect(KV_ARRAY<unsigned char>* arguments) {
  uintptr_t kind = Word(arguments);
  uintptr_t source = Variable(arguments);
  KV_QUAD* positions = Object<KV_QUAD>(arguments);
  KV_QUAD* coordinates = Object<KV_QUAD>(arguments);
  bool flip = Word(arguments) == KW_TRUE;
  if (source == 0 || positions == nullptr || coordinates == nullptr) return;
  if (kind == KW_TEXTURE)
    KvTextureActivate(*reinterpret_cast<const KV_HANDLE*>(source));
  else if (kind == KW_CANVAS)
    reinterpret_cast<KV_CANVAS*>(source)->ActivateTexture();
  else
    return;

  // The flip reverses the coordinate quad in place for the draw only.
  KV_QUAD original = *coordinates;
  if (flip) *coordinates = Reversed(original);
  KvDrawData(KV_PRIM_QUADS, 0, 4, positions->corners, nullptr, coordinates->corners, nullptr,
             nullptr, nullptr, KV_ELEMENT_DOUBLE, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0);
  KvTextureUnactivate(KV_TEXTURE_TARGET);
  if (flip) *coordinates = original;
}

void KV_TECHNIQUE::ProcImage(KV_ARRAY<unsigned char>* arguments) {
  KV_HANDLE* texture = Object<KV_HANDLE>(arguments);
  KV_QUAD* area = Object<KV_QUAD>(arguments);
  uint8_t flag = Word(arguments) == KW_TRUE ? 1 : 0;
  if (texture == nullptr || area == nullptr) return;
  // Corners 0 and 2, truncated toward zero to whole pixels.
  KvTextureFromRender(*texture, (uint32_t)(int32_t)area->corners[0].x,
                      (uint32_t)(int32_t)area->corners[0].y, (uint32_t)(int32_t)area->corners[2].x,
                      (uint32_t)(int32_t)area->corners[2].y, flag);
}

void KV_TECHNIQUE::ProcColor(KV_ARRAY<unsigned char>* arguments) {
  uintptr_t which = Word(arguments);
  const KV_VECTOR_D* colour = Object<const KV_VECTOR_D>(arguments);
  if (colour == nullptr) return;
  if (which == KW_SCENE)
    KvSetState(KV_STATE_CLEAR_COLOR, colour->x, colour->y, colour->z, colour->w);
  else if (which == KW_MODEL)
    KvSetState(KV_STATE_DRAW_COLOR, colour->x, colour->y, colour->z, colour->w);
}

void KV_TECHNIQUE::ProcBlend(KV_ARRAY<unsigned char>* arguments) {
  int source = BlendFactor(Word(arguments));
  int destination = BlendFactor(Word(arguments));
  KvSetState(KV_STATE_BLEND_FUNC, source, destination);
}

void KV_TECHNIQUE::ProcParam(KV_ARRAY<unsigned char>* arguments) {
  uintptr_t type = Word(arguments);
  Variable(arguments);  // the first variable is not used
  const int32_t* location = Object<const int32_t>(arguments);
  const void* value = Object<const void>(arguments);
  if (location == nullptr || value == nullptr) return;
  if (type >= KW_FLOAT && type <= KW_VEC4) {
    KV_VECTOR vector;
    memcpy(&vector, value, sizeof vector);
    KV_SHADER::Uniform(13, *location, vector, (uint32_t)(type - KW_FLOAT + 1));
  } else if (type >= KW_INT && type <= KW_IVEC4) {
    KV_SHADER::UniformInteger(13, *location, static_cast<const int32_t*>(value),
                              (uint32_t)(type - KW_INT + 1));
  }
}

void KV_TECHNIQUE::ProcAttrib(KV_ARRAY<unsigned char>* arguments) {
  uintptr_t type = Word(arguments);
  Variable(arguments);  // the first variable is not used
  const int32_t* location = Object<const int32_t>(arguments);
  const KV_VECTOR* value = Object<const KV_VECTOR>(arguments);
  if (location == nullptr || value == nullptr || type < KW_FLOAT || type > KW_VEC4) return;
  KV_SHADER::Attribute(*location, value->x, value->y, value->z, value->w,
                       (uint32_t)(type - KW_FLOAT + 1));
}
