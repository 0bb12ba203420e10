// KvDnaDraw on the real GL path, offscreen: surfaces as coloured or textured triangles over the
// forces' lines, in the current transform, with elements that lost a substance left out.
#include "engine/softbody/softbody_objects.h"
#include "tests/engine/engine_fixture.h"

namespace {

class DnaDraw : public EngineTest {
 protected:
  KV_HANDLE body;
  KV_HANDLE corners[4];

  // A body over the square (x0, y0) .. (x1, y1): four substances, two surfaces covering it and
  // one force along its top edge.
  void MakeSquare(double x0, double y0, double x1, double y1) {
    ASSERT_EQ(KvDnaCreate(&body), 1);
    ASSERT_EQ(KvDnaBirth(body, 4, 1, 2), 1);
    const double points[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    for (uint32_t i = 0; i < 4; ++i) {
      KvSubstanceCreate(&corners[i]);
      KvSubstanceSetPosition(corners[i], KV_DOUBLE4{points[i][0], points[i][1], 0, 1}, 0);
      KvDnaLink(body, KV_DNA_SUBSTANCES, i, &corners[i]);
    }
    const int triangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
    const double uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (uint32_t j = 0; j < 2; ++j) {
      KV_HANDLE f;
      KvSurfaceCreate(&f);
      for (uint32_t k = 0; k < 3; ++k) {
        int c = triangles[j][k];
        KvSurfaceSetSubstance(f, KV_SURFACE_CORNER1 + k, corners[c]);
        KvSurfaceSetCoord(f, KV_SURFACE_COORD1 + k, KV_DOUBLE4{uv[c][0], uv[c][1], 0, 1});
      }
      KvDnaLink(body, KV_DNA_SURFACES, j, &f);
    }
  }

  void SetSurfaceTextures(KV_HANDLE texture) {
    auto* surfaces = static_cast<KV_HANDLE*>(KvDnaGet(body, KV_DNA_SURFACES, 0));
    for (int j = 0; j < 2; ++j)
      ASSERT_EQ(KvSurfaceSetTexture(surfaces[j], texture, KV_TEXTURE_TARGET), 1);
  }

  void TearDown() override {
    KvDnaDestroy(body);
    EXPECT_EQ(kv::engine::softbody::SoftBodyObjectCount(), 0u);
    EngineTest::TearDown();
  }
};

}  // namespace

TEST_F(DnaDraw, SurfacesTakeTheDrawColourWithoutATexture) {
  MakeSquare(10, 10, 30, 30);
  KvSetState(KV_STATE_DRAW_COLOR, 1.0, 0.0, 0.0, 1.0);
  ASSERT_EQ(KvDnaDraw(body), 1);
  EXPECT_TRUE(Near(At(20, 20), {255, 0, 0, 255})) << At(20, 20);
  EXPECT_TRUE(Near(At(12, 27), {255, 0, 0, 255})) << At(12, 27);
  EXPECT_TRUE(Near(At(40, 20), {0, 0, 0, 255})) << At(40, 20);
}

TEST_F(DnaDraw, SurfacesAreTexturedAtTheirCoordinates) {
  MakeSquare(10, 10, 30, 30);
  // Left half green, right half blue.
  std::vector<uint8_t> pixels = {0, 255, 0, 255, 0, 0, 255, 255};
  KV_HANDLE texture = TextureFrom(pixels, 2, 1);
  SetSurfaceTextures(texture);
  KvDnaDraw(body);
  EXPECT_TRUE(Near(At(14, 20), {0, 255, 0, 255})) << At(14, 20);
  EXPECT_TRUE(Near(At(26, 20), {0, 0, 255, 255})) << At(26, 20);
  KvTextureDestroy(texture);
}

TEST_F(DnaDraw, ForcesAreLinesUnderTheSurfaces) {
  MakeSquare(10, 10, 30, 30);
  // A second, bare force far from the surfaces, and one along the covered diagonal.
  KV_HANDLE far1, far2;
  KvSubstanceCreate(&far1);
  KvSubstanceCreate(&far2);
  KvSubstanceSetPosition(far1, KV_DOUBLE4{40.5, 5.5, 0, 1}, 0);
  KvSubstanceSetPosition(far2, KV_DOUBLE4{60.5, 5.5, 0, 1}, 0);
  KvDnaBirth(body, 0, 2, 0);
  KV_HANDLE bare, covered;
  KvCovalenceForceCreate(&bare);
  KvCovalenceForceSetSubstance(bare, KV_FORCE_FIRST, far1);
  KvCovalenceForceSetSubstance(bare, KV_FORCE_SECOND, far2);
  KvCovalenceForceCreate(&covered);
  KvCovalenceForceSetSubstance(covered, KV_FORCE_FIRST, corners[0]);
  KvCovalenceForceSetSubstance(covered, KV_FORCE_SECOND, corners[2]);
  KvDnaLink(body, KV_DNA_FORCES, 0, &bare);
  KvDnaLink(body, KV_DNA_FORCES, 1, &covered);
  KvDnaBirth(body, 2, 0, 0);  // keep the extra substances owned by the body
  KvDnaLink(body, KV_DNA_SUBSTANCES, 0, &far1);
  KvDnaLink(body, KV_DNA_SUBSTANCES, 1, &far2);

  // Cyan skin under a yellow draw colour shows green; the yellow lines show as they are.
  KV_HANDLE texture = SolidTexture(1, 1, {0, 255, 255, 255});
  SetSurfaceTextures(texture);
  KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 0.0, 1.0);
  KvDnaDraw(body);
  EXPECT_TRUE(Near(At(50, 5), {255, 255, 0, 255})) << At(50, 5);
  EXPECT_TRUE(Near(At(20, 20), {0, 255, 0, 255}))
      << At(20, 20);  // the diagonal lies under the skin
  KvTextureDestroy(texture);
}

TEST_F(DnaDraw, FollowsTheTransformAndSkipsElementsMissingASubstance) {
  MakeSquare(0, 0, 10, 10);
  KvMatrixPush();
  KvMatrixTranslate(30, 20, 0);
  KvDnaDraw(body);
  KvMatrixPop();
  EXPECT_TRUE(Near(At(35, 25), {255, 255, 255, 255})) << At(35, 25);
  EXPECT_TRUE(Near(At(5, 5), {0, 0, 0, 255})) << At(5, 5);

  // The substance at corner 1 is destroyed (unknown to the engine now): the surface 0, 1, 2
  // goes, the surface 0, 2, 3 stays.
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  kv::engine::softbody::Substances().Remove(corners[1]);
  KvDnaDraw(body);
  EXPECT_TRUE(Near(At(2, 8), {255, 255, 255, 255})) << At(2, 8);
  EXPECT_TRUE(Near(At(8, 2), {0, 0, 0, 255})) << At(8, 2);
}
