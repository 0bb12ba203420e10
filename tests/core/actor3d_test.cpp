// KvCore::KV_ACTOR3D with the central object: an actor whose Draw calls Render shows its model
// at its own place through the core's frame, a plain 3D actor draws nothing, and the core's
// tear-down frees its named models.
#include "core/actor3d.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/core_fixture.h"
#include "graphics/graphics_fixture.h"
#include "scratch_folder.h"

namespace {

// A 3D actor that shows its model.
class ShownActor : public KvCore::KV_ACTOR3D {
 public:
  void Draw() override { Render(); }
};

class Actor3D : public CoreTest {
 protected:
  static constexpr int kWidth = 64, kHeight = 48;
  HWND window = nullptr;
  KV_HANDLE target;
  ScratchFolder scratch{"kv_actor3d"};
  std::string dir = scratch.Path();

  void SetUp() override {
    CoreTest::SetUp();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = kvtest::QuietProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Actor3D Test";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "Actor3D Test", "Actor3D Test", WS_POPUP, 0, 0, kWidth, kHeight,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(KvRenderTargetCreate(&target, window, KV_FORMAT_OPAQUE, 32, 16), 1);
    ASSERT_EQ(KvRenderTargetArea(target, 0, 0, kWidth, kHeight, 45.0, -1.0, 1.0, 0.0), 1);
    KvRenderTargetActivate(target);
    KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 1.0);
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    KvCameraOrtho(0, 0, kWidth, kHeight, 0);
    // A green 10 x 10 square with its corner at the origin, and a textured triangle.
    Write("lib.mtl", "newmtl green\nKd 0 1 0\nnewmtl tex\nKd 1 1 1\nmap_Kd white.kvt\n");
    kvtest::WriteSolidKvt(dir + "/white.kvt", 2, 2);
    Write("square.obj",
          "mtllib lib.mtl\nv 0 0 0\nv 10 0 0\nv 10 10 0\nv 0 10 0\n"
          "usemtl green\nf 1 2 3\nf 1 3 4\nusemtl tex\nf 1 1 1\n");
  }
  void TearDown() override {
    core->DestroyAll();
    KvRenderTargetDestroy(target);
    if (window != nullptr) DestroyWindow(window);
    CoreTest::TearDown();
  }

  void Write(const std::string& name, const std::string& text) {
    kvtest::WriteFile(dir + "/" + name, std::vector<uint8_t>(text.begin(), text.end()));
  }
  bool LoadInto(KV_MODEL& model, bool software) {
    return model.Load((dir + "/square.obj").c_str(), dir.c_str(), KV_FILTER_NEAREST,
                      KV_FILTER_NEAREST, 0, software);
  }
  static uint32_t Pixel(int x, int y) {
    std::vector<uint8_t> p = kv::engine::testing::ReadPixels(x, y, 1, 1);
    return p.size() < 4 ? 0
                        : (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
  }
};

TEST_F(Actor3D, DrawsItsModelAtItsPlaceThroughTheCoresFrame) {
  ShownActor* actor = new ShownActor;
  ASSERT_TRUE(LoadInto(actor->model, true));
  actor->position = KV_VECTOR_D(30, 20, 0, 1);
  actor->rotation = KV_ROTATION_D(90, 0, 0, 0);
  actor->scale = KV_VECTOR_D(2, 1, 1, 1);
  core->AddActor("models", actor);
  core->Frame();  // added: drawn from the next frame on
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  kv::engine::testing::StartTrace();
  core->Frame();
  kv::engine::testing::StopTrace();
  EXPECT_TRUE(Traced("KvMatrixTranslate(30, 20, 0)"));
  EXPECT_TRUE(Traced("KvMatrixRotate(90, 0, 0, 1)"));
  EXPECT_TRUE(Traced("KvMatrixScale(2, 1, 1)"));
  // Turned a quarter about z and stretched along its own x: the square covers x 20..30 and
  // y 20..40 of the window.
  EXPECT_EQ(Pixel(25, 35), 0x00FF00FFu);
  EXPECT_EQ(Pixel(35, 25), 0x000000FFu);
  EXPECT_EQ(Pixel(25, 15), 0x000000FFu);
  actor->model.Free(true);
  kv::engine::testing::StartTrace();  // the textures are left to the test's clean-up
  core->DestroyAll();
}

TEST_F(Actor3D, APlainActorLeavesItsModelUndrawn) {
  KvCore::KV_ACTOR3D* actor = new KvCore::KV_ACTOR3D;
  ASSERT_TRUE(LoadInto(actor->model, true));
  KV_HANDLE texture = *actor->model.groups.Last()->textures.Get(0);
  core->AddActor("models", actor);
  core->Frame();
  kv::engine::testing::StartTrace();
  core->Frame();
  kv::engine::testing::StopTrace();
  for (const std::string& call : kv::engine::testing::TracedCalls())
    EXPECT_NE(call.rfind("KvMatrixTranslate", 0), 0u) << call;
  actor->model.Free(true);
  KvTextureDestroy(texture);
}

TEST_F(Actor3D, TearDownFreesTheNamedModels) {
  size_t before = kv::engine::testing::LiveObjectCount();
  KV_MODEL* shared = core->models.GetValue("square");
  ASSERT_TRUE(LoadInto(*shared, false));
  shared->SetLoaded(true);
  uint32_t sharedTexture = shared->groups.Last()->textures.Get(0)->Id();
  uint32_t sharedMesh = shared->groups.Begin()->mesh.handle.Id();
  KV_MODEL* kept = core->models.GetValue("kept");  // not marked: its texture is left alone
  ASSERT_TRUE(LoadInto(*kept, false));
  KV_HANDLE keptTexture = *kept->groups.Last()->textures.Get(0);
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), before + 6);  // 2 textures and 4 meshes
  kv::engine::testing::StartTrace();
  core->DestroyAll();
  kv::engine::testing::StopTrace();
  EXPECT_EQ(core->models.CountName(nullptr), 0u);
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), before + 1);
  // Models go first in the tear-down: the marked model's two group textures (the green
  // group's is null), then its meshes.
  const std::vector<std::string>& calls = kv::engine::testing::TracedCalls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 3),
            (std::vector<std::string>{
                "KvTextureDestroy(0)", "KvTextureDestroy(" + std::to_string(sharedTexture) + ")",
                "KvVertexBufferDestroy(" + std::to_string(sharedMesh) + ")"}));
  KvTextureDestroy(keptTexture);
}

}  // namespace
