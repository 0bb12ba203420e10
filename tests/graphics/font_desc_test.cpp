// KV_FONT_DESC: the description parser's lines, tokens, quotes and keys, and descriptions in the
// widespread text format of other tools, with more keywords and keys than are read.
#include "graphics/font_desc.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/windows_path.h"
#include "scratch_folder.h"

namespace {

// A description as other tools write it: info with quoted face names, common with more keys,
// page, chars, char lines padded with runs of spaces, kernings and kerning lines.
const char kWidespread[] =
    "info face=\"Kelvo Sans Bold\" size=-16 bold=1 italic=0 charset=\"\" unicode=1 stretchH=100 "
    "smooth=1 aa=1 padding=0,0,0,0 spacing=1,1 outline=0\r\n"
    "common lineHeight=19 base=15 scaleW=256 scaleH=128 pages=1 packed=0 alphaChnl=1 redChnl=0 "
    "greenChnl=0 blueChnl=0\r\n"
    "page id=0 file=\"kelvo sans_0.png\"\r\n"
    "chars count=3\r\n"
    "char id=32   x=0     y=0     width=0     height=0     xoffset=-1    yoffset=15    xadvance=4  "
    "   page=0  chnl=15\r\n"
    "char id=65   x=16    y=32    width=11    height=12    xoffset=0     yoffset=3     xadvance=11 "
    "   page=0  chnl=15\r\n"
    "char id=233  x=128   y=64    width=8     height=13    xoffset=1     yoffset=2     xadvance=9  "
    "   page=0  chnl=15\r\n"
    "kernings count=1\r\n"
    "kerning first=65  second=86  amount=-1\r\n";

bool ParseText(KV_FONT_DESC& desc, const std::string& text) {
  return desc.Parse(text.data(), (unsigned int)text.size());
}

}  // namespace

TEST(FontDesc, BuiltEmptyWithLineFeedBreak) {
  KV_FONT_DESC desc;
  EXPECT_EQ(desc.lineBreak, 10);
  EXPECT_EQ(desc.spacing, 0.0f);
  EXPECT_EQ(desc.lineHeight, 0.0f);
  EXPECT_EQ(desc.glyphs[255].xadvance, 0.0f);
}

TEST(FontDesc, WidespreadDescriptionLoadsFromFile) {
  ScratchFolder scratch;
  std::string path = scratch.File("widespread.fnt");
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  fwrite(kWidespread, 1, sizeof kWidespread - 1, file);
  fclose(file);

  KV_FONT_DESC desc;
  ASSERT_TRUE(desc.Load(path.c_str()));
  EXPECT_EQ(desc.lineHeight, 19.0f);
  KV_FONT_DESC again;  // the same file named the Windows way
  ASSERT_TRUE(again.Load(kvtest::WindowsPath(path).c_str()));
  EXPECT_EQ(again.lineHeight, 19.0f);
  const KV_GLYPH& a = desc.glyphs[int('A')];
  EXPECT_EQ(a.width, 11.0f);
  EXPECT_EQ(a.height, 12.0f);
  EXPECT_EQ(a.yoffset, 3.0f);
  EXPECT_EQ(a.xadvance, 11.0f);
  EXPECT_FLOAT_EQ(a.texLeft, 16.0f / 256);
  EXPECT_FLOAT_EQ(a.texTop, 32.0f / 128);
  EXPECT_FLOAT_EQ(a.texRight, 27.0f / 256);
  EXPECT_FLOAT_EQ(a.texBottom, 44.0f / 128);
  EXPECT_EQ(desc.glyphs[int(' ')].xoffset, -1.0f);
  // Codes 128 to 255 fill glyphs 128 to 255.
  EXPECT_EQ(desc.glyphs[233].xadvance, 9.0f);
  EXPECT_FLOAT_EQ(desc.glyphs[233].texLeft, 0.5f);
  // The kerning line's "first=65" must not be taken for a glyph.
  EXPECT_EQ(desc.glyphs[int('V')].xadvance, 0.0f);
}

TEST(FontDesc, TextureCoordinatesUseTheCommonScale) {
  KV_FONT_DESC desc;
  ASSERT_TRUE(ParseText(
      desc, "common lineHeight=20 scaleW=256 scaleH=64\nchar id=97 x=0 y=16 width=16 height=8"));
  EXPECT_EQ(desc.glyphs[int('a')].texLeft, 0.0f);
  EXPECT_EQ(desc.glyphs[int('a')].texRight, 0.0625f);
  EXPECT_EQ(desc.glyphs[int('a')].texTop, 0.25f);
  EXPECT_EQ(desc.glyphs[int('a')].texBottom, 0.375f);

  // Before any common line the scale is unknown and the coordinates stay 0.
  KV_FONT_DESC early;
  ASSERT_TRUE(ParseText(early, "char id=97 x=8 width=16 xadvance=3"));
  EXPECT_EQ(early.glyphs[int('a')].texRight, 0.0f);
  EXPECT_EQ(early.glyphs[int('a')].xadvance, 3.0f);
}

