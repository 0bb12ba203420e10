// KV_VERTEXBUFFER on the real engine: the hardware and the software path draw the same pixels,
// the engine calls follow the mesh's kind, maps pick their access, and refusals are reported.
#include <vector>

#include "graphics/graphics_fixture.h"
#include "graphics/vertex_buffer.h"

namespace {

class VertexBuffer : public GraphicsTest {
 protected:
  KV_VERTEXBUFFER mesh;
  std::vector<KV_VERTEX> corners;
  std::vector<uint32_t> indices = {0, 1, 2, 0, 2, 3};

  void SetUp() override {
    GraphicsTest::SetUp();
    const float at[4][2] = {{4, 6}, {40, 6}, {40, 30}, {4, 30}};
    const float colours[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}};
    for (int i = 0; i < 4; ++i) {
      KV_VERTEX v;
      v.position[0] = at[i][0];
      v.position[1] = at[i][1];
      for (int c = 0; c < 3; ++c) v.color[c] = colours[i][c];
      corners.push_back(v);
    }
    KvTextureUnactivate(KV_TEXTURE_TARGET);
  }

  void TearDown() override {
    mesh.Destroy();
    GraphicsTest::TearDown();
  }

  static std::vector<uint8_t> FrameAndClear() {
    std::vector<uint8_t> frame = kv::engine::testing::ReadPixels(0, 0, kWidth, kHeight);
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    return frame;
  }

  // Counts bytes that differ by more than one step of rounding.
  static int Differences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += std::abs(a[i] - b[i]) > 1;
    return n;
  }
};

TEST_F(VertexBuffer, HardwareAndSoftwareMeshesDrawTheSamePixels) {
  ASSERT_TRUE(mesh.Create(KV_PRIM_TRIANGLES, corners.data(), 4, indices.data(), 6, 0, 0, false));
  EXPECT_EQ(mesh.IsHardware(), 1);
  EXPECT_EQ(mesh.GetVertexCount(), 4);
  EXPECT_EQ(mesh.GetIndexCount(), 6);
  mesh.Draw();
  std::vector<uint8_t> hardware = FrameAndClear();
  mesh.Destroy();
  ASSERT_TRUE(mesh.Create(KV_PRIM_TRIANGLES, corners.data(), 4, indices.data(), 6, 0, 0, true));
  EXPECT_EQ(mesh.IsHardware(), 0);
  mesh.Draw();
  std::vector<uint8_t> software = FrameAndClear();
  EXPECT_EQ(Differences(hardware, software), 0);
  EXPECT_NE(hardware[(10 * kWidth + 10) * 4], 0);  // something was drawn at all
  mesh.Destroy();
  // Quads without indices, both ways.
  ASSERT_TRUE(mesh.Create(KV_PRIM_QUADS, corners.data(), 4, nullptr, 0, 0, 0, false));
  mesh.Draw();
  hardware = FrameAndClear();
  mesh.Destroy();
  ASSERT_TRUE(mesh.Create(KV_PRIM_QUADS, corners.data(), 4, nullptr, 0, 0, 0, true));
  mesh.Draw();
  EXPECT_EQ(Differences(hardware, FrameAndClear()), 0);
}

TEST_F(VertexBuffer, TheEngineCallsFollowTheMeshesKind) {
  kv::engine::testing::StartTrace();
  ASSERT_TRUE(mesh.Create(KV_PRIM_QUADS, corners.data(), 4, nullptr, 0, 0, 0, true));
  EXPECT_TRUE(Calls("KvVertexBufferInit").empty());
  EXPECT_EQ(mesh.GetVertexCount(), 4);
  EXPECT_EQ(mesh.GetIndexCount(), 0);
  mesh.Destroy();
  kv::engine::testing::ClearTrace();
  ASSERT_TRUE(mesh.Create(KV_PRIM_QUADS, corners.data(), 4, nullptr, 0, 5, 0, false));
  EXPECT_EQ(Calls("KvVertexBufferCreate")[0],
            "KvVertexBufferCreate(ptr, 240, ptr, 457, 0, 0, 454)");
  EXPECT_EQ(
      Calls("KvVertexBufferUnactivate"),
      (std::vector<std::string>{"KvVertexBufferUnactivate(452)", "KvVertexBufferUnactivate(453)"}));
  mesh.Draw();
  EXPECT_EQ(
      Calls("KvDrawData")[0],
      "KvDrawData(11, 0, 4, ptr, ptr, 0, ptr, 0, 0, 2, 60, 60, 60, 60, 0, 0, 0, 0, 1, 1, 1, 1, 0)");
  EXPECT_FALSE(
      mesh.Create(KV_PRIM_QUADS, corners.data(), 4, nullptr, 0, 0, 0, false));  // one exists
  kv::engine::testing::ClearTrace();
  mesh.MapVertices(12);
  mesh.UnmapVertices();
  mesh.MapVertices(0);
  mesh.UnmapVertices();
  mesh.MapVertices(8);
  mesh.UnmapVertices();
  mesh.MapVertices(4);
  mesh.UnmapVertices();
  EXPECT_EQ(
      Calls("KvVertexBufferMap"),
      (std::vector<std::string>{"KvVertexBufferMap(452, 465)", "KvVertexBufferMap(452, 465)",
                                "KvVertexBufferMap(452, 463)", "KvVertexBufferMap(452, 464)"}));
}

TEST_F(VertexBuffer, AMappedMeshCanBeRewritten) {
  ASSERT_TRUE(mesh.Create(KV_PRIM_QUADS, corners.data(), 4, nullptr, 0, 0, 0, false));
  KV_VERTEX* v = mesh.MapVertices(12);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v[1].position[0], 40.0f);
  for (int i = 0; i < 4; ++i) v[i].color[0] = v[i].color[1] = v[i].color[2] = 1;
  mesh.UnmapVertices();
  mesh.Draw();
  EXPECT_EQ(Pixel(20, 20), 0xffffffffu);
  EXPECT_EQ(mesh.MapIndices(12), nullptr);  // it has none
}

TEST_F(VertexBuffer, RefusalsAndEmptyMeshesAreReported) {
  kv::engine::testing::FailNext("KvVertexBufferCreate");
  EXPECT_FALSE(mesh.Create(KV_PRIM_QUADS, corners.data(), 4, nullptr, 0, 0, 0, false));
  EXPECT_EQ(mesh.IsHardware(), 0);
  EXPECT_FALSE(mesh.Create(KV_PRIM_QUADS, corners.data(), 0x7fffffffu, nullptr, 0, 0, 0, false));
  EXPECT_FALSE(mesh.Create(KV_PRIM_QUADS, nullptr, 0, nullptr, 0, 0, 0, true));
  EXPECT_EQ(mesh.MapVertices(12), nullptr);
  mesh.Draw();
  // A software index past the vertices is not followed.
  std::vector<uint32_t> wild = {0, 1, 2, 0, 2, 400000};
  ASSERT_TRUE(mesh.Create(KV_PRIM_TRIANGLES, corners.data(), 4, wild.data(), 6, 0, 0, true));
  EXPECT_EQ(mesh.GetVertexCount(), 4);
  mesh.Draw();
  EXPECT_EQ(Pixel(20, 20), 0x000000ffu);
  // Default records when no data is given.
  mesh.Destroy();
  ASSERT_TRUE(mesh.Create(KV_PRIM_POINTS, nullptr, 3, nullptr, 0, 0, 0, true));
  EXPECT_EQ(mesh.MapVertices(8)[2].position[3], 1.0f);
}

}  // namespace
