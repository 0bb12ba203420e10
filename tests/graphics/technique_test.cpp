// Techniques on the real engine, offscreen: the language's registration, a script that calls every
// procedure in order (checked with the call trace and with pixels read back), a script's canvas
// inside one the program draws into, the flip of RECT,
// compile errors, programs loaded into framework-owned blocks, and which side frees the bytes.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/kv_array.h"
#include "foundation/vector.h"
#include "graphics/canvas.h"
#include "graphics/quad.h"
#include "graphics/shader.h"
#include "graphics/technique.h"
#include "graphics_fixture.h"
#include "platform/windows_path.h"
#include "scratch_folder.h"

namespace {

namespace t = kv::engine::testing;

int callbackCalls = 0;
void Callback() { ++callbackCalls; }

KV_QUAD Rect(double x1, double y1, double x2, double y2) {
  KV_QUAD quad;
  quad.corners[0] = KV_VECTOR_D(x1, y1);
  quad.corners[1] = KV_VECTOR_D(x2, y1);
  quad.corners[2] = KV_VECTOR_D(x2, y2);
  quad.corners[3] = KV_VECTOR_D(x1, y2);
  return quad;
}

const char kVertexShader[] =
    "void main() { gl_Position = ftransform(); gl_TexCoord[0] = gl_MultiTexCoord0; }";
const char kFragmentShader[] = "uniform vec4 tint; void main() { gl_FragColor = tint; }";

constexpr uint32_t kRed = 0xFF0000FF, kGreen = 0x00FF00FF, kBlue = 0x0000FFFF, kWhite = 0xFFFFFFFF,
                   kMagenta = 0xFF00FFFF, kBlackScreen = 0x000000FF;

class Technique : public GraphicsTest {
 protected:
  KV_TECHNIQUE technique;
  KV_HANDLE texture;

  void SetUp() override {
    GraphicsTest::SetUp();
    KV_TECHNIQUE::RegisterDefinitions();
    callbackCalls = 0;
    // A 2 x 2 texture: red and green on top, blue and white below.
    std::vector<uint8_t> pixels = {255, 0, 0,   255, 0,   255, 0,   255,
                                   0,   0, 255, 255, 255, 255, 255, 255};
    ASSERT_EQ(KvTextureCreate(&texture), 1);
    ASSERT_EQ(KvTextureLoadRGBAFromMemory(texture, pixels.data(), 2, 2), 1);
    KvTextureParameter(KV_TEX_MIN_FILTER, (float)KV_FILTER_NEAREST);
    KvTextureParameter(KV_TEX_MAG_FILTER, (float)KV_FILTER_NEAREST);
  }

  void TearDown() override {
    technique.Free();
    KvTextureDestroy(texture);
    GraphicsTest::TearDown();
  }

  bool Compile(const std::string& text) {
    return technique.Compile(text.data(), (unsigned)text.size());
  }

