// Matrices and cameras: the y-down orthographic camera with its offset, flip and turn; the matrix
// stacks and modes; and the vector math agreeing with KvMatrixRotate.
#include <cmath>
#include <cstring>

#include "engine/engine_fixture.h"

class Cameras : public EngineTest {
 public:
  KV_HANDLE white;
  KV_VERTEX quad[4];

  void SetUp() override {
    EngineTest::SetUp();
    white = SolidTexture(1, 1, {255, 255, 255, 255});
    Quad(quad, 4, 4, 2, 2);
  }
  void TearDown() override {
    KvTextureDestroy(white);
    EngineTest::TearDown();
  }
  bool Lit(int x, int y) { return Near(At(x, y), {255, 255, 255, 255}); }
};

TEST_F(Cameras, OrthoIsYDownWithTheViewsOriginAtTheTopLeft) {
  DrawSprite(white, quad, 4, 4);
  EXPECT_TRUE(Lit(4, 4));
  EXPECT_FALSE(Lit(4, kHeight - 5));
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  KvCameraOrtho(10, 20, kWidth, kHeight, 0);
  DrawSprite(white, quad, 14, 24);
  EXPECT_TRUE(Lit(4, 4));
}

TEST_F(Cameras, ANegativeHeightFlipsTheView) {
  KvCameraOrtho(0, kHeight, kWidth, -kHeight, 0);
  DrawSprite(white, quad, 4, 4);
  EXPECT_TRUE(Lit(4, kHeight - 5));
  EXPECT_FALSE(Lit(4, 4));
}

TEST_F(Cameras, TheAngleTurnsTheViewAboutItsCentre) {
  KvCameraOrtho(0, 0, kWidth, kHeight, 90);
  // Ten pixels right of the centre, seen by a camera turned a quarter: ten pixels above it.
  DrawSprite(white, quad, 42, 24);
  EXPECT_TRUE(Lit(32, 14));
  EXPECT_FALSE(Lit(42, 24));
}

TEST_F(Cameras, AZeroSizedViewIsRefusedAndLeavesTheProjection) {
  double before[16], after[16];
  KvMatrixSave(KV_MATRIX_PROJECTION, before);
  EXPECT_EQ(KvCameraOrtho(0, 0, 0, 0, 0), 0);
  EXPECT_EQ(KvCameraOrtho(0, 0, NAN, 10, 0), 0);
  KvMatrixSave(KV_MATRIX_PROJECTION, after);
  EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);
}

TEST_F(Cameras, BuildWritesWhatTheCameraWouldSet) {
  double built[16], set[16];
  float half[16];
  ASSERT_EQ(KvCameraOrthoBuild(built, 5, 6, 70, 80, 30), 1);
  ASSERT_EQ(KvCameraOrthoBuildHalf(half, 5, 6, 70, 80, 30), 1);
  KvCameraOrtho(5, 6, 70, 80, 30);
  KvMatrixSave(KV_MATRIX_PROJECTION, set);
  for (int i = 0; i < 16; ++i) {
    EXPECT_DOUBLE_EQ(built[i], set[i]);
    EXPECT_NEAR(half[i], set[i], 1e-6);
  }
  EXPECT_EQ(KvCameraOrthoBuild(nullptr, 5, 6, 70, 80, 30), 0);
}

TEST_F(Cameras, APerspectiveSeesWhatLiesBeforeTheEye) {
  *static_cast<double*>(KvRenderTargetGet(target, KV_RT_RANGE_NEAR)) = 0.1;
  *static_cast<double*>(KvRenderTargetGet(target, KV_RT_RANGE_FAR)) = 100;
  ASSERT_EQ(KvCameraPerspective(KV_DOUBLE4{}, KV_DOUBLE4{0, 0, 10, 1}, 0), 1);
  KvMatrixPush();
  KvMatrixIdentity();
  KvTextureActivate(white);
  KvDrawDataStruct(KV_PRIM_QUADS, 0, 4, quad, nullptr, 0, 0, 0, 0, 0, 0);  // 4 x 4 at the origin
  KvMatrixPop();
  EXPECT_TRUE(Lit(kWidth / 2, kHeight / 2));
  EXPECT_FALSE(Lit(2, 2));
  double built[16];
  EXPECT_EQ(KvCameraPerspectiveBuild(built, KV_DOUBLE4{}, KV_DOUBLE4{0, 0, 10, 1}, 0), 1);
  double saved[16];
  KvMatrixSave(KV_MATRIX_PROJECTION, saved);
  EXPECT_DOUBLE_EQ(built[0], saved[0]);
}

