// KV_XML::Parse: the forgiving markup reader. Line ends are dropped first, so breaks
// inside a tag or a text simply vanish; the joined text is then cut into text and tag
// tokens, and each token is handled as it is cut. Tags are split into words at blanks
// and tabs, never inside double quotes, exactly as KV_STRING::Split does, but in place,
// so a multi-megabyte file costs no per-token string copies.
#include "foundation/xml.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

typedef KV_XML::NODE NODE;

// A piece of the joined text: start and length.
struct PIECE {
  const char* text;
  unsigned int length;
};

// Line ends and zero bytes vanish from the text before it is cut (a zero byte also ends
// a piece when the buffer is split into lines). None of them is "<" or ">", so the
// tokens can be cut from the raw buffer and each one joined on its own.
inline bool Vanishes(char c) { return c == '\r' || c == '\n' || c == 0; }

// True when the buffer holds something besides line ends.
bool HasContent(const char* text, unsigned int length) {
  for (unsigned int i = 0; i < length; ++i)
    if (!Vanishes(text[i])) return true;
  return false;
}

// The piece [begin, end) joined: unchanged when it has no vanishing byte, else copied
// into scratch without them.
PIECE Join(const char* begin, const char* end, std::string& scratch) {
  const char* p = begin;
  while (p < end && !Vanishes(*p)) ++p;
  if (p == end) return {begin, (unsigned int)(end - begin)};
  scratch.assign(begin, (size_t)(p - begin));
  for (; p < end; ++p)
    if (!Vanishes(*p)) scratch += *p;
  return {scratch.data(), (unsigned int)scratch.size()};
}

// Appends the words of a tag to words: runs between blanks and tabs, where a double
// quote toggles a quoted run in which blanks do not split. A run still inside quotes
// at the end of the tag is dropped, as the string splitter drops it. Returns whether
// the tag ended inside quotes.
bool SplitWords(const char* text, unsigned int length, std::vector<PIECE>& words) {
  bool inQuote = false;
  unsigned int start = 0;
  for (unsigned int i = 0; i < length; ++i) {
    char c = text[i];
    if (c == '"') inQuote = !inQuote;
    if (inQuote || (c != ' ' && c != '\t')) continue;
    if (i > start) words.push_back({text + start, i - start});
    start = i + 1;
  }
  if (!inQuote && length > start) words.push_back({text + start, length - start});
  return inQuote;
}

class PARSER {
 public:
  PARSER(KV_XML& document, KV_XML_TEXT_POOL& pool, const char* trimChars, bool trim)
      : document(document), pool(pool), current(&document), trimChars(trimChars), trim(trim) {
    if (trimChars != nullptr)
      for (const char* t = trimChars; *t != 0; ++t) isTrim[(unsigned char)*t] = true;
  }

  // Cuts the text into tokens and handles each in order.
  void Run(const char* s, size_t length) {
    const char* end = s + length;
    const char* open = Next(s, end, '<');
    Text(s, open);
    while (open < end) {
      const char* tag = open + 1;
      const char* close = Next(tag, end, '>');
      Tag(tag, close);
      if (close == end) break;
      const char* text = close + 1;
      open = Next(text, end, '<');
      Text(text, open);
    }
  }

 private:
  KV_XML& document;
  KV_XML_TEXT_POOL& pool;
  NODE* current;  // null after a closing tag at the top level
  const char* trimChars;
  bool trim;
  bool isTrim[256] = {};
  std::vector<PIECE> words;
  const NODE blank;
  const KV_XML_ATTRIBUTE blankAttribute;
  std::string joined;  // a token with its line ends removed

  // The tree's Add for an empty node, copying one blank node kept for the whole run
  // instead of building and copying a temporary for every child.
  NODE* AddChild(NODE* parent) {
    NODE* child = parent->children.PushBack(blank).Get();
    child->parent = parent;
    return child;
  }

  static const char* Next(const char* from, const char* end, char c) {
    const void* at = memchr(from, c, (size_t)(end - from));
    return at != nullptr ? (const char*)at : end;
  }