  static KV_ARRAY<uintptr_t> Words(std::vector<uintptr_t> words) {
    KV_ARRAY<uintptr_t> array((unsigned)words.size());
    for (size_t i = 0; i < words.size(); ++i) *array.Get((unsigned)i) = words[i];
    return array;
  }
  template <class T>
  static uintptr_t P(T* pointer) {
    return reinterpret_cast<uintptr_t>(pointer);
  }
};

TEST_F(Technique, TheDefinitionTextIsRegisteredWithItsTenProcedures) {
  EXPECT_EQ(std::strlen(KV_TECHNIQUE::definitionText), 713u);
  EXPECT_NE(std::string(KV_TECHNIQUE::definitionText).find("\nCANVAS\tKEYWORD\tVARIABLE KEYWORD\n"),
            std::string::npos);
  t::StartTrace();
  KV_TECHNIQUE::RegisterDefinitions();
  t::StopTrace();
  std::vector<std::string> calls = t::TracedCalls();
  ASSERT_EQ(calls.size(), 16u);
  EXPECT_EQ(calls[0], "KvVistrelUnlinkDefinitions()");
  EXPECT_EQ(calls[1], "KvVistrelFreeDefinitionList(ptr)");
  EXPECT_EQ(calls[2], "KvVistrelLinkDefinition(\"TechniqueShader\", ptr, 713)");
  EXPECT_EQ(calls[3], "KvVistrelBuildDefinitionList()");
  EXPECT_EQ(calls[4], "KvVistrelUnlinkDefinitions()");
  EXPECT_EQ(calls[5], "KvVistrelClearDefinitionsProc()");
  const char* names[] = {"EXECUTE", "CLEAR", "PASS",  "CANVAS", "RECT",
                         "IMAGE",   "COLOR", "BLEND", "PARAM",  "ATTRIB"};
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(calls[6 + i], std::string("KvVistrelAddDefinitionProc(\"TechniqueShader\", \"") +
                                names[i] + "\", ptr)");
  EXPECT_NE(KV_TECHNIQUE::definitionList, nullptr);
}

TEST_F(Technique, AScriptCallsEveryProcedureInOrderWithItsArguments) {
  KV_SHADER shader;
  ASSERT_TRUE(shader.LoadFromMemory(0, 13, kVertexShader, kFragmentShader));
  int32_t tintLocation = shader.UniformLocation(0, "tint");
  ASSERT_GE(tintLocation, 0);
  KV_CANVAS canvas;
  ASSERT_EQ(canvas.Create(16, 16, 0, 0), 1);
  KV_HANDLE copy;
  ASSERT_EQ(KvTextureCreate(&copy), 1);

  KV_VECTOR_D clearColour(1, 0, 1, 1), white(1, 1, 1, 1);
  KV_VECTOR tint(0, 1, 0, 1);
  int32_t attribLocation = 3;
  KV_QUAD left = Rect(0, 0, 16, 16), middle = Rect(20, 0, 36, 16), right = Rect(40, 0, 56, 16);
  KV_QUAD whole = Rect(0, 0, 1, 1), area = Rect(0, 0, 8, 4);
  ASSERT_TRUE(
      Compile("!VARIABLES: callback shader index canvas texture copy left middle right whole area\n"
              "!VARIABLES: clear white location tint attrib\n"
              "EXECUTE callback\n"
              "COLOR SCENE clear\n"
              "CLEAR COLOR\n"
              "COLOR MODEL white\n"
              "BLEND ONE ZERO\n"
              "CANVAS ENABLE canvas TRUE\n"
              "RECT TEXTURE texture left whole FALSE\n"
              "CANVAS DISABLE canvas FALSE\n"
              "RECT CANVAS canvas left whole FALSE\n"
              "RECT TEXTURE texture middle whole FALSE\n"
              "IMAGE copy area TRUE\n"
              "PASS ENABLE shader index\n"
              "PARAM VEC4 shader location tint\n"
              "RECT TEXTURE texture right whole FALSE\n"
              "ATTRIB VEC2 shader attrib tint\n"
              "PASS DISABLE shader index\n"));
  EXPECT_EQ(technique.engineOwned, 1);
  KV_ARRAY<uintptr_t> args =
      Words({P(&Callback), P(&shader), 0, P(&canvas), P(&texture), P(&copy), P(&left), P(&middle),
             P(&right), P(&whole), P(&area), P(&clearColour), P(&white), P(&tintLocation), P(&tint),
             P(&attribLocation)});
  t::StartTrace();
  ASSERT_TRUE(technique.Execute(&args));
  t::StopTrace();
  EXPECT_EQ(callbackCalls, 1);

  std::vector<std::string> expected = {
      "KvSetState(262, 1, 0, 1, 1)",
      "KvRenderScene(2)",
      "KvSetState(263, 1, 1, 1, 1)",
      "KvSetState(155, 159, 158)",
      "KvFrameBufferActivate(" + std::to_string(canvas.handle.Id()) + ")",
      "KvTextureActivate(" + std::to_string(texture.Id()) + ")",
      "KvDrawData(11, 0, 4, ptr, 0, ptr, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0)",
      "KvTextureUnactivate(58)",
      "KvFrameBufferUnactivate(" + std::to_string(canvas.handle.Id()) + ")",
      "KvFrameBufferActivateTexture(" + std::to_string(canvas.handle.Id()) + ")",
      "KvDrawData(11, 0, 4, ptr, 0, ptr, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0)",
      "KvTextureUnactivate(58)",
      "KvTextureActivate(" + std::to_string(texture.Id()) + ")",
      "KvDrawData(11, 0, 4, ptr, 0, ptr, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0)",
      "KvTextureUnactivate(58)",
      "KvTextureFromRender(" + std::to_string(copy.Id()) + ", 0, 0, 8, 4, 1)",
      "KvShaderActivate(" + std::to_string(shader.programs.Get(0)->program.Id()) + ")",
      "KvShaderUniform(" + std::to_string(tintLocation) + ", 0, 1, 0, 1, 4)",
      "KvTextureActivate(" + std::to_string(texture.Id()) + ")",
      "KvDrawData(11, 0, 4, ptr, 0, ptr, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0)",
      "KvTextureUnactivate(58)",
      "KvShaderAttribute(3, 0, 1, 0, 1, 2)",
      "KvShaderUnactivate(429)",
      "KvShaderUnactivate(430)",
      "KvShaderUnactivate(433)",
  };
  // The calls of the kinds the procedures make, in order (KV_CANVAS adds matrix and camera calls).
  const std::vector<std::string> kinds = {"KvSetState(",           "KvRenderScene(",
                                          "KvDrawData(",           "KvTexture",
                                          "KvShaderActivate(",     "KvShaderUniform(",
                                          "KvShaderAttribute(",    "KvShaderUnactivate(",
                                          "KvFrameBufferActivate", "KvFrameBufferUnactivate("};
  std::vector<std::string> made;
  for (const std::string& call : t::TracedCalls())
    for (const std::string& kind : kinds)
      if (call.rfind(kind, 0) == 0) {
        made.push_back(call);
        break;
      }
  EXPECT_EQ(made, expected) << t::TraceText();

  // The screen was cleared magenta. The canvas, with the texture drawn into it (its rows upside
  // down, as its texture is then shown the right way up), is on the left; the texture itself in the
  // middle; the shader's tint (green) on the right.
  EXPECT_EQ(Pixel(4, 4), kRed);
  EXPECT_EQ(Pixel(12, 4), kGreen);
  EXPECT_EQ(Pixel(4, 12), kBlue);
  EXPECT_EQ(Pixel(12, 12), kWhite);
  EXPECT_EQ(Pixel(24, 4), kRed);
  EXPECT_EQ(Pixel(32, 4), kGreen);
  EXPECT_EQ(Pixel(24, 12), kBlue);
  EXPECT_EQ(Pixel(32, 12), kWhite);
  EXPECT_EQ(Pixel(44, 4), kGreen);
  EXPECT_EQ(Pixel(52, 12), kGreen);
  EXPECT_EQ(Pixel(60, 30), kMagenta);
  // IMAGE copied the 8 x 4 pixels at the top left, red by then.
  EXPECT_EQ(*static_cast<uint32_t*>(KvTextureGet(copy, KV_TEX_WIDTH)), 8u);
  uint8_t* copied = static_cast<uint8_t*>(KvTextureLock(copy, KV_LOCK_READ));
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied[0], 255);
  EXPECT_EQ(copied[1], 0);
  KvTextureUnlock(copy, KV_UNLOCK_DISCARD);

