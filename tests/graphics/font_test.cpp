// KV_FONT on the real engine, offscreen: loads and their engine calls, failures that leave nothing
// behind, measuring with and without a description, printing whole and line by line with both
// alignments, and glyphs landing where Measure says.
#include "graphics/font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics_fixture.h"
#include "platform/windows_path.h"
#include "scratch_folder.h"

namespace {

using kv::engine::testing::StartTrace;
using kv::engine::testing::TracedCalls;

// a: 8 x 10 glyph advancing 10; b: advancing 12; lineHeight 20. Every glyph samples the middle of
// the white texture.
const char kDesc[] =
    "info face=\"Test Font\" size=16\n"
    "common lineHeight=20 base=16 scaleW=16 scaleH=16 pages=1\n"
    "page id=0 file=\"font.kvt\"\n"
    "chars count=2\n"
    "char id=97 x=4 y=4 width=8 height=10 xoffset=0 yoffset=0 xadvance=10 page=0\n"
    "char id=98 x=4 y=4 width=8 height=10 xoffset=0 yoffset=0 xadvance=12 page=0\n"
    "kernings count=0\n";

const KV_VECTOR_D kOne(1, 1, 1, 1);
const KV_VECTOR_D kNoTurn(0, 0, 0, 0);

class Font : public GraphicsTest {
 protected:
  ScratchFolder scratch;
  std::string texturePath = scratch.File("font_white.kvt");
  std::string descPath = scratch.File("font_test.fnt");

  void SetUp() override {
    GraphicsTest::SetUp();
    kvtest::WriteSolidKvt(texturePath, 16, 16);
    kvtest::WriteFile(descPath, std::vector<uint8_t>(kDesc, kDesc + sizeof kDesc - 1));
  }

  // The calls of a print: everything from the first push on.
  static std::vector<std::string> PrintCalls() {
    std::vector<std::string> calls;
    for (const std::string& call : TracedCalls())
      if (call.rfind("KvGetState", 0) != 0) calls.push_back(call);
    return calls;
  }
};

}  // namespace

// ---- loading ---------------------------------------------------------------------------------

TEST_F(Font, LoadMakesTextureFiltersAndDisplayListInOrder) {
  KV_FONT font;
  StartTrace();
  ASSERT_TRUE(
      font.Load(texturePath.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_LINEAR));
  std::vector<std::string> calls = TracedCalls();
  ASSERT_EQ(calls.size(), 7u);
  EXPECT_EQ(calls[0], "KvSetState(100, 10)");
  EXPECT_EQ(calls[1], "KvTextureCreate(ptr)");
  EXPECT_EQ(calls[2],
            "KvTextureLoad(" + std::to_string(font.texture.Id()) + ", \"" + texturePath + "\", 1)");
  EXPECT_EQ(calls[3], "KvTextureParameter(237, 242)");
  EXPECT_EQ(calls[4], "KvTextureParameter(238, 243)");
  EXPECT_EQ(calls[5], "KvTextureUnactivate(58)");
  EXPECT_EQ(calls[6], "KvGenerateFont(ptr, ptr)");
  EXPECT_EQ(font.loaded, 1);
  ASSERT_NE(font.desc, nullptr);
  EXPECT_EQ(font.desc->lineHeight, 20.0f);
  EXPECT_FALSE(font.displayList.IsNull());
  font.Destroy();
}

TEST_F(Font, LoadsFilesNamedTheWindowsWay) {
  KV_FONT font;
  ASSERT_TRUE(font.Load(kvtest::WindowsPath(texturePath).c_str(),
                        kvtest::WindowsPath(descPath).c_str(), 10, KV_FILTER_NEAREST,
                        KV_FILTER_LINEAR));
  ASSERT_NE(font.desc, nullptr);
  EXPECT_EQ(font.desc->lineHeight, 20.0f);
  font.Destroy();
}