TEST(FontDesc, OutOfRangeIdsAreIgnoredAndLaterLinesReplace) {
  KV_FONT_DESC desc;
  ASSERT_TRUE(ParseText(desc,
                        "char id=300 xadvance=5\n"
                        "char id=-1 xadvance=6\n"
                        "char id=98 xadvance=7 width=3\n"
                        "char id=98 xadvance=8\n"));
  EXPECT_EQ(desc.glyphs[int('b')].xadvance, 8.0f);
  // The replacing line gave no width: the glyph takes 0, not the earlier 3.
  EXPECT_EQ(desc.glyphs[int('b')].width, 0.0f);
  for (int c = 0; c < 256; ++c) {
    if (c != 'b') {
      ASSERT_EQ(desc.glyphs[c].xadvance, 0.0f) << c;
    }
  }
}

TEST(FontDesc, QuotedRunsStayOneToken) {
  KV_FONT_DESC desc;
  ASSERT_TRUE(ParseText(desc, "char id=65 width=5 note=\"a width=99\"\tname=\"x\ty\" xadvance=6"));
  EXPECT_EQ(desc.glyphs[int('A')].width, 5.0f);
  EXPECT_EQ(desc.glyphs[int('A')].xadvance, 6.0f);
}

TEST(FontDesc, LineEndingsAndBlankLinesParseTheSame) {
  const char* endings[] = {"\r\n", "\n", "\r", "\n\n\r\n  \n"};
  for (const char* end : endings) {
    std::string text = std::string("common lineHeight=14 scaleW=32 scaleH=32") + end +
                       "char id=120 x=16 width=8 xadvance=9" + end;
    KV_FONT_DESC desc;
    ASSERT_TRUE(ParseText(desc, text));
    EXPECT_EQ(desc.lineHeight, 14.0f);
    EXPECT_EQ(desc.glyphs[int('x')].xadvance, 9.0f);
    EXPECT_EQ(desc.glyphs[int('x')].texRight, 0.75f);
  }
}

TEST(FontDesc, KeysAndKeywordsAreCaseSensitive) {
  KV_FONT_DESC desc;
  ASSERT_TRUE(
      ParseText(desc, "Char id=65 xadvance=5\nchar ID=66 xadvance=5\nchar id=67 XAdvance=5"));
  EXPECT_EQ(desc.glyphs[int('A')].xadvance, 0.0f);
  EXPECT_EQ(desc.glyphs[0].xadvance, 5.0f);  // id missing: 0
  EXPECT_EQ(desc.glyphs[int('C')].xadvance, 0.0f);
}

TEST(FontDesc, NothingToReadFails) {
  KV_FONT_DESC desc;
  EXPECT_FALSE(desc.Parse(nullptr, 10));
  EXPECT_FALSE(desc.Parse("char id=65", 0));
  EXPECT_FALSE(ParseText(desc, "\r\n\r\n"));
  EXPECT_FALSE(desc.Load(nullptr));
  ScratchFolder scratch;
  EXPECT_FALSE(desc.Load(scratch.File("absent.fnt").c_str()));

  std::string empty = scratch.File("empty.fnt");
  FILE* file = fopen(empty.c_str(), "wb");
  fclose(file);
  EXPECT_FALSE(desc.Load(empty.c_str()));
}

TEST(FontDesc, TruncatedAndGarbageTextIsSafe) {
  std::string text = kWidespread;
  for (size_t n = 1; n < text.size(); n += 7) {
    KV_FONT_DESC desc;
    EXPECT_TRUE(desc.Parse(text.data(), (unsigned int)n));
  }
  // Values beyond 32 bits clamp; signs and junk do not upset the coordinates.
  KV_FONT_DESC desc;
  ASSERT_TRUE(ParseText(desc,
                        "common scaleW=-1 scaleH=99999999999\nchar id=66 x=2147483647 "
                        "width=2147483647 y=junk =\"\" = q=="));
  EXPECT_FLOAT_EQ(desc.glyphs[int('B')].texLeft, -2147483647.0f);
  EXPECT_FLOAT_EQ(desc.glyphs[int('B')].texTop, 0.0f);
  const char bytes[] = {'c', 'h', 'a', 'r', ' ', 'i', 'd', '=', '6', '7', 0,
                        ' ', 'x', 'a', 'd', 'v', 'a', 'n', 'c', 'e', '=', '4'};
  KV_FONT_DESC zeros;
  EXPECT_TRUE(zeros.Parse(bytes, sizeof bytes));
}
