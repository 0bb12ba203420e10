// Styles and skins: defaults, the split resolved against a size, and the lookup of a skin's
// part that never fails.
#include "gui_fixture.h"

typedef GuiTest Style;

TEST_F(Style, ADefaultStyleIsNineWhiteUntexturedAreas) {
  KV_GUI::STYLE style;
  for (int area = 0; area < 9; ++area) {
    EXPECT_TRUE(style.AreaTexture[area].IsNull());
    EXPECT_FLOAT_EQ(style.AreaCoords[area][2].x, 1);
    EXPECT_FLOAT_EQ(style.AreaCoords[area][3].y, 1);
    EXPECT_FLOAT_EQ(style.AreaColors[area][1].w, 1);
    EXPECT_FLOAT_EQ(style.AreaTiled[area].x, 0);
  }
  EXPECT_EQ(style.TextFont, nullptr);
  EXPECT_EQ(style.TextHalign, -1);
  EXPECT_EQ(style.TextBorderQuality, 1);
  EXPECT_DOUBLE_EQ(style.TextScale.x, 1);
  EXPECT_DOUBLE_EQ(style.TextScale.z, 0);
  EXPECT_EQ(style.AsBorder, 0);
}

TEST_F(Style, SplitPercentagesFollowTheSize) {
  KV_GUI::STYLE style;
  style.AreaSplit[KV_GUI::STYLE::SPLIT_LEFT] = 50;
  style.AreaSplitPercent[KV_GUI::STYLE::SPLIT_LEFT] = '%';
  style.AreaSplit[KV_GUI::STYLE::SPLIT_BOTTOM] = 25;
  style.AreaSplitPercent[KV_GUI::STYLE::SPLIT_BOTTOM] = '%';
  style.AreaSplit[KV_GUI::STYLE::SPLIT_RIGHT] = 7;
  float split[4];
  style.ResolveSplit(KV_VECTOR(200, 40, 0, 1), split);
  EXPECT_FLOAT_EQ(split[KV_GUI::STYLE::SPLIT_LEFT], 100);
  EXPECT_FLOAT_EQ(split[KV_GUI::STYLE::SPLIT_BOTTOM], 10);
  EXPECT_FLOAT_EQ(split[KV_GUI::STYLE::SPLIT_RIGHT], 7);
  EXPECT_FLOAT_EQ(split[KV_GUI::STYLE::SPLIT_TOP], 0);
}

TEST_F(Style, ResolveStyleFindsTheSkinsStyleByName) {
  KV_GUI::STYLE_HANDLE bar = gui->styles.Get("blue bar");
  bar->TextHalign = 0;
  *gui->skins.GetValue("dark")->GetValue("BarActive") = "blue bar";
  KV_GUI::STYLE_HANDLE found = gui->ResolveStyle("dark", "BarActive");
  EXPECT_EQ(found, bar);
  EXPECT_EQ(found->TextHalign, 0);
  // The same handle every time: the style lives in the dictionary's node.
  EXPECT_EQ(gui->ResolveStyle("dark", "BarActive"), bar);
}

TEST_F(Style, MissingSkinsPartsAndStylesYieldDefaultStyles) {
  KV_GUI::STYLE_HANDLE missingSkin = gui->ResolveStyle("nowhere", "AreaActive");
  ASSERT_FALSE(missingSkin.IsEnd());
  EXPECT_EQ(missingSkin->TextFont, nullptr);
  // The missing part was added with an empty style name, and that style is a default one.
  EXPECT_EQ(gui->styles.CountName(""), 1u);
  EXPECT_EQ(gui->skins.CountName("nowhere"), 1u);
  *gui->skins.GetValue("light")->GetValue("Area") = "not defined";
  EXPECT_FALSE(gui->ResolveStyle("light", "Area").IsEnd());
  EXPECT_EQ(gui->styles.CountName("not defined"), 1u);
  // Null and over-long names are refused: no style.
  EXPECT_TRUE(gui->ResolveStyle(nullptr, "Area").IsEnd());
  EXPECT_TRUE(gui->ResolveStyle("light", std::string(130, 'x').c_str()).IsEnd());
}

TEST_F(Style, CopyingASkinCopiesItsEntries) {
  KV_SKIN skin;
  *skin.GetValue("AreaActive") = "a";
  KV_SKIN copy = skin;
  *copy.GetValue("AreaActive") = "b";
  EXPECT_EQ(*skin.GetValue("AreaActive"), "a");
}
