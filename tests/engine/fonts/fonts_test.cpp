// Fonts: glyph boxes land where the framework's measure rule puts them, for a font description
// and for the fixed metrics, with line breaks at the character of KV_STATE_LINE_BREAK.
#include <algorithm>
#include <cstring>

#include "engine/engine_fixture.h"

namespace {

// The framework's measure rule for a text with a description: width of the widest line, height
// of the lines that have characters.
void Measure(const KV_FONT_RECORD& font, const char* text, double* w, double* h) {
  double x = 0, y = 0;
  *w = *h = 0;
  for (const char* p = text;; ++p) {
    if (*p == '\0' || static_cast<uint8_t>(*p) == font.lineBreak) {
      *w = std::max(*w, x);
      *h += y;
      x = y = 0;
      if (*p == '\0') return;
      continue;
    }
    x += font.glyphs[static_cast<uint8_t>(*p)].xadvance + font.spacing;
    y = font.lineHeight + font.lineSpacing;
  }
}

}  // namespace

class Fonts : public EngineTest {
 public:
  KV_HANDLE white;
  void SetUp() override {
    EngineTest::SetUp();
    white = SolidTexture(4, 4, {255, 255, 255, 255});
    KvSetState(KV_STATE_LINE_BREAK, 10);
  }
  void TearDown() override {
    KvTextureDestroy(white);
    EngineTest::TearDown();
  }
  bool Lit(int x, int y) { return At(x, y).r > 128; }

  void Print(KV_HANDLE font, const char* text, double x, double y) {
    KvMatrixPush();
    KvMatrixIdentity();
    KvMatrixTranslate(x, y, 0);
    KvTextureActivate(white);
    EXPECT_EQ(KvDrawFont(font, text), 1);
    KvMatrixPop();
  }
};

TEST_F(Fonts, GlyphBoxesLandWhereTheMeasureRulePutsThem) {
  KV_FONT_RECORD desc;
  desc.spacing = 1;
  desc.lineSpacing = 2;
  desc.lineHeight = 10;
  // 'a' is a 4 x 6 box one pixel right of and two below the pen, advancing 6; 'b' is 3 x 8 at the
  // pen.
  desc.glyphs[int('a')] = KV_GLYPH{4, 6, 1, 2, 6, 0, 0, 1, 1};
  desc.glyphs[int('b')] = KV_GLYPH{3, 8, 0, 0, 5, 0, 0, 1, 1};
  desc.glyphs[int(' ')] = KV_GLYPH{0, 0, 0, 0, 4, 0, 0, 0, 0};
  KV_HANDLE font;
  ASSERT_EQ(KvGenerateFont(&font, &desc), 1);
  desc.glyphs[int('a')].width = 40;  // the engine keeps its own copy
  const char* text = "ab a\n\nb";
  Print(font, text, 10, 5);
  // Line 0: 'a' at pen 0, 'b' at pen 7, ' ' then 'a' at pen 7 + 6 + 5 = 18.
  EXPECT_TRUE(Lit(10 + 1, 5 + 2));
  EXPECT_TRUE(Lit(10 + 4, 5 + 7));
  EXPECT_FALSE(Lit(10 + 5, 5 + 2));  // right of the first 'a'
  EXPECT_FALSE(Lit(10, 5 + 1));      // left of and above it
  EXPECT_TRUE(Lit(10 + 7, 5));
  EXPECT_TRUE(Lit(10 + 9, 5 + 7));
  EXPECT_FALSE(Lit(10 + 10, 5));
  EXPECT_TRUE(Lit(10 + 18 + 1, 5 + 2));
  // The empty line takes no height: the second 'b' is one line step (12) down.
  EXPECT_TRUE(Lit(10, 5 + 12));
  EXPECT_TRUE(Lit(10 + 2, 5 + 12 + 7));
  EXPECT_FALSE(Lit(10, 5 + 12 + 8));
  // Everything drawn lies inside the measured box, and its far edges touch it.
  double w = 0, h = 0;
  Measure(desc, text, &w, &h);
  EXPECT_EQ(w, 25.0);
  EXPECT_EQ(h, 24.0);
  std::vector<uint8_t> pixels = kv::engine::testing::ReadPixels(0, 0, kWidth, kHeight);
  int right = 0, bottom = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (pixels[(y * kWidth + x) * 4] < 128) continue;
      EXPECT_GE(x, 10);
      EXPECT_GE(y, 5);
      right = std::max(right, x - 10 + 1);
      bottom = std::max(bottom, y - 5 + 1);
    }
  }
  EXPECT_LE(right, w);
  EXPECT_EQ(bottom, 12 + 8);
  KvDisplaylistDestroy(font);
}

TEST_F(Fonts, FixedMetricsPlaceCellsAndFollowStateOneHundred) {
  KvSetState(KV_STATE_TEXT_METRICS, 5.0, 7.0, 2.0, 1.0);
  KvSetState(KV_STATE_LINE_BREAK, '|');
  KV_HANDLE font;
  ASSERT_EQ(KvGenerateFont(&font, nullptr), 1);
  Print(font, "AB|C", 0, 0);
  EXPECT_TRUE(Lit(0, 0));
  EXPECT_TRUE(Lit(4, 6));
  EXPECT_FALSE(Lit(5, 0));  // the spacing between cells
  EXPECT_TRUE(Lit(7, 0));   // the second cell
  EXPECT_TRUE(Lit(0, 8));   // the next line: 7 + 1 down
  EXPECT_FALSE(Lit(0, 7));
  EXPECT_FALSE(Lit(7, 8));
  KvDisplaylistDestroy(font);
}

TEST_F(Fonts, GlyphsTakeTheirTextureRectangleAndTheDrawColour) {
  // A 2 x 1 texture: red on the left, green on the right; 'x' shows the right half.
  KV_HANDLE pair = TextureFrom({255, 0, 0, 255, 0, 255, 0, 255}, 2, 1);
  KV_FONT_RECORD desc;
  desc.lineHeight = 8;
  desc.glyphs[int('x')] = KV_GLYPH{6, 6, 0, 0, 6, 0.5f, 0, 1, 1};
  KV_HANDLE font;
  ASSERT_EQ(KvGenerateFont(&font, &desc), 1);
  KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 1.0, 0.5);
  KvMatrixPush();
  KvMatrixIdentity();
  KvTextureActivate(pair);
  KvDrawFont(font, "x");
  KvMatrixPop();
  EXPECT_TRUE(Near(At(3, 3), {0, 128, 0, 255}, 3)) << At(3, 3);
  KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 1.0, 1.0);
  KvDisplaylistDestroy(font);
  KvTextureDestroy(pair);
}

TEST_F(Fonts, UnknownListsAndNullTextsDrawNothing) {
  KV_HANDLE font;
  ASSERT_EQ(KvGenerateFont(&font, nullptr), 1);
  EXPECT_EQ(KvDrawFont(font, nullptr), 0);
  KvDisplaylistDestroy(font);
  KvDisplaylistDestroy(font);
  KvDisplaylistDestroy(KV_HANDLE{});
  EXPECT_EQ(KvDrawFont(font, "a"), 0);
  EXPECT_EQ(KvGenerateFont(nullptr, nullptr), 0);
  EXPECT_EQ(kv::engine::testing::CurrentFrameStats().drawCalls, 0u);
}