  KvTextureDestroy(copy);
  canvas.Destroy();
  shader.Destroy();
}

// The program draws into a canvas of its own inside a camera's pass and runs a technique that
// paints its own canvas: afterwards drawing still goes into the program's canvas with its camera,
// and giving that one back returns to the pass.
TEST_F(Technique, AScriptsCanvasInsideTheProgramsGivesDrawingBackToIt) {
  KV_CANVAS programs, scripts;
  ASSERT_EQ(programs.Create(16, 16, 0, 0), 1);
  ASSERT_EQ(scripts.Create(8, 8, 0, 0), 1);
  KV_QUAD positions = Rect(0, 0, 8, 8), whole = Rect(0, 0, 1, 1);
  KV_VECTOR_D white(1, 1, 1, 1);
  ASSERT_TRUE(
      Compile("!VARIABLES: canvas texture positions whole white\n"
              "COLOR MODEL white\n"
              "CANVAS ENABLE canvas FALSE\n"
              "RECT TEXTURE texture positions whole FALSE\n"
              "CANVAS DISABLE canvas FALSE\n"));
  KV_ARRAY<uintptr_t> args = Words({P(&scripts), P(&texture), P(&positions), P(&whole), P(&white)});
  BeginCameraPass();
  double pass[16], inCanvas[16];
  KvMatrixSave(KV_MATRIX_PROJECTION, pass);
  ASSERT_TRUE(programs.Activate(0));
  KvMatrixSave(KV_MATRIX_PROJECTION, inCanvas);
  ASSERT_TRUE(technique.Execute(&args));

  double now[16];
  KvMatrixSave(KV_MATRIX_PROJECTION, now);
  EXPECT_EQ(std::memcmp(now, inCanvas, sizeof now), 0);
  KV_QUAD all = Rect(0, 0, 16, 16);
  ASSERT_TRUE(Compile("!VARIABLES: texture all whole\nRECT TEXTURE texture all whole FALSE\n"));
  KV_ARRAY<uintptr_t> second = Words({P(&texture), P(&all), P(&whole)});
  ASSERT_TRUE(technique.Execute(&second));
  programs.Unactivate(0);
  KvMatrixSave(KV_MATRIX_PROJECTION, now);
  EXPECT_EQ(std::memcmp(now, pass, sizeof now), 0);
  EXPECT_EQ(Pixel(20, 20), kBlackScreen);

  // Both canvases hold the whole texture: red top left, white bottom right (rows bottom-up).
  for (KV_CANVAS* painted : {&scripts, &programs}) {
    KV_HANDLE drawn = painted->GetTexture();
    int side = painted->GetWidth();
    EXPECT_EQ(TexturePixel(drawn, 0, side - 1), kRed) << side;
    EXPECT_EQ(TexturePixel(drawn, side - 1, 0), kWhite) << side;
  }
  // The pass's view maps onto its viewport again.
  KvTextureUnactivate(KV_TEXTURE_TARGET);
  KV_QUAD corner = Rect(100, 200, 104, 204);
  ASSERT_TRUE(
      Compile("!VARIABLES: texture corner whole\nRECT TEXTURE texture corner whole FALSE\n"));
  KV_ARRAY<uintptr_t> third = Words({P(&texture), P(&corner), P(&whole)});
  ASSERT_TRUE(technique.Execute(&third));
  EXPECT_EQ(Pixel(8, 8), kRed);
  EXPECT_EQ(Pixel(11, 11), kWhite);
  scripts.Destroy();
  programs.Destroy();
}

