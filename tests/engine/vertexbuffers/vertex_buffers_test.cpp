// Vertex buffers on the real GL path: their parts hold what they were given, a mesh drawn from
// them matches the same mesh drawn from memory, mapping reads and rewrites them, and draws that
// would read beyond a part, unknown handles and destroyed buffers do nothing.
#include <cstring>
#include <vector>

#include "engine/engine_fixture.h"

namespace {

class VertexBuffers : public EngineTest {
 protected:
  // A square of two triangles: four corners and six indices, colours (r, g, b) given per corner.
  std::vector<KV_VERTEX> corners;
  std::vector<uint32_t> indices = {0, 1, 2, 0, 2, 3};

  void SetUp() override {
    EngineTest::SetUp();
    KV_VERTEX v[4];
    Quad(v, 20, 20, 0, 0, {255, 51, 0, 255});
    for (KV_VERTEX& vertex : v) {
      vertex.position[0] += 8;
      vertex.position[1] += 4;
    }
    v[2].color[2] = 1.0f;  // one corner blue, so colours are interpolated
    corners.assign(v, v + 4);
  }

  static uint8_t DrawBuffer(uint32_t prim, uint32_t count, bool indexed) {
    return KvDrawData(prim, 0, count, reinterpret_cast<void*>(44), reinterpret_cast<void*>(16),
                      nullptr, reinterpret_cast<void*>(32), nullptr, nullptr, KV_ELEMENT_FLOAT, 60,
                      60, 60, 60, 0, 0, 0, 0, 1, 1, 1, 1, indexed ? 1 : 0);
  }

  KV_HANDLE MakeBuffer(bool withIndices) {
    KV_HANDLE vb;
    EXPECT_EQ(KvVertexBufferCreate(&vb, static_cast<uint32_t>(corners.size() * 60), corners.data(),
                                   KV_VB_STATIC_DRAW,
                                   withIndices ? static_cast<uint32_t>(indices.size() * 4) : 0,
                                   withIndices ? indices.data() : nullptr, KV_VB_STATIC_DRAW),
              1);
    return vb;
  }

