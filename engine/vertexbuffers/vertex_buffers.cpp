// KvVertexBuffer*: making buffers, choosing the active parts, and mapping them.
#include "engine/numbers.h"
#include "engine/vertexbuffers/vertex_buffers.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/gl/context.h"
#include "engine/objects/object_table.h"
#include "engine/trace/trace.h"
#include "engine/vertexbuffers/vertexbuffer_api.h"

namespace kv::engine {

namespace {

ObjectTable<VertexBuffer> buffers;
KV_HANDLE active[2];

constexpr GLenum kTargets[2] = {GL_ARRAY_BUFFER, GL_ELEMENT_ARRAY_BUFFER};

// Usage codes to GL's usage hints: how often the contents change (once, now and then, every
// frame), times what they feed (drawing, reading back, copying).
struct UsageEntry {
  uint32_t code;
  GLenum usage;
};
constexpr UsageEntry kUsages[] = {
    {KV_VB_STATIC_DRAW, GL_STATIC_DRAW},   {KV_VB_DYNAMIC_DRAW, GL_DYNAMIC_DRAW},
    {KV_VB_STREAM_DRAW, GL_STREAM_DRAW},   {KV_VB_STATIC_READ, GL_STATIC_READ},
    {KV_VB_DYNAMIC_READ, GL_DYNAMIC_READ}, {KV_VB_STREAM_READ, GL_STREAM_READ},
    {KV_VB_STATIC_COPY, GL_STATIC_COPY},   {KV_VB_DYNAMIC_COPY, GL_DYNAMIC_COPY},
    {KV_VB_STREAM_COPY, GL_STREAM_COPY},
};

// Map access codes to GL's.
struct AccessEntry {
  uint32_t code;
  GLenum access;
};
constexpr AccessEntry kAccesses[] = {
    {KV_VB_MAP_READ, GL_READ_ONLY},
    {KV_VB_MAP_WRITE, GL_WRITE_ONLY},
    {KV_VB_MAP_READ_WRITE, GL_READ_WRITE},
};

bool Usage(uint32_t code, GLenum* out) {
  for (const UsageEntry& entry : kUsages) {
    if (entry.code == code) {
      *out = entry.usage;
      return true;
    }
  }
  return false;
}

// The part KV_VB_VERTICES or KV_VB_INDICES as 0 or 1; -1 for another number.
int PartIndex(uint32_t part) {
  if (part == KV_VB_VERTICES) return 0;
  if (part == KV_VB_INDICES) return 1;
  return -1;
}

void ClearErrors() {
  while (gl.GetError() != GL_NO_ERROR) {}
}

uint32_t LargestIndex(const uint32_t* indices, size_t count) {
  uint32_t largest = 0;
  for (size_t i = 0; i < count; ++i) largest = std::max(largest, indices[i]);
  return largest;
}

// Fills one part; false when GL cannot hold it. Missing data gives zero bytes.
bool Fill(VertexBuffer& vb, int part, const void* data, GLenum usage) {
  std::vector<uint8_t> zeros;
  if (data == nullptr) {
    zeros.assign(vb.bytes[part], 0);
    data = zeros.data();
  }
  gl.GenBuffers(1, &vb.ids[part]);
  if (vb.ids[part] == 0) return false;
  ClearErrors();
  gl.BindBuffer(kTargets[part], vb.ids[part]);
  gl.BufferData(kTargets[part], static_cast<GLsizeiptr>(vb.bytes[part]), data, usage);
  gl.BindBuffer(kTargets[part], 0);
  if (gl.GetError() != GL_NO_ERROR) return false;
  if (part == 1) vb.maxIndex = LargestIndex(static_cast<const uint32_t*>(data), vb.bytes[1] / 4);
  return true;
}

void Release(VertexBuffer& vb) {
  if (EnsureCurrent()) {
    for (GLuint& id : vb.ids) {
      if (id != 0) gl.DeleteBuffers(1, &id);
      id = 0;
    }
  }
}

}  // namespace

VertexBuffer* ActiveBuffer(int part) { return buffers.Find(active[part]); }
size_t VertexBufferCount() { return buffers.Count(); }

void DestroyAllVertexBuffers() {
  buffers.ForEach([](uint32_t, VertexBuffer& vb) { Release(vb); });
  buffers.Clear();
  active[0] = active[1] = KV_HANDLE{};
}

}  // namespace kv::engine

using namespace kv::engine;

extern "C" uint8_t KvVertexBufferInit(void) {
  if (trace::Call("KvVertexBufferInit")) return 0;
  return HasContext() ? 1 : 0;
}