TEST_F(Cameras, StacksHaveLimitsAndModesSelectTheMatrix) {
  int pushes = 0;
  while (KvMatrixPush() == 1 && pushes < 1000) ++pushes;
  EXPECT_EQ(pushes, 63);
  while (KvMatrixPop() == 1) --pushes;
  EXPECT_EQ(pushes, 0);
  EXPECT_EQ(KvMatrixMode(266), 0);
  ASSERT_EQ(KvMatrixMode(KV_MATRIX_PROJECTION), 1);
  double saved[16];
  KvMatrixSave(KV_MATRIX_PROJECTION, saved);
  KvMatrixIdentity();
  KvMatrixScale(2, 2, 2);
  double scaled[16];
  KvMatrixSave(KV_MATRIX_PROJECTION, scaled);
  EXPECT_EQ(scaled[0], 2.0);
  KvMatrixLoad(saved);
  KvMatrixMode(KV_MATRIX_MODELVIEW);
  double check[16];
  KvMatrixSave(KV_MATRIX_PROJECTION, check);
  EXPECT_EQ(std::memcmp(saved, check, sizeof saved), 0);
  EXPECT_EQ(KvMatrixRotate(10, 0, 0, 0), 0);
  EXPECT_EQ(KvMatrixTranslate(INFINITY, 0, 0), 0);
  EXPECT_EQ(KvMatrixSave(263, check), 0);
  EXPECT_EQ(KvMatrixLoad(nullptr), 0);
}

namespace {

// Where the current model-view matrix takes (x, y, z).
KV_DOUBLE4 Apply(double x, double y, double z) {
  double m[16];
  KvMatrixSave(KV_MATRIX_MODELVIEW, m);
  return KV_DOUBLE4{m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
                    m[2] * x + m[6] * y + m[10] * z + m[14], 1};
}

}  // namespace

TEST(VectorMath, LengthdirAgreesWithTheMatrixTurnsInTheSpritesOrder) {
  const double angles[][3] = {{0, 0, 0},   {30, 0, 0},  {90, 0, 0},
                              {200, 0, 0}, {30, 40, 0}, {-50, 20, 70}};
  for (const auto& a : angles) {
    KvMatrixIdentity();
    KvMatrixRotate(a[2], 1, 0, 0);
    KvMatrixRotate(a[1], 0, 1, 0);
    KvMatrixRotate(a[0], 0, 0, 1);
    KV_DOUBLE4 turned = Apply(5, 0, 0);
    KV_DOUBLE4 v{0, 0, 0, 1};
    KvLengthdir(KV_DOUBLE4{a[0], a[1], a[2], 5}, &v);
    EXPECT_NEAR(v.x, turned.x, 1e-9);
    EXPECT_NEAR(v.y, turned.y, 1e-9);
    EXPECT_NEAR(v.z, turned.z, 1e-9);
  }
  KvMatrixIdentity();
  KV_DOUBLE4 v{0, 0, 0, 1};
  KvLengthdir(KV_DOUBLE4{90, 0, 0, 10}, &v);
  EXPECT_NEAR(v.x, 0, 1e-9);
  EXPECT_NEAR(v.y, 10, 1e-9);  // down the screen in 2D
}

TEST(VectorMath, DirectionGivesTheAnglesLengthdirTurnsBack) {
  const double points[][6] = {{0, 0, 0, 10, 0, 0}, {0, 0, 0, 0, 10, 0}, {1, 2, 0, -3, -4, 0},
                              {0, 0, 0, 3, 4, 12}, {5, 5, 5, 5, 5, -5}, {2, -1, 3, -6, 7, 1},
                              {0, 0, 0, -1, 0, 0}};
  for (const auto& p : points) {
    KV_DOUBLE4 from{p[0], p[1], p[2], 1}, to{p[3], p[4], p[5], 1};
    KV_DOUBLE4 angles{0, 0, 0, 0};
    KvDirection(from, to, &angles);
    double dx = p[3] - p[0], dy = p[4] - p[1], dz = p[5] - p[2];
    angles.w = std::sqrt(dx * dx + dy * dy + dz * dz);
    KV_DOUBLE4 v{0, 0, 0, 1};
    KvLengthdir(angles, &v);
    EXPECT_NEAR(v.x, dx, 1e-9);
    EXPECT_NEAR(v.y, dy, 1e-9);
    EXPECT_NEAR(v.z, dz, 1e-9);
  }
  KV_DOUBLE4 angles{0, 0, 0, 0};
  KvDirection(KV_DOUBLE4{0, 0, 0, 1}, KV_DOUBLE4{-2, 2, 0, 1}, &angles);
  EXPECT_NEAR(angles.x, 135, 1e-9);  // the first angle is the angle in the plane
  EXPECT_EQ(angles.y, 0);
  EXPECT_EQ(angles.z, 0);
  KvDirection(KV_DOUBLE4{1, 1, 1, 1}, KV_DOUBLE4{1, 1, 1, 1}, &angles);
  EXPECT_EQ(angles.x, 0);
  KvDirection(KV_DOUBLE4{}, KV_DOUBLE4{}, nullptr);
}