  static std::vector<uint8_t> Frame() {
    return kv::engine::testing::ReadPixels(0, 0, kWidth, kHeight);
  }
};

TEST_F(VertexBuffers, PartsHoldWhatTheyWereGiven) {
  EXPECT_EQ(KvVertexBufferInit(), 1);
  KV_HANDLE vb = MakeBuffer(true);
  EXPECT_EQ(KvVertexBufferSize(vb, KV_VB_VERTICES), 240u);
  EXPECT_EQ(KvVertexBufferSize(vb, KV_VB_INDICES), 24u);
  EXPECT_EQ(KvVertexBufferHasBuffer(vb, KV_VB_INDICES), 1);
  ASSERT_EQ(KvVertexBufferActivate(vb, KV_VB_VERTICES), 1);
  const void* mapped = KvVertexBufferMap(KV_VB_VERTICES, KV_VB_MAP_READ);
  KvVertexBufferUnactivate(KV_VB_VERTICES);  // the mapping outlives the activation
  ASSERT_NE(mapped, nullptr);
  EXPECT_EQ(std::memcmp(mapped, corners.data(), 240), 0);
  KvVertexBufferActivate(vb, KV_VB_VERTICES);
  EXPECT_EQ(KvVertexBufferUnmap(KV_VB_VERTICES), 1);
  EXPECT_EQ(KvVertexBufferUnmap(KV_VB_VERTICES), 0);  // no longer mapped
  KvVertexBufferUnactivate(KV_VB_VERTICES);
  KvVertexBufferDestroy(vb);

  KV_HANDLE plain = MakeBuffer(false);
  EXPECT_EQ(KvVertexBufferHasBuffer(plain, KV_VB_INDICES), 0);
  EXPECT_EQ(KvVertexBufferActivate(plain, KV_VB_INDICES), 0);
  EXPECT_EQ(KvVertexBufferSize(plain, KV_VB_INDICES), 0u);
  KvVertexBufferDestroy(plain);
}

TEST_F(VertexBuffers, AMeshFromBuffersLooksLikeTheSameMeshFromMemory) {
  KvDrawDataStruct(KV_PRIM_TRIANGLES, 0, 6, corners.data(), indices.data(), 0, 0, 0, 0, 0, 0);
  std::vector<uint8_t> fromMemory = Frame();
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  KV_HANDLE vb = MakeBuffer(true);
  KvVertexBufferActivate(vb, KV_VB_VERTICES);
  KvVertexBufferActivate(vb, KV_VB_INDICES);
  EXPECT_EQ(DrawBuffer(KV_PRIM_TRIANGLES, 6, true), 1);
  std::vector<uint8_t> fromBuffers = Frame();
  ASSERT_EQ(fromBuffers.size(), fromMemory.size());
  int differing = 0;
  for (size_t i = 0; i < fromBuffers.size(); ++i)
    differing += std::abs(fromBuffers[i] - fromMemory[i]) > 1;
  EXPECT_EQ(differing, 0);
  // Near the first corner, a little of the blue corner's colour has come in.
  Rgba corner = At(9, 5);
  EXPECT_TRUE(corner.r == 255 && std::abs(corner.g - 51) <= 3 && corner.b > 0 && corner.b < 30)
      << corner;
  KvVertexBufferUnactivate(KV_VB_VERTICES);
  KvVertexBufferUnactivate(KV_VB_INDICES);
  KvVertexBufferDestroy(vb);
}

TEST_F(VertexBuffers, AQuadMeshIsDrawnWithoutIndicesAndWithTheModelView) {
  KV_HANDLE vb = MakeBuffer(false);
  KvVertexBufferActivate(vb, KV_VB_VERTICES);
  KvMatrixPush();
  KvMatrixTranslate(30, 20, 0);
  EXPECT_EQ(DrawBuffer(KV_PRIM_QUADS, 4, false), 1);
  KvMatrixPop();
  Rgba corner = At(39, 25);
  EXPECT_TRUE(corner.r == 255 && corner.b < 30) << corner;
  EXPECT_TRUE(Near(At(10, 6), {0, 0, 0, 255})) << At(10, 6);
  KvVertexBufferUnactivate(KV_VB_VERTICES);
  KvVertexBufferDestroy(vb);
}

TEST_F(VertexBuffers, ATexturedMeshAfterUntintedSpritesIsStillTinted) {
  // The batch draws untinted sprites with the texture replacing the colour; a textured draw from
  // buffers right after them must modulate by its vertex colours again.
  KV_HANDLE white = SolidTexture(2, 2, {255, 255, 255, 255});
  KV_VERTEX sprite[4];
  Quad(sprite, 4, 4);
  DrawSprite(white, sprite, 50, 40);
  KV_HANDLE vb = MakeBuffer(false);
  KvVertexBufferActivate(vb, KV_VB_VERTICES);
  KvTextureActivate(white);
  EXPECT_EQ(DrawBuffer(KV_PRIM_QUADS, 4, false), 1);
  Rgba corner = At(9, 5);
  EXPECT_TRUE(corner.r == 255 && std::abs(corner.g - 51) <= 3 && corner.b < 30) << corner;
  EXPECT_TRUE(Near(At(51, 41), {255, 255, 255, 255})) << At(51, 41);
  KvVertexBufferUnactivate(KV_VB_VERTICES);
  KvVertexBufferDestroy(vb);
  KvTextureDestroy(white);
}

TEST_F(VertexBuffers, DrawsThatWouldReadBeyondAPartAreRefused) {
  KV_HANDLE vb = MakeBuffer(true);
  EXPECT_EQ(DrawBuffer(KV_PRIM_TRIANGLES, 6, true), 0);  // nothing active yet
  KvVertexBufferActivate(vb, KV_VB_VERTICES);
  KvVertexBufferActivate(vb, KV_VB_INDICES);
  EXPECT_EQ(DrawBuffer(KV_PRIM_QUADS, 8, false), 0);     // four vertices only
  EXPECT_EQ(DrawBuffer(KV_PRIM_TRIANGLES, 9, true), 0);  // six indices only
  // An index rewritten through a mapping to point past the vertices is caught too.
  uint32_t* mapped = static_cast<uint32_t*>(KvVertexBufferMap(KV_VB_INDICES, KV_VB_MAP_WRITE));
  ASSERT_NE(mapped, nullptr);
  EXPECT_EQ(DrawBuffer(KV_PRIM_TRIANGLES, 6, true), 0);  // mapped parts are not drawn from
  for (int i = 0; i < 6; ++i) mapped[i] = indices[i];
  mapped[4] = 1000;
  EXPECT_EQ(KvVertexBufferUnmap(KV_VB_INDICES), 1);
  EXPECT_EQ(DrawBuffer(KV_PRIM_TRIANGLES, 6, true), 0);
  mapped = static_cast<uint32_t*>(KvVertexBufferMap(KV_VB_INDICES, KV_VB_MAP_READ_WRITE));
  mapped[4] = 2;
  KvVertexBufferUnmap(KV_VB_INDICES);
  EXPECT_EQ(DrawBuffer(KV_PRIM_TRIANGLES, 6, true), 1);
  KvVertexBufferUnactivate(KV_VB_VERTICES);
  KvVertexBufferUnactivate(KV_VB_INDICES);
  KvVertexBufferDestroy(vb);
}

TEST_F(VertexBuffers, BadArgumentsAndStaleHandlesDoNothing) {
  KV_HANDLE vb;
  EXPECT_EQ(KvVertexBufferCreate(&vb, 0, nullptr, KV_VB_STATIC_DRAW, 0, nullptr, KV_VB_STATIC_DRAW),
            0);
  EXPECT_TRUE(vb.IsNull());
  EXPECT_EQ(KvVertexBufferCreate(&vb, 60, nullptr, 453, 0, nullptr, KV_VB_STATIC_DRAW), 0);
  EXPECT_EQ(
      KvVertexBufferCreate(&vb, 60, nullptr, KV_VB_STATIC_DRAW, 6, nullptr, KV_VB_STATIC_DRAW), 0);
  EXPECT_EQ(
      KvVertexBufferCreate(&vb, 60, nullptr, KV_VB_STREAM_COPY, 4, nullptr, KV_VB_DYNAMIC_DRAW),
      1);  // zero-filled parts
  KvVertexBufferActivate(vb, KV_VB_VERTICES);
  KvVertexBufferDestroy(vb);  // also ends its activation
  EXPECT_EQ(KvVertexBufferMap(KV_VB_VERTICES, KV_VB_MAP_READ), nullptr);
  EXPECT_EQ(DrawBuffer(KV_PRIM_POINTS, 1, false), 0);
  KvVertexBufferDestroy(vb);
  KvVertexBufferDestroy(KV_HANDLE{});
  EXPECT_EQ(KvVertexBufferActivate(vb, KV_VB_VERTICES), 0);
  EXPECT_EQ(KvVertexBufferSize(vb, KV_VB_VERTICES), 0u);
  EXPECT_EQ(KvVertexBufferHasBuffer(vb, KV_VB_VERTICES), 0);
  EXPECT_EQ(KvVertexBufferActivate(vb, 454), 0);
  EXPECT_EQ(KvVertexBufferUnactivate(454), 0);
  EXPECT_EQ(KvVertexBufferUnmap(KV_VB_INDICES), 0);
}

}  // namespace
