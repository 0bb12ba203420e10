// The model-view stack's translate, turn and scale: each multiplies the current matrix on the
// right without the full product, and must give the full product's values.
#include "engine/engine_fixture.h"
#include "engine/matrices/matrix.h"

using kv::engine::Matrix;
using MatrixStack = EngineTest;

namespace {

// A matrix with no zero or one in it, so that every term of a product counts.
Matrix Busy() {
  Matrix m;
  for (int i = 0; i < 16; ++i) m.m[i] = 0.37 * (i + 1) - 2.9 + (i % 3) * 1.1;
  return m;
}

void ExpectSame(const Matrix& got, const Matrix& want) {
  for (int i = 0; i < 16; ++i) EXPECT_EQ(got.m[i], want.m[i]) << "element " << i;
}

}  // namespace

TEST(Matrix, TranslateTurnAndScaleGiveTheFullProducts) {
  Matrix translated = Busy(), turned = Busy(), turnedInPlane = Busy(), scaled = Busy();
  translated.Translate(3.5, -2.25, 7);
  turned.Rotate(33, 1, 2, -3);
  turnedInPlane.Rotate(-70, 0, 0, 1);
  scaled.Scale(2, -0.5, 3);
  ExpectSame(translated, Busy() * Matrix::Translation(3.5, -2.25, 7));
  ExpectSame(turned, Busy() * Matrix::Rotation(33, 1, 2, -3));
  ExpectSame(turnedInPlane, Busy() * Matrix::Rotation(-70, 0, 0, 1));
  ExpectSame(scaled, Busy() * Matrix::Scaling(2, -0.5, 3));
}

TEST_F(MatrixStack, AppliesASpritesPlacementInTheCallsOrder) {
  // The sprite's sequence (translate, turn, scale) applies to a vertex in the reverse order:
  // scaled first, then turned, then moved.
  KvMatrixMode(KV_MATRIX_MODELVIEW);
  Matrix start = Busy();
  ASSERT_EQ(KvMatrixLoad(start.m), 1);
  ASSERT_EQ(KvMatrixTranslate(10, 20, 0), 1);
  ASSERT_EQ(KvMatrixRotate(90, 0, 0, 1), 1);
  ASSERT_EQ(KvMatrixScale(2, 3, 1), 1);
  ASSERT_EQ(KvMatrixScale(1, 1, 1), 1);  // changes nothing
  Matrix saved;
  ASSERT_EQ(KvMatrixSave(KV_MATRIX_MODELVIEW, saved.m), 1);
  ExpectSame(saved, start * Matrix::Translation(10, 20, 0) * Matrix::Rotation(90, 0, 0, 1) *
                        Matrix::Scaling(2, 3, 1));
  ASSERT_EQ(KvMatrixIdentity(), 1);
  KvMatrixTranslate(10, 20, 0);
  KvMatrixRotate(90, 0, 0, 1);
  KvMatrixScale(2, 3, 1);
  ASSERT_EQ(KvMatrixSave(KV_MATRIX_MODELVIEW, saved.m), 1);
  double corner[4] = {1, 1, 0, 1};  // scaled to (2, 3), turned to (-3, 2), moved to (7, 22)
  saved.Transform(corner);
  EXPECT_NEAR(corner[0], 7, 1e-12);
  EXPECT_NEAR(corner[1], 22, 1e-12);
}