TEST_F(Technique, RectWithFlipDrawsReversedCoordinatesAndLeavesTheQuadAlone) {
  KV_QUAD positions = Rect(0, 0, 32, 16), coordinates = Rect(0, 0, 1, 1);
  const KV_QUAD before = coordinates;
  KV_VECTOR_D white(1, 1, 1, 1);
  ASSERT_TRUE(
      Compile("!VARIABLES: texture positions coordinates white\n"
              "COLOR MODEL white\n"
              "RECT TEXTURE texture positions coordinates TRUE\n"));
  KV_ARRAY<uintptr_t> args = Words({P(&texture), P(&positions), P(&coordinates), P(&white)});
  ASSERT_TRUE(technique.Execute(&args));
  // Reversed corners turn the texture upside down: blue and white now on top.
  EXPECT_EQ(Pixel(4, 4), kBlue);
  EXPECT_EQ(Pixel(28, 4), kWhite);
  EXPECT_EQ(Pixel(4, 12), kRed);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(coordinates.corners[i].x, before.corners[i].x);
    EXPECT_EQ(coordinates.corners[i].y, before.corners[i].y);
    EXPECT_EQ(coordinates.corners[i].w, before.corners[i].w);
  }
  // Without the flip the texture is the right way round.
  ASSERT_TRUE(
      Compile("!VARIABLES: texture positions coordinates\nRECT TEXTURE texture positions "
              "coordinates FALSE\n"));
  ASSERT_TRUE(technique.Execute(&args));
  EXPECT_EQ(Pixel(4, 4), kRed);
  EXPECT_EQ(Pixel(28, 12), kWhite);
}