extern "C" uint8_t KvVertexBufferCreate(KV_HANDLE* out, uint32_t vertexBytes,
                                        const void* vertexData, uint32_t vertexUsage,
                                        uint32_t indexBytes, const void* indexData,
                                        uint32_t indexUsage) {
  if (trace::Call("KvVertexBufferCreate", out, vertexBytes, vertexData, vertexUsage, indexBytes,
                  indexData, indexUsage)) {
    return 0;
  }
  if (out == nullptr) return 0;
  *out = KV_HANDLE{};
  GLenum usages[2] = {GL_STATIC_DRAW, GL_STATIC_DRAW};
  if (vertexBytes == 0 || indexBytes % 4 != 0 || !Usage(vertexUsage, &usages[0]) ||
      (indexBytes != 0 && !Usage(indexUsage, &usages[1])) || !HasContext() || !EnsureCurrent()) {
    return 0;
  }
  auto vb = std::make_unique<VertexBuffer>();
  vb->bytes[0] = vertexBytes;
  vb->bytes[1] = indexBytes;
  if (!Fill(*vb, 0, vertexData, usages[0]) ||
      (indexBytes != 0 && !Fill(*vb, 1, indexData, usages[1]))) {
    Release(*vb);
    return 0;
  }
  *out = buffers.Add(std::move(vb));
  return 1;
}

extern "C" void KvVertexBufferDestroy(KV_HANDLE vb) {
  if (trace::Call("KvVertexBufferDestroy", vb)) return;
  std::unique_ptr<VertexBuffer> removed = buffers.Remove(vb);
  if (removed == nullptr) return;
  // Deleting a GL buffer also ends its mapping.
  for (KV_HANDLE& part : active) {
    if (part == vb) part = KV_HANDLE{};
  }
  Release(*removed);
}

extern "C" uint8_t KvVertexBufferActivate(KV_HANDLE vb, uint32_t part) {
  if (trace::Call("KvVertexBufferActivate", vb, part)) return 0;
  int index = PartIndex(part);
  if (index < 0) return 0;
  VertexBuffer* record = buffers.Find(vb);
  if (record == nullptr || record->ids[index] == 0) {
    active[index] = KV_HANDLE{};
    return 0;
  }
  active[index] = MakeHandle(vb.value);
  return 1;
}

extern "C" uint8_t KvVertexBufferUnactivate(uint32_t part) {
  if (trace::Call("KvVertexBufferUnactivate", part)) return 0;
  int index = PartIndex(part);
  if (index < 0) return 0;
  active[index] = KV_HANDLE{};
  return 1;
}

extern "C" uint8_t KvVertexBufferHasBuffer(KV_HANDLE vb, uint32_t part) {
  if (trace::Call("KvVertexBufferHasBuffer", vb, part)) return 0;
  int index = PartIndex(part);
  VertexBuffer* record = buffers.Find(vb);
  return index >= 0 && record != nullptr && record->ids[index] != 0 ? 1 : 0;
}

extern "C" uint32_t KvVertexBufferSize(KV_HANDLE vb, uint32_t part) {
  if (trace::Call("KvVertexBufferSize", vb, part)) return 0;
  int index = PartIndex(part);
  VertexBuffer* record = buffers.Find(vb);
  return index >= 0 && record != nullptr ? record->bytes[index] : 0;
}

// A part mapped twice gives the same pointer again.
extern "C" void* KvVertexBufferMap(uint32_t part, uint32_t access) {
  if (trace::Call("KvVertexBufferMap", part, access)) return nullptr;
  int index = PartIndex(part);
  const AccessEntry* entry = nullptr;
  for (const AccessEntry& candidate : kAccesses) {
    if (candidate.code == access) entry = &candidate;
  }
  VertexBuffer* record = index >= 0 ? ActiveBuffer(index) : nullptr;
  if (record == nullptr || entry == nullptr || !EnsureCurrent()) return nullptr;
  if (record->mapped[index] != nullptr) return record->mapped[index];
  gl.BindBuffer(kTargets[index], record->ids[index]);
  record->mapped[index] = gl.MapBuffer(kTargets[index], entry->access);
  record->mapAccess[index] = entry->access;
  gl.BindBuffer(kTargets[index], 0);
  return record->mapped[index];
}

extern "C" uint8_t KvVertexBufferUnmap(uint32_t part) {
  if (trace::Call("KvVertexBufferUnmap", part)) return 0;
  int index = PartIndex(part);
  VertexBuffer* record = index >= 0 ? ActiveBuffer(index) : nullptr;
  if (record == nullptr || record->mapped[index] == nullptr || !EnsureCurrent()) return 0;
  gl.BindBuffer(kTargets[index], record->ids[index]);
  GLboolean intact = gl.UnmapBuffer(kTargets[index]);
  record->mapped[index] = nullptr;
  // Indices may have been rewritten through the mapping: the draw's range check needs the new
  // largest one, read back through a mapping that may be read.
  if (index == 1 && record->mapAccess[1] != GL_READ_ONLY) {
    const void* indices = gl.MapBuffer(kTargets[1], GL_READ_ONLY);
    record->maxIndex = indices != nullptr ? LargestIndex(static_cast<const uint32_t*>(indices),
                                                         record->bytes[1] / 4)
                                          : UINT32_MAX;
    if (indices != nullptr) gl.UnmapBuffer(kTargets[1]);
  }
  gl.BindBuffer(kTargets[index], 0);
  return intact == GL_TRUE ? 1 : 0;
}
