// Vertex buffers: the KvVertexBuffer* calls. A buffer holds a vertex part (KV_VB_VERTICES) and,
// when asked for, an index part of 32-bit indices (KV_VB_INDICES), each a GL buffer object.
// Activating a part makes it the one KvDrawData's buffer form and the map calls use; GL itself only
// sees a part bound for the moment a draw or a map needs it, so the batch's arrays are never read
// from a buffer.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"

extern "C" {

// 1 when hardware vertex buffers can be made (the GL context exists); 0 before it does. Makes no
// context, so it is safe at any time.
uint8_t KvVertexBufferInit(void);
// Makes a buffer with vertexBytes (above 0) from vertexData and indexBytes (0: no index part, else
// a multiple of 4) from indexData; null data gives zero bytes. Usage codes (KV_VB_STATIC_DRAW ...)
// tell GL how the parts will be used. Leaves *out null and returns 0 on failure.
uint8_t KvVertexBufferCreate(KV_HANDLE* out, uint32_t vertexBytes, const void* vertexData,
                             uint32_t vertexUsage, uint32_t indexBytes, const void* indexData,
                             uint32_t indexUsage);
// Destroys the buffer (unmapping and deactivating its parts); null and unknown handles do nothing.
void KvVertexBufferDestroy(KV_HANDLE vb);
// Makes the buffer's part (KV_VB_VERTICES or KV_VB_INDICES) the active one of that kind; 0 for an
// unknown buffer or number, or a part the buffer lacks (nothing is active for the kind then).
uint8_t KvVertexBufferActivate(KV_HANDLE vb, uint32_t part);
// Leaves no buffer active for the part (KV_VB_VERTICES or KV_VB_INDICES); 0 for
// another number.
uint8_t KvVertexBufferUnactivate(uint32_t part);
// 1 when the buffer has the part (KV_VB_VERTICES always, KV_VB_INDICES when made with index
// bytes).
uint8_t KvVertexBufferHasBuffer(KV_HANDLE vb, uint32_t part);
// The part's size in bytes; 0 for an unknown buffer, number or missing part.
uint32_t KvVertexBufferSize(KV_HANDLE vb, uint32_t part);
// Maps the active part for reading (KV_VB_MAP_READ), writing (KV_VB_MAP_WRITE) or both
// (KV_VB_MAP_READ_WRITE): a pointer to its bytes,
// valid until KvVertexBufferUnmap even after the part is unactivated. Null when nothing is active
// for the part or GL refuses. A mapped part is not drawn from.
void* KvVertexBufferMap(uint32_t part, uint32_t access);
// Ends the mapping of the active part; 0 when it was not mapped or its contents were lost.
uint8_t KvVertexBufferUnmap(uint32_t part);

}  // extern "C"
