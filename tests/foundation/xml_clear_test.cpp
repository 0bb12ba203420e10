// KV_XML::Clear: every kind of node goes (read from text, made by path lookup, renamed, given
// attributes, nested far deeper than any real file), owned texts freed and borrowed ones left
// (the leak checker and the address checker see to both), and the document reads again as new.
// A document read again takes the same node slots in the same order.
#include "foundation/xml.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kBlanks = " \t\n\r";
const std::string kText =
    "<Theme Name=\"Default\">\r\n\t<Style Name=\"Button\" Texture=tex>\r\n"
    "\t\t<Border>4:4:4:4</Border>\r\n\t</Style>\r\n\t<Font Name=\"f\" />\r\n</Theme>\r\n";

bool Parse(KV_XML& xml, const std::string& text) {
  return xml.Parse(text.data(), (unsigned int)text.size(), kBlanks, true);
}

std::string Saved(const KV_XML& xml) {
  KV_ARRAY<unsigned char> out;
  if (!xml.Save(out)) return "<failed>";
  return std::string((const char*)out.data, out.Size());
}

// Every node and attribute of the document, in document order.
void Addresses(const KV_XML::NODE& node, std::vector<const void*>& out) {
  for (KV_XML::ITERATOR it = node.Begin(); !it.IsEnd(); it.Next()) {
    out.push_back(it.Get());
    for (KV_XML::ATTRIBUTE_ITERATOR a = it.Get()->value.attributes.Begin(); !a.IsEnd(); a.Next())
      out.push_back(a.Get());
    Addresses(*it.Get(), out);
  }
}

}  // namespace

TEST(XmlClear, EveryKindOfNodeGoesAndTheDocumentReadsAgain) {
  KV_XML xml;
  ASSERT_TRUE(Parse(xml, kText));
  const std::string saved = Saved(xml);
  // Owned texts beside borrowed ones: a renamed element, a reassigned and a new attribute, a
  // new chain of elements, a text node with its own text, a subtree copied in.
  xml.Find("Theme/Style", 2, nullptr)->value.name = "Renamed";
  xml.GetAttribute("Theme/Font", "Name", 2, nullptr)->value = "g";
  xml.GetAttribute("Theme/Font", "Size", 2, nullptr)->value = "12";
  KV_XML::ITERATOR made = xml.Find("Theme/New/Chain/Of/Nodes", 0, nullptr);
  KV_XML_NODE text;
  text.value = "words";
  made->Add(text);
  made->children.PushBack(*xml.Find("Theme", 2, nullptr).Get())->parent = made.Get();
  // A chain far deeper than a call stack could walk.
  std::string deep;
  for (int i = 0; i < 200000; ++i) deep += "<d k=v>";
  ASSERT_TRUE(Parse(xml, deep));

  xml.Clear();
  EXPECT_EQ(xml.Count(), 0u);
  EXPECT_TRUE(xml.Begin().IsEnd());
  EXPECT_FALSE(xml.Save(*std::make_unique<KV_ARRAY<unsigned char>>()));
  xml.Clear();
  ASSERT_TRUE(Parse(xml, kText));
  EXPECT_EQ(Saved(xml), saved);
}

#if KV_NODE_POOL_ENABLED
// The slots go back in the reverse of the order they were taken in, so the same text read again
// lands in the same places, in document order. (Under AddressSanitizer nodes are heap blocks of
// their own and this does not hold.)
TEST(XmlClear, ADocumentReadAgainTakesTheSameSlots) {
  KV_XML xml;
  ASSERT_TRUE(Parse(xml, kText + kText));
  std::vector<const void*> first;
  Addresses(xml, first);
  xml.Clear();
  ASSERT_TRUE(Parse(xml, kText + kText));
  std::vector<const void*> second;
  Addresses(xml, second);
  EXPECT_EQ(first, second);
}
#endif
