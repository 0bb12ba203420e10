// KV_XML: the forgiving reader (words, quotes, trimming, joined lines, closing tags
// that move up, unterminated tags), the writer's exact bytes, and every form of path
// lookup in its three modes.
#include "foundation/xml.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char* const kBlanks = " \t\n\r";

typedef KV_XML::NODE NODE;
typedef KV_XML::ITERATOR ITERATOR;

bool Parse(KV_XML& xml, const std::string& text) {
  return xml.Parse(text.data(), (unsigned int)text.size(), kBlanks, true);
}

// The written text; every text written is also checked against the length counted for it.
std::string Saved(const KV_XML& xml) {
  KV_ARRAY<unsigned char> out;
  if (!xml.Save(out)) return "<failed>";
  std::string text((const char*)out.data, out.Size());
  EXPECT_EQ(xml.SaveLength(), text.size()) << "the counted length is not the written one";
  return text;
}

// A compact picture of a subtree: elements as name[attr=value,...]{children}, text
// nodes as 'text'.
std::string Shape(const NODE& node) {
  std::string s;
  for (ITERATOR it = node.Begin(); !it.IsEnd(); it.Next()) {
    const KV_XML_NODE& v = it.Get()->value;
    if (!s.empty()) s += ' ';
    if (v.name.text[0] == 0) {
      s += '\'';
      s += v.value.text;
      s += '\'';
      continue;
    }
    s += v.name.text;
    if (v.attributes.Count() != 0) {
      s += '[';
      for (KV_XML::ATTRIBUTE_ITERATOR a = v.attributes.Begin(); !a.IsEnd(); a.Next()) {
        s += a.Get()->name.text;
        s += '=';
        s += a.Get()->value.text;
        if (a.Get() != v.attributes.Last().Get()) s += ',';
      }
      s += ']';
    }
    if (it.Get()->Count() != 0) {
      s += '{';
      s += Shape(*it.Get());
      s += '}';
    }
  }
  return s;
}

std::string Shape(const std::string& text) {
  KV_XML xml;
  Parse(xml, text);
  return Shape(xml);
}

}  // namespace

// ---------------------------------------------------------------- reading

TEST(Xml, ParseRefusesOnlyNothingAndBareLineEnds) {
  KV_XML xml;
  EXPECT_FALSE(xml.Parse(nullptr, 5, kBlanks, true));
  EXPECT_FALSE(xml.Parse("<a>", 0, kBlanks, true));
  EXPECT_FALSE(xml.Parse("\r\n\n\r", 4, kBlanks, true));
  EXPECT_TRUE(xml.Parse("   ", 3, kBlanks, true));
  EXPECT_EQ(xml.Count(), 0u);
  EXPECT_TRUE(xml.Parse("<<<>>>", 6, kBlanks, true));
}

TEST(Xml, EmptyElementsAndNesting) {
  EXPECT_EQ(Shape("<a><b/></a>"), "a{b}");
  EXPECT_EQ(Shape("<a><b /></a>"), "a{b}");
  EXPECT_EQ(Shape("<a><b x=1/></a><c/>"), "a{b[x=1]} c");
  // A lone "/" tag closes; an empty tag "<>" is nothing at all.
  EXPECT_EQ(Shape("<a><></><b/>"), "a b");
  // The slash behind the last word splits off even after a quoted value or a blank,
  // and a tag of blanks and a slash is an empty element named "/".
  EXPECT_EQ(Shape("<a x=\"1 2\"/><b\t/><c>"), "a[x=1 2] b c");
  EXPECT_EQ(Shape("< /><d/>"), "/ d");
}

TEST(Xml, AttributesWithAndWithoutValuesAndQuotedBlanks) {
  KV_XML xml;
  Parse(xml, "<a x=1 y=\"two words\" z>text</a>");
  EXPECT_EQ(Shape(xml), "a[x=1,y=two words,z=]{'text'}");
  // Duplicates, empty names and empty values are kept as written.
  EXPECT_EQ(Shape("<a =v k=1 k=2 e= p=\"\"/>"), "a[=v,k=1,k=2,e=,p=]");
  // Quotes count across blanks: the word runs from one quote to its partner.
  EXPECT_EQ(Shape("<a q=\" p=\"/>"), "a[q= p=]");
  // Only the first "=" splits; inner quotes stay; tabs split words too.
  EXPECT_EQ(Shape("<a\tx=a=b y=a\"b\"c/>"), "a[x=a=b,y=a\"b\"c]");
  // A quote left open swallows the rest of the tag.
  EXPECT_EQ(Shape("<a x=1 y=\"open end/>"), "a[x=1]");
}

