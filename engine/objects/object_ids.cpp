// The one counter that hands out object ids for every table.
#include "engine/objects/object_table.h"

namespace kv::engine {

namespace {
uint32_t lastObjectId = 0;
}

uint32_t NextObjectId() {
  // Wrapping past 2^32 - 1 objects would reuse ids; skip 0, which means "no object".
  ++lastObjectId;
  if (lastObjectId == 0) ++lastObjectId;
  return lastObjectId;
}

}  // namespace kv::engine
