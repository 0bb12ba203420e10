// Shader programs on the real GL path: GLSL programs compile, link and colour what is drawn,
// failures leave their log, ARB program pairs take local parameters, binding a program keeps the
// drawing order, and stale handles do nothing.
#include <string>

#include "engine/engine_fixture.h"
#include "platform/windows_path.h"
#include "scratch_folder.h"

namespace {

const char* kVertex =
    "void main() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; gl_FrontColor = "
    "gl_Color; }";
const char* kTintFragment = "uniform vec4 tint; void main() { gl_FragColor = tint; }";
const char* kArbVertex =
    "!!ARBvp1.0\nOPTION ARB_position_invariant;\nMOV result.color, vertex.color;\nEND\n";
const char* kArbFragment = "!!ARBfp1.0\nMOV result.color, program.local[2];\nEND\n";

class Shaders : public EngineTest {
 protected:
  KV_HANDLE Compile(uint32_t kind, const char* source) {
    KV_HANDLE shader;
    EXPECT_EQ(KvShaderCreate(&shader), 1);
    EXPECT_EQ(KvShaderLoadFromMemory(shader, kind, source), 1) << KvShaderLastLog();
    return shader;
  }

  // Links the vertex and fragment sources into a program; the shaders are destroyed at once.
  KV_HANDLE Link(const char* vertex, const char* fragment) {
    KV_HANDLE parts[2] = {Compile(KV_SHADER_VERTEX, vertex), Compile(KV_SHADER_FRAGMENT, fragment)};
    KV_HANDLE program;
    EXPECT_EQ(KvShaderCreate(&program), 1);
    EXPECT_EQ(KvShaderMakeProgram(program, parts, 2), 1) << KvShaderLastLog();
    EXPECT_STREQ(KvShaderLastLog(), "");
    KvShaderDestroy(parts[0]);
    KvShaderDestroy(parts[1]);
    return program;
  }