TEST(Xml, TextIsTrimmedAndBlankTextDropped) {
  EXPECT_EQ(Shape("<a>\r\n\t\ttwo words </a>"), "a{'two words'}");
  EXPECT_EQ(Shape("<a> \t\r\n </a><b/>"), "a b");
  // Text outside any element hangs under the root.
  EXPECT_EQ(Shape(" lead <a/> tail"), "'lead' a 'tail'");

  KV_XML kept;
  kept.Parse("<a> x </a>", 10, kBlanks, false);
  EXPECT_EQ(Shape(kept), "a{' x '}");
  KV_XML raw;
  raw.Parse("<a> </a>", 8, nullptr, true);
  EXPECT_EQ(Shape(raw), "a{' '}");
}

TEST(Xml, LineEndsVanishEvenInsideWordsAndTags) {
  EXPECT_EQ(Shape("<a>one\r\ntwo</a>"), "a{'onetwo'}");
  EXPECT_EQ(Shape("<ele\nment at\r\ntr=1/>"), "element[attr=1]");
}

TEST(Xml, ClosingTagsMoveUpOneLevelWhateverTheirName) {
  EXPECT_EQ(Shape("<a></b><c/>"), "a c");
  EXPECT_EQ(Shape("<a><b>"), "a{b}");
  EXPECT_EQ(Shape("</x><y/>"), "y");
  // Two closings at the top: the next text still lands under the root.
  EXPECT_EQ(Shape("<a></a></a>t<b/>"), "a 't' b");
  // A tag whose first byte is not "/" is no closing tag.
  EXPECT_EQ(Shape("<a>< /a>"), "a{/a}");
  // Comments and declarations are plain elements that stay open.
  EXPECT_EQ(Shape("<?xml version=\"1\"?><!-- note --><r/>"),
            "?xml[version=\"1\"?]{!--[note=,--=]{r}}");
}

TEST(Xml, UnterminatedLastTagIsTakenAsItStands) {
  EXPECT_EQ(Shape("<a>x<b y=1"), "a{'x' b[y=1]}");
  EXPECT_EQ(Shape("<a>x<"), "a{'x'}");
}

TEST(Xml, ParseAppendsToWhatIsThere) {
  KV_XML xml;
  Parse(xml, "<a/>");
  Parse(xml, "<b/>");
  EXPECT_EQ(Shape(xml), "a b");
  xml.Clear();
  EXPECT_EQ(xml.Count(), 0u);
}

TEST(Xml, ZeroBytesVanishLikeLineEnds) {
  const char text[] = "<a>x\0y</a>";
  KV_XML xml;
  EXPECT_TRUE(xml.Parse(text, sizeof(text) - 1, kBlanks, true));
  EXPECT_EQ(Shape(xml), "a{'xy'}");
}

// ---------------------------------------------------------------- writing

TEST(Xml, SaveWritesExactBytes) {
  KV_XML xml;
  EXPECT_EQ(Saved(xml), "<failed>");
  Parse(xml, "<a><b/></a>");
  EXPECT_EQ(Saved(xml), "<a>\r\n\t<b />\r\n</a>\r\n");

  KV_XML deep;
  Parse(deep, "<r k=\"v w\" =x e=><t>hi</t><u><v/></u></r>top");
  EXPECT_EQ(Saved(deep),
            "<r k=\"v w\" e=\"\">\r\n"
            "\t<t>\r\n\t\thi\r\n\t</t>\r\n"
            "\t<u>\r\n\t\t<v />\r\n\t</u>\r\n"
            "</r>\r\n"
            "top\r\n");
}

TEST(Xml, SaveEscapesNothingAndSkipsEmptyTexts) {
  KV_XML xml;
  ITERATOR a = xml.Find("a", 0, nullptr);
  xml.GetAttribute(".", "q", 0, a.Get()).Get()->value = "say \"hi\"";
  xml.Find("a/", 0, nullptr).Get()->value.value = "x<y";
  a.Get()->Add(KV_XML_NODE());  // a text node without text writes nothing
  EXPECT_EQ(Saved(xml), "<a q=\"say \"hi\"\">\r\n\tx<y\r\n</a>\r\n");
}

