// KvLengthdir and KvDirection: angles and lengths to vectors and back, with the conventions of
// KvMatrixRotate. A vector of length L at angles (a1, a2, a3) is Rx(a3) * Ry(a2) * Rz(a1) * (L, 0, 0),
// the order in which the framework turns sprites; a1 alone is the angle in the plane.
#include <cmath>

#include "engine/kv_engine.h"
#include "engine/matrices/matrix.h"
#include "engine/trace/trace.h"

namespace kv::engine {
namespace {
constexpr double kRadiansToDegrees = 180.0 / 3.14159265358979323846;
}  // namespace
}  // namespace kv::engine

using namespace kv::engine;

extern "C" void KvLengthdir(KV_DOUBLE4 rotation, KV_DOUBLE4* out) {
  if (trace::Call("KvLengthdir", rotation, out)) return;
  if (out == nullptr) return;
  double v[4] = {rotation.w, 0, 0, 1};
  Matrix turn = Matrix::Rotation(rotation.z, 1, 0, 0) * Matrix::Rotation(rotation.y, 0, 1, 0) *
                Matrix::Rotation(rotation.x, 0, 0, 1);
  turn.Transform(v);
  *out = KV_DOUBLE4{v[0], v[1], v[2], 1.0};
}

// The plane angle a1 is the direction of (dx, dy). Then Ry(a2) lifts the vector out of the plane
// with sin(a2) = dz / L (which leaves x right), and Rx(a3) turns y and z into place. For points in
// the plane a2 and a3 are 0.
extern "C" void KvDirection(KV_DOUBLE4 from, KV_DOUBLE4 to, KV_DOUBLE4* out) {
  if (trace::Call("KvDirection", from, to, out)) return;
  if (out == nullptr) return;
  double dx = to.x - from.x, dy = to.y - from.y, dz = to.z - from.z;
  double length = std::sqrt(dx * dx + dy * dy + dz * dz);
  *out = KV_DOUBLE4{0, 0, 0, 0};
  if (!(length > 0) || !std::isfinite(length)) return;
  double a1 = std::atan2(dy, dx);
  double sinA2 = dz / length;
  double a2 = std::asin(std::fmax(-1.0, std::fmin(1.0, sinA2)));
  // After Rz(a1) and Ry(a2), y and z hold (L sin a1, -L cos a1 sin a2); Rx(a3) turns them to (dy, dz).
  double y0 = length * std::sin(a1), z0 = -length * std::cos(a1) * sinA2;
  double a3 = (dz == 0) ? 0.0 : std::atan2(dz, dy) - std::atan2(z0, y0);
  out->x = a1 * kRadiansToDegrees;
  out->y = a2 * kRadiansToDegrees;
  out->z = a3 * kRadiansToDegrees;
}