  // A text token: dropped when made only of trim characters, else a text node holding
  // it, its leading and trailing trim runs cut when trimming.
  void Text(const char* rawBegin, const char* rawEnd) {
    // Most texts between tags are line ends and indentation: when every byte either
    // vanishes or is a trim character, the joined text would be dropped anyway.
    if (trimChars != nullptr && OnlyTrimOrVanishing(rawBegin, rawEnd)) return;
    PIECE piece = Join(rawBegin, rawEnd, joined);
    const char* begin = piece.text;
    const char* end = begin + piece.length;
    if (begin == end) return;
    if (trimChars != nullptr) {
      const char* p = begin;
      while (p < end && isTrim[(unsigned char)*p]) ++p;
      if (p == end) return;
      if (trim) {
        begin = p;
        while (isTrim[(unsigned char)end[-1]]) --end;
      }
    }
    NODE* text = AddChild(current != nullptr ? current : &document);
    pool.Lend(text->value.value, begin, (unsigned int)(end - begin));
  }

  bool OnlyTrimOrVanishing(const char* begin, const char* end) const {
    for (const char* p = begin; p < end; ++p)
      if (!isTrim[(unsigned char)*p] && !Vanishes(*p)) return false;
    return true;
  }

  // A tag token: a closing tag moves up one level, any other tag adds an element whose
  // first word is its name and whose further words are attributes; it becomes the
  // current node unless the tag ends in "/".
  void Tag(const char* rawBegin, const char* rawEnd) {
    PIECE piece = Join(rawBegin, rawEnd, joined);
    const char* begin = piece.text;
    unsigned int length = piece.length;
    if (length == 0) return;
    // A slash written right behind the last word ("<b/>") is a word of its own: the
    // words are those of the text before it followed by "/", unless that text ends
    // inside quotes, which swallow the slash along with the rest of the tag.
    bool slash = length > 1 && begin[length - 1] == '/';
    words.clear();
    bool inQuote = SplitWords(begin, slash ? length - 1 : length, words);
    if (slash && !inQuote) words.push_back({"/", 1});
    if (words.empty()) return;
    if (current == nullptr) current = &document;
    if (begin[0] == '/') {
      current = current->parent;
      return;
    }
    NODE* element = AddChild(current);
    pool.Lend(element->value.name, words[0].text, words[0].length);
    for (size_t i = 1; i < words.size(); ++i) Attribute(element->value, words[i]);
    if (begin[length - 1] != '/') current = element;
  }

  // name=value, name="value" or a bare name (empty value); the lone "/" is no attribute.
  void Attribute(KV_XML_NODE& node, const PIECE& word) {
    if (word.length == 1 && word.text[0] == '/') return;
    const char* equals = (const char*)memchr(word.text, '=', word.length);
    unsigned int nameLength = equals ? (unsigned int)(equals - word.text) : word.length;
    const char* value = equals ? equals + 1 : word.text + word.length;
    unsigned int valueLength = word.length - nameLength - (equals ? 1 : 0);
    // A value quoted at both ends loses the quotes; a lone quote is both ends of
    // nothing and stays as it is.
    if (valueLength >= 2 && value[0] == '"' && value[valueLength - 1] == '"') {
      ++value;
      valueLength -= 2;
    }
    KV_LIST<KV_XML_ATTRIBUTE>::ITERATOR it = node.attributes.PushBack(blankAttribute);
    pool.Lend(it.Get()->name, word.text, nameLength);
    pool.Lend(it.Get()->value, value, valueLength);
  }
};

}  // namespace

bool KV_XML::Parse(const char* text, unsigned int length, const char* trimChars, bool trim) {
  if (text == nullptr || length == 0) return false;
  if (!HasContent(text, length)) return false;
  PARSER parser(*this, pool, trimChars, trim);
  parser.Run(text, length);
  return true;
}

// ---------------------------------------------------------------- text pool

void KV_XML_TEXT_POOL::Lend(KV_STRING& s, const char* text, unsigned int length) {
  // Blocks of 64 KB; a longer text gets a block of its own.
  const size_t kBlock = 64 * 1024;
  size_t need = (size_t)length + 1;
  if (need > left) {
    size_t size = need > kBlock ? need : kBlock;
    blocks.push_back(new char[size]);
    next = blocks.back();
    left = size;
  }
  memcpy(next, text, length);
  next[length] = 0;
  // The string's own empty block is given back; from now on it borrows.
  if (!s.notOwned) delete[] s.text;
  s.text = next;
  s.notOwned = 1;
  next += need;
  left -= need;
}

void KV_XML_TEXT_POOL::Free() {
  for (char* block : blocks) delete[] block;
  blocks.clear();
  next = nullptr;
  left = 0;
}
