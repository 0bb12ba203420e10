// KV_DNA's lifetime, links and queries: thin calls on the engine body and the force sprite array.
#include "graphics/dna.h"

#include "engine/numbers.h"

namespace {

KV_HANDLE* HandleArray(KV_HANDLE body, uint32_t kind) {
  return static_cast<KV_HANDLE*>(KvDnaGet(body, kind, 0));
}

}  // namespace

// ---- lifetime ---------------------------------------------------------------------------------

bool KV_DNA::Reset() {
  // The kept force sprites pointed into the old body's force array, which dies with it.
  for (uint32_t i = 0; i < sprites.Size(); ++i) sprites.data[i].force = nullptr;
  KvDnaDie(handle, KV_DNA_KILL);
  KvDnaDestroy(handle);
  // A failed creation must not leave the old, destroyed id behind.
  handle = KV_HANDLE();
  return KvDnaCreate(&handle) == 1 && !handle.IsNull();
}

void KV_DNA::Birth(uint32_t substances, uint32_t surfaces, uint32_t forces, uint32_t spriteCount) {
  KvDnaBirth(handle, substances, forces, surfaces);
  if (spriteCount != 0) sprites.Resize(spriteCount);
}

void KV_DNA::Destroy() {
  KvDnaDie(handle, KV_DNA_KILL);
  KvDnaDestroy(handle);
  handle = KV_HANDLE();
  sprites.Free();
}

// ---- links and queries ------------------------------------------------------------------------

uint8_t KV_DNA::LinkSubstance(uint32_t index, KV_HANDLE substance) {
  return KvDnaLink(handle, KV_DNA_SUBSTANCES, index, &substance);
}

uint8_t KV_DNA::LinkSurface(uint32_t index, KV_HANDLE surface) {
  return KvDnaLink(handle, KV_DNA_SURFACES, index, &surface);
}

uint8_t KV_DNA::LinkForce(uint32_t index, KV_HANDLE force) {
  return KvDnaLink(handle, KV_DNA_FORCES, index, &force);
}

uint8_t KV_DNA::LinkKind37(KV_HANDLE element) {
  return KvDnaLink(handle, KV_DNA_KIND37, 0, &element);
}

KV_HANDLE* KV_DNA::GetSubstances() { return HandleArray(handle, KV_DNA_SUBSTANCES); }

KV_HANDLE* KV_DNA::GetSurfaces() { return HandleArray(handle, KV_DNA_SURFACES); }

KV_HANDLE* KV_DNA::GetForces() { return HandleArray(handle, KV_DNA_FORCES); }

KV_HANDLE* KV_DNA::GetKind37(KV_HANDLE* out) {
  if (out == nullptr) return nullptr;
  const KV_HANDLE* stored = HandleArray(handle, KV_DNA_KIND37);
  *out = stored != nullptr ? *stored : KV_HANDLE();
  return out;
}

uint32_t KV_DNA::GetSubstanceCount() { return KvDnaCount(handle, KV_DNA_SUBSTANCES); }

uint32_t KV_DNA::GetSurfaceCount() { return KvDnaCount(handle, KV_DNA_SURFACES); }

uint32_t KV_DNA::GetForceCount() { return KvDnaCount(handle, KV_DNA_FORCES); }

bool KV_DNA::SetSprite(uint32_t index, KV_DNA_SPRITE record) {
  if (index >= sprites.Size()) return false;
  sprites.data[index] = record;
  return true;
}

KV_DNA_SPRITE* KV_DNA::GetSprites() { return sprites.IsEmpty() ? nullptr : sprites.data; }

uint32_t KV_DNA::GetSpriteCount() { return sprites.Size(); }
