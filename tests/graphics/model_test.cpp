// KV_MODEL on the real engine: OBJ and MTL files written by each test land in one mesh per
// material with their vertices, colours and textures; the draw makes the engine calls in order
// and lands on the expected pixels; Free releases what it should; bad files load or fail
// without harm.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/graphics_fixture.h"
#include "graphics/model.h"
#include "platform/windows_path.h"
#include "scratch_folder.h"

namespace {

class Model : public GraphicsTest {
 protected:
  ScratchFolder scratch{"kv_model"};
  std::string dir = scratch.Path();
  KV_MODEL model;

  void TearDown() override {
    model.SetLoaded(true);
    model.Free(false);
    GraphicsTest::TearDown();
  }

  void Write(const std::string& name, const std::string& text) {
    kvtest::WriteFile(dir + "/" + name, std::vector<uint8_t>(text.begin(), text.end()));
  }
  bool Load(const std::string& obj, bool software = true) {
    Write("m.obj", obj);
    return model.Load((dir + "/m.obj").c_str(), dir.c_str(), KV_FILTER_NEAREST, KV_FILTER_LINEAR, 0,
                      software);
  }
  KV_MODEL_GROUP& Group(unsigned int i) {
    KV_LIST_ITERATOR<KV_MODEL_GROUP> g = model.groups.Begin();
    while (i-- > 0) g.Next();
    return *g.Get();
  }
  static const KV_VERTEX& Vertex(KV_MODEL_GROUP& group, unsigned int i) {
    return *group.mesh.vertices.Get(i);
  }
  static KV_HANDLE Texture(KV_MODEL_GROUP& group) { return *group.textures.Get(0); }
  static uint32_t Width(KV_HANDLE texture) {
    void* p = KvTextureGet(texture, KV_TEX_WIDTH);
    return p != nullptr ? *(uint32_t*)p : 0;
  }
};

const char* kTwoMaterials =
    "# two materials\n"
    "newmtl red\n"
    "Kd 1 0 0\n"
    "newmtl tex\r\n"
    "Kd 0.5 0.25 1\r\n"
    "map_Kd blue.kvt\r\n";

TEST_F(Model, VerticesLandInTheMeshOfTheirMaterial) {
  Write("lib.mtl", kTwoMaterials);
  kvtest::WriteSolidKvt(dir + "/blue.kvt", 4, 2, 0, 0, 255);
  ASSERT_TRUE(
      Load("mtllib lib.mtl\n"
           "v 1 2 3\nv 4 5 6\nv 7 8 9\nv 10 11 12\n"
           "vt 0.25 0.5\nvt 0.75 1\n"
           "vn 0 0 1\nvn 1 0 0\nvn 0 1 0\n"
           "f 1 2 3\n"  // before any usemtl: dropped
           "usemtl tex\n"
           "f 1/1/1 2/2/2 3/1/3\n"
           "usemtl red\n"
           "f 4/2/1 1/1/2 2/2/3\n"
           "f 1 2 3 4\n"  // a quad: ignored
           "usemtl nothing\n"
           "f 1 2 3\n"  // unknown material: dropped
           "usemtl tex\n"
           "f 3/2/3  2/1/2   1/2/1\n"));  // runs of spaces split as one
  ASSERT_EQ(model.groups.Count(), 2u);
  KV_MODEL_GROUP& tex = Group(0);
  KV_MODEL_GROUP& red = Group(1);
  ASSERT_EQ(tex.mesh.GetVertexCount(), 6);  // both "tex" blocks in one group, in the first place
  ASSERT_EQ(red.mesh.GetVertexCount(), 3);
  EXPECT_EQ(tex.mesh.mode, (uint32_t)KV_PRIM_TRIANGLES);

  const KV_VERTEX& a = Vertex(tex, 1);  // corner 2/2/2
  EXPECT_FLOAT_EQ(a.position[0], 4);
  EXPECT_FLOAT_EQ(a.position[2], 6);
  EXPECT_FLOAT_EQ(a.position[3], 1);
  EXPECT_FLOAT_EQ(a.texCoord[0], 0.75f);
  EXPECT_FLOAT_EQ(a.texCoord[1], 1);
  EXPECT_FLOAT_EQ(a.normal[0], 1);
  EXPECT_FLOAT_EQ(a.color[0], 0.5f);
  EXPECT_FLOAT_EQ(a.color[1], 0.25f);
  EXPECT_FLOAT_EQ(a.color[2], 1);
  EXPECT_FLOAT_EQ(a.color[3], 1);
  const KV_VERTEX& b = Vertex(tex, 3);  // corner 3/2/3 of the second block
  EXPECT_FLOAT_EQ(b.position[0], 7);
  EXPECT_FLOAT_EQ(b.normal[1], 1);

  const KV_VERTEX& c = Vertex(red, 0);  // corner 4/2/1
  EXPECT_FLOAT_EQ(c.position[1], 11);
  EXPECT_FLOAT_EQ(c.texCoord[0], 0.75f);
  EXPECT_FLOAT_EQ(c.normal[2], 1);
  EXPECT_EQ(std::vector<float>(c.color, c.color + 4), (std::vector<float>{1, 0, 0, 1}));

  // The textured material's group binds its loaded texture; the other binds none.
  ASSERT_EQ(tex.textures.Size(), 1u);
  EXPECT_EQ(Width(Texture(tex)), 4u);
  ASSERT_EQ(red.textures.Size(), 1u);
  EXPECT_TRUE(Texture(red).IsNull());
}

TEST_F(Model, CornersReadTheirIndicesLikeTheFormatsShortForms) {
  Write("lib.mtl", "newmtl m\n");
  ASSERT_TRUE(
      Load("mtllib lib.mtl\nusemtl m\n"
           "v 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nv 5 0 0\nv 6 0 0\nv 7 0 0\nv 8 0 0\n"
           "vt 0.5 0.5\nvt 0.25 0.25\n"
           "vn 1 0 0\nvn 0 1 0\nvn 0 0 1\n"
           "f 1//3 2 1/2\n"
           "f 010 0/0/0 -1/-1/-1\n"
           "f 99/99/99 x/y/z 1/2/\n"));
  KV_MODEL_GROUP& g = Group(0);
  ASSERT_EQ(g.mesh.GetVertexCount(), 9);
  // 1//3: no texture index, so the fallback coordinate (0, 0, 0, 1).
  EXPECT_FLOAT_EQ(Vertex(g, 0).position[0], 1);
  EXPECT_FLOAT_EQ(Vertex(g, 0).texCoord[0], 0);
  EXPECT_FLOAT_EQ(Vertex(g, 0).texCoord[3], 1);
  EXPECT_FLOAT_EQ(Vertex(g, 0).normal[2], 1);
  // 2: index 2 for all three tables.
  EXPECT_FLOAT_EQ(Vertex(g, 1).position[0], 2);
  EXPECT_FLOAT_EQ(Vertex(g, 1).texCoord[0], 0.25f);
  EXPECT_FLOAT_EQ(Vertex(g, 1).normal[1], 1);
  // 1/2: the normal index starts again at the first piece.
  EXPECT_FLOAT_EQ(Vertex(g, 2).texCoord[0], 0.25f);
  EXPECT_FLOAT_EQ(Vertex(g, 2).normal[0], 1);
  // 010 is octal 8.
  EXPECT_FLOAT_EQ(Vertex(g, 3).position[0], 8);
  // Index 0, negative, past the end and unreadable: the fallback (0, 0, 0, 1) everywhere.
  for (unsigned int i : {4u, 5u, 6u, 7u}) {
    const KV_VERTEX& v = Vertex(g, i);
    EXPECT_EQ(std::vector<float>(v.position, v.position + 4), (std::vector<float>{0, 0, 0, 1}))
        << i;
    EXPECT_EQ(std::vector<float>(v.normal, v.normal + 3), (std::vector<float>{0, 0, 0})) << i;
  }
  // 1/2/ : an empty last piece reads nothing, so normal index 0.
  EXPECT_FLOAT_EQ(Vertex(g, 8).texCoord[0], 0.25f);
  EXPECT_FLOAT_EQ(Vertex(g, 8).normal[0], 0);
}

TEST_F(Model, MaterialTexturesLoadWithTheModelsFilters) {
  Write("lib.mtl", "newmtl tex\nmap_Kd sub\\blue.kvt\n");  // a path written the Windows way
  std::filesystem::create_directory(dir + "/sub");
  kvtest::WriteSolidKvt(dir + "/sub/blue.kvt", 2, 2, 0, 0, 255);
  kv::engine::testing::StartTrace();
  ASSERT_TRUE(Load("mtllib lib.mtl\nv 0 0 0\nusemtl tex\nf 1 1 1\n"));
  kv::engine::testing::StopTrace();
  uint32_t id = Texture(Group(0)).Id();
  ASSERT_NE(id, 0u);
  EXPECT_EQ(Calls("KvTexture"),
            (std::vector<std::string>{
                "KvTextureCreate(ptr)",
                "KvTextureLoad(" + std::to_string(id) + ", \"" + dir + "/sub\\blue.kvt\", 1)",
                "KvTextureParameter(237, 242)", "KvTextureParameter(238, 243)"}));
  EXPECT_EQ(Width(Texture(Group(0))), 2u);
}

// The model, its folder, its material library and the library's texture all named the Windows
// way.
TEST_F(Model, AModelNamedTheWindowsWayLoadsWithItsLibraryAndTextures) {
  std::filesystem::create_directories(dir + "/models/sub");
  kvtest::WriteSolidKvt(dir + "/models/sub/blue.kvt", 2, 2, 0, 0, 255);
  Write("models/sub/lib.mtl", "newmtl tex\nmap_Kd sub\\blue.kvt\n");
  Write("models/m.obj", "mtllib sub\\lib.mtl\nv 0 0 0\nusemtl tex\nf 1 1 1\n");
  ASSERT_TRUE(model.Load(kvtest::WindowsPath(dir + "/models/m.obj").c_str(),
                         kvtest::WindowsPath(dir + "/models").c_str(), KV_FILTER_NEAREST,
                         KV_FILTER_LINEAR, 0, true));
  ASSERT_EQ(model.groups.Count(), 1u);
  EXPECT_EQ(Width(Texture(Group(0))), 2u);
}

TEST_F(Model, DrawBindsTexturesAndPlacesEachGroupAsTheSpriteDoes) {
  Write("lib.mtl", kTwoMaterials);
  kvtest::WriteSolidKvt(dir + "/blue.kvt", 2, 2, 0, 0, 255);
  ASSERT_TRUE(Load("mtllib lib.mtl\nv 0 0 0\nusemtl tex\nf 1 1 1\nusemtl red\nf 1 1 1\n", false));
  uint32_t id = Texture(Group(0)).Id();
  // A group holding two textures binds the last unit first.
  KV_HANDLE second = Texture(Group(0));
  Group(1).textures.ResizeKeep(2);
  *Group(1).textures.Get(1) = second;
  kv::engine::testing::StartTrace();
  model.Draw(KV_VECTOR_D(1, 2, 3), KV_ROTATION_D(10, 20, 30, 0), KV_VECTOR_D(4, 5, 6));
  kv::engine::testing::StopTrace();
  // Texture and matrix calls in full; the mesh's draw by name only (its values are the mesh's).
  std::vector<std::string> calls;
  for (const std::string& call : kv::engine::testing::TracedCalls()) {
    if (call.rfind("KvTexture", 0) == 0 || call.rfind("KvMatrix", 0) == 0) calls.push_back(call);
    if (call.rfind("KvDrawData(", 0) == 0) calls.push_back("KvDrawData");
  }
  const std::vector<std::string> place = {"KvMatrixPush()",
                                          "KvMatrixIdentity()",
                                          "KvMatrixTranslate(1, 2, 3)",
                                          "KvMatrixRotate(30, 1, 0, 0)",
                                          "KvMatrixRotate(20, 0, 1, 0)",
                                          "KvMatrixRotate(10, 0, 0, 1)",
                                          "KvMatrixScale(4, 5, 6)",
                                          "KvDrawData",
                                          "KvMatrixPop()"};
  std::vector<std::string> expected = {"KvTextureUnit(0)",
                                       "KvTextureActivate(" + std::to_string(id) + ")"};
  expected.insert(expected.end(), place.begin(), place.end());
  for (const char* bind :
       {"KvTextureUnit(1)", "KvTextureActivate(", "KvTextureUnit(0)", "KvTextureUnactivate(58)"}) {
    std::string call = bind;
    if (call == "KvTextureActivate(") call += std::to_string(id) + ")";
    expected.push_back(call);
  }
  expected.insert(expected.end(), place.begin(), place.end());
  EXPECT_EQ(calls, expected);
  Group(1).textures.ResizeKeep(1);  // the borrowed handle must not be destroyed twice
}

TEST_F(Model, ASmallModelLandsOnTheExpectedPixels) {
  Write("lib.mtl", kTwoMaterials);
  kvtest::WriteSolidKvt(dir + "/blue.kvt", 2, 2, 0, 0, 255);
  // Two 10 x 10 squares side by side: red untextured at x 0..10, white-ish textured at 20..30.
  const std::string obj =
      "mtllib lib.mtl\n"
      "v 0 0 0\nv 10 0 0\nv 10 10 0\nv 0 10 0\n"
      "v 20 0 0\nv 30 0 0\nv 30 10 0\nv 20 10 0\n"
      "vt 0 0\nvt 1 1\n"
      "usemtl red\nf 1 2 3\nf 1 3 4\n"
      "usemtl tex\nf 5/1 6/2 7/2\nf 5/1 7/2 8/1\n";
  for (bool software : {true, false}) {
    SCOPED_TRACE(software ? "software" : "hardware");
    model.Free(true);
    ASSERT_TRUE(Load(obj, software));
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    model.Draw(KV_VECTOR_D(10, 20, 0), KV_ROTATION_D(0, 0, 0, 0), KV_VECTOR_D(1, 1, 1));
    EXPECT_EQ(Pixel(15, 25), 0xFF0000FFu);
    // The texture's blue times the colour (0.5, 0.25, 1).
    EXPECT_EQ(Pixel(35, 25), 0x0000FFFFu);
    EXPECT_EQ(Pixel(25, 25), 0x000000FFu);  // the gap
    EXPECT_EQ(Pixel(15, 35), 0x000000FFu);  // below
    // Scaled by 2 about the position: the red square reaches x 30.
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    model.Draw(KV_VECTOR_D(10, 20, 0), KV_ROTATION_D(0, 0, 0, 0), KV_VECTOR_D(2, 2, 1));
    EXPECT_EQ(Pixel(27, 37), 0xFF0000FFu);
    EXPECT_EQ(Pixel(45, 25), 0x000000FFu);
  }
}

TEST_F(Model, FreeDestroysMeshesAndOnlyMarkedTexturesUnlessKept) {
  Write("lib.mtl", kTwoMaterials);
  kvtest::WriteSolidKvt(dir + "/blue.kvt", 2, 2, 0, 0, 255);
  const std::string obj = "mtllib lib.mtl\nv 0 0 0\nusemtl tex\nf 1 1 1\n";
  size_t before = kv::engine::testing::LiveObjectCount();
  ASSERT_TRUE(Load(obj, false));
  EXPECT_EQ(model.groups.Count(), 1u);
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), before + 2);  // the texture and the mesh
  KV_HANDLE texture = Texture(Group(0));

  kv::engine::testing::StartTrace();
  model.Free(false);  // not marked loaded: the texture survives
  EXPECT_EQ(Calls("KvVertexBufferDestroy").size(), 1u);
  EXPECT_TRUE(model.groups.Count() == 0);
  EXPECT_EQ(Width(texture), 2u);
  KvTextureDestroy(texture);

  ASSERT_TRUE(Load(obj, false));
  texture = Texture(Group(0));
  model.SetLoaded(true);
  model.Free(true);  // kept on request
  EXPECT_EQ(model.loaded, 1);
  EXPECT_EQ(Width(texture), 2u);
  KvTextureDestroy(texture);

  ASSERT_TRUE(Load(obj, false));
  model.Free(false);  // marked and not kept: destroyed, and the mark cleared
  EXPECT_EQ(model.loaded, 0);
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), before);
}

