// Theme files: every element and attribute lands in the manager's dictionaries, the theme is
// chosen by name, Include pulls in other files, paths may be written with backslashes, and bad
// files, missing themes and include cycles give false without touching what they should not.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "engine/testing.h"
#include "gui_fixture.h"
#include "scratch_folder.h"

namespace {

const std::string& Dir() {
  static const std::string dir = ProgramScratchFolder().Path() + "/";
  return dir;
}

std::string Write(const std::string& name, const std::string& text) {
  std::string path = Dir() + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// A .kvt texture of w x h white pixels.
std::string WriteTexture(const std::string& name, uint32_t w, uint32_t h) {
  std::string bytes = "KVT1";
  for (uint32_t v : {1u, w, h, 1u, w * h * 4}) bytes.append((const char*)&v, 4);
  bytes.append(w * h * 4, '\xff');
  return Write(name, bytes);
}

// The path written the Windows way, with "\" for every "/".
std::string Backslashed(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

const char kFontDesc[] =
    "common lineHeight=20 base=16 scaleW=16 scaleH=16 pages=1\n"
    "char id=97 x=4 y=4 width=8 height=10 xoffset=0 yoffset=0 xadvance=10 page=0\n";

}  // namespace

class ThemeLoader : public GuiTest {
 protected:
  // Writes the text as a file of the test's folder and loads theme from it.
  bool Load(const std::string& text, const char* theme = "T", const char* name = "theme.xml") {
    return gui->LoadTheme(Write(name, text).c_str(), theme);
  }

  KV_GUI::STYLE& Style(const char* name) { return *gui->styles.GetValue(name); }

  void TearDown() override {
    gui->DestroyAll();
    GuiTest::TearDown();
  }
};

// ---- styles ----

TEST_F(ThemeLoader, EveryStyleElementLandsWithItsForcedSuffix) {
  ASSERT_TRUE(Load(R"(<Theme Name="T"><Style Name="s">
      <AreaSplit><Top Value="4"/><Bottom Value="25%"/><Left Value="1.5"/><Middle Value="9"/></AreaSplit>
      <AreaColors Align="TOP-RIGHT"><0 Value="0.5:0.25:1:0.75"/><3 Value="0"/><4 Value="0.1"/></AreaColors>
      <AreaCoords Align="BOTTOM" Tiled="16:8" Offset="2:3"><1 Value="0.5:0.125"/></AreaCoords>
      <AreaColorFilter Value="1:1:1:0.5"/>
      <AsBorder Mode="On"/>
      <IconRect><2 Value="10:20"/></IconRect>
      <TextColor Value="1:0"/>
      <TextHalign Mode="RIGHT"/><TextValign Mode="MIDDLE"/>
      <TextOffset Value="3.25:-4"/><TextScale Value="2"/>
      <TextBorder Color="0.5:0.5:0.5:0.5" Size="1.5" Quality="3.9"/>
    </Style></Theme>)"));
  KV_GUI::STYLE& s = Style("s");
  EXPECT_FLOAT_EQ(s.AreaSplit[0], 4);
  EXPECT_EQ(s.AreaSplitPercent[0], 0);
  EXPECT_FLOAT_EQ(s.AreaSplit[1], 25);
  EXPECT_EQ(s.AreaSplitPercent[1], '%');
  EXPECT_FLOAT_EQ(s.AreaSplit[2], 1.5f);
  EXPECT_FLOAT_EQ(s.AreaSplit[3], 0);
  // TOP-RIGHT is area 2; corner 3 took "0" for red only; the child "4" is no corner.
  EXPECT_FLOAT_EQ(s.AreaColors[2][0].x, 0.5f);
  EXPECT_FLOAT_EQ(s.AreaColors[2][0].y, 0.25f);
  EXPECT_FLOAT_EQ(s.AreaColors[2][0].w, 0.75f);
  EXPECT_FLOAT_EQ(s.AreaColors[2][3].x, 0);
  EXPECT_FLOAT_EQ(s.AreaColors[2][3].y, 1);
  EXPECT_FLOAT_EQ(s.AreaColors[4][0].x, 1);
  EXPECT_FLOAT_EQ(s.AreaTiled[7].x, 16);
  EXPECT_FLOAT_EQ(s.AreaTiled[7].y, 8);
  EXPECT_FLOAT_EQ(s.AreaTiled[7].w, 1);
  EXPECT_FLOAT_EQ(s.AreaOffset[7].y, 3);
  EXPECT_FLOAT_EQ(s.AreaCoords[7][1].x, 0.5f);
  EXPECT_FLOAT_EQ(s.AreaCoords[7][1].y, 0.125f);
  EXPECT_FLOAT_EQ(s.AreaCoords[7][2].y, 1);
  EXPECT_FLOAT_EQ(s.AreaColorFilter.w, 0.5f);
  EXPECT_EQ(s.AsBorder, 1);
  EXPECT_FLOAT_EQ(s.IconRect[2].x, 10);
  EXPECT_FLOAT_EQ(s.IconRect[2].y, 20);
  EXPECT_DOUBLE_EQ(s.TextColor.x, 1);
  EXPECT_DOUBLE_EQ(s.TextColor.y, 0);
  EXPECT_DOUBLE_EQ(s.TextColor.z, 1);
  EXPECT_DOUBLE_EQ(s.TextColor.w, 1);
  EXPECT_EQ(s.TextHalign, 1);
  EXPECT_EQ(s.TextValign, 0);
  EXPECT_DOUBLE_EQ(s.TextOffset.x, 3.25);
  EXPECT_DOUBLE_EQ(s.TextOffset.y, -4);
  EXPECT_DOUBLE_EQ(s.TextScale.x, 2);
  EXPECT_DOUBLE_EQ(s.TextScale.y, 1);
  EXPECT_DOUBLE_EQ(s.TextBorderColor.w, 0.5);
  EXPECT_FLOAT_EQ(s.TextBorderSize, 1.5f);
  EXPECT_EQ(s.TextBorderQuality, 3);  // forced integer: "3.9" reads 3
}

TEST_F(ThemeLoader, EmptyValuesAndUnknownWordsKeepWhatTheFieldHeld) {
  ASSERT_TRUE(Load(R"(<Theme Name="T"><Style Name="s">
      <TextColor Value=""/><TextScale/><TextBorder Size="" Quality=""/>
      <AreaCoords Align="top-left" Tiled=""><0 Value=""/></AreaCoords>
      <TextHalign Mode="Centre"/><TextValign Mode="middle"/>
      <AsBorder Mode="on"/><Unknown Value="5"/>
      <AreaSplit><Left Value=""/><Right Value="abc"/></AreaSplit>
    </Style></Theme>)"));
  KV_GUI::STYLE& s = Style("s");
  KV_GUI::STYLE defaults;
  EXPECT_DOUBLE_EQ(s.TextColor.y, 1);
  EXPECT_DOUBLE_EQ(s.TextScale.x, 1);
  EXPECT_EQ(s.TextBorderQuality, 1);
  EXPECT_FLOAT_EQ(s.AreaCoords[0][0].x, 0);
  EXPECT_FLOAT_EQ(s.AreaTiled[4].x, 0);
  EXPECT_EQ(s.TextHalign, -1);
  EXPECT_EQ(s.TextValign, -1);
  EXPECT_EQ(s.AsBorder, 0);
  EXPECT_FLOAT_EQ(s.AreaSplit[2], 0);
  EXPECT_FLOAT_EQ(s.AreaSplit[3], 0);  // not a number: 0
  EXPECT_EQ(memcmp(&s.AreaColors, &defaults.AreaColors, sizeof defaults.AreaColors), 0);
}

TEST_F(ThemeLoader, StylesAccumulateInheritAndSplitMarksFollowTheLastValue) {
  ASSERT_TRUE(Load(R"(<Theme Name="T">
      <Style Name="b" Inherit="a"><TextHalign Mode="CENTER"/></Style>
      <Style Name="a"><TextValign Mode="BOTTOM"/><AreaSplit><Left Value="30%"/></AreaSplit></Style>
      <Style Name="a"><TextScale Value="3:3"/></Style>
      <Style Name="c" Inherit="a"><AreaSplit><Left Value="12"/></AreaSplit></Style>
    </Theme>)"));
  // b copied a's defaults (a did not exist yet), then applied its own child.
  EXPECT_EQ(Style("b").TextHalign, 0);
  EXPECT_EQ(Style("b").TextValign, -1);
  // Two Style elements of one name accumulate.
  EXPECT_EQ(Style("a").TextValign, 1);
  EXPECT_DOUBLE_EQ(Style("a").TextScale.y, 3);
  EXPECT_EQ(Style("a").AreaSplitPercent[2], '%');
  // c is a copy of a whose left split became a plain 12.
  EXPECT_EQ(Style("c").TextValign, 1);
  EXPECT_FLOAT_EQ(Style("c").AreaSplit[2], 12);
  EXPECT_EQ(Style("c").AreaSplitPercent[2], 0);
}

// ---- textures, fonts, skins ----

TEST_F(ThemeLoader, TexturesAreCreatedLoadedAndGivenTheirParameters) {
  std::string file = WriteTexture("white.kvt", 4, 4);
  kv::engine::testing::StartTrace();
  ASSERT_TRUE(
      Load("<Theme Name=\"T\">"
           "<Texture Name=\"t\" Type=\"KVT\" File=\"" +
           file +
           "\" MinFilter=\"LINEAR\" WrapT=\"CLAMP\"/>"
           "<Texture Name=\"u\" Type=\"kvt\" File=\"" +
           file +
           "\"/>"
           "</Theme>"));
  kv::engine::testing::StopTrace();
  KV_HANDLE t = *gui->textures.GetValue("t");
  KV_HANDLE u = *gui->textures.GetValue("u");
  ASSERT_FALSE(t.IsNull());
  ASSERT_FALSE(u.IsNull());
  std::string id = std::to_string(t.Id());
  std::vector<std::string> expected = {
      "KvTextureCreate(ptr)",
      "KvTextureLoad(" + id + ", \"" + file + "\", 1)",
      "KvTextureActivate(" + id + ")",
      TraceCall("KvTextureParameter", KV_TEX_MIN_FILTER, KV_FILTER_LINEAR),
      TraceCall("KvTextureParameter", KV_TEX_MAG_FILTER, KV_FILTER_NEAREST),
      TraceCall("KvTextureParameter", KV_TEX_WRAP_S, KV_WRAP_REPEAT),
      TraceCall("KvTextureParameter", KV_TEX_WRAP_T, KV_WRAP_CLAMP),
      "KvTextureCreate(ptr)",
      "KvTextureActivate(" + std::to_string(u.Id()) + ")",
  };
  std::vector<std::string> calls = TracedStartingWith("KvTexture");
  EXPECT_EQ(calls, expected);
}

TEST_F(ThemeLoader, OtherTextureTypesGoThroughTheApplicationsLoader) {
  static std::vector<std::string> seen;
  seen.clear();
  gui->textureLoader = [](KV_HANDLE texture, const char* file) {
    seen.push_back(std::to_string(texture.Id()) + " " + file);
  };
  ASSERT_TRUE(Load(R"(<Theme Name="T"><Texture Name="p" Type="PNG" File="pics\a.png"/></Theme>)"));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], std::to_string(gui->textures.GetValue("p")->Id()) + " pics\\a.png");
}

TEST_F(ThemeLoader, AreaTexturesCopyTheHandleKnownWhenTheStyleIsApplied) {
  std::string file = WriteTexture("white.kvt", 2, 2);
  ASSERT_TRUE(
      Load("<Theme Name=\"T\">"
           "<Style Name=\"early\"><AreaTexture Align=\"LEFT\" Name=\"t\"/></Style>"
           "<Texture Name=\"t\" Type=\"KVT\" File=\"" +
           file +
           "\"/>"
           "<Style Name=\"late\"><AreaTexture Name=\"t\"/><AreaTexture Align=\"TOP\" Name=\"t\"/>"
           "<AreaTexture Align=\"TOP\" Name=\"\"/></Style>"
           "</Theme>"));
  KV_HANDLE t = *gui->textures.GetValue("t");
  ASSERT_FALSE(t.IsNull());
  EXPECT_TRUE(Style("early").AreaTexture[3].IsNull());
  EXPECT_EQ(Style("late").AreaTexture[4].Id(), t.Id());
  EXPECT_TRUE(Style("late").AreaTexture[1].IsNull());
}

TEST_F(ThemeLoader, StylesHoldTheFontObjectThatALaterFontLoads) {
  std::string texture = WriteTexture("font.kvt", 16, 16);
  std::string desc = Write("font.fnt", kFontDesc);
  ASSERT_TRUE(
      Load("<Theme Name=\"T\">"
           "<Style Name=\"s\"><TextFont Name=\"f\"/></Style>"
           "<Font Name=\"f\" TexFile=\"" +
           texture + "\" MapFile=\"" + desc +
           "\" MinFilter=\"LINEAR\"/>"
           "<Font Name=\"plain\" TexFile=\"" +
           texture +
           "\"/>"
           "</Theme>"));
  KV_FONT* f = gui->fonts.GetValue("f");
  EXPECT_EQ(Style("s").TextFont, f);
  EXPECT_TRUE(f->loaded);
  ASSERT_NE(f->desc, nullptr);
  // Without a description the font loads with the engine's fixed metrics.
  EXPECT_TRUE(gui->fonts.GetValue("plain")->loaded);
  EXPECT_EQ(gui->fonts.GetValue("plain")->desc, nullptr);
}

TEST_F(ThemeLoader, SkinsMapPartNamesToStyleNames) {
  ASSERT_TRUE(Load(R"(<Theme Name="T"><Skin Name="dark">
      <Style Control="AreaActive" Name="blue"/><Other Control="X" Name="y"/>
      <Style Name="plain"/><Style Control="AreaActive" Name="green"/>
    </Skin></Theme>)"));
  KV_SKIN& skin = *gui->skins.GetValue("dark");
  EXPECT_EQ(*skin.GetValue("AreaActive"), "green");
  EXPECT_EQ(*skin.GetValue(""), "plain");
  EXPECT_EQ(skin.CountName("X"), 0u);
  // Style names are not looked up here.
  EXPECT_EQ(gui->styles.CountName("green"), 0u);
}

// ---- paths written the Windows way ----

TEST_F(ThemeLoader, PathsWrittenWithBackslashesAreReadWithSlashes) {
  std::string texture = Backslashed(WriteTexture("bs.kvt", 2, 3));
  std::string fontTexture = Backslashed(WriteTexture("bs_font.kvt", 16, 16));
  std::string desc = Backslashed(Write("bs_font.fnt", kFontDesc));
  std::string included = Backslashed(
      Write("bs_included.xml", R"(<Theme Name="I"><Style Name="fromInclude"/></Theme>)"));
  std::string theme = Write("bs_theme.xml",
                            "<Theme Name=\"T\">"
                            "<Include File=\"" +
                                included +
                                "\" Theme=\"I\"/>"
                                "<Texture Name=\"t\" Type=\"KVT\" File=\"" +
                                texture +
                                "\"/>"
                                "<Font Name=\"f\" TexFile=\"" +
                                fontTexture + "\" MapFile=\"" + desc +
                                "\"/>"
                                "</Theme>");
  ASSERT_TRUE(gui->LoadTheme(Backslashed(theme).c_str(), "T"));
  EXPECT_EQ(gui->styles.CountName("fromInclude"), 1u);
  void* height = KvTextureGet(*gui->textures.GetValue("t"), KV_TEX_HEIGHT);
  ASSERT_NE(height, nullptr);
  EXPECT_EQ(*static_cast<uint32_t*>(height), 3u);
  KV_FONT* font = gui->fonts.GetValue("f");
  EXPECT_TRUE(font->loaded);
  EXPECT_NE(font->desc, nullptr);
}

TEST_F(ThemeLoader, AThemeIncludingItselfWithBackslashesIsOneCycle) {
  std::string texture = WriteTexture("cycle.kvt", 1, 1);
  std::string self = Dir() + "bs_cycle.xml";
  Write("bs_cycle.xml", "<Theme Name=\"C\"><Texture Name=\"t\" Type=\"KVT\" File=\"" + texture +
                            "\"/><Include File=\"" + Backslashed(self) +
                            "\" Theme=\"C\"/></Theme>");
  size_t before = kv::engine::testing::LiveObjectCount();
  // The Include names the theme being applied: it fails at once, before a second texture.
  EXPECT_FALSE(gui->LoadTheme(self.c_str(), "C"));
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), before + 1);
}

// ---- choosing themes, Include and failures ----

TEST_F(ThemeLoader, TheFirstTopLevelThemeOfTheNameIsApplied) {
  std::string text = R"(<Theme Name="A"><Style Name="s"><TextHalign Mode="LEFT"/></Style></Theme>
      <Theme Name="B"><Style Name="s"><TextHalign Mode="RIGHT"/></Style></Theme>
      <Theme Name="B"><Style Name="s"><TextHalign Mode="CENTER"/></Style></Theme>
      <Group><Theme Name="Nested"><Style Name="n"/></Theme></Group>
      <Theme><Style Name="nameless"/></Theme>)";
  ASSERT_TRUE(Load(text, "B"));
  EXPECT_EQ(Style("s").TextHalign, 1);
  EXPECT_FALSE(Load(text, "Nested"));
  EXPECT_FALSE(Load(text, "b"));
  EXPECT_EQ(gui->styles.CountName("n"), 0u);
  ASSERT_TRUE(Load(text, ""));
  EXPECT_EQ(gui->styles.CountName("nameless"), 1u);
}

TEST_F(ThemeLoader, UnreadableOrMalformedFilesLeaveTheManagerUnchanged) {
  EXPECT_FALSE(gui->LoadTheme((Dir() + "does_not_exist.xml").c_str(), "T"));
  EXPECT_FALSE(gui->LoadTheme(nullptr, "T"));
  EXPECT_FALSE(Load("", "T", "empty.xml"));
  EXPECT_FALSE(Load("\r\n\r\n", "T", "blank.xml"));
  EXPECT_FALSE(Load(std::string("\0\xff<<Theme Name=\"T\"", 18), "T", "binary.xml"));
  EXPECT_FALSE(Load("Theme Name=T > <Style Name=s/>", "T", "text.xml"));
  EXPECT_EQ(gui->styles.CountName(nullptr), 0u);
  EXPECT_EQ(gui->textures.CountName(nullptr), 0u);
  // The reader forgives: a cut tag and a malformed tail still read as elements.
  EXPECT_TRUE(Load("<Theme Name=\"T\"", "T", "cut.xml"));
  EXPECT_TRUE(Load("<Theme Name=\"T\"><Style Name=\"s\"/></Theme></><<<", "T", "tail.xml"));
  EXPECT_EQ(gui->styles.CountName("s"), 1u);
}

TEST_F(ThemeLoader, IncludeAppliesANamedThemeOfAnotherFile) {
  std::string base = Write("base.xml", R"(<Theme Name="Base">
      <Style Name="a"><TextHalign Mode="CENTER"/><TextValign Mode="BOTTOM"/></Style></Theme>
      <Theme><Style Name="fromNameless"/></Theme>)");
  ASSERT_TRUE(Load("<Theme Name=\"T\"><Include File=\"" + base +
                   "\" Theme=\"Base\"/>"
                   "<Include File=\"" +
                   base +
                   "\"/>"
                   "<Style Name=\"a\"><TextValign Mode=\"TOP\"/></Style></Theme>"));
  EXPECT_EQ(Style("a").TextHalign, 0);
  EXPECT_EQ(Style("a").TextValign, -1);
  EXPECT_EQ(gui->styles.CountName("fromNameless"), 1u);
}

TEST_F(ThemeLoader, AFailedIncludeStopsTheThemeButKeepsWhatCameBefore) {
  std::string base = Write("base.xml", R"(<Theme Name="Base"><Style Name="inner"/></Theme>)");
  for (std::string include :
       {"File=\"" + base + "\" Theme=\"Missing\"",
        "File=\"" + Dir() + "missing.xml\" Theme=\"Base\"", std::string("Theme=\"Base\"")}) {
    gui->styles.Clear();
    EXPECT_FALSE(Load("<Theme Name=\"T\"><Style Name=\"before\"/><Include " + include +
                      "/><Style Name=\"after\"/></Theme>"));
    EXPECT_EQ(gui->styles.CountName("before"), 1u);
    EXPECT_EQ(gui->styles.CountName("after"), 0u);
  }
}

TEST_F(ThemeLoader, IncludeCyclesFailInsteadOfRecursing) {
  std::string a = Dir() + "cycle_a.xml", b = Dir() + "cycle_b.xml";
  Write("cycle_a.xml", "<Theme Name=\"A\"><Style Name=\"a\"/><Include File=\"" + b +
                           "\" Theme=\"B\"/><Style Name=\"a2\"/></Theme>");
  Write("cycle_b.xml",
        "<Theme Name=\"B\"><Style Name=\"b\"/><Include File=\"" + a + "\" Theme=\"A\"/></Theme>");
  EXPECT_FALSE(gui->LoadTheme(a.c_str(), "A"));
  EXPECT_EQ(gui->styles.CountName("b"), 1u);
  EXPECT_EQ(gui->styles.CountName("a2"), 0u);

  // A file that includes itself under another spelling of its path.
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(Dir().c_str()), 0);
  Write("self.xml", R"(<Theme Name="S"><Include File="./self.xml" Theme="S"/></Theme>)");
  EXPECT_FALSE(gui->LoadTheme("self.xml", "S"));
  ASSERT_EQ(chdir(cwd), 0);
}

TEST_F(ThemeLoader, OneThemeIncludedTwiceAlongDifferentPathsIsNoCycle) {
  std::string leaf = Write("leaf.xml", R"(<Theme Name="L"><Style Name="leaf"/></Theme>)");
  std::string mid =
      Write("mid.xml", "<Theme Name=\"M1\"><Include File=\"" + leaf +
                           "\" Theme=\"L\"/></Theme><Theme Name=\"M2\"><Include File=\"" + leaf +
                           "\" Theme=\"L\"/></Theme>");
  EXPECT_TRUE(Load("<Theme Name=\"T\"><Include File=\"" + mid +
                   "\" Theme=\"M1\"/><Include File=\"" + mid +
                   "\" Theme=\"M2\"/><Style Name=\"end\"/></Theme>"));
  EXPECT_EQ(gui->styles.CountName("end"), 1u);
}
