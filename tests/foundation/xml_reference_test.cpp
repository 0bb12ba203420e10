// The fast markup reader against a plain one on random inputs. The plain reader below takes the
// format step by step with the string library's own splitters (lines split and joined again, the
// text cut into tokens, each tag split into words with KV_STRING::Split), exactly as the format
// reads; it is slow and obviously right, so every difference is a fault of the fast reader. The
// random texts are made of the bytes that matter to the format, so quotes, slashes, line ends and
// zero bytes fall in every position of tags and texts.
#include "foundation/xml.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

typedef KV_XML::NODE NODE;

// ---------------------------------------------------------------- the plain reader

bool IsIn(char c, const char* set) { return set != nullptr && c != 0 && strchr(set, c) != nullptr; }

// Removes the leading and trailing runs of trimChars from text.
std::string Trimmed(const std::string& text, const char* trimChars) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsIn(text[begin], trimChars)) ++begin;
  while (end > begin && IsIn(text[end - 1], trimChars)) --end;
  return text.substr(begin, end - begin);
}

class PlainReader {
 public:
  PlainReader(KV_XML& document, const char* trimChars, bool trim)
      : document(document), current(&document), trimChars(trimChars), trim(trim) {}

  bool Parse(const char* text, unsigned int length) {
    if (text == nullptr || length == 0) return false;
    // The buffer split at its line ends and joined again.
    unsigned int count = 0;
    KV_STRING* pieces = KvSplitBuffer(text, length, "\r\n", count, nullptr);
    std::string s;
    for (unsigned int i = 0; i < count; ++i) s += pieces[i].c_str();
    delete[] pieces;
    if (count == 0) return false;
    Cut(s);
    return true;
  }

 private:
  KV_XML& document;
  NODE* current;
  const char* trimChars;
  bool trim;

  void Cut(const std::string& s) {
    size_t open = s.find('<');
    if (open == std::string::npos) open = s.size();
    if (open > 0) Text(s.substr(0, open));
    while (open < s.size()) {
      size_t close = s.find('>', open + 1);
      if (close == std::string::npos) {
        Tag(s.substr(open + 1));
        return;
      }
      if (close > open + 1) Tag(s.substr(open + 1, close - open - 1));
      open = s.find('<', close + 1);
      if (open == std::string::npos) open = s.size();
      if (open > close + 1) Text(s.substr(close + 1, open - close - 1));
    }
  }

  void Text(const std::string& token) {
    if (trimChars != nullptr) {
      bool blank = true;
      for (char c : token) blank = blank && IsIn(c, trimChars);
      if (blank) return;
    }
    NODE* parent = current != nullptr ? current : &document;
    KV_XML_NODE node;
    node.value = (trimChars != nullptr && trim ? Trimmed(token, trimChars) : token).c_str();
    parent->Add(node);
  }

  void Tag(std::string token) {
    if (token.size() > 1 && token.back() == '/') token = token.substr(0, token.size() - 1) + " /";
    unsigned int count = 0;
    KV_STRING* words = KV_STRING(token.c_str()).Split(" \t", count, "\"");
    if (count > 0) Element(token, words, count);
    delete[] words;
  }

  void Element(const std::string& token, const KV_STRING* words, unsigned int count) {
    if (current == nullptr) current = &document;
    if (token[0] == '/') {
      current = current->parent;
      return;
    }
    KV_XML_NODE node;
    node.name = words[0];
    for (unsigned int i = 1; i < count; ++i) {
      std::string word = words[i].c_str();
      if (word == "/") continue;
      size_t equals = word.find('=');
      std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
      KV_XML_ATTRIBUTE attribute;
      attribute.name = word.substr(0, equals).c_str();
      attribute.value = value.c_str();
      node.attributes.PushBack(attribute);
    }
    NODE* element = current->Add(node).Get();
    if (token.back() != '/') current = element;
  }
};

