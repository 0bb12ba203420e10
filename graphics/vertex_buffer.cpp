// KV_VERTEXBUFFER: creating the mesh on either path, drawing it, and mapping its parts.
#include "graphics/vertex_buffer.h"

#include <cstdint>

namespace {

constexpr uint32_t kVertexBytes = sizeof(KV_VERTEX);  // 60
constexpr uint32_t kIndexBytes = 4;
constexpr uint32_t kReadAccess = 8;
constexpr uint32_t kWriteAccess = 4;

// Usage flags to the engine's usage codes: each mask in turn that the flags contain gives its
// code, a later one overriding an earlier; KV_VB_STATIC_DRAW when none does.
uint32_t UsageCode(uint32_t flags) {
  static const struct {
    uint32_t mask;
    uint32_t code;
  } kMasks[] = {
      {4, KV_VB_STATIC_DRAW}, {8, KV_VB_DYNAMIC_DRAW},  {16, KV_VB_STREAM_DRAW},
      {5, KV_VB_STATIC_READ}, {9, KV_VB_DYNAMIC_READ},  {17, KV_VB_STREAM_READ},
      {6, KV_VB_STATIC_COPY}, {10, KV_VB_DYNAMIC_COPY}, {18, KV_VB_STREAM_COPY},
  };
  uint32_t code = KV_VB_STATIC_DRAW;
  for (const auto& entry : kMasks) {
    if ((flags & entry.mask) == entry.mask) code = entry.code;
  }
  return code;
}

// Copies count records into an array made to hold them, cursor back at the start.
template <typename T>
void Fill(KV_ARRAY<T>& array, const T* data, uint32_t count) {
  if (count == 0) return;
  array.Resize(count);
  if (data != nullptr) array.Write(data, count);
  array.Seek(0, 0);
}

}  // namespace

bool KV_VERTEXBUFFER::Create(uint32_t mode, const KV_VERTEX* vertexData, uint32_t vertexCount,
                             const uint32_t* indexData, uint32_t indexCount, uint32_t vertexUsage,
                             uint32_t indexUsage, bool software) {
  if (!handle.IsNull()) return false;
  this->mode = mode;
  hardware = 0;
  if (!software) hardware = KvVertexBufferInit() == 1 ? 1 : 0;
  if (!hardware) {
    vertices.Free();
    indices.Free();
    Fill(vertices, vertexData, vertexCount);
    Fill(indices, indexData, indexCount);
    return !vertices.IsEmpty() || !indices.IsEmpty();
  }
  // The engine takes 32-bit byte sizes: a count whose bytes do not fit would make a smaller buffer
  // than the caller's records.
  if (vertexCount > UINT32_MAX / kVertexBytes || indexCount > UINT32_MAX / kIndexBytes) {
    hardware = 0;
    return false;
  }
  if (KvVertexBufferCreate(&handle, vertexCount * kVertexBytes, vertexData, UsageCode(vertexUsage),
                           indexCount * kIndexBytes, indexData, UsageCode(indexUsage)) == 0) {
    hardware = 0;
    return false;
  }
  KvVertexBufferUnactivate(KV_VB_VERTICES);
  KvVertexBufferUnactivate(KV_VB_INDICES);
  return true;
}

void KV_VERTEXBUFFER::Destroy() {
  if (hardware) {
    KvVertexBufferDestroy(handle);
    handle = KV_HANDLE{};
  } else {
    vertices.Free();
    indices.Free();
  }
}

// Every software index must name one of the vertices: the engine reads the records through them.
bool KV_VERTEXBUFFER::IndicesFit() const {
  for (uint32_t i = 0; i < indices.Size(); ++i) {
    if (*indices.Get(i) >= vertices.Size()) return false;
  }
  return true;
}

void KV_VERTEXBUFFER::Draw() {
  if (hardware) {
    if (handle.IsNull()) return;
    KvVertexBufferActivate(handle, KV_VB_VERTICES);
    bool indexed = KvVertexBufferHasBuffer(handle, KV_VB_INDICES) == 1;
    uint32_t n;
    if (indexed) {
      KvVertexBufferActivate(handle, KV_VB_INDICES);
      n = KvVertexBufferSize(handle, KV_VB_INDICES) / kIndexBytes;
    } else {
      n = KvVertexBufferSize(handle, KV_VB_VERTICES) / kVertexBytes;
    }
    // The four arrays are byte offsets of the fields within a KV_VERTEX in the vertex part.
    KvDrawData(mode, 0, n, reinterpret_cast<const void*>(uintptr_t{44}),
               reinterpret_cast<const void*>(uintptr_t{16}),
               reinterpret_cast<const void*>(uintptr_t{0}),
               reinterpret_cast<const void*>(uintptr_t{32}), nullptr, nullptr, KV_ELEMENT_FLOAT, 60,
               60, 60, 60, 0, 0, 0, 0, 1, 1, 1, 1, indexed ? 1 : 0);
    KvVertexBufferUnactivate(KV_VB_VERTICES);
    KvVertexBufferUnactivate(KV_VB_INDICES);
    return;
  }
  if (vertices.IsEmpty()) return;
  if (!indices.IsEmpty()) {
    if (!IndicesFit()) return;
    KvDrawDataStruct(mode, 0, indices.Size(), vertices.Buffer(false), indices.Buffer(false), 0, 0,
                     0, 0, 0, 0);
  } else {
    KvDrawDataStruct(mode, 0, vertices.Size(), vertices.Buffer(false), nullptr, 0, 0, 0, 0, 0, 0);
  }
}

int32_t KV_VERTEXBUFFER::GetVertexCount() {
  if (hardware)
    return static_cast<int32_t>(KvVertexBufferSize(handle, KV_VB_VERTICES) / kVertexBytes);
  return static_cast<int32_t>(vertices.Size());
}

int32_t KV_VERTEXBUFFER::GetIndexCount() {
  if (hardware)
    return static_cast<int32_t>(KvVertexBufferSize(handle, KV_VB_INDICES) / kIndexBytes);
  return static_cast<int32_t>(indices.Size());
}

void* KV_VERTEXBUFFER::Map(uint32_t part, uint32_t access) {
  KvVertexBufferActivate(handle, part);
  uint32_t code = KV_VB_MAP_READ_WRITE;
  bool read = (access & kReadAccess) != 0, write = (access & kWriteAccess) != 0;
  if (read && !write) code = KV_VB_MAP_READ;
  if (write && !read) code = KV_VB_MAP_WRITE;
  void* p = KvVertexBufferMap(part, code);
  KvVertexBufferUnactivate(part);
  return p;
}

void KV_VERTEXBUFFER::Unmap(uint32_t part) {
  KvVertexBufferActivate(handle, part);
  KvVertexBufferUnmap(part);
  KvVertexBufferUnactivate(part);
}

KV_VERTEX* KV_VERTEXBUFFER::MapVertices(uint32_t access) {
  if (hardware) return static_cast<KV_VERTEX*>(Map(KV_VB_VERTICES, access));
  return vertices.Buffer(false);
}

uint32_t* KV_VERTEXBUFFER::MapIndices(uint32_t access) {
  if (hardware) return static_cast<uint32_t*>(Map(KV_VB_INDICES, access));
  return indices.Buffer(false);
}

void KV_VERTEXBUFFER::UnmapVertices() {
  if (hardware) Unmap(KV_VB_VERTICES);
}

void KV_VERTEXBUFFER::UnmapIndices() {
  if (hardware) Unmap(KV_VB_INDICES);
}
