// The buffer form of KvDrawData: arrays read from the active vertex part (and, for indexed draws,
// indices from the active index part), drawn by GL straight from the buffers, outside the batch.
// Every read a draw would make is checked against the parts' sizes first, so a wrong count or
// offset draws nothing instead of reading beyond a buffer.
#include <algorithm>
#include <cstdint>

#include "engine/draw/batch.h"
#include "engine/draw/primitives.h"
#include "engine/gl/context.h"
#include "engine/gl/state_cache.h"
#include "engine/states/render_states.h"
#include "engine/targets/render_targets.h"
#include "engine/textures/textures.h"
#include "engine/vertexbuffers/vertex_buffers.h"

namespace kv::engine {

namespace {

enum Array { kPosition, kColor, kTexCoord, kNormal };

// Primitive kinds as GL draws them: the compatibility profile still has quads, fans and loops.
GLenum GlMode(draw::Kind kind) {
  switch (kind) {
    case draw::Kind::Points: return GL_POINTS;
    case draw::Kind::LineLoop: return GL_LINE_LOOP;
    case draw::Kind::Triangles: return GL_TRIANGLES;
    case draw::Kind::Fan: return GL_TRIANGLE_FAN;
    case draw::Kind::Quads: return GL_QUADS;
  }
  return GL_POINTS;
}

// Components each array is read with. The KV_VERTEX layout (components 0) has four-component
// positions and colours; texture coordinates are read as (u, v), normals always as three.
struct Layout {
  GLint sizes[4];
  GLenum type;
  uint32_t elementBytes;
};

bool MakeLayout(const BufferDraw& draw, Layout* out) {
  if (draw.elementType != KV_ELEMENT_FLOAT && draw.elementType != KV_ELEMENT_DOUBLE) return false;
  uint32_t components = draw.components == 0 ? 4 : draw.components;
  if (components < 2 || components > 4) return false;
  out->type = draw.elementType == KV_ELEMENT_FLOAT ? GL_FLOAT : GL_DOUBLE;
  out->elementBytes = draw.elementType == KV_ELEMENT_FLOAT ? 4 : 8;
  out->sizes[kPosition] = static_cast<GLint>(components);
  out->sizes[kColor] = static_cast<GLint>(std::max<uint32_t>(components, 3));
  out->sizes[kTexCoord] = 2;
  out->sizes[kNormal] = 3;
  return true;
}

bool Present(const BufferDraw& draw, int array) {
  return draw.inBuffer[array] || draw.arrays[array] != nullptr;
}

uint64_t Stride(const BufferDraw& draw, const Layout& layout, int array) {
  return draw.strides[array] != 0 ? draw.strides[array]
                                  : uint64_t{layout.elementBytes} * layout.sizes[array];
}

// True when every array in the vertex part holds vertex number last.
bool ArraysReach(const BufferDraw& draw, const Layout& layout, const VertexBuffer& vb,
                 uint64_t last) {
  for (int array = kPosition; array <= kNormal; ++array) {
    if (!draw.inBuffer[array]) continue;
    uint64_t offset = reinterpret_cast<uintptr_t>(draw.arrays[array]);
    uint64_t end = offset + last * Stride(draw, layout, array) +
                   uint64_t{layout.elementBytes} * layout.sizes[array];
    if (end > vb.bytes[0]) return false;
  }
  return true;
}

// Points GL's arrays at the draw's sources: offsets into the vertex part or client memory.
void SetArrays(const BufferDraw& draw, const Layout& layout, const VertexBuffer* vb) {
  static const GLenum kClientStates[4] = {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_TEXTURE_COORD_ARRAY,
                                          GL_NORMAL_ARRAY};
  gl.ClientActiveTexture(GL_TEXTURE0);
  for (int array = kPosition; array <= kNormal; ++array) {
    if (!Present(draw, array)) {
      gl.DisableClientState(kClientStates[array]);
      continue;
    }
    gl.BindBuffer(GL_ARRAY_BUFFER, draw.inBuffer[array] ? vb->ids[0] : 0);
    gl.EnableClientState(kClientStates[array]);
    GLsizei stride = static_cast<GLsizei>(Stride(draw, layout, array));
    const void* at = draw.arrays[array];
    switch (array) {
      case kPosition: gl.VertexPointer(layout.sizes[kPosition], layout.type, stride, at); break;
      case kColor: gl.ColorPointer(layout.sizes[kColor], layout.type, stride, at); break;
      case kTexCoord: gl.TexCoordPointer(layout.sizes[kTexCoord], layout.type, stride, at); break;
      default: gl.NormalPointer(layout.type, stride, at); break;
    }
  }
  gl.BindBuffer(GL_ARRAY_BUFFER, 0);
  // Without a colour array every vertex takes the draw colour.
  if (!Present(draw, kColor)) gl.Color4dv(States().drawColor);
}

}  // namespace

uint8_t DrawFromBuffers(const BufferDraw& draw) {
  draw::Kind kind;
  Layout layout;
  if (!draw::KindOf(draw.prim, &kind) || !MakeLayout(draw, &layout) || !Present(draw, kPosition))
    return 0;
  bool anyInBuffer = draw.inBuffer[kPosition] || draw.inBuffer[kColor] ||
                     draw.inBuffer[kTexCoord] || draw.inBuffer[kNormal];
  const VertexBuffer* vertices = ActiveBuffer(0);
  const VertexBuffer* indices = ActiveBuffer(1);
  if (anyInBuffer && (vertices == nullptr || vertices->mapped[0] != nullptr)) return 0;
  if (draw.indexed && (indices == nullptr || indices->mapped[1] != nullptr)) return 0;
  if (draw.count == 0) return 1;
  uint64_t end = uint64_t{draw.first} + draw.count;
  if (draw.indexed) {
    if (end * 4 > indices->bytes[1]) return 0;
    if (anyInBuffer && !ArraysReach(draw, layout, *vertices, indices->maxIndex)) return 0;
  } else if (anyInBuffer && !ArraysReach(draw, layout, *vertices, end - 1)) {
    return 0;
  }
  if (CurrentTarget() == nullptr || !EnsureCurrent()) return 0;
  batch::BeginOutsideDraw();
  GLuint texture = BatchTexture();
  glcache::BindTexture(0, texture);
  glcache::EnableTexturing(0, texture != 0);
  SetArrays(draw, layout, vertices);
  GLenum mode = GlMode(kind);
  if (draw.indexed) {
    gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices->ids[1]);
    gl.DrawElements(mode, static_cast<GLsizei>(draw.count), GL_UNSIGNED_INT,
                    reinterpret_cast<const void*>(uintptr_t{draw.first} * 4));
    gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  } else {
    gl.DrawArrays(mode, static_cast<GLint>(draw.first), static_cast<GLsizei>(draw.count));
  }
  gl.DisableClientState(GL_NORMAL_ARRAY);
  batch::EndOutsideDraw();
  return 1;
}

}  // namespace kv::engine
