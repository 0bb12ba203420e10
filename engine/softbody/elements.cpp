// KvSubstance*, KvCovalenceForce* and KvSurface*: making elements and setting and reading their
// properties. Each property number space (force ends, surface corners, surface coordinates) is
// one small offset from its first number, checked at the entry.
#include <cstring>

#include "engine/numbers.h"
#include "engine/softbody/softbody_api.h"
#include "engine/softbody/softbody_objects.h"
#include "engine/trace/trace.h"

namespace kv::engine::softbody {

namespace {

// The slot of a numbered property within a run of count numbers from first; -1 outside it.
int SlotOf(uint32_t number, uint32_t first, int count) {
  if (number < first || number >= first + static_cast<uint32_t>(count)) return -1;
  return static_cast<int>(number - first);
}

void CopyVector(const KV_DOUBLE4& v, double out[4]) {
  out[0] = v.x;
  out[1] = v.y;
  out[2] = v.z;
  out[3] = v.w;
}

}  // namespace

}  // namespace kv::engine::softbody

using namespace kv::engine;
using namespace kv::engine::softbody;

// ---- substances -------------------------------------------------------------------------------

extern "C" uint8_t KvSubstanceCreate(KV_HANDLE* out) {
  if (trace::Call("KvSubstanceCreate", out)) return 0;
  return CreateObject(Substances(), out);
}

extern "C" uint8_t KvSubstanceSetPosition(KV_HANDLE substance, KV_DOUBLE4 position,
                                          uint32_t reserved) {
  if (trace::Call("KvSubstanceSetPosition", substance, position, reserved)) return 0;
  Substance* s = Substances().Find(substance);
  if (s == nullptr) return 0;
  CopyVector(position, s->position);
  return 1;
}

extern "C" uint8_t KvSubstanceSetMass(KV_HANDLE substance, double mass) {
  if (trace::Call("KvSubstanceSetMass", substance, mass)) return 0;
  return SetObjectField(Substances(), substance, &Substance::mass, mass);
}

extern "C" uint8_t KvSubstanceSetRange(KV_HANDLE substance, double range) {
  if (trace::Call("KvSubstanceSetRange", substance, range)) return 0;
  return SetObjectField(Substances(), substance, &Substance::range, range);
}

extern "C" uint8_t KvSubstanceSetSolid(KV_HANDLE substance, int32_t solid) {
  if (trace::Call("KvSubstanceSetSolid", substance, solid)) return 0;
  return SetObjectField(Substances(), substance, &Substance::solid, solid);
}

extern "C" void* KvSubstanceGet(KV_HANDLE substance, uint32_t property) {
  if (trace::Call("KvSubstanceGet", substance, property)) return nullptr;
  Substance* s = Substances().Find(substance);
  if (s == nullptr || property != KV_SUBSTANCE_POSITION) return nullptr;
  return s->position;
}

// ---- covalence forces -----------------------------------------------------------------------

extern "C" uint8_t KvCovalenceForceCreate(KV_HANDLE* out) {
  if (trace::Call("KvCovalenceForceCreate", out)) return 0;
  return CreateObject(Forces(), out);
}

extern "C" uint8_t KvCovalenceForceSetSubstance(KV_HANDLE force, uint32_t end,
                                                KV_HANDLE substance) {
  if (trace::Call("KvCovalenceForceSetSubstance", force, end, substance)) return 0;
  Force* f = Forces().Find(force);
  int slot = SlotOf(end, KV_FORCE_FIRST, 2);
  if (f == nullptr || slot < 0) return 0;
  f->ends[slot] = substance;
  return 1;
}

extern "C" uint8_t KvCovalenceForceSetResilience(KV_HANDLE force, double resilience) {
  if (trace::Call("KvCovalenceForceSetResilience", force, resilience)) return 0;
  return SetObjectField(Forces(), force, &Force::resilience, resilience);
}

extern "C" uint8_t KvCovalenceForceSetForce(KV_HANDLE force, double restLength) {
  if (trace::Call("KvCovalenceForceSetForce", force, restLength)) return 0;
  return SetObjectField(Forces(), force, &Force::restLength, restLength);
}

extern "C" void* KvCovalenceForceGet(KV_HANDLE force, uint32_t end) {
  if (trace::Call("KvCovalenceForceGet", force, end)) return nullptr;
  Force* f = Forces().Find(force);
  int slot = SlotOf(end, KV_FORCE_FIRST, 2);
  if (f == nullptr || slot < 0) return nullptr;
  return &f->ends[slot];
}

// ---- surfaces -------------------------------------------------------------------------------

extern "C" uint8_t KvSurfaceCreate(KV_HANDLE* out) {
  if (trace::Call("KvSurfaceCreate", out)) return 0;
  return CreateObject(Surfaces(), out);
}

extern "C" uint8_t KvSurfaceSetSubstance(KV_HANDLE surface, uint32_t corner, KV_HANDLE substance) {
  if (trace::Call("KvSurfaceSetSubstance", surface, corner, substance)) return 0;
  Surface* f = Surfaces().Find(surface);
  int slot = SlotOf(corner, KV_SURFACE_CORNER1, 3);
  if (f == nullptr || slot < 0) return 0;
  f->corners[slot] = substance;
  return 1;
}

extern "C" uint8_t KvSurfaceSetCoord(KV_HANDLE surface, uint32_t corner, KV_DOUBLE4 coord) {
  if (trace::Call("KvSurfaceSetCoord", surface, corner, coord)) return 0;
  Surface* f = Surfaces().Find(surface);
  int slot = SlotOf(corner, KV_SURFACE_COORD1, 3);
  if (f == nullptr || slot < 0) return 0;
  CopyVector(coord, f->coords[slot]);
  return 1;
}

extern "C" uint8_t KvSurfaceSetTexture(KV_HANDLE surface, KV_HANDLE texture, uint32_t target) {
  if (trace::Call("KvSurfaceSetTexture", surface, texture, target)) return 0;
  Surface* f = Surfaces().Find(surface);
  if (f == nullptr || target != KV_TEXTURE_TARGET) return 0;
  f->texture = texture;
  return 1;
}
