// KV_STRING: construction, copies and the shared empty text, appending, comparison, formatting,
// splitting, cutting, replacing, escapes and typed literals.
#include "foundation/string.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Items(KV_STRING* items, unsigned int count) {
  std::vector<std::string> out;
  for (unsigned int i = 0; i < count; ++i) out.push_back(items[i].c_str());
  delete[] items;
  return out;
}

std::vector<std::string> SplitOf(const char* text, const char* delimiters, const char* quotes) {
  unsigned int count = 99;
  KV_STRING s(text);
  KV_STRING* items = s.Split(delimiters, count, quotes);
  EXPECT_NE(items, nullptr);
  return Items(items, count);
}

using V = std::vector<std::string>;

}  // namespace

// ---------------------------------------------------------------- basics

TEST(String, DefaultIsEmptyAndEqualToEmptyText) {
  KV_STRING s;
  EXPECT_EQ(s.Length(), 0u);
  EXPECT_TRUE(s == "");
  EXPECT_NE(s.text, nullptr);
  KV_STRING n(static_cast<const char*>(nullptr));
  EXPECT_STREQ(n.c_str(), "");
}

TEST(String, CopiesNeverShareText) {
  KV_STRING a("abc");
  KV_STRING b(a);
  KV_STRING c;
  c = a;
  EXPECT_NE(a.text, b.text);
  EXPECT_NE(a.text, c.text);
  b.ReplaceChar('a', 'z');
  EXPECT_STREQ(a.c_str(), "abc");
  EXPECT_TRUE(a != b);
}

// Empty strings share one never-written text; every way of changing one must give it a
// block of its own, and every way of emptying an owned one must release that block.
TEST(String, EmptyTextIsSharedButNeverWritten) {
  KV_STRING a;
  KV_STRING b(a);
  EXPECT_EQ(a.text, b.text);
  EXPECT_EQ(a.notOwned, 1);
  EXPECT_EQ(a.ReplaceChar(0, 'x'), 0u);
  a.Unescape();
  b += "tail";
  EXPECT_STREQ(b.c_str(), "tail");
  EXPECT_EQ(b.notOwned, 0);
  EXPECT_STREQ(a.c_str(), "");

  KV_STRING c("owned");
  KV_STRING d(c);
  c.Clear();
  d.Assign("");
  EXPECT_STREQ(c.c_str(), "");
  EXPECT_EQ(c.text, d.text);
  d.AssignN("xyz", 0);
  d = KV_STRING();
  EXPECT_STREQ(d.c_str(), "");
  c.Format("%d", 5);
  EXPECT_STREQ(c.c_str(), "5");
  EXPECT_STREQ(a.c_str(), "");
}

TEST(String, NullSourcesLeaveTheStringUnchanged) {
  KV_STRING s("keep");
  s.Assign(static_cast<const char*>(nullptr));
  s.AssignN(nullptr, 3);
  s.Assign(static_cast<const KV_WCHAR*>(nullptr));
  EXPECT_STREQ(s.c_str(), "keep");
}

TEST(String, AssignNTakesAtMostTheTextLength) {
  KV_STRING s;
  s.AssignN("abcdef", 3);
  EXPECT_STREQ(s.c_str(), "abc");
  s.AssignN("ab", 10);
  EXPECT_STREQ(s.c_str(), "ab");
  s.AssignN("ab", 0);
  EXPECT_STREQ(s.c_str(), "");
}

TEST(String, AssignFromOwnTextIsSafe) {
  KV_STRING s("hello world");
  s.Assign(s.text + 6);
  EXPECT_STREQ(s.c_str(), "world");
  s.AssignN(s.text + 1, 3);
  EXPECT_STREQ(s.c_str(), "orl");
  const KV_STRING& itself = s;
  s = itself;
  EXPECT_STREQ(s.c_str(), "orl");
  s.Format("[%s|%s]", s.c_str(), s.c_str());
  EXPECT_STREQ(s.c_str(), "[orl|orl]");
}

TEST(String, FormatHasNoLengthLimit) {
  std::string big(100000, 'q');
  KV_STRING s;
  s.Format("%s-%d", big.c_str(), 7);
  EXPECT_EQ(s.Length(), 100002u);
  EXPECT_STREQ(s.c_str() + 100000, "-7");
  s.Format("Gracz 1: %i \nGracz 2: %i", 3, 12);
  EXPECT_STREQ(s.c_str(), "Gracz 1: 3 \nGracz 2: 12");
}

