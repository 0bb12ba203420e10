// KV_CAMERA: hands the camera's values to the engine's camera calls in the order it reads them.
#include "graphics/camera.h"

#include "engine/kv_engine.h"
#include "engine/numbers.h"

namespace {

KV_DOUBLE4 Doubles(double x, double y, double z, double w) {
  KV_DOUBLE4 value;
  value.x = x;
  value.y = y;
  value.z = z;
  value.w = w;
  return value;
}

// Pointer to a double property of the current render target; null when none is current.
double* CurrentTargetRange(uint32_t property) {
  auto* target = static_cast<const KV_HANDLE*>(KvGetState(KV_STATE_RENDER_TARGET));
  if (target == nullptr) return nullptr;
  return static_cast<double*>(KvRenderTargetGet(*target, property));
}

}  // namespace

void KV_CAMERA::Apply() {
  if (perspective) {
    KvCameraPerspective(Doubles(rotation.x, rotation.y, rotation.z, rotation.w),
                        Doubles(position.x, position.y, position.z, position.w), option);
    return;
  }
  KvCameraOrtho(position.x, position.y, width, height, rotation.x);
}

uint8_t KV_CAMERA::Build(void* out) {
  if (perspective)
    return KvCameraPerspectiveBuild(out, Doubles(rotation.x, rotation.y, rotation.z, rotation.w),
                                    Doubles(position.x, position.y, position.z, position.w),
                                    option);
  return KvCameraOrthoBuild(out, position.x, position.y, width, height, rotation.x);
}

uint8_t KV_CAMERA::BuildHalf(void* out) {
  if (perspective) {
    KV_FLOAT4 eye;
    eye.x = (float)position.x;
    eye.y = (float)position.y;
    eye.z = (float)position.z;
    eye.w = (float)position.w;
    return KvCameraPerspectiveBuildHalf(
        out, Doubles(rotation.x, rotation.y, rotation.z, rotation.w), eye, option);
  }
  return KvCameraOrthoBuildHalf(out, (float)position.x, (float)position.y, width, height,
                                (float)rotation.x);
}

void KV_CAMERA::SetRange(double first, double second) {
  // Each value goes to the target current when it is written; without a current target (or
  // for an unknown one) there is nothing to write through.
  if (double* rangeNear = CurrentTargetRange(KV_RT_RANGE_NEAR)) *rangeNear = first;
  if (double* rangeFar = CurrentTargetRange(KV_RT_RANGE_FAR)) *rangeFar = second;
}