TEST(Xml, SaveReplacesTheArrayAndSurvivesDeepNesting) {
  KV_XML xml;
  const size_t levels = 5000;
  std::string text;
  for (size_t i = 0; i < levels; ++i) text += "<n>";
  Parse(xml, text);
  KV_ARRAY<unsigned char> out(3);
  ASSERT_TRUE(xml.Save(out));
  // Every level: "<n>" and "</n>" with their CR LF, and its depth in tabs twice;
  // the innermost is one "<n />" line instead.
  size_t tabs = levels * (levels - 1) / 2;
  EXPECT_EQ(out.Size(), (levels - 1) * (5 + 6) + 2 * (tabs - (levels - 1)) + (levels - 1) + 7);
  EXPECT_EQ(xml.SaveLength(), out.Size());
  EXPECT_EQ(out.cursor, out.data);
}

// ---------------------------------------------------------------- paths

class XmlFind : public ::testing::Test {
 protected:
  KV_XML xml;
  void SetUp() override {
    Parse(xml, "<list><item id=1/><item id=2/><other/><item id=3/><item id=4/>text</list>");
  }
  NODE* List() { return xml.Begin().Get(); }
  std::string Id(ITERATOR it) {
    if (it.IsEnd()) return "end";
    return xml.GetAttribute(".", "id", 2, it.Get()).Get()->value.text;
  }
};

TEST_F(XmlFind, OccurrenceModifiers) {
  EXPECT_EQ(Id(xml.Find("list/item", 2, nullptr)), "1");
  EXPECT_EQ(Id(xml.Find("list/item#next", 2, nullptr)), "2");
  EXPECT_EQ(Id(xml.Find("list/item#last", 2, nullptr)), "4");
  EXPECT_EQ(Id(xml.Find("list/item#last#next", 2, nullptr)), "3");
  EXPECT_EQ(Id(xml.Find("list/item#id:3#prev", 2, nullptr)), "3");
  EXPECT_EQ(Id(xml.Find("list/item#prev#prev", 2, nullptr)), "1");
  EXPECT_EQ(Id(xml.Find("list/item#id:0x1", 2, nullptr)), "2");
  EXPECT_EQ(Id(xml.Find("list/item#id:010", 2, nullptr)), "end");
  EXPECT_EQ(Id(xml.Find("list/item#id:03", 2, nullptr)), "4");
  EXPECT_EQ(Id(xml.Find("list/item#bogus#id", 2, nullptr)), "1");
  EXPECT_EQ(Id(xml.Find("list/item#id:4", 2, nullptr)), "end");
  // Names compare exactly.
  EXPECT_TRUE(xml.Find("list/Item", 2, nullptr).IsEnd());
  EXPECT_TRUE(xml.Find("list/ite", 2, nullptr).IsEnd());
}

TEST_F(XmlFind, DotAndDotDot) {
  NODE* second = xml.Find("list/item#next", 2, nullptr).Get();
  EXPECT_EQ(xml.Find(".", 2, second).Get(), second);
  EXPECT_EQ(xml.Find(".#next", 2, second).Get()->value.name, "other");
  EXPECT_EQ(Id(xml.Find(".#next#next", 2, second)), "3");
  EXPECT_EQ(Id(xml.Find(".#last#next", 2, second)), "1");
  EXPECT_EQ(xml.Find("..", 2, second).Get(), List());
  EXPECT_EQ(Id(xml.Find("../item#last", 2, second)), "4");
  EXPECT_EQ(xml.Find("./..", 2, second).Get(), List());
  // ".." from a top-level node (no grandparent) or the root finds nothing, even in mode 0.
  EXPECT_TRUE(xml.Find("..", 0, List()).IsEnd());
  EXPECT_TRUE(xml.Find("..", 0, nullptr).IsEnd());
  // "." at the root is never found.
  EXPECT_TRUE(xml.Find(".", 2, nullptr).IsEnd());
  // A trailing slash looks for text nodes.
  EXPECT_EQ(std::string(xml.Find("list/", 2, nullptr).Get()->value.value.text), "text");
  EXPECT_EQ(std::string(xml.Find("./", 2, List()).Get()->value.value.text), "text");
}

