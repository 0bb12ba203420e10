// The soft-body tables, the never-moving slot arrays and what killing a body destroys.
#include "engine/softbody/softbody_objects.h"

namespace kv::engine::softbody {

void SlotArray::Birth(uint32_t count) {
  if (count > capacity_) {
    // The old block stays alive: a caller may still hold the address of one of its slots.
    if (block_ != nullptr) retired_.push_back(std::move(block_));
    block_ = std::make_unique<KV_HANDLE[]>(count);
    capacity_ = count;
  }
  for (uint32_t i = 0; i < capacity_; ++i) block_[i] = KV_HANDLE();
  count_ = count;
}

void SlotArray::Empty() {
  for (uint32_t i = 0; i < capacity_; ++i) block_[i] = KV_HANDLE();
  count_ = 0;
}

void Dna::Kill() {
  // An element linked twice, or into two bodies, is destroyed once: the second removal finds nothing.
  for (const KV_HANDLE& element : owned) {
    Substances().Remove(element);
    Forces().Remove(element);
    Surfaces().Remove(element);
  }
  owned.clear();
  substances.Empty();
  forces.Empty();
  surfaces.Empty();
}

ObjectTable<Dna>& Bodies() {
  static ObjectTable<Dna> table;
  return table;
}

ObjectTable<Substance>& Substances() {
  static ObjectTable<Substance> table;
  return table;
}

ObjectTable<Force>& Forces() {
  static ObjectTable<Force> table;
  return table;
}

ObjectTable<Surface>& Surfaces() {
  static ObjectTable<Surface> table;
  return table;
}

void DestroyAllSoftBodies() {
  Bodies().Clear();
  Substances().Clear();
  Forces().Clear();
  Surfaces().Clear();
}

size_t SoftBodyObjectCount() {
  return Bodies().Count() + Substances().Count() + Forces().Count() + Surfaces().Count();
}

}  // namespace kv::engine::softbody
