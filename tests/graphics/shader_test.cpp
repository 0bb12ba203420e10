// KV_SHADER on the real engine: program slots load, log each step in the system's words, colour
// what is drawn, feed program pairs through the mask rule, and reload and destroy without leaks.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/graphics_fixture.h"
#include "graphics/shader.h"
#include "platform/windows_path.h"
#include "scratch_folder.h"

namespace {

const char* kVertex = "void main() { gl_Position = ftransform(); gl_FrontColor = gl_Color; }";
const char* kFragment = "uniform vec4 tint; void main() { gl_FragColor = tint; }";
const char* kArbVertex =
    "!!ARBvp1.0\nOPTION ARB_position_invariant;\nMOV result.color, vertex.color;\nEND\n";
const char* kArbFragment = "!!ARBfp1.0\nMOV result.color, program.local[0];\nEND\n";
const char* kAllGood =
    "Load Vertex Shader: Successful!\r\nLoad Fragment Shader: Successful!\r\nMake Shader Program: "
    "Successful!\r\n";

class Shader : public GraphicsTest {
 protected:
  KV_SHADER shader;

  void TearDown() override {
    shader.Destroy();
    GraphicsTest::TearDown();
  }

  static void Square(float x, float y, float size) {
    KV_VERTEX v[4];
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
      v[i].position[0] = x + corners[i][0] * size;
      v[i].position[1] = y + corners[i][1] * size;
      for (float& c : v[i].color) c = 1;
    }
    KvTextureUnactivate(KV_TEXTURE_TARGET);
    KvDrawDataStruct(KV_PRIM_QUADS, 0, 4, v, nullptr, 0, 0, 0, 0, 0, 0);
  }

  static std::string Log(const KV_SHADER& s, int32_t index) {
    KV_STRING out("stale");
    s.GetLog(index, out);
    return out.c_str();
  }
};

TEST_F(Shader, ALinkedProgramLogsEachStepAndColoursTheQuad) {
  ASSERT_EQ(KV_SHADER::Init(), 1);
  EXPECT_EQ(KV_SHADER::Model() & 2, 2);
  ASSERT_TRUE(shader.LoadFromMemory(0, 13, kVertex, kFragment));
  EXPECT_EQ(Log(shader, 0), kAllGood);
  int32_t tint = shader.UniformLocation(0, "tint");
  ASSERT_GE(tint, 0);
  ASSERT_TRUE(shader.Activate(0));
  EXPECT_TRUE(KV_SHADER::Uniform(13, tint, KV_VECTOR(1, 0, 1, 1), 4));
  Square(10, 10, 10);
  KV_SHADER::Unactivate();
  EXPECT_EQ(Pixel(15, 15), 0xff00ffffu);
  EXPECT_EQ(Pixel(25, 15), 0x000000ffu);
}

TEST_F(Shader, SourcesLoadFromFilesNamedTheWindowsWay) {
  ScratchFolder scratch;
  std::string vertexPath = scratch.File("shader_test.vert");
  std::string fragmentPath = scratch.File("shader_test.frag");
  kvtest::WriteFile(vertexPath, std::vector<uint8_t>(kVertex, kVertex + std::strlen(kVertex)));
  kvtest::WriteFile(fragmentPath,
                    std::vector<uint8_t>(kFragment, kFragment + std::strlen(kFragment)));
  ASSERT_TRUE(shader.Load(0, 13, kvtest::WindowsPath(vertexPath).c_str(),
                          kvtest::WindowsPath(fragmentPath).c_str()));
  EXPECT_EQ(Log(shader, 0), kAllGood);
}

TEST_F(Shader, AFailedVertexShaderIsLoggedAndTheLoadStillSucceeds) {
  EXPECT_TRUE(shader.LoadFromMemory(0, 13, "void main() { broken", kFragment));
  std::string log = Log(shader, 0);
  const std::string head = "Load Vertex Shader: Failed! ";
  ASSERT_EQ(log.compare(0, head.size(), head), 0) << log;
  size_t end = log.find("\r\n");
  ASSERT_NE(end, std::string::npos);
  EXPECT_GT(end, head.size());  // the engine's text stands between
  std::string rest = log.substr(end + 2);
  const std::string fragmentLine = "Load Fragment Shader: Successful!\r\n";
  EXPECT_EQ(rest.compare(0, fragmentLine.size(), fragmentLine), 0) << rest;
  EXPECT_EQ(rest.find("Make Shader Program: Failed! "), fragmentLine.size()) << rest;
  EXPECT_EQ(rest.substr(rest.size() - 2), "\r\n");
  EXPECT_EQ(shader.programs.Get(0)->type, 13u);
  EXPECT_TRUE(shader.Activate(0));  // the slot has type 13, though the engine refuses its program
  KV_SHADER::Unactivate();
}