TEST_F(XmlFind, ModeZeroCreatesWholeChains) {
  KV_XML doc;
  EXPECT_TRUE(doc.Find("a/b", 2, nullptr).IsEnd());
  EXPECT_EQ(doc.Count(), 0u);
  ITERATOR b = doc.Find("a/b", 0, nullptr);
  ASSERT_FALSE(b.IsEnd());
  EXPECT_EQ(b.Get()->value.name, "b");
  EXPECT_EQ(b.Get()->Parent(), doc.Begin().Get());
  EXPECT_EQ(doc.Find("a/b", 0, nullptr).Get(), b.Get());  // found, not created again
  doc.Find("a/c#last/d", 0, nullptr);
  doc.Find("a/b#new", 0, nullptr);
  doc.Find("a/b#id:5", 0, nullptr);  // missing occurrence: a new one is added
  EXPECT_EQ(Shape(doc), "a{b c{d} b b}");
  EXPECT_TRUE(doc.Find("a/b#new", 2, nullptr).IsEnd());
  EXPECT_EQ(Shape(doc), "a{b c{d} b b}");
  // "." at the root is not found, so mode 0 adds an element named "." there.
  doc.Find(".", 0, nullptr);
  EXPECT_EQ(Shape(doc), "a{b c{d} b b} .");
  EXPECT_TRUE(doc.Find(nullptr, 0, nullptr).IsEnd());
}

TEST_F(XmlFind, ModeOneRemovesWithTheSubtree) {
  EXPECT_TRUE(xml.Find("list/item#next", 1, nullptr).IsEnd());
  EXPECT_TRUE(xml.Find("list/absent", 1, nullptr).IsEnd());
  EXPECT_EQ(Shape(xml), "list{item[id=1] other item[id=3] item[id=4] 'text'}");
  EXPECT_TRUE(xml.Find("list", 1, nullptr).IsEnd());
  EXPECT_EQ(xml.Count(), 0u);
  // Any other mode finds only.
  Parse(xml, "<a/>");
  EXPECT_FALSE(xml.Find("a", 7, nullptr).IsEnd());
  EXPECT_TRUE(xml.Find("b", -1, nullptr).IsEnd());
  EXPECT_EQ(xml.Count(), 1u);
}

TEST_F(XmlFind, GetAttributeFindsOrAppends) {
  NODE* other = xml.Find("list/other", 2, nullptr).Get();
  KV_XML::ATTRIBUTE_ITERATOR name = xml.GetAttribute(".", "Name", 2, other);
  ASSERT_FALSE(name.IsEnd());
  EXPECT_EQ(name.Get()->value, "");
  EXPECT_EQ(other->value.attributes.Count(), 1u);
  EXPECT_EQ(xml.GetAttribute(".", "Name", 2, other).Get(), name.Get());
  EXPECT_EQ(std::string(xml.GetAttribute("list/item#last", "id", 2, nullptr).Get()->value.text),
            "4");
  EXPECT_TRUE(xml.GetAttribute("nothing", "id", 2, nullptr).IsEnd());
  EXPECT_TRUE(xml.GetAttribute("list/other", nullptr, 2, nullptr).IsEnd());
  // Mode 0 creates the node, mode 1 removes it and gives no attribute.
  EXPECT_FALSE(xml.GetAttribute("new/node", "k", 0, nullptr).IsEnd());
  EXPECT_FALSE(xml.Find("new/node", 2, nullptr).IsEnd());
  EXPECT_TRUE(xml.GetAttribute("new", "k", 1, nullptr).IsEnd());
  EXPECT_TRUE(xml.Find("new", 2, nullptr).IsEnd());
}

TEST(Xml, CopiedDocumentsOwnTheirNodes) {
  KV_XML xml;
  Parse(xml, "<a k=v><b/></a>");
  KV_XML copy(xml);
  xml.Clear();
  EXPECT_EQ(Shape(copy), "a[k=v]{b}");
  EXPECT_EQ(copy.Begin().Get()->Parent(), &copy);
  EXPECT_EQ(copy.Find("a/b/..", 2, nullptr).Get(), copy.Begin().Get());
}
