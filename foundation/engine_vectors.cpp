// The two vector functions the engine library computes, called with the framework's records.
// Kept apart from the other small math so that only programs that turn angles into vectors
// link the engine's vector math.
#include "engine/kv_engine.h"
#include "foundation/small_math.h"

KV_VECTOR_D KvLengthdirVector(const KV_ROTATION_D& rotation, double length) {
  KV_DOUBLE4 angles{rotation.x, rotation.y, rotation.z, length};
  KV_DOUBLE4 result{0, 0, 0, 1};
  KvLengthdir(angles, &result);
  return KV_VECTOR_D(result.x, result.y, result.z, result.w);
}

KV_ROTATION_D KvDirectionVector(const KV_VECTOR_D& from, const KV_VECTOR_D& to) {
  KV_DOUBLE4 a{from.x, from.y, from.z, from.w};
  KV_DOUBLE4 b{to.x, to.y, to.z, to.w};
  KV_DOUBLE4 result{0, 0, 0, 0};
  KvDirection(a, b, &result);
  return KV_ROTATION_D(result.x, result.y, result.z, result.w);
}
