// The soft-body objects behind the engine handles: bodies, substances, covalence forces and
// surfaces, each in a table of its own. A body's element arrays are blocks that never move while
// the body lives (callers keep the address of an element), and the body remembers every element
// ever linked into it, so that killing it destroys exactly what it owns.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/kv_engine.h"
#include "engine/objects/object_table.h"

namespace kv::engine::softbody {

// Largest number of slots one birth may ask for.
constexpr uint32_t kMaxSlots = 1u << 24;

struct Substance {
  double position[4] = {0, 0, 0, 1};  // KV_SUBSTANCE_POSITION
  double mass = 1;
  double range = 0;
  int32_t solid = 0;
};

struct Force {
  KV_HANDLE ends[2];  // KV_FORCE_FIRST, KV_FORCE_SECOND
  double resilience = 0;
  double restLength = 0;
};

struct Surface {
  KV_HANDLE corners[3];                                              // KV_SURFACE_CORNER1 to 3
  double coords[3][4] = {{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}};  // KV_SURFACE_COORD1 to 3
  KV_HANDLE texture;                                                 // borrowed
};

// One kind's array of element handles. Blocks replaced by a larger birth are kept (retired) until
// the body dies, so no pointer once given out ever dangles.
class SlotArray {
 public:
  // count null slots; a block at least that large is reused, else a new one taken.
  void Birth(uint32_t count);
  // Nulls every slot and makes the count 0, keeping the block (retired blocks keep their
  // handles, which then name destroyed elements).
  void Empty();
  KV_HANDLE* Data() { return block_.get(); }
  uint32_t Count() const { return count_; }

 private:
  std::unique_ptr<KV_HANDLE[]> block_;
  uint32_t capacity_ = 0;
  uint32_t count_ = 0;
  std::vector<std::unique_ptr<KV_HANDLE[]>> retired_;
};

struct Dna {
  SlotArray substances;          // KV_DNA_SUBSTANCES
  SlotArray forces;              // KV_DNA_FORCES
  SlotArray surfaces;            // KV_DNA_SURFACES
  KV_HANDLE kind37;              // KV_DNA_KIND37: one handle kept for the program, not owned
  std::vector<KV_HANDLE> owned;  // every element linked, in link order (may repeat)
  // Destroys every owned element and empties the three arrays. The body's own removal calls it
  // first; the tables never call it, so their order of destruction at exit does not matter.
  void Kill();
};

ObjectTable<Dna>& Bodies();
ObjectTable<Substance>& Substances();
ObjectTable<Force>& Forces();
ObjectTable<Surface>& Surfaces();

// Makes a new object in table and writes its handle to out; 0 when out is null.
template <typename T>
uint8_t CreateObject(ObjectTable<T>& table, KV_HANDLE* out) {
  if (out == nullptr) return 0;
  *out = table.Add(std::make_unique<T>());
  return 1;
}

// Sets one field of the object behind handle; 0 when the handle names no live object.
template <typename T, typename Field, typename Value>
uint8_t SetObjectField(ObjectTable<T>& table, KV_HANDLE handle, Field T::*field, Value value) {
  T* object = table.Find(handle);
  if (object == nullptr) return 0;
  object->*field = value;
  return 1;
}

// Destroys every body and element (at closure).
void DestroyAllSoftBodies();
// Number of live bodies and elements.
size_t SoftBodyObjectCount();

}  // namespace kv::engine::softbody
