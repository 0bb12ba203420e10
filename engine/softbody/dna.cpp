// KvDna*: bodies, their element arrays, links and lifetime. The kind numbers map to the arrays in
// one table below; KV_DNA_KIND37 is one handle kept for the program.
#include "engine/numbers.h"
#include "engine/softbody/softbody_api.h"
#include "engine/softbody/softbody_objects.h"
#include "engine/trace/trace.h"

namespace kv::engine::softbody {

namespace {

// Element kinds that live in a slot array: the number, the array and whether a handle names an
// element of that kind.
struct KindEntry {
  uint32_t number;
  SlotArray Dna::*array;
  bool (*isElement)(KV_HANDLE handle);
};
constexpr KindEntry kKinds[] = {
    {KV_DNA_SUBSTANCES, &Dna::substances,
     [](KV_HANDLE h) { return Substances().Find(h) != nullptr; }},
    {KV_DNA_FORCES, &Dna::forces, [](KV_HANDLE h) { return Forces().Find(h) != nullptr; }},
    {KV_DNA_SURFACES, &Dna::surfaces, [](KV_HANDLE h) { return Surfaces().Find(h) != nullptr; }},
};

const KindEntry* FindKind(uint32_t number) {
  for (const KindEntry& entry : kKinds) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}

}  // namespace

}  // namespace kv::engine::softbody

using namespace kv::engine;
using namespace kv::engine::softbody;

extern "C" uint8_t KvDnaCreate(KV_HANDLE* out) {
  if (trace::Call("KvDnaCreate", out)) return 0;
  return CreateObject(Bodies(), out);
}

extern "C" uint8_t KvDnaDie(KV_HANDLE dna, uint32_t mode) {
  if (trace::Call("KvDnaDie", dna, mode)) return 0;
  Dna* body = Bodies().Find(dna);
  if (body == nullptr || mode != KV_DNA_KILL) return 0;
  body->Kill();
  return 1;
}

extern "C" void KvDnaDestroy(KV_HANDLE dna) {
  if (trace::Call("KvDnaDestroy", dna)) return;
  Dna* body = Bodies().Find(dna);
  if (body == nullptr) return;
  body->Kill();
  Bodies().Remove(dna);
}

extern "C" uint8_t KvDnaBirth(KV_HANDLE dna, uint32_t substances, uint32_t forces,
                              uint32_t surfaces) {
  if (trace::Call("KvDnaBirth", dna, substances, forces, surfaces)) return 0;
  Dna* body = Bodies().Find(dna);
  if (body == nullptr) return 0;
  if (substances > kMaxSlots || forces > kMaxSlots || surfaces > kMaxSlots) return 0;
  if (substances != 0) body->substances.Birth(substances);
  if (forces != 0) body->forces.Birth(forces);
  if (surfaces != 0) body->surfaces.Birth(surfaces);
  return 1;
}

extern "C" uint8_t KvDnaLink(KV_HANDLE dna, uint32_t kind, uint32_t index,
                             const KV_HANDLE* element) {
  if (trace::Call("KvDnaLink", dna, kind, index, element)) return 0;
  Dna* body = Bodies().Find(dna);
  if (body == nullptr || element == nullptr) return 0;
  if (kind == KV_DNA_KIND37) {
    body->kind37 = *element;
    return 1;
  }
  const KindEntry* entry = FindKind(kind);
  if (entry == nullptr) return 0;
  SlotArray& slots = body->*(entry->array);
  if (index >= slots.Count()) return 0;
  // A null handle empties the slot; anything else must be a live element of this kind.
  KV_HANDLE handle = *element;
  if (!handle.IsNull() && !entry->isElement(handle)) return 0;
  slots.Data()[index] = handle;
  if (!handle.IsNull()) body->owned.push_back(handle);
  return 1;
}

extern "C" void* KvDnaGet(KV_HANDLE dna, uint32_t kind, uint32_t reserved) {
  if (trace::Call("KvDnaGet", dna, kind, reserved)) return nullptr;
  Dna* body = Bodies().Find(dna);
  if (body == nullptr) return nullptr;
  if (kind == KV_DNA_KIND37) return &body->kind37;
  const KindEntry* entry = FindKind(kind);
  if (entry == nullptr) return nullptr;
  return (body->*(entry->array)).Data();
}

extern "C" uint32_t KvDnaCount(KV_HANDLE dna, uint32_t kind) {
  if (trace::Call("KvDnaCount", dna, kind)) return 0;
  Dna* body = Bodies().Find(dna);
  if (body == nullptr) return 0;
  if (kind == KV_DNA_KIND37) return 1;
  const KindEntry* entry = FindKind(kind);
  return entry == nullptr ? 0 : (body->*(entry->array)).Count();
}
