// The engine's batch: draws arrive one at a time (push a matrix, turn, bind, four vertices, pop),
// already transformed by the model-view matrix, and wait in one CPU vertex array with ordered draw
// records (mode, texture, first index, count). A draw with the same mode and texture as the last
// record extends it; records are never reordered, since drawing order decides what ends on top.
// A flush uploads the array once, loads the projection once and issues one GL draw per record.
// Whatever changes how waiting vertices must be drawn, or reads the result, flushes first.
#pragma once

#include <cstdint>

#include "engine/gl/gl_functions.h"

namespace kv::engine::batch {

// One vertex as the batch keeps it: a model-view transformed position, the texture coordinate and
// the colour as four bytes.
struct Vertex {
  float x, y, z;
  float u, v;
  uint8_t color[4];
};
static_assert(sizeof(Vertex) == 24, "batch vertices are 24 bytes");

enum class Mode : uint8_t { Triangles, Lines, Points };

// Room reserved for one primitive: vertices to fill, indices to fill (base plus the vertex's
// number in the primitive). The array never holds more vertices than 16-bit indices reach.
struct Slot {
  Vertex* vertices;
  uint16_t* indices;
  uint32_t base;  // array index of vertices[0]
};

// Reserves room for one primitive of mode with texture (0: untextured), flushing first when the
// array or the record list is full. Every reserved vertex and index must be written. untinted
// says that every vertex of the primitive is opaque white, so the texture shows as it is.
Slot Reserve(Mode mode, GLuint texture, bool untinted, uint32_t vertexCount, uint32_t indexCount);
// Marks the end of one Kv* draw call (flushes there when the testing switch asks for it).
void EndDraw();
// Draws what is waiting and empties the batch. Without a current target the vertices are dropped.
void Flush();
// Flushes when a waiting record uses the texture (before it is changed or deleted).
void FlushIfUses(GLuint texture);
// Direct mode, on while a shader program is bound: each draw goes to GL at its end with the real
// model-view matrix loaded and its vertices untransformed, so the program sees the matrices and
// positions it would see without batching. Switching flushes first.
void SetDirectMode(bool on);
bool DirectMode();
// Prepares GL for a draw that bypasses the batch (vertex buffers): flushes, loads the projection
// and the real model-view matrix. The next flush puts back what the batch needs.
void BeginOutsideDraw();
// Counts a GL draw made outside the batch and forgets the array state it changed.
void EndOutsideDraw();
// Ends a frame for the per-frame counts.
void EndFrame();
// Zeroes the per-frame counts (at closure).
void ResetCounts();
// Forgets what the batch knows of GL (the context is new or gone).
void ResetGlState();

}  // namespace kv::engine::batch