  void Square(double x, double y, double size, Rgba c = {255, 255, 255, 255}) {
    KV_VERTEX v[4];
    Quad(v, static_cast<float>(size), static_cast<float>(size), 0, 0, c);
    DrawSprite(KV_HANDLE{}, v, x, y);
  }
};

TEST_F(Shaders, ALinkedProgramColoursWhatIsDrawnWhereTheModelViewPutsIt) {
  KV_HANDLE program = Link(kVertex, kTintFragment);
  int32_t tint = KvShaderUniformLocation(program, "tint");
  ASSERT_GE(tint, 0);
  EXPECT_EQ(KvShaderUniformLocation(program, "missing"), -1);
  ASSERT_EQ(KvShaderActivate(program), 1);
  EXPECT_EQ(KvShaderUniform(tint, 0.0f, 1.0f, 0.0f, 1.0f, 4), 1);
  Square(30, 20, 10);  // translated by the model-view matrix, which the program applies itself
  KvShaderUnactivate(KV_SHADER_PROGRAM);
  EXPECT_TRUE(Near(At(35, 25), {0, 255, 0, 255})) << At(35, 25);
  EXPECT_TRUE(Near(At(25, 25), {0, 0, 0, 255})) << At(25, 25);
  EXPECT_TRUE(Near(At(35, 15), {0, 0, 0, 255})) << At(35, 15);
  // Without a program bound, uniforms have nowhere to go.
  EXPECT_EQ(KvShaderUniform(tint, 1, 1, 1, 1, 4), 0);
  KvShaderDestroy(program);
}

TEST_F(Shaders, UniformsOfTheWrongSizeOrCountAreRefused) {
  KV_HANDLE program = Link(kVertex, kTintFragment);
  int32_t tint = KvShaderUniformLocation(program, "tint");
  KvShaderActivate(program);
  EXPECT_EQ(KvShaderUniform(tint, 1, 1, 1, 1, 2), 0);  // tint is a vec4
  EXPECT_EQ(KvShaderUniform(tint, 1, 1, 1, 1, 5), 0);
  int32_t values[4] = {1, 2, 3, 4};
  EXPECT_EQ(KvShaderUniformInteger(tint, values, 4), 0);
  EXPECT_EQ(KvShaderUniformInteger(tint, nullptr, 4), 0);
  EXPECT_EQ(KvShaderUniform(-1, 1, 1, 1, 1, 4), 0);
  KvShaderUnactivate(KV_SHADER_PROGRAM);
  KvShaderDestroy(program);
}

TEST_F(Shaders, ASamplerUniformAndAnAttributeFeedTheProgram) {
  const char* vertex =
      "attribute vec4 shade; varying vec4 v; void main() { gl_Position = ftransform(); "
      "gl_TexCoord[0] = gl_MultiTexCoord0; v = shade; }";
  const char* fragment =
      "uniform sampler2D image; varying vec4 v; void main() { gl_FragColor = texture2D(image, "
      "gl_TexCoord[0].xy) * v; }";
  KV_HANDLE program = Link(vertex, fragment);
  int32_t shade = KvShaderAttributeLocation(program, "shade");
  int32_t image = KvShaderUniformLocation(program, "image");
  ASSERT_GE(shade, 1);  // location 0 is the position
  ASSERT_GE(image, 0);
  KV_HANDLE yellow = SolidTexture(2, 2, {255, 255, 0, 255});
  KvShaderActivate(program);
  int32_t unit = 0;
  EXPECT_EQ(KvShaderUniformInteger(image, &unit, 1), 1);
  EXPECT_EQ(KvShaderAttribute(shade, 0.0f, 1.0f, 1.0f, 1.0f, 4), 1);
  KV_VERTEX v[4];
  Quad(v, 10, 10);
  DrawSprite(yellow, v, 5, 5);
  KvShaderUnactivate(KV_SHADER_PROGRAM);
  EXPECT_TRUE(Near(At(10, 10), {0, 255, 0, 255})) << At(10, 10);
  EXPECT_EQ(KvShaderAttribute(shade, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(KvShaderAttribute(100000, 0, 0, 0, 0, 4), 0);
  KvTextureDestroy(yellow);
  KvShaderDestroy(program);
}

TEST_F(Shaders, ABadSourceFailsWithTheCompilersLogAndSoDoesItsLink) {
  KV_HANDLE bad;
  ASSERT_EQ(KvShaderCreate(&bad), 1);
  EXPECT_EQ(KvShaderLoadFromMemory(bad, KV_SHADER_VERTEX, "void main() { this is not glsl }"), 0);
  std::string log = KvShaderLastLog();
  EXPECT_FALSE(log.empty());
  KV_HANDLE good = Compile(KV_SHADER_FRAGMENT, kTintFragment);
  EXPECT_STREQ(KvShaderLastLog(), "");
  KV_HANDLE program;
  KvShaderCreate(&program);
  KV_HANDLE parts[2] = {bad, good};
  EXPECT_EQ(KvShaderMakeProgram(program, parts, 2), 0);
  EXPECT_STRNE(KvShaderLastLog(), "");
  EXPECT_EQ(KvShaderActivate(program), 0);  // a program that failed to link is never bound
  EXPECT_EQ(KvShaderUniformLocation(program, "tint"), -1);
  // A file that cannot be read fails with a reason too.
  EXPECT_EQ(KvShaderLoad(bad, KV_SHADER_VERTEX, "no/such/shader.vert"), 0);
  EXPECT_NE(std::string(KvShaderLastLog()).find("no/such/shader.vert"), std::string::npos);
  EXPECT_EQ(KvShaderLoadFromMemory(bad, 999, kVertex), 0);
  EXPECT_STRNE(KvShaderLastLog(), "");
  for (KV_HANDLE h : {bad, good, program}) KvShaderDestroy(h);
}

TEST_F(Shaders, SourcesLoadFromFiles) {
  ScratchFolder scratch;
  std::string path = scratch.File("tint.frag");
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs(kTintFragment, file);
  std::fclose(file);
  KV_HANDLE shader;
  KvShaderCreate(&shader);
  EXPECT_EQ(KvShaderLoad(shader, KV_SHADER_FRAGMENT, path.c_str()), 1) << KvShaderLastLog();
  EXPECT_STREQ(KvShaderLastLog(), "");
  // The same file named the Windows way.
  EXPECT_EQ(KvShaderLoad(shader, KV_SHADER_FRAGMENT, kvtest::WindowsPath(path).c_str()), 1)
      << KvShaderLastLog();
  KvShaderDestroy(shader);
}

TEST_F(Shaders, AProgramPairTakesItsColourFromALocalParameter) {
  ASSERT_EQ(KvShaderModel() & 1, 1) << "vertex and fragment programs are missing";
  KV_HANDLE vertex, fragment;
  KvShaderCreate(&vertex);
  KvShaderCreate(&fragment);
  ASSERT_EQ(KvShaderLoadFromMemory(vertex, KV_SHADER_VERTEX_PROGRAM, kArbVertex), 1)
      << KvShaderLastLog();
  ASSERT_EQ(KvShaderLoadFromMemory(fragment, KV_SHADER_FRAGMENT_PROGRAM, kArbFragment), 1)
      << KvShaderLastLog();
  EXPECT_EQ(KvShaderLocalParam(KV_SHADER_FRAGMENT_PROGRAM, 2, 1, 0, 1, 1), 0);  // nothing bound yet
  ASSERT_EQ(KvShaderActivate(vertex), 1);
  ASSERT_EQ(KvShaderActivate(fragment), 1);
  EXPECT_EQ(KvShaderLocalParam(KV_SHADER_FRAGMENT_PROGRAM, 2, 1.0f, 0.0f, 1.0f, 1.0f), 1);
  EXPECT_EQ(KvShaderLocalParam(KV_SHADER_FRAGMENT_PROGRAM, 1u << 20, 1, 1, 1, 1), 0);
  Square(0, 0, 10);
  KvShaderUnactivate(KV_SHADER_VERTEX_PROGRAM);
  KvShaderUnactivate(KV_SHADER_FRAGMENT_PROGRAM);
  KvShaderUnactivate(KV_SHADER_PROGRAM);
  Square(20, 0, 10, {255, 0, 0, 255});  // fixed function again
  EXPECT_TRUE(Near(At(5, 5), {255, 0, 255, 255})) << At(5, 5);
  EXPECT_TRUE(Near(At(25, 5), {255, 0, 0, 255})) << At(25, 5);
  EXPECT_EQ(
      KvShaderLoadFromMemory(vertex, KV_SHADER_VERTEX_PROGRAM, "!!ARBvp1.0\nNOT AN OP;\nEND\n"), 0);
  EXPECT_STRNE(KvShaderLastLog(), "");
  KvShaderDestroy(vertex);
  KvShaderDestroy(fragment);
}

TEST_F(Shaders, DrawsBeforeAndAfterABindComeOutInOrder) {
  KV_HANDLE program = Link(kVertex, kTintFragment);
  int32_t tint = KvShaderUniformLocation(program, "tint");
  Square(0, 0, 20, {255, 0, 0, 255});  // waits in the batch
  uint32_t flushesBefore = kv::engine::testing::CurrentFrameStats().flushes;
  KvShaderActivate(program);
  EXPECT_EQ(kv::engine::testing::CurrentFrameStats().flushes, flushesBefore + 1);
  KvShaderUniform(tint, 0, 0, 1, 1, 4);
  Square(10, 0, 20);
  KvShaderUnactivate(KV_SHADER_PROGRAM);
  Square(20, 0, 20, {0, 255, 0, 255});
  EXPECT_TRUE(Near(At(5, 5), {255, 0, 0, 255})) << At(5, 5);    // drawn without the program
  EXPECT_TRUE(Near(At(15, 5), {0, 0, 255, 255})) << At(15, 5);  // the program's square on top
  EXPECT_TRUE(Near(At(25, 5), {0, 255, 0, 255})) << At(25, 5);  // the last square on top of both
  KvShaderDestroy(program);
}

TEST_F(Shaders, DestroyingABoundProgramUnbindsItAndStaleHandlesDoNothing) {
  KV_HANDLE program = Link(kVertex, kTintFragment);
  KvShaderActivate(program);
  KvShaderDestroy(program);
  Square(0, 0, 10, {255, 0, 0, 255});  // fixed function: the vertex colour shows
  EXPECT_TRUE(Near(At(5, 5), {255, 0, 0, 255})) << At(5, 5);
  KvShaderDestroy(program);
  KvShaderDestroy(KV_HANDLE{});
  KV_HANDLE unknown;
  unknown.endFlag = 0;
  unknown.value = 0x7fffffff;
  EXPECT_EQ(KvShaderActivate(program), 0);
  EXPECT_EQ(KvShaderActivate(unknown), 0);
  EXPECT_EQ(KvShaderLoadFromMemory(unknown, KV_SHADER_VERTEX, kVertex), 0);
  EXPECT_EQ(KvShaderUniformLocation(unknown, "tint"), -1);
  EXPECT_EQ(KvShaderAttributeLocation(program, "tint"), -1);
  KV_HANDLE parts[2] = {unknown, program};
  KV_HANDLE fresh;
  KvShaderCreate(&fresh);
  EXPECT_EQ(KvShaderMakeProgram(fresh, parts, 2), 0);
  EXPECT_EQ(KvShaderMakeProgram(fresh, nullptr, 2), 0);
  EXPECT_EQ(KvShaderActivate(fresh), 0);  // never loaded
  EXPECT_EQ(KvShaderUnactivate(12), 0);
  KvShaderDestroy(fresh);
}

}  // namespace