TEST(String, AppendsTextAndNumbers) {
  KV_STRING s("n=");
  s += -42;
  s += ",";
  s += 4294967295u;
  s += ",";
  s += 100.0;
  s += ",";
  s += 3.14159265358979;
  s += ",";
  s += 1e9;
  EXPECT_STREQ(s.c_str(), "n=-42,4294967295,100,3.1415927,1e+09");
  KV_STRING t("x");
  t += t.c_str();
  EXPECT_STREQ(t.c_str(), "xx");
}

TEST(String, ComparesBytewiseAndCaseSensitive) {
  KV_STRING a("Main");
  EXPECT_TRUE(a == "Main");
  EXPECT_TRUE(a != "main");
  EXPECT_TRUE(a == KV_STRING("Main"));
  EXPECT_FALSE(a == KV_STRING("Main "));
}

// ---------------------------------------------------------------- wide text

TEST(String, WideRoundTripInLatin1) {
  KV_STRING s("caf\xE9 1");
  EXPECT_EQ(s.WideByteSize(3), (6u + 3u) * 2u);
  KV_WCHAR wide[16];
  ASSERT_TRUE(s.ToWide(wide, 16));
  EXPECT_EQ(wide[3], (KV_WCHAR)0xE9);
  EXPECT_EQ(wide[6], 0);
  KV_STRING back(wide);
  EXPECT_TRUE(back == s);
}

TEST(String, ToWideFailsOnlyForNoBuffer) {
  KV_STRING s("abcdef");
  KV_WCHAR wide[4] = {9, 9, 9, 9};
  EXPECT_FALSE(s.ToWide(nullptr, 10));
  EXPECT_FALSE(s.ToWide(wide, 0));
  EXPECT_EQ(wide[0], 9);
  // too small: reported as done, buffer left empty
  EXPECT_TRUE(s.ToWide(wide, 4));
  EXPECT_EQ(wide[0], 0);
}

TEST(String, WideTextOutsideTheCodePageGivesEmpty) {
  const KV_WCHAR wide[] = {u'a', 0x20AC, u'b', 0};
  KV_STRING s("old");
  s.Assign(wide);
  EXPECT_STREQ(s.c_str(), "");
}

// ---------------------------------------------------------------- searching and cutting

TEST(String, FindReportsIndexFromTheStart) {
  KV_STRING s("abcabc");
  unsigned int pos = 99;
  EXPECT_TRUE(s.Find(1, "abc", &pos));
  EXPECT_EQ(pos, 3u);
  EXPECT_TRUE(s.Find(0, "c", nullptr));
  EXPECT_FALSE(s.Find(4, "abc", &pos));
  EXPECT_FALSE(s.Find(6, "", &pos));
  const char* raw = "xyz";
  EXPECT_EQ(KV_STRING::FindRaw(raw, "yz"), raw + 1);
  EXPECT_EQ(KV_STRING::FindRaw(raw, "q"), nullptr);
}

TEST(String, ExtractWalksPiecesAndEndsWithZero) {
  KV_STRING s("a:b:");
  KV_STRING piece;
  unsigned int pos = s.Extract(piece, ":", 0);
  EXPECT_STREQ(piece.c_str(), "a");
  EXPECT_EQ(pos, 2u);
  pos = s.Extract(piece, ":", pos);
  EXPECT_STREQ(piece.c_str(), "b");
  EXPECT_EQ(pos, 4u);
  pos = s.Extract(piece, ":", pos);
  EXPECT_STREQ(piece.c_str(), "");
  EXPECT_EQ(pos, 0u);
}

TEST(String, ExtractWithoutDelimiterReturnsTheRest) {
  KV_STRING s("12/34//5");
  KV_STRING piece("untouched");
  EXPECT_EQ(s.Extract(piece, "/", 9), 0u);
  EXPECT_STREQ(piece.c_str(), "untouched");
  EXPECT_EQ(s.Extract(piece, "//", 3), 7u);
  EXPECT_STREQ(piece.c_str(), "34");
  EXPECT_EQ(s.Extract(piece, "/", 7), 0u);
  EXPECT_STREQ(piece.c_str(), "5");
  // an empty delimiter never matches, so a caller's loop ends
  EXPECT_EQ(s.Extract(piece, "", 3), 0u);
  EXPECT_STREQ(piece.c_str(), "34//5");
}

