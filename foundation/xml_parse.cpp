// KV_XML::Parse: the forgiving markup reader. The input is first copied, without its line ends,
// into a block the document keeps (the joined text); the tokens are then cut from that copy in
// one pass, each handled as it is cut. Tags are split into words at blanks and tabs, never inside
// double quotes, exactly as KV_STRING::Split does. Every name, value and text is left where it
// lies in the copy and ended by a zero written over the byte behind it (a blank, "=", a quote,
// ">", "<" or a trimmed byte, none of which belongs to any string), so a multi-megabyte file costs
// one copy and no per-string allocation.
#include <cstddef>
#include <cstring>

#include "foundation/xml.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

typedef KV_XML::NODE NODE;

// Line ends and zero bytes vanish from the text before it is cut (a zero byte also ends a piece
// when the buffer is split into lines). Once they are gone, the only zero in the joined text is
// the one put behind its end, which every scan below stops at.
inline bool Vanishes(char c) { return c == '\r' || c == '\n' || c == 0; }

// Copies the n bytes at in to out without the vanishing ones; returns the count kept. Sixteen
// bytes at a time when the processor offers it: a block without line ends, most of every line,
// is stored whole.
size_t CopyJoined(char* out, const char* in, size_t n) {
  char* o = out;
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)),
                               _mm_cmpeq_epi8(v, zero));
    if (_mm_movemask_epi8(hit) == 0) {
      // o never runs ahead of in, so the 16 bytes fit below out + n.
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o), v);
      o += 16;
      continue;
    }
    for (size_t k = i; k < i + 16; ++k) {
      *o = in[k];
      o += !Vanishes(in[k]);
    }
  }
#endif
  for (; i < n; ++i) {
    *o = in[i];
    o += !Vanishes(in[i]);
  }
  return (size_t)(o - out);
}

// What a byte means inside a tag. The zero behind the joined text ends a tag as ">" does.
enum : unsigned char { WORD, BLANK, QUOTE, EQUALS, SLASH, TAG_END };

struct TAG_CLASSES {
  unsigned char of[256] = {};
  constexpr TAG_CLASSES() {
    of[(unsigned char)' '] = BLANK;
    of[(unsigned char)'\t'] = BLANK;
    of[(unsigned char)'"'] = QUOTE;
    of[(unsigned char)'='] = EQUALS;
    of[(unsigned char)'/'] = SLASH;
    of[(unsigned char)'>'] = TAG_END;
    of[0] = TAG_END;
  }
  unsigned char operator[](char c) const { return of[(unsigned char)c]; }
};
constexpr TAG_CLASSES kTag;

// Makes a string that still shows the shared empty text (as every string of a new node does)
// show text in the joined copy instead.
inline void Borrow(KV_STRING& s, char* text) {
  s.text = text;
  s.notOwned = 1;
}

class PARSER {
 public:
  PARSER(KV_XML& document, const char* trimChars, bool trim)
      : document(document), current(&document), trimChars(trimChars), trim(trim) {
    if (trimChars == nullptr) return;
    for (const char* t = trimChars; *t != 0; ++t) isTrim[(unsigned char)*t] = true;
    // A text's leading run stops at the "<" that ends it, even when "<" is a trim character.
    for (int c = 0; c < 256; ++c) skipsLeading[c] = isTrim[c] && c != '<';
  }

  // Cuts the joined text [s, end), with a zero at end, into tokens and handles each in order.
  void Run(char* s, char* end) {
    this->end = end;
    char* p = Text(s);
    while (p != end) {
      p = Tag(p + 1);
      if (p == end) break;
      p = Text(p + 1);
    }
  }

 private:
  KV_XML& document;
  NODE* current;  // null after a closing tag at the top level
  const char* trimChars;
  bool trim;
  bool isTrim[256] = {};
  bool skipsLeading[256] = {};
  char* end = nullptr;
  NODE* element = nullptr;  // the element of the tag being read; null before its first word

  // The tree's Add for an empty node, built in place instead of copied from a temporary.
  NODE* AddChild(NODE* parent) {
    NODE* child = parent->children.PushBackNew().Get();
    child->parent = parent;
    return child;
  }

  char* Find(char* from, char c) {
    void* at = memchr(from, c, (size_t)(end - from));
    return at != nullptr ? (char*)at : end;
  }

  // The text token at p, up to the next "<" or the end: dropped when made only of trim
  // characters, else a text node holding it, its leading and trailing trim runs cut when
  // trimming. Returns where the token ends.
  char* Text(char* p) {
    char* first = p;  // the first byte that is not a trim character
    if (trimChars != nullptr) {
      while (skipsLeading[(unsigned char)*first]) ++first;
    }
    if (first == end || *first == '<') return first;
    char* stop = Find(first, '<');
    char* last = stop;
    if (trimChars != nullptr && trim) {
      p = first;
      while (isTrim[(unsigned char)last[-1]]) --last;
    }
    *last = 0;
    NODE* text = AddChild(current != nullptr ? current : &document);
    Borrow(text->value.value, p);
    return stop;
  }