// ---------------------------------------------------------------- the plain writer

// The node writer as the format reads, one string appended to by recursion: a text node's
// line (none for an empty text; its children never written), an element's lines.
void PlainWrite(const NODE& node, size_t depth, std::string& out) {
  const KV_XML_NODE& v = node.value;
  std::string tabs(depth, '\t');
  if (v.name.text[0] == 0) {
    if (v.value.text[0] != 0) out += tabs + v.value.c_str() + "\r\n";
    return;
  }
  out += tabs + "<" + v.name.c_str();
  for (KV_XML::ATTRIBUTE_ITERATOR a = v.attributes.Begin(); !a.IsEnd(); a.Next())
    if (a.Get()->name.text[0] != 0)
      out += std::string(" ") + a.Get()->name.c_str() + "=\"" + a.Get()->value.c_str() + "\"";
  if (node.Count() == 0) {
    out += " />\r\n";
    return;
  }
  out += ">\r\n";
  for (KV_XML::ITERATOR it = node.Begin(); !it.IsEnd(); it.Next())
    PlainWrite(*it.Get(), depth + 1, out);
  out += tabs + "</" + v.name.c_str() + ">\r\n";
}

std::string PlainSave(const KV_XML& xml) {
  std::string out;
  for (KV_XML::ITERATOR it = xml.Begin(); !it.IsEnd(); it.Next()) PlainWrite(*it.Get(), 0, out);
  return out;
}

// ---------------------------------------------------------------- comparing

// Every node of a subtree in document order: its depth, name, value and attributes.
void Describe(const NODE& node, int depth, std::string& out) {
  for (KV_XML::ITERATOR it = node.Begin(); !it.IsEnd(); it.Next()) {
    const KV_XML_NODE& v = it.Get()->value;
    out += std::to_string(depth) + " <" + v.name.c_str() + "> '" + v.value.c_str() + "'";
    for (KV_XML::ATTRIBUTE_ITERATOR a = v.attributes.Begin(); !a.IsEnd(); a.Next())
      out += std::string(" [") + a.Get()->name.c_str() + "]=[" + a.Get()->value.c_str() + "]";
    out += '\n';
    Describe(*it.Get(), depth + 1, out);
  }
}

std::string Describe(const KV_XML& xml) {
  std::string out;
  Describe(xml, 0, out);
  return out;
}

// The bytes random texts are made of, the format's own several times over so that tags form.
const char kAlphabet[] = "<<<>>>///\"\"\"===   \t\t\r\n\nab";

std::string RandomText(std::mt19937& random) {
  std::uniform_int_distribution<int> length(0, 48);
  std::uniform_int_distribution<int> pick(0, (int)sizeof(kAlphabet) - 1);  // the zero too
  std::string text(length(random), ' ');
  for (char& c : text) c = kAlphabet[pick(random)];
  return text;
}

struct Settings {
  const char* trimChars;
  bool trim;
};

const Settings kSettings[] = {
    {" \t\n\r", true}, {" \t\n\r", false}, {nullptr, true}, {"a<>/", true}, {"\"b", true}};

}  // namespace

TEST(XmlReference, FastReaderAgreesWithThePlainOneOnRandomTexts) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 20000; ++round) {
    const Settings& settings = kSettings[round % 5];
    // Two texts read into one document, so appending to what is there is compared too.
    std::string first = RandomText(random);
    std::string second = RandomText(random);
    KV_XML fast;
    KV_XML plain;
    PlainReader reader(plain, settings.trimChars, settings.trim);
    bool fastResult =
        fast.Parse(first.data(), (unsigned int)first.size(), settings.trimChars, settings.trim);
    ASSERT_EQ(fastResult, reader.Parse(first.data(), (unsigned int)first.size())) << first;
    PlainReader again(plain, settings.trimChars, settings.trim);
    fast.Parse(second.data(), (unsigned int)second.size(), settings.trimChars, settings.trim);
    again.Parse(second.data(), (unsigned int)second.size());
    ASSERT_EQ(Describe(fast), Describe(plain))
        << "texts '" << first << "' and '" << second << "', round " << round;
  }
}