TEST(String, ReplaceCountsAndLeavesTheSourceAlone) {
  KV_STRING s("a-b--c-");
  KV_STRING out("junk");
  EXPECT_EQ(s.Replace(out, "-", "+="), 4u);
  EXPECT_STREQ(out.c_str(), "a+=b+=+=c+=");
  EXPECT_STREQ(s.c_str(), "a-b--c-");
  EXPECT_EQ(s.Replace(out, "--", ""), 1u);
  EXPECT_STREQ(out.c_str(), "a-bc-");
  EXPECT_EQ(s.Replace(out, "zz", "y"), 0u);
  EXPECT_STREQ(out.c_str(), "a-b--c-");
}

TEST(String, ReplaceWithEmptyFindIsACopy) {
  KV_STRING s("abc");
  KV_STRING out("junk");
  EXPECT_EQ(s.Replace(out, "", "x"), 0u);
  EXPECT_STREQ(out.c_str(), "abc");
  EXPECT_EQ(s.Replace(s, "b", "BB"), 1u);
  EXPECT_STREQ(s.c_str(), "aBBc");
}

TEST(String, ReplaceCharInPlace) {
  KV_STRING s("data\\1.kvt\\x");
  EXPECT_EQ(s.ReplaceChar('\\', '/'), 2u);
  EXPECT_STREQ(s.c_str(), "data/1.kvt/x");
}

// ---------------------------------------------------------------- escapes

TEST(String, UnescapeDecodesTheTable) {
  KV_STRING s("a\\tb\\n\\r\\a\\b\\f\\v\\'\\\"\\\\\\?");
  s.Unescape();
  EXPECT_STREQ(s.c_str(), "a\tb\n\r\a\b\f\v'\"\\?");
}

TEST(String, UnescapeHexTakesExactlyTwoCharacters) {
  KV_STRING s("\\x41\\x4a2\\xg1\\x");
  s.Unescape();
  EXPECT_STREQ(s.c_str(), "AJ2\x01");
  KV_STRING t("ab\\x4");
  t.Unescape();
  EXPECT_STREQ(t.c_str(), "ab");
}

TEST(String, UnescapeEndsAtZeroAndDropsTrailingBackslash) {
  KV_STRING s("abc\\0def");
  s.Unescape();
  EXPECT_STREQ(s.c_str(), "abc");
  KV_STRING t("xyz\\");
  t.Unescape();
  EXPECT_STREQ(t.c_str(), "xyz");
  KV_STRING u("\\x00tail");
  u.Unescape();
  EXPECT_STREQ(u.c_str(), "");
}

TEST(String, UnescapeKeepsUnknownEscapeCharacter) {
  KV_STRING s("C:\\dir\\q");
  s.Unescape();
  EXPECT_STREQ(s.c_str(), "C:dirq");
}

// ---------------------------------------------------------------- splitting

TEST(String, SplitDropsEmptyItems) {
  EXPECT_EQ(SplitOf("a b", " ", nullptr), (V{"a", "b"}));
  EXPECT_EQ(SplitOf("  a   b  ", " ", nullptr), (V{"a", "b"}));
  EXPECT_EQ(SplitOf("x", " ", nullptr), (V{"x"}));
  EXPECT_EQ(SplitOf("a b c d", " ", nullptr), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitOf("a\tb c", " \t", nullptr), (V{"a", "b", "c"}));
  EXPECT_EQ(SplitOf(" a", " ", nullptr), (V{"a"}));
  EXPECT_EQ(SplitOf("a ", " ", nullptr), (V{"a"}));
}

TEST(String, SplitOfDelimitersOnlyGivesNoItemsButAnArray) {
  EXPECT_EQ(SplitOf("   ", " ", nullptr), V{});
  EXPECT_EQ(SplitOf("", " ", nullptr), V{});
  EXPECT_EQ(SplitOf("abc", "", nullptr), V{});
  EXPECT_EQ(SplitOf("abc", nullptr, nullptr), V{});
}