TEST_F(Shader, SlotsGrowToTheIndexAndBadLoadsAreRefused) {
  ASSERT_TRUE(shader.LoadFromMemory(3, 13, kVertex, kFragment));
  EXPECT_EQ(shader.GetCount(), 4);
  EXPECT_EQ(shader.logs.Size(), 4u);
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(shader.programs.Get(i)->type, 0u);
    EXPECT_FALSE(shader.Activate(i));
  }
  EXPECT_FALSE(shader.Activate(4));
  EXPECT_FALSE(shader.Activate(-1));
  EXPECT_FALSE(shader.LoadFromMemory(5, 7, kVertex, kFragment));
  EXPECT_FALSE(shader.LoadFromMemory(-1, 13, kVertex, kFragment));
  EXPECT_EQ(shader.GetCount(), 4);
  EXPECT_EQ(Log(shader, 9), "");
  EXPECT_EQ(Log(shader, -2), "");
  EXPECT_EQ(shader.UniformLocation(7, "tint"), -1);
  EXPECT_EQ(shader.AttributeLocation(-1, "tint"), -1);
}

TEST_F(Shader, ReloadingASlotAppendsToItsLogAndReleasesTheOldProgram) {
  ASSERT_TRUE(shader.LoadFromMemory(0, 13, kVertex, kFragment));
  size_t live = kv::engine::testing::LiveObjectCount();
  ASSERT_TRUE(shader.LoadFromMemory(0, 13, kVertex, kFragment));
  EXPECT_EQ(Log(shader, 0), std::string(kAllGood) + kAllGood);
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), live);
  shader.Destroy();
  EXPECT_EQ(shader.GetCount(), 0);
  EXPECT_EQ(shader.logs.Size(), 0u);
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), live - 1);
}

TEST_F(Shader, AProgramPairWritesNoLogAndTakesItsColourThroughTheMask) {
  ASSERT_EQ(KV_SHADER::Model() & 1, 1);
  ASSERT_TRUE(shader.LoadFromMemory(0, 12, kArbVertex, kArbFragment));
  EXPECT_EQ(Log(shader, 0), "");
  EXPECT_EQ(shader.UniformLocation(0, "tint"), -1);
  ASSERT_TRUE(shader.Activate(0));
  kv::engine::testing::StartTrace();
  EXPECT_TRUE(KV_SHADER::Uniform(12, 0, KV_VECTOR(0, 1, 1, 1), 3));
  EXPECT_TRUE(Calls("KvShaderLocalParam").empty());
  EXPECT_TRUE(KV_SHADER::Uniform(12, 0, KV_VECTOR(0, 1, 1, 1), 2));
  ASSERT_EQ(Calls("KvShaderLocalParam").size(), 1u);
  EXPECT_EQ(Calls("KvShaderLocalParam")[0].rfind("KvShaderLocalParam(429, 0,", 0), 0u);
  int32_t values[4] = {1, 1, 0, 1};
  EXPECT_TRUE(KV_SHADER::UniformInteger(12, 0, values, 1));  // the fragment program only
  EXPECT_EQ(Calls("KvShaderLocalParam").back(), "KvShaderLocalParam(430, 0, 1, 1, 0, 1)");
  EXPECT_FALSE(KV_SHADER::Uniform(11, 0, KV_VECTOR(), 4));
  EXPECT_FALSE(KV_SHADER::UniformInteger(12, 0, nullptr, 4));
  Square(0, 0, 8);
  KV_SHADER::Unactivate();
  std::vector<std::string> unbinds = Calls("KvShaderUnactivate");
  EXPECT_EQ(unbinds, (std::vector<std::string>{"KvShaderUnactivate(429)", "KvShaderUnactivate(430)",
                                               "KvShaderUnactivate(433)"}));
  EXPECT_EQ(Pixel(4, 4), 0xffff00ffu);
}

TEST_F(Shader, SamplersMatricesAndAttributesReachTheEngine) {
  const char* vertex =
      "attribute vec4 shade; uniform mat4 m; void main() { gl_Position = m * gl_Vertex; "
      "gl_FrontColor = shade; }";
  const char* fragment = "void main() { gl_FragColor = gl_Color; }";
  ASSERT_TRUE(shader.LoadFromMemory(0, 13, vertex, fragment));
  ASSERT_EQ(Log(shader, 0), kAllGood);
  int32_t m = shader.UniformLocation(0, "m");
  int32_t shade = shader.AttributeLocation(0, "shade");
  ASSERT_GE(m, 0);
  ASSERT_GE(shade, 1);
  float clip[16] = {};
  KvCameraOrthoBuildHalf(clip, 0, 0, kWidth, kHeight, 0);
  shader.Activate(0);
  EXPECT_TRUE(KV_SHADER::UniformMatrix(m, clip, 0));
  EXPECT_TRUE(KV_SHADER::Attribute(shade, 0, 0, 1, 1, 4));
  Square(40, 30, 6);
  KV_SHADER::Unactivate();
  EXPECT_EQ(Pixel(42, 32), 0x0000ffffu);
  kv::engine::testing::StartTrace();
  EXPECT_TRUE(KV_SHADER::UniformSampler(5, 2));
  EXPECT_EQ(Calls("KvShaderUniformInteger").size(), 1u);
  EXPECT_EQ(Calls("KvShaderUniformInteger")[0], "KvShaderUniformInteger(5, ptr, 1)");
}

}  // namespace