TEST(XmlReference, FastReaderAgreesOnAThemeLikeText) {
  std::string text = "<Theme Name=\"Default\">\r\n";
  for (int i = 0; i < 200; ++i) {
    std::string n = std::to_string(i);
    text += "\t<Texture Name=\"tex" + n + "\" File=\"data/gui/skin" + n + ".png\" Filter=1 />\r\n";
    text += "\t<Style Name=\"Button" + n + "\">\r\n\t\t<Border>4:4:4:4</Border>\r\n";
    text += "\t\t<Area Id=\"0\" Colors=\"ffffffff:ffcccccc\" Tile/>\r\n\t</Style>\r\n";
  }
  text += "</Theme>\r\n";
  KV_XML fast;
  KV_XML plain;
  ASSERT_TRUE(fast.Parse(text.data(), (unsigned int)text.size(), " \t\n\r", true));
  ASSERT_TRUE(PlainReader(plain, " \t\n\r", true).Parse(text.data(), (unsigned int)text.size()));
  EXPECT_EQ(fast.Begin().Get()->Count(), 400u);
  EXPECT_EQ(Describe(fast), Describe(plain));
}

// Save counts the text first and then writes it into a block of that size: the count
// (SaveLength) and the written bytes must agree with each other and with the plain writer,
// on read texts and on trees built by hand with what a reader never makes (text nodes with
// children, elements with values, empty names and texts, bytes above 0x7F).
TEST(XmlReference, WriterAndItsLengthAgreeWithThePlainWriter) {
  std::mt19937 random(20261208);
  const char* const kWords[] = {"", "", "a", "bc", "x y", "q\"", "<t>", "\xe9\xff", "\t\r\n"};
  std::uniform_int_distribution<int> word(0, (int)(sizeof(kWords) / sizeof(kWords[0])) - 1);
  std::uniform_int_distribution<int> percent(0, 99);
  for (int round = 0; round < 4000; ++round) {
    const Settings& settings = kSettings[round % 5];
    KV_XML xml;
    std::string text = RandomText(random) + RandomText(random);
    xml.Parse(text.data(), (unsigned int)text.size(), settings.trimChars, settings.trim);
    if (round % 2 == 1) {
      // Grow the tree by hand under nodes picked at random, the root included.
      std::vector<NODE*> nodes{&xml};
      for (KV_XML::ITERATOR it = xml.Begin(); !it.IsEnd(); it.Next()) nodes.push_back(it.Get());
      for (int i = percent(random) % 12; i > 0; --i) {
        NODE* parent = nodes[(size_t)percent(random) % nodes.size()];
        KV_XML_NODE node;
        node.name = kWords[word(random)];
        node.value = kWords[word(random)];
        for (int k = percent(random) % 3; k > 0; --k) {
          KV_XML_ATTRIBUTE attribute;
          attribute.name = kWords[word(random)];
          attribute.value = kWords[word(random)];
          node.attributes.PushBack(attribute);
        }
        nodes.push_back(parent->Add(node).Get());
      }
    }
    std::string plain = PlainSave(xml);
    ASSERT_EQ(xml.SaveLength(), plain.size()) << "round " << round;
    KV_ARRAY<unsigned char> out(2);
    bool saved = xml.Save(out);
    ASSERT_EQ(saved, xml.Count() != 0) << "round " << round;
    if (!saved) {
      EXPECT_EQ(out.Size(), 2u);
      continue;
    }
    ASSERT_EQ(out.Size(), plain.size()) << "round " << round;
    ASSERT_EQ(std::string((const char*)out.data, out.Size()), plain) << "round " << round;
    EXPECT_EQ(out.cursor, out.data);
  }
}
