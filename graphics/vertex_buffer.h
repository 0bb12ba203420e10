// KV_VERTEXBUFFER: a mesh of KV_VERTEX records and optional 32-bit indices, drawn with one
// primitive mode. It lives in one engine vertex buffer (the hardware path) or, when that is
// refused or unavailable, in two arrays handed to the engine's draw call each time (the software
// path). The destructor frees the arrays only: a hardware buffer is released by Destroy.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "engine/kv_array.h"

class KV_VERTEXBUFFER {
 public:
  KV_HANDLE handle;              // the hardware buffer
  KV_ARRAY<KV_VERTEX> vertices;  // software vertices
  KV_ARRAY<uint32_t> indices;    // software indices
  uint8_t hardware = 0;          // 1 when the mesh lives in the hardware buffer
  uint32_t mode = 0;             // the engine primitive mode of every draw (8 triangles, 11 quads)

  // Builds the mesh from count vertices and indices (null data: default records), in hardware
  // unless software is asked for or the engine has no buffers. False when a hardware buffer
  // already exists, the engine refuses one, a count is too large, or the mesh ends up empty.
  bool Create(uint32_t mode, const KV_VERTEX* vertexData, uint32_t vertexCount,
              const uint32_t* indexData, uint32_t indexCount, uint32_t vertexUsage,
              uint32_t indexUsage, bool software);
  // Releases the mesh: the hardware buffer, or the two arrays.
  void Destroy();
  // Draws the whole mesh; nothing for an empty one.
  void Draw();
  // The number of vertices / indices.
  int32_t GetVertexCount();
  int32_t GetIndexCount();
  // A pointer to the first vertex / index, valid until the unmap; access flags 8 read, 4 write.
  // Null for an empty mesh.
  KV_VERTEX* MapVertices(uint32_t access);
  uint32_t* MapIndices(uint32_t access);
  void UnmapVertices();
  void UnmapIndices();
  // The hardware flag.
  uint8_t IsHardware() const { return hardware; }

 private:
  void* Map(uint32_t part, uint32_t access);
  void Unmap(uint32_t part);
  bool IndicesFit() const;
};
