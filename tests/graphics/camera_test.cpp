// KV_CAMERA: the values each engine camera call receives, and the range write-back.
#include "graphics/camera.h"

#include "graphics_fixture.h"

using kv::engine::testing::StartTrace;
using kv::engine::testing::StopTrace;
using kv::engine::testing::TracedCalls;

using Camera = GraphicsTest;

TEST_F(Camera, OrthographicCallsCarryPositionSizeAndTurn) {
  KV_CAMERA camera;
  StartTrace();
  camera.Apply();
  camera.width = 800;
  camera.height = 600;
  camera.Apply();
  camera.position = KV_VECTOR_D(12, 34, 5, 1);
  camera.rotation = KV_ROTATION_D(15, 25, 35, 0);
  camera.Apply();
  double matrix[16] = {};
  float half[16] = {};
  camera.Build(matrix);
  camera.BuildHalf(half);
  StopTrace();
  std::vector<std::string> expected = {
      "KvCameraOrtho(0, 0, 0, 0, 0)", "KvCameraOrtho(0, 0, 800, 600, 0)",
      "KvCameraOrtho(12, 34, 800, 600, 15)", "KvCameraOrthoBuild(ptr, 12, 34, 800, 600, 15)",
      "KvCameraOrthoBuildHalf(ptr, 12, 34, 800, 600, 15)"};
  EXPECT_EQ(TracedCalls(), expected);
  // Build hands the engine's result and matrix back: unturned, x = 12 is the left edge (-1).
  camera.rotation = KV_ROTATION_D();
  ASSERT_EQ(camera.Build(matrix), 1);
  EXPECT_NEAR(matrix[0] * 12 + matrix[12], -1.0, 1e-6);
  EXPECT_NEAR(matrix[0] * 812 + matrix[12], 1.0, 1e-6);
}

TEST_F(Camera, PerspectiveCallsCarryRotationPositionAndOption) {
  KV_CAMERA camera;
  camera.perspective = 1;
  camera.option = 1;
  camera.position = KV_VECTOR_D(1, 2, 3, 1);
  camera.rotation = KV_ROTATION_D(10, 20, 30, 0);
  double matrix[16] = {};
  float half[16] = {};
  StartTrace();
  camera.Apply();
  camera.Build(matrix);
  camera.BuildHalf(half);
  StopTrace();
  std::vector<std::string> expected = {
      "KvCameraPerspective((10, 20, 30, 0), (1, 2, 3, 1), 1)",
      "KvCameraPerspectiveBuild(ptr, (10, 20, 30, 0), (1, 2, 3, 1), 1)",
      "KvCameraPerspectiveBuildHalf(ptr, (10, 20, 30, 0), (1, 2, 3, 1), 1)"};
  EXPECT_EQ(TracedCalls(), expected);
}

TEST_F(Camera, SetRangeWritesThroughTheCurrentTarget) {
  KV_CAMERA camera;
  camera.SetRange(0.5, 250.0);
  EXPECT_EQ(*static_cast<double*>(KvRenderTargetGet(target, KV_RT_RANGE_NEAR)), 0.5);
  EXPECT_EQ(*static_cast<double*>(KvRenderTargetGet(target, KV_RT_RANGE_FAR)), 250.0);
  // Without a current target nothing is written and nothing breaks.
  KvRenderTargetDestroy(target);
  target = KV_HANDLE();
  camera.SetRange(1, 2);
}