TEST(String, SplitKeepsQuotedGroupsWithTheirQuotes) {
  EXPECT_EQ(SplitOf("tag name=\"a b\"\tx", " \t", "\""), (V{"tag", "name=\"a b\"", "x"}));
  EXPECT_EQ(SplitOf("\"a b\" c", " ", "\""), (V{"\"a b\"", "c"}));
  // an unclosed quote swallows the rest
  EXPECT_EQ(SplitOf("a \"b c", " ", "\""), (V{"a"}));
  // every quote character toggles the one quote state, whatever its kind
  EXPECT_EQ(SplitOf("'x \" y' z", " ", "'\""), (V{"'x \""}));
  // a character listed twice toggles twice, so it does not quote at all
  EXPECT_EQ(SplitOf("\"a b\"", " ", "\"\""), (V{"\"a", "b\""}));
}

TEST(String, SplitBufferReadsOnlyTheRange) {
  const char file[] = "line1\r\n\r\nline2\nlast!";
  unsigned int count = 0;
  // the range stops before the '!' and is not zero-terminated there
  KV_STRING* items = KvSplitBuffer(file, (unsigned int)strlen(file) - 1, "\r\n", count, nullptr);
  EXPECT_EQ(Items(items, count), (V{"line1", "line2", "last"}));
}

TEST(String, SplitBufferTreatsZeroBytesAsBoundaries) {
  const char bytes[] = {'a', 0, 'b', ',', 0, 'c'};
  unsigned int count = 0;
  KV_STRING* items = KvSplitBuffer(bytes, sizeof(bytes), ",", count, nullptr);
  EXPECT_EQ(Items(items, count), (V{"a", "b", "c"}));
  items = KvSplitBuffer(bytes, sizeof(bytes), "", count, nullptr);
  EXPECT_EQ(Items(items, count), V{});
  items = KvSplitBuffer(nullptr, 0, "\n", count, nullptr);
  EXPECT_EQ(Items(items, count), V{});
}

// ---------------------------------------------------------------- typed literals

TEST(String, DecodesWholeNumbersWithCPrefixes) {
  int32_t i = 0;
  uint32_t d = 0;
  EXPECT_TRUE(KV_STRING("010i").Decode(&i, 0));
  EXPECT_EQ(i, 8);
  EXPECT_TRUE(KV_STRING("0x10d").Decode(&d, 0));
  EXPECT_EQ(d, 16u);
  EXPECT_TRUE(KV_STRING("-17i").Decode(&i, 0));
  EXPECT_EQ(i, -17);
  EXPECT_TRUE(KV_STRING("abci").Decode(&i, 0));
  EXPECT_EQ(i, 0);
  EXPECT_TRUE(KV_STRING("0XFF").Decode(&d, 'd'));
  EXPECT_EQ(d, 255u);
}

TEST(String, DecodeClampsAsA32BitLong) {
  int32_t i = 0;
  uint32_t d = 0;
  KV_STRING("2147483648i").Decode(&i, 0);
  EXPECT_EQ(i, INT32_MAX);
  KV_STRING("-99999999999i").Decode(&i, 0);
  EXPECT_EQ(i, INT32_MIN);
  KV_STRING("4294967296d").Decode(&d, 0);
  EXPECT_EQ(d, 0xFFFFFFFFu);
  KV_STRING("-1d").Decode(&d, 0);
  EXPECT_EQ(d, 0xFFFFFFFFu);
  KV_STRING("-2d").Decode(&d, 0);
  EXPECT_EQ(d, 0xFFFFFFFEu);
  KV_STRING("-4294967297d").Decode(&d, 0);
  EXPECT_EQ(d, 0xFFFFFFFFu);
}

TEST(String, DecodesNarrowTypesWritingOnlyTheirSize) {
  unsigned char buf[8];
  memset(buf, 0xAA, sizeof(buf));
  EXPECT_TRUE(KV_STRING("0x1FFc").Decode(buf, 0));  // low byte kept
  EXPECT_EQ(buf[0], 0xFF);
  EXPECT_EQ(buf[1], 0xAA);
  EXPECT_TRUE(KV_STRING("200b").Decode(buf, 0));
  EXPECT_EQ(buf[0], 200);
  int16_t s = 0;
  uint16_t w = 0;
  EXPECT_TRUE(KV_STRING("-300s").Decode(&s, 0));
  EXPECT_EQ(s, -300);
  EXPECT_TRUE(KV_STRING("0177777w").Decode(&w, 0));
  EXPECT_EQ(w, 0xFFFF);
  memset(buf, 0xAA, sizeof(buf));
  KV_STRING("7s").Decode(buf, 0);
  EXPECT_EQ(buf[2], 0xAA);
}

