// The engine's vertex buffers, seen from inside: the buffer form of KvDrawData, and what closure
// and the leak count need.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/gl/gl_functions.h"

namespace kv::engine {

// A buffer's two parts, [0] vertices and [1] indices; an index part of 0 bytes does not exist.
struct VertexBuffer {
  GLuint ids[2] = {0, 0};
  uint32_t bytes[2] = {0, 0};
  void* mapped[2] = {nullptr, nullptr};
  GLenum mapAccess[2] = {0, 0};
  uint32_t maxIndex = 0;  // the largest index the index part holds, kept for the draw's checks
};

// The buffer whose part (0 vertices, 1 indices) is active, or null.
VertexBuffer* ActiveBuffer(int part);

// One KvDrawData call whose arrays (some or all) lie in the active vertex part.
struct BufferDraw {
  uint32_t prim, first, count;
  const void* arrays[4];  // position, colour, texture coordinate, normal: offsets or addresses
  uint32_t strides[4];    // bytes, 0 for packed
  bool inBuffer[4];       // the array is an offset into the active vertex part
  uint32_t elementType;   // 2 floats, 3 doubles
  uint32_t components;    // of positions (2 to 4); 0 for the KV_VERTEX layout
  bool indexed;           // count indices from the active index part, starting at index first
};

// Draws straight from GL buffers, outside the batch (which is flushed first). 0, drawing nothing,
// when a needed part is not active, is mapped, or the draw would read beyond a part's end.
uint8_t DrawFromBuffers(const BufferDraw& draw);
// Destroys every vertex buffer (at closure).
void DestroyAllVertexBuffers();
// Number of live vertex buffers.
size_t VertexBufferCount();

}  // namespace kv::engine
