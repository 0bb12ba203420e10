// KvDnaDraw: a body as the batch draws it. Forces go first, as lines between their substances, so
// that the surfaces, drawn next as triangles over the substances they span, cover the springs
// inside a skinned body and leave only those of a bare frame visible. Everything takes the draw
// colour (KV_STATE_DRAW_COLOR) and the current transform; an element with a missing substance is
// left out.
#include <cstring>

#include "engine/draw/primitives.h"
#include "engine/softbody/softbody_api.h"
#include "engine/softbody/softbody_objects.h"
#include "engine/states/render_states.h"
#include "engine/trace/trace.h"

namespace kv::engine::softbody {

namespace {

// The position of a live substance, or null.
const double* PositionOf(KV_HANDLE handle) {
  Substance* s = Substances().Find(handle);
  return s == nullptr ? nullptr : s->position;
}

draw::InputVertex MakeVertex(const double* position, double u, double v) {
  draw::InputVertex in;
  for (int i = 0; i < 4; ++i) in.position[i] = static_cast<float>(position[i]);
  in.u = static_cast<float>(u);
  in.v = static_cast<float>(v);
  std::memcpy(in.color, States().drawColorBytes, sizeof in.color);
  return in;
}

// The matrix vertices enter the batch with: the model-view, or none in direct mode, where GL
// applies it itself.
const float* EntryMatrix() {
  static const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  return batch::DirectMode() ? kIdentity : ModelViewFloats();
}

// The GL texture a surface is drawn with: 0 (untextured) when texturing is off or its texture is
// missing or was never filled.
GLuint SurfaceTexture(const Surface& surface) {
  if (States().texturing == 0) return 0;
  Texture* texture = FindTexture(surface.texture);
  return texture == nullptr || texture->width == 0 ? 0 : texture->id;
}

void DrawForce(const Force& force, const float* m) {
  static const uint32_t kPair[2] = {0, 1};
  const double* a = PositionOf(force.ends[0]);
  const double* b = PositionOf(force.ends[1]);
  if (a == nullptr || b == nullptr) return;
  batch::Vertex v[2];
  if (!draw::Transform(MakeVertex(a, 0, 0), m, &v[0]) ||
      !draw::Transform(MakeVertex(b, 0, 0), m, &v[1]))
    return;
  draw::Append(batch::Mode::Lines, 0, v, 2, kPair, 2);
}

void DrawSurface(const Surface& surface, const float* m) {
  static const uint32_t kTriangle[3] = {0, 1, 2};
  batch::Vertex v[3];
  for (int i = 0; i < 3; ++i) {
    const double* p = PositionOf(surface.corners[i]);
    if (p == nullptr) return;
    if (!draw::Transform(MakeVertex(p, surface.coords[i][0], surface.coords[i][1]), m, &v[i]))
      return;
  }
  draw::Append(batch::Mode::Triangles, SurfaceTexture(surface), v, 3, kTriangle, 3);
}

}  // namespace

}  // namespace kv::engine::softbody

using namespace kv::engine;
using namespace kv::engine::softbody;

extern "C" uint8_t KvDnaDraw(KV_HANDLE dna) {
  if (trace::Call("KvDnaDraw", dna)) return 0;
  Dna* body = Bodies().Find(dna);
  if (body == nullptr) return 0;
  const float* m = EntryMatrix();
  for (uint32_t i = 0; i < body->forces.Count(); ++i) {
    if (const Force* force = Forces().Find(body->forces.Data()[i])) DrawForce(*force, m);
  }
  for (uint32_t i = 0; i < body->surfaces.Count(); ++i) {
    if (const Surface* surface = Surfaces().Find(body->surfaces.Data()[i]))
      DrawSurface(*surface, m);
  }
  batch::EndDraw();
  return 1;
}
