// The immediate 2D primitives: vertices laid out in draw order, then sent either one by one
// (begin, texture coordinate, colour, vertex, ..., end) or as three double arrays in one call.
// Every draw makes its texture current first and leaves the draw colour opaque white.
#include "graphics/primitives.h"

#include <vector>

#include "foundation/small_math.h"

namespace {

// The three parallel vertex arrays of one shape.
struct Vertices {
  std::vector<KV_VECTOR_D> positions, texCoords, colours;

  void Put(const KV_VECTOR_D& position, const KV_VECTOR_D& texCoord, const KV_VECTOR_D& colour) {
    positions.push_back(position);
    texCoords.push_back(texCoord);
    colours.push_back(colour);
  }
};

KV_DOUBLE4 Double4(const KV_VECTOR_D& v) { return KV_DOUBLE4{v.x, v.y, v.z, v.w}; }

void UseTexture(KV_HANDLE texture) {
  if (texture.IsNull())
    KvTextureUnactivate(KV_TEXTURE_TARGET);
  else
    KvTextureActivate(texture);
}

void ResetDrawColour() { KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 1.0, 1.0); }

// count vertices from three double arrays in one engine call.
void DrawArrays(uint32_t primitive, uint32_t count, const KV_VECTOR_D* positions,
                const KV_VECTOR_D* colours, const KV_VECTOR_D* texCoords) {
  KvDrawData(primitive, 0, count, positions, colours, texCoords, nullptr, nullptr, nullptr,
             KV_ELEMENT_DOUBLE, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0);
}

// The vertices one by one: each takes the texture coordinate and draw colour put before it.
void DrawImmediate(uint32_t primitive, const Vertices& v) {
  KvPrimitiveBegin(primitive);
  for (size_t i = 0; i < v.positions.size(); ++i) {
    KvPutTexvertex(Double4(v.texCoords[i]));
    KvSetState(KV_STATE_DRAW_COLOR, v.colours[i].x, v.colours[i].y, v.colours[i].z, v.colours[i].w);
    KvPutVertex(Double4(v.positions[i]));
  }
  KvPrimitiveEnd();
}

void Send(uint32_t primitive, const Vertices& v, uint8_t useArrays) {
  if (useArrays)
    DrawArrays(primitive, (uint32_t)v.positions.size(), v.positions.data(), v.colours.data(),
               v.texCoords.data());
  else
    DrawImmediate(primitive, v);
}

}  // namespace

// ---- circle ----------------------------------------------------------------------------------

// Without a positive segment count the edge points are undefined (360 / 0): nothing is sent.
void KV_CIRCLE2D::Draw(KV_VECTOR_D centre, float startAngle, uint8_t useArrays) {
  UseTexture(texture);
  if (segments >= 1) {
    const KV_VECTOR_D middle(0.5, 0.5, 0, 1);
    Vertices v;
    if (filled) v.Put(centre, middle, centreColour);
    int32_t last = filled ? segments : segments - 1;
    for (int32_t i = 0; i <= last; ++i) {
      double a = 360.0 / segments * i;
      KV_VECTOR_D point =
          centre + KvLengthdirVector(KV_ROTATION_D(a + startAngle, 0, 0, 0), radius);
      KV_VECTOR_D texCoord = middle + KvLengthdirVector(KV_ROTATION_D(a, 0, 0, 0), 0.5);
      v.Put(point, texCoord, edgeColour);
    }
    Send(filled ? KV_PRIM_TRIANGLE_FAN : KV_PRIM_LINE_LOOP, v, useArrays);
  }
  ResetDrawColour();
}

// ---- triangle --------------------------------------------------------------------------------

void KV_ARRAY2D::Draw(KV_VECTOR_D offset) {
  UseTexture(texture);
  KvMatrixPush();
  KvMatrixTranslate(offset.x, offset.y, offset.z);
  DrawArrays(filled ? KV_PRIM_TRIANGLES : KV_PRIM_LINE_LOOP, 3, positions, colours, texCoords);
  KvMatrixPop();
  ResetDrawColour();
}

// ---- rectangle -------------------------------------------------------------------------------

void KV_RECT2D::Draw(KV_VECTOR_D offset, uint8_t useArrays) {
  UseTexture(texture);
  const double xs[4] = {corner1.x, corner2.x, corner2.x, corner1.x};
  const double ys[4] = {corner1.y, corner1.y, corner2.y, corner2.y};
  const double us[4] = {0, 1, 1, 0};
  const double vs[4] = {0, 0, 1, 1};
  Vertices v;
  for (int i = 0; i < 4; ++i)
    v.Put(KV_VECTOR_D(xs[i] + offset.x, ys[i] + offset.y, 0, 1), KV_VECTOR_D(us[i], vs[i], 0, 1),
          colours[i]);
  Send(filled ? KV_PRIM_QUADS : KV_PRIM_LINE_LOOP, v, useArrays);
  ResetDrawColour();
}
