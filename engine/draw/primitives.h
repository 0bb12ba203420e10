// Primitive kinds and how their vertices enter the batch. Every draw call reads its vertices
// through a source (one small functor per input layout), and Emit turns the kind into what the
// batch draws: quads and fans into triangles, line loops into line segments, points as points.
// Each vertex is transformed by the current model-view matrix on the way in; a primitive with a
// vertex that is not finite (a free particle slot far away) is left out.
#pragma once

#include <cmath>
#include <cstdint>

#include "engine/draw/batch.h"
#include "engine/matrices/matrix_stacks.h"
#include "engine/textures/textures.h"

namespace kv::engine::draw {

// A vertex as a draw call supplies it, before the model-view transform.
struct InputVertex {
  float position[4];
  float u, v;
  uint8_t color[4];
};

enum class Kind { Points, LineLoop, Triangles, Fan, Quads };

// The primitive number (KV_PRIM_POINTS, KV_PRIM_LINE_LOOP, KV_PRIM_TRIANGLES,
// KV_PRIM_TRIANGLE_FAN, KV_PRIM_QUADS) as a kind; false for any other number.
bool KindOf(uint32_t primitive, Kind* out);

// Transforms a vertex by the column-major matrix m; false when the result is not finite.
inline bool Transform(const InputVertex& in, const float* m, batch::Vertex* out) {
  const float* p = in.position;
  float x = m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12] * p[3];
  float y = m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13] * p[3];
  float z = m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14] * p[3];
  float w = m[3] * p[0] + m[7] * p[1] + m[11] * p[2] + m[15] * p[3];
  if (w != 1.0f) {
    if (w == 0.0f) return false;
    x /= w;
    y /= w;
    z /= w;
  }
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return false;
  *out = batch::Vertex{x, y, z, in.u, in.v, {in.color[0], in.color[1], in.color[2], in.color[3]}};
  return true;
}

// Transforms n vertices of the source, numbered by the given indices; false when one fails.
template <typename Source>
bool Gather(const Source& source, const uint32_t* numbers, int n, const float* m,
            batch::Vertex* out) {
  for (int i = 0; i < n; ++i) {
    InputVertex in;
    if (!source(numbers[i], &in) || !Transform(in, m, &out[i])) return false;
  }
  return true;
}

// True when every one of the n vertices is opaque white.
inline bool Untinted(const batch::Vertex* vertices, uint32_t n) {
  for (uint32_t i = 0; i < n; ++i) {
    const uint8_t* c = vertices[i].color;
    if ((c[0] & c[1] & c[2] & c[3]) != 255) return false;
  }
  return true;
}

// Appends one primitive of n transformed vertices with its index pattern.
inline void Append(batch::Mode mode, GLuint texture, const batch::Vertex* vertices, uint32_t n,
                   const uint32_t* pattern, uint32_t indexCount) {
  batch::Slot slot = batch::Reserve(mode, texture, Untinted(vertices, n), n, indexCount);
  for (uint32_t i = 0; i < n; ++i) slot.vertices[i] = vertices[i];
  for (uint32_t i = 0; i < indexCount; ++i)
    slot.indices[i] = static_cast<uint16_t>(slot.base + pattern[i]);
}

// Sends count vertices of the source (numbered 0 to count - 1) as primitives of the kind.
// Source is callable as bool(uint32_t number, InputVertex* out).
template <typename Source>
void Emit(Kind kind, uint32_t count, const Source& source) {
  static const uint32_t kQuad[6] = {0, 1, 2, 0, 2, 3};
  static const uint32_t kSequence[3] = {0, 1, 2};
  // In direct mode GL applies the model-view matrix itself.
  static const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const float* m = batch::DirectMode() ? kIdentity : ModelViewFloats();
  GLuint texture = BatchTexture();
  batch::Vertex v[4];
  switch (kind) {
    case Kind::Points:
      for (uint32_t k = 0; k < count; ++k) {
        if (Gather(source, &k, 1, m, v)) Append(batch::Mode::Points, texture, v, 1, kSequence, 1);
      }
      break;
    case Kind::LineLoop:
      for (uint32_t k = 0; count >= 2 && k < count; ++k) {
        uint32_t ends[2] = {k, (k + 1) % count};
        if (Gather(source, ends, 2, m, v)) Append(batch::Mode::Lines, texture, v, 2, kSequence, 2);
      }
      break;
    case Kind::Triangles:
      for (uint32_t k = 0; k + 3 <= count; k += 3) {
        uint32_t corners[3] = {k, k + 1, k + 2};
        if (Gather(source, corners, 3, m, v))
          Append(batch::Mode::Triangles, texture, v, 3, kSequence, 3);
      }
      break;
    case Kind::Fan:
      for (uint32_t k = 1; k + 2 <= count; ++k) {
        uint32_t corners[3] = {0, k, k + 1};
        if (Gather(source, corners, 3, m, v))
          Append(batch::Mode::Triangles, texture, v, 3, kSequence, 3);
      }
      break;
    case Kind::Quads:
      for (uint32_t k = 0; k + 4 <= count; k += 4) {
        uint32_t corners[4] = {k, k + 1, k + 2, k + 3};
        if (Gather(source, corners, 4, m, v))
          Append(batch::Mode::Triangles, texture, v, 4, kQuad, 6);
      }
      break;
  }
  batch::EndDraw();
}

}  // namespace kv::engine::draw