TEST_F(Font, LoadWithoutDescriptionUsesFixedMetrics) {
  KV_FONT font;
  StartTrace();
  ASSERT_TRUE(font.Load(texturePath.c_str(), nullptr, 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  EXPECT_EQ(TracedCalls().back(), "KvGenerateFont(ptr, 0)");
  EXPECT_EQ(font.desc, nullptr);
  font.Destroy();
}

TEST_F(Font, LoadFromMemoryTakesImageBlockAndDescriptionText) {
  std::vector<uint8_t> image = kvtest::KvtBytes(16, 16, kvtest::Solid(16, 16, 255, 255, 255));
  KV_FONT font;
  StartTrace();
  ASSERT_TRUE(font.LoadFromMemory(image.data(), kDesc, sizeof kDesc - 1, 10, KV_FILTER_NEAREST,
                                  KV_FILTER_NEAREST));
  EXPECT_EQ(TracedCalls()[2],
            "KvTextureLoadFromMemory(" + std::to_string(font.texture.Id()) + ", ptr, 1)");
  ASSERT_NE(font.desc, nullptr);
  EXPECT_EQ(font.desc->glyphs[int('b')].xadvance, 12.0f);
  font.Destroy();

  // A description text without its length is not used.
  ASSERT_TRUE(
      font.LoadFromMemory(image.data(), kDesc, 0, 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  EXPECT_EQ(font.desc, nullptr);
  font.Destroy();
  EXPECT_FALSE(font.LoadFromMemory(nullptr, kDesc, sizeof kDesc - 1, 10, KV_FILTER_NEAREST,
                                   KV_FILTER_NEAREST));
}

TEST_F(Font, FailedLoadsLeaveNothingBehind) {
  size_t before = kv::engine::testing::LiveObjectCount();
  std::string garbage = scratch.File("garbage.kvt");
  kvtest::WriteFile(garbage, {'n', 'o', 't', ' ', 'a', ' ', 't', 'e', 'x'});
  std::string empty = scratch.File("empty.fnt");
  kvtest::WriteFile(empty, {});

  KV_FONT font;
  EXPECT_FALSE(font.Load(nullptr, descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  EXPECT_FALSE(font.Load("absent.kvt", descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  EXPECT_FALSE(
      font.Load(garbage.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  EXPECT_FALSE(
      font.Load(texturePath.c_str(), "absent.fnt", 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  EXPECT_FALSE(
      font.Load(texturePath.c_str(), empty.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  kv::engine::testing::FailNext("KvGenerateFont");
  EXPECT_FALSE(
      font.Load(texturePath.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  kv::engine::testing::FailNext("KvTextureCreate");
  EXPECT_FALSE(
      font.Load(texturePath.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));

  EXPECT_EQ(font.loaded, 0);
  EXPECT_TRUE(font.texture.IsNull());
  EXPECT_TRUE(font.displayList.IsNull());
  EXPECT_EQ(font.desc, nullptr);
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), before);

  // A failed description destroys the texture it was loaded with.
  StartTrace();
  EXPECT_FALSE(
      font.Load(texturePath.c_str(), "absent.fnt", 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  EXPECT_EQ(TracedCalls().back().rfind("KvTextureDestroy(", 0), 0u);

  // The font still loads afterwards, and printing a never-loaded font draws nothing.
  KV_FONT never;
  StartTrace();
  never.Print("ab", KV_VECTOR_D(1, 1, 0, 1), kOne, kNoTurn);
  EXPECT_TRUE(TracedCalls().empty());
  EXPECT_TRUE(
      font.Load(texturePath.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  font.Destroy();
}

TEST_F(Font, DestroyReleasesEverythingOnce) {
  size_t before = kv::engine::testing::LiveObjectCount();
  KV_FONT font;
  ASSERT_TRUE(
      font.Load(texturePath.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  // A second load releases the first one's objects.
  ASSERT_TRUE(
      font.Load(texturePath.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  uint32_t texture = font.texture.Id(), list = font.displayList.Id();
  StartTrace();
  font.Destroy();
  std::vector<std::string> calls = TracedCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], "KvTextureDestroy(" + std::to_string(texture) + ")");
  EXPECT_EQ(calls[1], "KvDisplaylistDestroy(" + std::to_string(list) + ")");
  EXPECT_EQ(font.loaded, 0);
  EXPECT_EQ(font.desc, nullptr);
  font.Destroy();
  EXPECT_EQ(TracedCalls().size(), 2u);
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), before);
}

TEST_F(Font, CopiesOwnTheirDescription) {
  KV_FONT font;
  ASSERT_TRUE(
      font.Load(texturePath.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  KV_FONT copy(font);
  ASSERT_NE(copy.desc, font.desc);
  font.Destroy();
  EXPECT_EQ(copy.Measure("ab").x, 22.0);
  copy.SetLoaded(0);
}

// ---- measuring ---------------------------------------------------------------------------------

TEST_F(Font, MeasuresWithTheDescription) {
  KV_FONT font;
  ASSERT_TRUE(
      font.Load(texturePath.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  KV_VECTOR_D ab = font.Measure("ab");
  EXPECT_EQ(ab.x, 22.0);
  EXPECT_EQ(ab.y, 20.0);
  EXPECT_EQ(ab.z, 0.0);
  EXPECT_EQ(ab.w, 1.0);
  EXPECT_EQ(font.Measure("ab\n").x, 22.0);
  EXPECT_EQ(font.Measure("ab\n").y, 20.0);
  KV_VECTOR_D gap = font.Measure("a\n\nb");
  EXPECT_EQ(gap.x, 12.0);
  EXPECT_EQ(gap.y, 40.0);
  EXPECT_EQ(font.Measure("").y, 0.0);
  EXPECT_EQ(font.Measure(nullptr).w, 1.0);
  // Codes above 127 read their own glyphs (none here), not negative indices.
  EXPECT_EQ(font.Measure("\xe9\xff").x, 0.0);
  EXPECT_EQ(font.Measure("\xe9\xff").y, 20.0);
  font.Destroy();
}

TEST_F(Font, MeasuresWithTheEngineMetricsWithoutDescription) {
  KV_FONT::SetState95(8, 16, 1, 2);
  KV_FONT font;
  StartTrace();
  KV_VECTOR_D size = font.Measure("ab\nc");
  EXPECT_EQ(size.x, 18.0);
  EXPECT_EQ(size.y, 36.0);
  std::vector<std::string> calls = TracedCalls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0], "KvGetState(96)");
  EXPECT_EQ(calls[4], "KvGetState(100)");
  StartTrace();
  KV_FONT::SetState95(7.5, 12, 0, 0);
  EXPECT_EQ(TracedCalls()[0], "KvSetState(95, 7.5, 12, 0, 0)");
  EXPECT_EQ(font.Measure("aaaa").x, 30.0);
  KV_FONT::SetState95(8, 16, 0, 0);
}

// ---- printing ----------------------------------------------------------------------------------

TEST_F(Font, TopLeftTextGoesToTheEngineWhole) {
  KV_FONT font;
  ASSERT_TRUE(
      font.Load(texturePath.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  std::string tex = std::to_string(font.texture.Id()), list = std::to_string(font.displayList.Id());
  StartTrace();
  font.Print("ab\nb", KV_VECTOR_D(10, 20, 3, 1), KV_VECTOR_D(2, 3, 4, 1), KV_VECTOR_D(5, 6, 7, 0));
  std::vector<std::string> expected = {"KvMatrixPush()",
                                       "KvMatrixTranslate(10, 20, 3)",
                                       "KvMatrixRotate(7, 1, 0, 0)",
                                       "KvMatrixRotate(6, 0, 1, 0)",
                                       "KvMatrixRotate(5, 0, 0, 1)",
                                       "KvMatrixScale(2, 3, 4)",
                                       "KvTextureActivate(" + tex + ")",
                                       "KvDrawFont(" + list + ", \"ab\nb\")",
                                       "KvMatrixPop()"};
  EXPECT_EQ(TracedCalls(), expected);
  font.Destroy();
}

TEST_F(Font, RightAlignedLinesEndAtThePosition) {
  KV_FONT font;
  ASSERT_TRUE(
      font.Load(texturePath.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  font.halign = 1;
  StartTrace();
  font.Print("ab\na\n", KV_VECTOR_D(50, 5, 0, 1), kOne, kNoTurn);
  std::vector<std::string> offsets, texts;
  for (const std::string& call : PrintCalls()) {
    if (call.rfind("KvDrawFont", 0) == 0) texts.push_back(call.substr(call.find('"')));
    if (call.rfind("KvMatrixTranslate", 0) == 0 && call != "KvMatrixTranslate(50, 5, 0)")
      offsets.push_back(call);
  }
  // The trailing break makes a last, empty line.
  EXPECT_EQ(texts, (std::vector<std::string>{"\"ab\")", "\"a\")", "\"\")"}));
  EXPECT_EQ(offsets, (std::vector<std::string>{"KvMatrixTranslate(-22, 0, 0)",
                                               "KvMatrixTranslate(-10, 20, 0)",
                                               "KvMatrixTranslate(-0, 0, 0)"}));
  font.Destroy();
}

TEST_F(Font, CentredTextCentresOnThePosition) {
  KV_FONT font;
  ASSERT_TRUE(
      font.Load(texturePath.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  font.valign = 0;
  font.halign = 0;
  StartTrace();
  font.Print("a\nab\nb", KV_VECTOR_D(32, 24, 0, 1), kOne, kNoTurn);
  std::vector<std::string> offsets;
  for (const std::string& call : PrintCalls())
    if (call.rfind("KvMatrixTranslate", 0) == 0 && call != "KvMatrixTranslate(32, 24, 0)")
      offsets.push_back(call);
  EXPECT_EQ(offsets, (std::vector<std::string>{"KvMatrixTranslate(-5, -30, 0)",
                                               "KvMatrixTranslate(-11, -10, 0)",
                                               "KvMatrixTranslate(-6, 10, 0)"}));
  font.valign = 1;
  font.halign = 7;  // not an alignment: no horizontal offset
  StartTrace();
  font.Print("a\nb", KV_VECTOR_D(0, 0, 0, 1), kOne, kNoTurn);
  offsets.clear();
  for (const std::string& call : PrintCalls())
    if (call.rfind("KvMatrixTranslate", 0) == 0 && call != "KvMatrixTranslate(0, 0, 0)")
      offsets.push_back(call);
  EXPECT_EQ(offsets, (std::vector<std::string>{"KvMatrixTranslate(0, -40, 0)",
                                               "KvMatrixTranslate(0, -20, 0)"}));
  font.Destroy();
}

TEST_F(Font, GlyphsLandWhereMeasureSays) {
  KV_FONT font;
  ASSERT_TRUE(
      font.Load(texturePath.c_str(), descPath.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
  KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 1.0, 1.0);
  // "ab" left-aligned at (4, 4): a covers x 4..11, b x 14..21, both y 4..13; Measure gives 22 wide.
  font.Print("ab", KV_VECTOR_D(4, 4, 0, 1), kOne, kNoTurn);
  // The same text right-aligned ending at x 60 on the next line band: it starts at 60 - 22.
  font.halign = 1;
  font.Print("ab", KV_VECTOR_D(60, 24, 0, 1), kOne, kNoTurn);
  EXPECT_EQ(Pixel(4, 4), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(11, 13), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(12, 8), 0x000000FFu);  // between a and b
  EXPECT_EQ(Pixel(14, 8), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(21, 8), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(22, 8), 0x000000FFu);  // past b's 8 pixels
  EXPECT_EQ(Pixel(8, 14), 0x000000FFu);  // below the 10-pixel glyphs
  double start = 60 - font.Measure("ab").x;
  EXPECT_EQ(Pixel((int)start, 28), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel((int)start - 1, 28), 0x000000FFu);
  EXPECT_EQ(Pixel((int)start + 17, 28), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel((int)start + 18, 28), 0x000000FFu);
  font.Destroy();
}