TEST_F(Technique, KeywordsAProcedureDoesNotKnowDoNothing) {
  KV_QUAD positions = Rect(0, 0, 32, 16), coordinates = Rect(0, 0, 1, 1);
  KV_VECTOR_D colour(1, 0, 0, 1);
  KV_SHADER shader;
  int32_t location = 0;
  ASSERT_TRUE(
      Compile("!VARIABLES: texture positions coordinates colour shader location\n"
              "CLEAR MODEL\n"
              "BLEND TRUE SRC_ALPHA\n"
              "BLEND SRC_ALPHA ONE_MINUS_SRC_ALPHA\n"
              "RECT FALSE texture positions coordinates FALSE\n"
              "COLOR ZERO colour\n"
              "PASS TRUE shader location\n"
              "PARAM TEXTURE shader location colour\n"
              "ATTRIB INT shader location colour\n"));
  KV_ARRAY<uintptr_t> args =
      Words({P(&texture), P(&positions), P(&coordinates), P(&colour), P(&shader), P(&location)});
  t::StartTrace();
  ASSERT_TRUE(technique.Execute(&args));
  t::StopTrace();
  std::vector<std::string> calls = t::TracedCalls();
  ASSERT_EQ(calls.size(), 3u) << t::TraceText();
  EXPECT_EQ(calls[0].rfind("KvVistrelExecute(", 0), 0u);
  EXPECT_EQ(calls[1], "KvSetState(155, 0, 164)");
  EXPECT_EQ(calls[2], "KvSetState(155, 164, 165)");
}

TEST_F(Technique, VariablesTheProgramLeftEmptySkipTheirStatement) {
  ASSERT_TRUE(
      Compile("!VARIABLES: callback texture positions coordinates colour canvas shader\n"
              "EXECUTE callback\nRECT TEXTURE texture positions coordinates TRUE\n"
              "COLOR SCENE colour\nCANVAS ENABLE canvas TRUE\nIMAGE texture positions FALSE\n"
              "PARAM FLOAT shader shader colour\nATTRIB FLOAT shader shader colour\n"
              "PASS ENABLE shader shader\n"));
  t::StartTrace();
  EXPECT_TRUE(technique.Execute(nullptr));
  t::StopTrace();
  ASSERT_EQ(t::TracedCalls().size(), 1u) << t::TraceText();
  // Without arguments the engine gets a null block of size 0.
  EXPECT_EQ(t::TracedCalls()[0], "KvVistrelExecute(ptr, 0, 0, ptr)");
}

TEST_F(Technique, BadScriptsFailToCompileAndEmptyTechniquesDoNotRun) {
  for (const char* text : {"CLEAR\n", "CLEAR PURPLE\n", "DRAW COLOR\n",
                           "RECT TEXTURE t p c FALSE\n", "!VARIABLES: TRUE\n", "BLEND ONE\n"}) {
    EXPECT_FALSE(Compile(text)) << text;
    EXPECT_TRUE(technique.program.IsEmpty());
  }
  t::StartTrace();
  EXPECT_FALSE(technique.Execute(nullptr));
  t::StopTrace();
  EXPECT_TRUE(t::TracedCalls().empty());
  EXPECT_FALSE(technique.CompileFile("/nonexistent/technique.txt"));
}

TEST_F(Technique, ProgramsLoadedByTheFrameworkRunAndAreFreedByIt) {
  ASSERT_TRUE(Compile("CLEAR DEPTH\n"));
  KV_ARRAY<unsigned char> saved = technique.program;
  // A copy into a framework-owned block: Free no longer goes through the engine.
  ASSERT_TRUE(technique.LoadFromMemory(saved.data, saved.count));
  EXPECT_EQ(technique.engineOwned, 0);
  t::StartTrace();
  ASSERT_TRUE(technique.Execute(nullptr));
  technique.Free();
  t::StopTrace();
  std::vector<std::string> calls = t::TracedCalls();
  ASSERT_EQ(calls.size(), 2u) << t::TraceText();
  EXPECT_EQ(calls[1], "KvRenderScene(4)");
  EXPECT_TRUE(technique.program.IsEmpty());
  EXPECT_FALSE(technique.LoadFromMemory(nullptr, 4));
  EXPECT_FALSE(technique.LoadFromMemory(saved.data, 0));

  // A compiled program is freed by the engine.
  ASSERT_TRUE(Compile("CLEAR STENCIL\n"));
  t::StartTrace();
  technique.Free();
  t::StopTrace();
  ASSERT_EQ(t::TracedCalls().size(), 1u);
  EXPECT_EQ(t::TracedCalls()[0], "KvVistrelFree(ptr)");
  EXPECT_TRUE(technique.program.IsEmpty());
}

