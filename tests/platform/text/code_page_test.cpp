// ISO-8859-1 <-> UTF-8: Latin-1 survives both ways, other characters and broken bytes drop.
#include <gtest/gtest.h>

#include "platform/text/code_page.h"

TEST(CodePage, LatinOneRoundTripsThroughUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::string utf8 = platform::Latin1ToUtf8(all.c_str());
  EXPECT_EQ(utf8.size(), 127u + 2 * 128u);
  EXPECT_EQ(platform::Utf8ToLatin1(utf8.c_str()), all);
  EXPECT_EQ(platform::Latin1ToUtf8(nullptr), "");
}

TEST(CodePage, CharactersBeyondLatinOneAndBrokenBytesAreDropped) {
  EXPECT_EQ(platform::Utf8ToLatin1("a\xE2\x82\xAC"
                                   "b"),
            "ab");  // euro sign
  EXPECT_EQ(platform::Utf8ToLatin1("a\xF0\x9F\x98\x80"
                                   "b"),
            "ab");  // emoji
  EXPECT_EQ(platform::Utf8ToLatin1("a\x80\xBF"
                                   "b"),
            "ab");                                    // stray continuations
  EXPECT_EQ(platform::Utf8ToLatin1("a\xC3"), "a");    // cut short
  EXPECT_EQ(platform::Utf8ToLatin1("\xC1\x81"), "");  // overlong 'A'
  EXPECT_EQ(platform::Utf8ToLatin1(nullptr), "");
}
