// KvDrawDataStruct and KvDrawData: the array draws, each reading its own input layout through a
// source for Emit. The primitive table sits here, one line per kind.
#include <cstring>

#include "engine/draw/primitives.h"
#include "engine/kv_engine.h"
#include "engine/states/render_states.h"
#include "engine/trace/trace.h"
#include "engine/vertexbuffers/vertex_buffers.h"

namespace kv::engine::draw {

namespace {

struct KindEntry {
  uint32_t number;
  Kind kind;
};
constexpr KindEntry kKinds[] = {
    {KV_PRIM_POINTS, Kind::Points},       {KV_PRIM_LINE_LOOP, Kind::LineLoop},
    {KV_PRIM_TRIANGLES, Kind::Triangles}, {KV_PRIM_TRIANGLE_FAN, Kind::Fan},
    {KV_PRIM_QUADS, Kind::Quads},
};

// KV_VERTEX records, directly or through 32-bit indices.
struct StructSource {
  const KV_VERTEX* vertices;
  const uint32_t* indices;
  uint32_t first;

  bool operator()(uint32_t number, InputVertex* out) const {
    uint32_t at = indices != nullptr ? indices[first + number] : first + number;
    const KV_VERTEX& vertex = vertices[at];
    std::memcpy(out->position, vertex.position, sizeof out->position);
    out->u = vertex.texCoord[0];
    out->v = vertex.texCoord[1];
    for (int i = 0; i < 4; ++i) out->color[i] = ColorByte(vertex.color[i]);
    return true;
  }
};

// Separate arrays of float or double vectors with byte strides. Missing components read as
// (x, y, 0, 1); a missing colour array gives the draw colour; missing texture coordinates 0.
struct ArraySource {
  const uint8_t* positions;
  const uint8_t* colors;
  const uint8_t* texCoords;
  size_t positionStride, colorStride, texCoordStride;
  bool doubles;
  uint32_t components;
  uint32_t first;

  void Read(const uint8_t* base, size_t stride, uint32_t at, double out[4]) const {
    const uint8_t* element = base + stride * at;
    for (uint32_t i = 0; i < components; ++i) {
      if (doubles) {
        double value;
        std::memcpy(&value, element + i * sizeof(double), sizeof value);
        out[i] = value;
      } else {
        float value;
        std::memcpy(&value, element + i * sizeof(float), sizeof value);
        out[i] = value;
      }
    }
  }

  bool operator()(uint32_t number, InputVertex* out) const {
    uint32_t at = first + number;
    double position[4] = {0, 0, 0, 1};
    Read(positions, positionStride, at, position);
    for (int i = 0; i < 4; ++i) out->position[i] = static_cast<float>(position[i]);
    if (texCoords != nullptr) {
      double texCoord[4] = {0, 0, 0, 1};
      Read(texCoords, texCoordStride, at, texCoord);
      out->u = static_cast<float>(texCoord[0]);
      out->v = static_cast<float>(texCoord[1]);
    } else {
      out->u = out->v = 0;
    }
    if (colors != nullptr) {
      double color[4] = {0, 0, 0, 1};
      Read(colors, colorStride, at, color);
      for (int i = 0; i < 4; ++i) out->color[i] = ColorByte(color[i]);
    } else {
      std::memcpy(out->color, States().drawColorBytes, sizeof out->color);
    }
    return true;
  }
};

}  // namespace

bool KindOf(uint32_t primitive, Kind* out) {
  for (const KindEntry& entry : kKinds) {
    if (entry.number == primitive) {
      *out = entry.kind;
      return true;
    }
  }
  return false;
}

}  // namespace kv::engine::draw

using namespace kv::engine;
using namespace kv::engine::draw;

extern "C" uint8_t KvDrawDataStruct(uint32_t prim, uint32_t first, uint32_t count,
                                    const KV_VERTEX* vertices, const uint32_t* indices,
                                    uint32_t unused6, uint32_t unused7, uint32_t unused8,
                                    uint32_t unused9, uint32_t unused10, uint32_t unused11) {
  if (trace::Call("KvDrawDataStruct", prim, first, count, vertices, indices, unused6, unused7,
                  unused8, unused9, unused10, unused11)) {
    return 0;
  }
  Kind kind;
  if (!KindOf(prim, &kind) || vertices == nullptr) return 0;
  Emit(kind, count, StructSource{vertices, indices, first});
  return 1;
}

// With any of the buffer flags (slots 19 to 23) set, the arrays are offsets into the active vertex
// part and the draw goes to GL from the buffers (engine/vertexbuffers/); otherwise the arrays are
// in memory and enter the batch.
extern "C" uint8_t KvDrawData(uint32_t prim, uint32_t first, uint32_t count, const void* positions,
                              const void* colors, const void* texCoords, const void* normals,
                              const void* unused8, const void* unused9, uint32_t elementType,
                              uint32_t positionStride, uint32_t colorStride,
                              uint32_t texCoordStride, uint32_t normalStride, uint32_t unused15,
                              uint32_t unused16, uint32_t components, uint32_t unused18,
                              uint32_t positionInBuffer, uint32_t colorInBuffer,
                              uint32_t texCoordInBuffer, uint32_t normalInBuffer,
                              uint32_t indexed) {
  if (trace::Call("KvDrawData", prim, first, count, positions, colors, texCoords, normals, unused8,
                  unused9, elementType, positionStride, colorStride, texCoordStride, normalStride,
                  unused15, unused16, components, unused18, positionInBuffer, colorInBuffer,
                  texCoordInBuffer, normalInBuffer, indexed)) {
    return 0;
  }
  if (positionInBuffer != 0 || colorInBuffer != 0 || texCoordInBuffer != 0 || normalInBuffer != 0 ||
      indexed != 0) {
    BufferDraw draw{
        prim,
        first,
        count,
        {positions, colors, texCoords, normals},
        {positionStride, colorStride, texCoordStride, normalStride},
        {positionInBuffer != 0, colorInBuffer != 0, texCoordInBuffer != 0, normalInBuffer != 0},
        elementType,
        components,
        indexed != 0};
    return DrawFromBuffers(draw);
  }
  Kind kind;
  if (!KindOf(prim, &kind) || positions == nullptr) return 0;
  if (elementType != KV_ELEMENT_FLOAT && elementType != KV_ELEMENT_DOUBLE) return 0;
  if (components == 0) components = 4;
  if (components < 2 || components > 4) return 0;
  bool doubles = elementType == KV_ELEMENT_DOUBLE;
  size_t packed = components * (doubles ? sizeof(double) : sizeof(float));
  auto stride = [packed](uint32_t given) {
    return given != 0 ? static_cast<size_t>(given) : packed;
  };
  ArraySource source{static_cast<const uint8_t*>(positions),
                     static_cast<const uint8_t*>(colors),
                     static_cast<const uint8_t*>(texCoords),
                     stride(positionStride),
                     stride(colorStride),
                     stride(texCoordStride),
                     doubles,
                     components,
                     first};
  Emit(kind, count, source);
  return 1;
}
