// KvPrimitiveBegin, KvPutTexvertex, KvPutVertex, KvPrimitiveEnd: immediate drawing. Vertices are
// collected with the texture coordinate and the draw colour (KV_STATE_DRAW_COLOR) current when
// each is put, and go into the batch as one draw at the end.
#include <vector>

#include "engine/draw/primitives.h"
#include "engine/kv_engine.h"
#include "engine/states/render_states.h"
#include "engine/trace/trace.h"

namespace kv::engine::draw {

namespace {

struct Immediate {
  bool open = false;
  Kind kind = Kind::Points;
  float u = 0, v = 0;
  std::vector<InputVertex> vertices;
};

Immediate immediate;

}  // namespace

}  // namespace kv::engine::draw

using namespace kv::engine;
using namespace kv::engine::draw;

extern "C" uint8_t KvPrimitiveBegin(uint32_t prim) {
  if (trace::Call("KvPrimitiveBegin", prim)) return 0;
  Kind kind;
  if (immediate.open || !KindOf(prim, &kind)) return 0;
  immediate.open = true;
  immediate.kind = kind;
  immediate.vertices.clear();
  return 1;
}

extern "C" void KvPutTexvertex(KV_DOUBLE4 texCoord) {
  if (trace::Call("KvPutTexvertex", texCoord)) return;
  immediate.u = static_cast<float>(texCoord.x);
  immediate.v = static_cast<float>(texCoord.y);
}

extern "C" void KvPutVertex(KV_DOUBLE4 position) {
  if (trace::Call("KvPutVertex", position)) return;
  if (!immediate.open) return;
  InputVertex vertex{{static_cast<float>(position.x), static_cast<float>(position.y),
                      static_cast<float>(position.z), static_cast<float>(position.w)},
                     immediate.u,
                     immediate.v,
                     {0, 0, 0, 0}};
  for (int i = 0; i < 4; ++i) vertex.color[i] = States().drawColorBytes[i];
  immediate.vertices.push_back(vertex);
}

extern "C" uint8_t KvPrimitiveEnd(void) {
  if (trace::Call("KvPrimitiveEnd")) return 0;
  if (!immediate.open) return 0;
  immediate.open = false;
  Emit(immediate.kind, static_cast<uint32_t>(immediate.vertices.size()),
       [](uint32_t number, InputVertex* out) {
         *out = immediate.vertices[number];
         return true;
       });
  immediate.vertices.clear();
  return 1;
}
