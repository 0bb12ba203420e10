// KV_STRING: searching, cutting out pieces, replacing and backslash escapes.
#include "foundation/string.h"

#include <cstring>

#include "foundation/hex_digit.h"

namespace {

// The byte a one-character escape stands for; the character itself when it has no
// meaning of its own (\' \" \\ \? and every character outside the table).
char EscapeByte(char c) {
  switch (c) {
    case '0': return 0;
    case 'a': return 7;
    case 'b': return 8;
    case 'f': return 12;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    case 'v': return 11;
    default: return c;
  }
}

}  // namespace

// ---------------------------------------------------------------- searching

const char* KV_STRING::FindRaw(const char* p, const char* sub) { return strstr(p, sub); }

bool KV_STRING::Find(unsigned int from, const char* sub, unsigned int* pos) const {
  if (from >= Length()) return false;
  const char* hit = strstr(text + from, sub);
  if (hit == nullptr) return false;
  if (pos != nullptr) *pos = (unsigned int)(hit - text);
  return true;
}

unsigned int KV_STRING::Extract(KV_STRING& out, const char* delimiter, unsigned int from) const {
  unsigned int length = Length();
  if (from > length) return 0;
  // An empty delimiter would match where the piece starts and hand the caller its own
  // position back for ever; it is treated as one that never occurs.
  const char* hit = nullptr;
  size_t delimiterLength = 0;
  if (delimiter != nullptr && delimiter[0] != 0) {
    hit = strstr(text + from, delimiter);
    delimiterLength = strlen(delimiter);
  }
  unsigned int end = hit ? (unsigned int)(hit - text) : length;
  out.AssignN(text + from, end - from);
  size_t next = end + delimiterLength;
  if (hit == nullptr || next > length) return 0;
  return (unsigned int)next;
}

unsigned int KV_STRING::Replace(KV_STRING& out, const char* find, const char* with) const {
  // out may be this very string: work on a copy of the text.
  KV_STRING source(*this);
  out.Clear();
  if (with == nullptr) with = "";
  if (find == nullptr || find[0] == 0) {
    out = source;
    return 0;
  }
  size_t findLength = strlen(find);
  unsigned int replaced = 0;
  const char* rest = source.text;
  for (const char* hit; (hit = strstr(rest, find)) != nullptr; rest = hit + findLength) {
    ++replaced;
    KV_STRING before;
    before.AssignN(rest, (unsigned int)(hit - rest));
    out += before;
    out += with;
  }
  out += rest;
  return replaced;
}

unsigned int KV_STRING::ReplaceChar(char from, char to) {
  unsigned int replaced = 0;
  for (char* p = text; *p != 0; ++p) {
    if (*p == from) {
      *p = to;
      ++replaced;
    }
  }
  return replaced;
}

// ---------------------------------------------------------------- escapes

void KV_STRING::Unescape() {
  size_t length = strlen(text);
  if (length == 0) return;
  // The decoded text is never longer than the encoded one.
  char* decoded = new char[length + 1];
  size_t out = 0;
  for (size_t i = 0; i < length; ++i) {
    char c = text[i];
    if (c != '\\') {
      decoded[out++] = c;
      continue;
    }
    if (i + 1 >= length) break;  // a trailing backslash is dropped
    char e = text[++i];
    if (e == 'x') {
      // Fewer than two characters follow: the escape produces nothing.
      if (i + 2 >= length) break;
      decoded[out++] = (char)(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
      i += 2;
      continue;
    }
    decoded[out++] = EscapeByte(e);
  }
  decoded[out] = 0;
  // Assigning stops at the first zero byte, so \0 and \x00 end the text.
  Assign(decoded);
  delete[] decoded;
}