TEST_F(Model, UnusedAndReplacedTexturesAreReleasedAtLoad) {
  Write("lib.mtl",
        "newmtl unused\nmap_Kd blue.kvt\n"
        "newmtl used\nmap_Kd blue.kvt\nmap_Kd blue.kvt\n");
  kvtest::WriteSolidKvt(dir + "/blue.kvt", 2, 2, 0, 0, 255);
  size_t before = kv::engine::testing::LiveObjectCount();
  ASSERT_TRUE(Load("mtllib lib.mtl\nv 0 0 0\nusemtl used\nf 1 1 1\n"));
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), before + 1);
  EXPECT_EQ(Width(Texture(Group(0))), 2u);
}

TEST_F(Model, HostileFilesLoadOrFailWithoutHarm) {
  EXPECT_FALSE(model.Load((dir + "/none.obj").c_str(), dir.c_str(), KV_FILTER_NEAREST,
                          KV_FILTER_NEAREST, 0, true));
  EXPECT_FALSE(model.Load(nullptr, nullptr, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, true));
  // A missing library: no material, so every face is dropped.
  ASSERT_TRUE(Load("mtllib none.mtl\nv 0 0 0\nusemtl a\nf 1 1 1\n"));
  EXPECT_EQ(model.groups.Count(), 0u);
  // No faces at all.
  ASSERT_TRUE(Load("v 1 2 3\n# f 1 1 1\n"));
  EXPECT_EQ(model.groups.Count(), 0u);
  // Garbage, zero bytes and malformed numbers.
  const char raw[] =
      "f\0 1 2 3\nv a b c\nvt 1e999 -1e999\nusemtl\nKd 1 2 3\n\xff\xfe f 1 2 3\0usemtl \t x";
  std::string garbage(raw, sizeof raw - 1);
  ASSERT_TRUE(Load(garbage));
  EXPECT_EQ(model.groups.Count(), 0u);
  // A texture that does not load: the material keeps its handle, no filter reaches another
  // texture, and the group draws in its plain colour, not in the texture bound before it.
  Write("lib.mtl", "newmtl m\nKd 1 0 0\nmap_Kd missing.png\n");
  KV_HANDLE green;
  KvTextureCreate(&green);
  std::vector<uint8_t> pixels = kvtest::Solid(2, 2, 0, 255, 0);
  KvTextureLoadRGBAFromMemory(green, pixels.data(), 2, 2);
  kv::engine::testing::StartTrace();
  ASSERT_TRUE(Load("mtllib lib.mtl\nv 0 0 0\nv 10 0 0\nv 10 10 0\nusemtl m\nf 1 2 3\n"));
  EXPECT_TRUE(Calls("KvTextureParameter").empty());
  EXPECT_FALSE(Texture(Group(0)).IsNull());
  KvTextureActivate(green);
  model.Draw(KV_VECTOR_D(0, 0, 0), KV_ROTATION_D(), KV_VECTOR_D(1, 1, 1));
  EXPECT_EQ(Pixel(8, 2), 0xFF0000FFu);
  KvTextureDestroy(green);
  // A mesh the engine refuses stays empty; the group is kept.
  model.Free(true);
  kv::engine::testing::FailNext("KvVertexBufferCreate");
  ASSERT_TRUE(Load("mtllib lib.mtl\nv 0 0 0\nusemtl m\nf 1 1 1\n", false));
  ASSERT_EQ(model.groups.Count(), 1u);
  EXPECT_EQ(Group(0).mesh.GetVertexCount(), 0);
}

}  // namespace