  // The tag token at tag, up to the next ">" or the end: a closing tag moves up one level, any
  // other tag adds an element whose first word is its name and whose further words are
  // attributes; it becomes the current node unless the tag ends in "/". Returns where the token
  // ends. A "/" that ends a longer tag is a word of its own, as if a blank stood before it.
  char* Tag(char* tag) {
    const bool closing = *tag == '/';
    element = nullptr;
    char* p = tag;
    for (;;) {
      while (kTag[*p] == BLANK) ++p;
      if (kTag[*p] == TAG_END) return Finish(p, false);
      if (*p == '/' && p != tag && kTag[p[1]] == TAG_END) {
        if (!Word(closing, p, p + 1, nullptr)) return p + 1;
        return Finish(p + 1, true);
      }
      char* begin = p;
      char* equals = nullptr;
      for (;;) {
        unsigned char k = kTag[*p];
        if (k == WORD) {
          ++p;
        } else if (k == EQUALS) {
          if (equals == nullptr) equals = p;
          ++p;
        } else if (k == QUOTE) {
          p = QuotedRunEnd(p, equals);
          // A word still inside quotes when the tag ends is dropped, and with it a final "/",
          // which still counts as the tag's last byte.
          if (kTag[*p] == TAG_END) return Finish(p, p - tag > 1 && p[-1] == '/');
          ++p;
        } else if (k == SLASH && (p == tag || kTag[p[1]] != TAG_END)) {
          ++p;
        } else {
          break;  // a blank, the tag's end, or the "/" that ends the tag
        }
      }
      char stop = *p;
      if (!Word(closing, begin, p, equals)) return kTag[stop] == TAG_END ? p : Find(p, '>');
      if (kTag[stop] == TAG_END) return Finish(p, false);
      if (stop == '/') return Finish(p + 1, true);
      ++p;
    }
  }

  // The closing quote of the quoted run that begins at the quote at p, or the tag's end when
  // the run is still open there. Notes the first "=" in the run when the word has none yet.
  char* QuotedRunEnd(char* p, char*& equals) {
    ++p;
    if (equals == nullptr) {
      while (kTag[*p] != QUOTE && kTag[*p] != TAG_END) {
        if (*p == '=' && equals == nullptr) equals = p;
        ++p;
      }
      return p;
    }
    while (kTag[*p] != QUOTE && kTag[*p] != TAG_END) ++p;
    return p;
  }

  // The end of a tag at p; the element becomes current unless the tag's last byte is "/".
  char* Finish(char* p, bool slash) {
    if (element != nullptr && !slash) current = element;
    return p;
  }

  // One word [begin, stop) of a tag; equals is its first "=" (null when none). The first word
  // names the element, or moves up one level in a closing tag (false: the rest of the tag is
  // not looked at); the others are attributes, a lone "/" excepted.
  bool Word(bool closing, char* begin, char* stop, char* equals) {
    if (element == nullptr) {
      if (current == nullptr) current = &document;
      if (closing) {
        current = current->parent;
        return false;
      }
      element = AddChild(current);
      *stop = 0;
      Borrow(element->value.name, begin);
      return true;
    }
    if (stop - begin == 1 && *begin == '/') return true;
    Attribute(begin, stop, equals);
    return true;
  }

  // name=value, name="value" or a bare name (empty value).
  void Attribute(char* begin, char* stop, char* equals) {
    KV_XML_ATTRIBUTE* attribute = element->value.attributes.PushBackNew().Get();
    if (equals == nullptr) {
      *stop = 0;
      Borrow(attribute->name, begin);
      return;
    }
    *equals = 0;
    Borrow(attribute->name, begin);
    char* value = equals + 1;
    // A value quoted at both ends loses the quotes; a lone quote is both ends of nothing and
    // stays as it is.
    if (stop - value >= 2 && value[0] == '"' && stop[-1] == '"') {
      ++value;
      --stop;
    }
    *stop = 0;
    Borrow(attribute->value, value);
  }
};

}  // namespace

bool KV_XML::Parse(const char* text, unsigned int length, const char* trimChars, bool trim) {
  if (text == nullptr || length == 0) return false;
  char* joined = pool.Block((size_t)length + 1);
  size_t n = CopyJoined(joined, text, length);
  if (n == 0) {
    pool.DropLast();
    return false;
  }
  joined[n] = 0;
  PARSER parser(*this, trimChars, trim);
  parser.Run(joined, joined + n);
  return true;
}
