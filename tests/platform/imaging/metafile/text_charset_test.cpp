// 8-bit metafile text in the code page of each character set, with the spacing entries of a
// double-byte character summed; the expected characters are the code pages' own (as Python's
// codecs give them), so a code page iconv does not know, or the wrong one, shows here.
#include "platform/imaging/metafile/text_charset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace platform::metafile;

struct Case {
  uint8_t charset;
  std::string bytes;
  std::u32string text;
  std::vector<double> dx;        // one entry a byte
  std::vector<double> advances;  // one entry a character
};

const std::vector<Case> kCases = {
    {kCharsetAnsi, "\x80\x9F\xE9", U"\u20AC\u0178\u00E9", {}, {}},
    {kCharsetDefault, "\x80", U"\u20AC", {}, {}},
    {kCharsetEastEurope, "\xBF\xB3\xB9\x9C", U"\u017C\u0142\u0105\u015B", {}, {}},
    {kCharsetRussian, "\xD1\xFA\xB8", U"\u0421\u044A\u0451", {}, {}},
    {kCharsetGreek, "\xCE\xDC", U"\u039E\u03AC", {}, {}},
    {kCharsetTurkish, "\xDD\xFE", U"\u0130\u015F", {}, {}},
    {kCharsetHebrew, "\xF9", U"\u05E9", {}, {}},
    {kCharsetArabic, "\xC7", U"\u0627", {}, {}},
    {kCharsetBaltic, "\xE0", U"\u0105", {}, {}},
    {kCharsetThai, "\xA1", U"\u0E01", {}, {}},
    {kCharsetMac, "\x8A", U"\u00E4", {}, {}},
    {kCharsetOem, "\xB0", U"\u2591", {}, {}},
    // A letter and its combining mark stay two characters, as the code page's table gives them.
    {kCharsetVietnamese, "a\xEC", U"a\u0301", {3, 4}, {3, 4}},
    // Double-byte code pages: a character advances by both of its bytes' entries.
    {kCharsetShiftJis,
     "\x93\xFA"
     "A\x96\x7B",
     U"\u65E5A\u672C",
     {10, 5, 7, 20, 1},
     {15, 7, 21}},
    {kCharsetGb2312, "\xD6\xD0", U"\u4E2D", {1, 2}, {3}},
    {kCharsetChineseBig5, "\xA4\xA4", U"\u4E2D", {1, 2}, {3}},
    {kCharsetHangul, "\xC7\xD1", U"\uD55C", {1, 2}, {3}},
    {kCharsetJohab, "\x88\x61", U"\uAC00", {1, 2}, {3}},
    // A lone lead byte at the end and a byte the code page leaves undefined.
    {kCharsetShiftJis, "A\x81", U"A\uFFFD", {1, 2}, {1, 2}},
    {kCharsetAnsi, "\x81", U"\uFFFD", {}, {}},
    // Symbol text keeps its bytes: the face maps them.
    {kCharsetSymbol, "ab\xF0", U"ab\u00F0", {1, 2, 3}, {1, 2, 3}},
};

TEST(TextCharset, ReadsEachCodePageAndSumsADoubleByteCharactersSpacing) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(static_cast<int>(c.charset));
    std::vector<double> dx = c.dx;
    std::u32string text = CharsetText(reinterpret_cast<const uint8_t*>(c.bytes.data()),
                                      c.bytes.size(), c.charset, &dx);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(dx, c.advances);
  }
}

}  // namespace