TEST_F(Technique, ProgramFilesWrittenByTheEngineLoadAndRun) {
  ScratchFolder scratch;
  std::string source = scratch.File("technique_source.txt");
  std::string compiled = scratch.File("technique_program.bin");
  std::string text = "!VARIABLES: callback\nEXECUTE callback\nEXECUTE callback\n";
  ASSERT_EQ(KV_TECHNIQUE::CompileToFile(text.data(), (unsigned)text.size(), compiled.c_str()), 1);
  ASSERT_TRUE(technique.LoadFromFile(compiled.c_str()));
  EXPECT_EQ(technique.engineOwned, 0);
  KV_ARRAY<uintptr_t> args = Words({P(&Callback)});
  ASSERT_TRUE(technique.Execute(&args));
  EXPECT_EQ(callbackCalls, 2);

  kvtest::WriteFile(source, std::vector<uint8_t>(text.begin(), text.end()));
  ASSERT_EQ(KV_TECHNIQUE::CompileFileToFile(source.c_str(), compiled.c_str()), 1);
  ASSERT_TRUE(technique.CompileFile(source.c_str()));
  EXPECT_EQ(technique.engineOwned, 1);
  ASSERT_TRUE(technique.Execute(&args));
  EXPECT_EQ(callbackCalls, 4);
  // An unreadable file gives an empty technique, and true.
  EXPECT_TRUE(technique.LoadFromFile("/nonexistent/program.bin"));
  EXPECT_TRUE(technique.program.IsEmpty());
}

TEST_F(Technique, FilesNamedTheWindowsWayCompileSaveAndLoad) {
  ScratchFolder scratch;
  std::string source = scratch.File("technique_windows.txt");
  std::string compiled = scratch.File("technique_windows.bin");
  std::string text = "!VARIABLES: callback\nEXECUTE callback\n";
  kvtest::WriteFile(source, std::vector<uint8_t>(text.begin(), text.end()));
  std::string windowsSource = kvtest::WindowsPath(source);
  std::string windowsCompiled = kvtest::WindowsPath(compiled);
  KV_ARRAY<uintptr_t> args = Words({P(&Callback)});
  ASSERT_TRUE(technique.CompileFile(windowsSource.c_str()));
  ASSERT_EQ(KV_TECHNIQUE::CompileFileToFile(windowsSource.c_str(), windowsCompiled.c_str()), 1);
  ASSERT_TRUE(technique.LoadFromFile(windowsCompiled.c_str()));
  ASSERT_TRUE(technique.Execute(&args));
  EXPECT_EQ(callbackCalls, 1);
  EXPECT_EQ(std::remove(compiled.c_str()), 0);
  ASSERT_EQ(
      KV_TECHNIQUE::CompileToFile(text.data(), (unsigned)text.size(), windowsCompiled.c_str()), 1);
  EXPECT_EQ(std::remove(compiled.c_str()), 0);
}

TEST_F(Technique, AFailedRegistrationLeavesNoListBehind) {
  t::FailNext("KvVistrelLinkDefinition");
  KV_TECHNIQUE::RegisterDefinitions();
  EXPECT_EQ(KV_TECHNIQUE::definitionList, nullptr);
  EXPECT_FALSE(Compile("CLEAR COLOR\n"));
  KV_TECHNIQUE::RegisterDefinitions();
  EXPECT_TRUE(Compile("CLEAR COLOR\n"));
}

}  // namespace
