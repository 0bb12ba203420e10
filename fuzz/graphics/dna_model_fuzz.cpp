// Feeds arbitrary bytes to the soft-body model reader and builds an engine body from whatever it
// accepts: every index the reader lets through must lie inside its section, the body must get
// exactly the elements the model describes, every force sprite must point into the force array,
// and destroying the body must leave no engine object behind.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/softbody/softbody_objects.h"
#include "graphics/dna.h"
#include "graphics/dna_model.h"

namespace {

void CheckIndices(const KV_DNA_MODEL& model) {
  for (const auto& f : model.surfaces)
    for (uint32_t i : f.substances)
      if (i >= model.substances.size()) __builtin_trap();
  for (const auto& c : model.forces)
    for (uint32_t i : c.substances)
      if (i >= model.substances.size()) __builtin_trap();
  for (const auto& p : model.sprites)
    if (p.force >= model.forces.size()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1u << 20) return 0;
  // An exact-size copy: reading one byte past it is an overflow the sanitizer reports.
  std::vector<uint8_t> bytes(data, data + size);
  const void* block = bytes.empty() ? nullptr : bytes.data();
  KV_DNA_MODEL model;
  bool read = model.Read(block, static_cast<uint32_t>(size));
  if (!read && (!model.substances.empty() || !model.sprites.empty())) __builtin_trap();
  CheckIndices(model);

  KV_DNA dna;
  if (!dna.Reset()) __builtin_trap();
  bool loaded = dna.LoadFromMemory(block, static_cast<uint32_t>(size), nullptr, nullptr,
                                   KV_VECTOR_D(2, 3, 1, 1), 1, 1, 1);
  if (loaded != read) __builtin_trap();
  if (loaded) {
    if (dna.GetSubstanceCount() != model.substances.size()) __builtin_trap();
    if (dna.GetSpriteCount() != model.sprites.size()) __builtin_trap();
    KV_HANDLE* forces = dna.GetForces();
    for (uint32_t m = 0; m < dna.GetSpriteCount(); ++m) {
      KV_HANDLE* force = dna.GetSprites()[m].force;
      if (force < forces || force >= forces + dna.GetForceCount()) __builtin_trap();
    }
  }
  dna.Destroy();
  if (kv::engine::softbody::SoftBodyObjectCount() != 0) __builtin_trap();
  return 0;
}
