// KvCamera*: cameras put their whole view (position and turn included) into the projection
// matrix, so that draws which reset the model-view matrix still see it. The depth range comes
// from the current target's range values (KV_RT_RANGE_NEAR, KV_RT_RANGE_FAR) and the perspective's
// field of view from KV_RT_FIELD_OF_VIEW.
#include <cmath>
#include <cstring>

#include "engine/kv_engine.h"
#include "engine/matrices/matrix_stacks.h"
#include "engine/targets/render_targets.h"
#include "engine/trace/trace.h"

namespace kv::engine {

namespace {

struct Lens {
  double fieldOfView = 45.0;
  double nearZ = -1.0;
  double farZ = 1.0;
  double aspect = 1.0;
};

// The current target's lens, or the defaults without a target.
Lens CurrentLens() {
  Lens lens;
  if (const RenderTarget* target = CurrentTarget()) {
    lens.fieldOfView = target->fieldOfView;
    lens.nearZ = target->range[0];
    lens.farZ = target->range[1];
    if (target->viewport[3] > 0)
      lens.aspect = static_cast<double>(target->viewport[2]) / target->viewport[3];
  }
  return lens;
}

bool Finite(std::initializer_list<double> values) {
  for (double value : values) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

// The y-down view of (x, y, w, h), turned by angle degrees about its centre: the camera turns by
// angle, so the scene appears turned by -angle. A zero width or height has no view.
bool BuildOrtho(double x, double y, double w, double h, double angle, Matrix* out) {
  if (!Finite({x, y, w, h, angle}) || w == 0 || h == 0) return false;
  Lens lens = CurrentLens();
  if (!Finite({lens.nearZ, lens.farZ}) || lens.nearZ == lens.farZ) {
    lens.nearZ = -1.0;
    lens.farZ = 1.0;
  }
  Matrix projection = Matrix::Ortho(x, x + w, y + h, y, lens.nearZ, lens.farZ);
  if (angle != 0) {
    double cx = x + w / 2, cy = y + h / 2;
    projection = projection * Matrix::Translation(cx, cy, 0) * Matrix::Rotation(-angle, 0, 0, 1) *
                 Matrix::Translation(-cx, -cy, 0);
  }
  *out = projection;
  return true;
}

// A perspective view from position, the eye turned like a sprite: rotation.x about z (in the
// plane), rotation.y about y, rotation.z about x. A non-zero option makes y point down on the
// screen, as in 2D. Needs 0 < near < far and a field of view between 0 and 180 degrees.
bool BuildPerspective(const KV_DOUBLE4& rotation, const KV_DOUBLE4& position, uint8_t option,
                      Matrix* out) {
  if (!Finite({rotation.x, rotation.y, rotation.z, position.x, position.y, position.z}))
    return false;
  Lens lens = CurrentLens();
  if (!Finite({lens.fieldOfView, lens.nearZ, lens.farZ}) || lens.nearZ <= 0 ||
      lens.farZ <= lens.nearZ || lens.fieldOfView <= 0 || lens.fieldOfView >= 180) {
    return false;
  }
  Matrix projection = Matrix::Perspective(lens.fieldOfView, lens.aspect, lens.nearZ, lens.farZ);
  if (option != 0) projection = Matrix::Scaling(1, -1, 1) * projection;
  Matrix view = Matrix::Rotation(-rotation.x, 0, 0, 1) * Matrix::Rotation(-rotation.y, 0, 1, 0) *
                Matrix::Rotation(-rotation.z, 1, 0, 0) *
                Matrix::Translation(-position.x, -position.y, -position.z);
  *out = projection * view;
  return true;
}

void WriteDoubles(void* out, const Matrix& matrix) { std::memcpy(out, matrix.m, sizeof matrix.m); }

void WriteFloats(void* out, const Matrix& matrix) {
  float values[16];
  for (int i = 0; i < 16; ++i) values[i] = static_cast<float>(matrix.m[i]);
  std::memcpy(out, values, sizeof values);
}

uint8_t Apply(bool built, const Matrix& projection) {
  if (!built) return 0;
  SetProjection(projection);
  SelectModelView();
  return 1;
}

}  // namespace

}  // namespace kv::engine

using namespace kv::engine;

extern "C" uint8_t KvCameraOrtho(double x, double y, double w, double h, double angle) {
  if (trace::Call("KvCameraOrtho", x, y, w, h, angle)) return 0;
  Matrix projection;
  return Apply(BuildOrtho(x, y, w, h, angle, &projection), projection);
}

extern "C" uint8_t KvCameraOrthoBuild(void* out, double x, double y, double w, double h,
                                      double angle) {
  if (trace::Call("KvCameraOrthoBuild", out, x, y, w, h, angle)) return 0;
  Matrix projection;
  if (out == nullptr || !BuildOrtho(x, y, w, h, angle, &projection)) return 0;
  WriteDoubles(out, projection);
  return 1;
}

extern "C" uint8_t KvCameraOrthoBuildHalf(void* out, float x, float y, float w, float h,
                                          float angle) {
  if (trace::Call("KvCameraOrthoBuildHalf", out, x, y, w, h, angle)) return 0;
  Matrix projection;
  if (out == nullptr || !BuildOrtho(x, y, w, h, angle, &projection)) return 0;
  WriteFloats(out, projection);
  return 1;
}

extern "C" uint8_t KvCameraPerspective(KV_DOUBLE4 rotation, KV_DOUBLE4 position, uint8_t option) {
  if (trace::Call("KvCameraPerspective", rotation, position, option)) return 0;
  Matrix projection;
  return Apply(BuildPerspective(rotation, position, option, &projection), projection);
}

extern "C" uint8_t KvCameraPerspectiveBuild(void* out, KV_DOUBLE4 rotation, KV_DOUBLE4 position,
                                            uint8_t option) {
  if (trace::Call("KvCameraPerspectiveBuild", out, rotation, position, option)) return 0;
  Matrix projection;
  if (out == nullptr || !BuildPerspective(rotation, position, option, &projection)) return 0;
  WriteDoubles(out, projection);
  return 1;
}

extern "C" uint8_t KvCameraPerspectiveBuildHalf(void* out, KV_DOUBLE4 rotation, KV_FLOAT4 position,
                                                uint8_t option) {
  if (trace::Call("KvCameraPerspectiveBuildHalf", out, rotation, position, option)) return 0;
  KV_DOUBLE4 wide{position.x, position.y, position.z, position.w};
  Matrix projection;
  if (out == nullptr || !BuildPerspective(rotation, wide, option, &projection)) return 0;
  WriteFloats(out, projection);
  return 1;
}