TEST(String, DecodesFloatsInTheCLocale) {
  float h = 0;
  double r = 0;
  EXPECT_TRUE(KV_STRING("1.5h").Decode(&h, 0));
  EXPECT_FLOAT_EQ(h, 1.5f);
  EXPECT_TRUE(KV_STRING("-2.25e2").Decode(&r, 'r'));
  EXPECT_DOUBLE_EQ(r, -225.0);
  EXPECT_TRUE(KV_STRING("1e300h").Decode(&h, 0));
  EXPECT_TRUE(std::isinf(h));
}

TEST(String, DecodesVectorsKeepingMissingComponents) {
  double v[4] = {9, 9, 9, 9};
  EXPECT_TRUE(KV_STRING("1.5:2v").Decode(v, 0));
  EXPECT_DOUBLE_EQ(v[0], 1.5);
  EXPECT_DOUBLE_EQ(v[1], 2.0);
  EXPECT_DOUBLE_EQ(v[2], 9.0);
  EXPECT_DOUBLE_EQ(v[3], 9.0);
  float f[5] = {7, 7, 7, 7, 7};
  EXPECT_TRUE(KV_STRING("1:2:3:4:5:6").Decode(f, 'f'));
  EXPECT_FLOAT_EQ(f[3], 4.0f);
  EXPECT_FLOAT_EQ(f[4], 7.0f);  // never more than four
  float g[4] = {7, 7, 7, 7};
  KV_STRING("1:").Decode(g, 'f');  // the empty last piece reads 0
  EXPECT_FLOAT_EQ(g[0], 1.0f);
  EXPECT_FLOAT_EQ(g[1], 0.0f);
  EXPECT_FLOAT_EQ(g[2], 7.0f);
}

TEST(String, DecodesHexBytesFromTheEnd) {
  unsigned char b[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_TRUE(KV_STRING("1234x").Decode(b, 0));
  EXPECT_EQ(b[0], 0x34);
  EXPECT_EQ(b[1], 0x12);
  EXPECT_EQ(b[2], 0xAA);
  KV_STRING odd("123x");
  EXPECT_EQ(odd.GetTypeSize(), 2u);
  memset(b, 0xAA, sizeof(b));
  EXPECT_TRUE(odd.Decode(b, 0));
  EXPECT_EQ(b[0], 0x23);
  EXPECT_EQ(b[1], 0x01);
  EXPECT_EQ(b[2], 0xAA);
  EXPECT_TRUE(KV_STRING("fZx").Decode(b, 0));
  EXPECT_EQ(b[0], 0xF0);
}

TEST(String, DecodeFailuresLeaveTheOutputUntouched) {
  int32_t i = 5;
  EXPECT_FALSE(KV_STRING("7").Decode(&i, 0));
  EXPECT_FALSE(KV_STRING("").Decode(&i, 'i'));
  EXPECT_FALSE(KV_STRING("12q").Decode(&i, 0));
  EXPECT_FALSE(KV_STRING("12").Decode(&i, 'q'));
  EXPECT_EQ(i, 5);
  EXPECT_TRUE(KV_STRING("7").Decode(&i, 'i'));
  EXPECT_EQ(i, 7);
  KV_STRING text("0x10d");
  uint32_t d;
  text.Decode(&d, 0);
  EXPECT_STREQ(text.c_str(), "0x10d");
}

TEST(String, TypeSuffixAndSize) {
  const struct {
    const char* text;
    char suffix;
    unsigned int size;
  } cases[] = {
      {"1c", 'c', 1},  {"1b", 'b', 1},  {"1s", 's', 2},  {"1w", 'w', 2},
      {"1i", 'i', 4},  {"1d", 'd', 4},  {"1h", 'h', 4},  {"1r", 'r', 8},
      {"1f", 'f', 16}, {"1v", 'v', 32}, {"12x", 'x', 1}, {"ab12x", 'x', 2},
      {"x", 0, 0},     {"12", 0, 0},    {"", 0, 0},      {"1q", 0, 0},
  };
  for (const auto& c : cases) {
    KV_STRING s(c.text);
    EXPECT_EQ(s.GetTypeSuffix(), c.suffix) << c.text;
    EXPECT_EQ(s.GetTypeSize(), c.size) << c.text;
  }
}
