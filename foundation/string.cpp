// KV_STRING: construction, assignment, appending, comparison and wide conversion.
// Every replacing operation builds the new block completely before the old one is
// released, so a source that points into the string's own text stays readable.
#include "foundation/string.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

char* NewText(const char* p, size_t n) {
  char* block = new char[n + 1];
  if (n > 0) memcpy(block, p, n);
  block[n] = 0;
  return block;
}

size_t WideLength(const KV_WCHAR* w) {
  size_t n = 0;
  while (w[n] != 0) ++n;
  return n;
}

}  // namespace

// ---------------------------------------------------------------- construction

const char KV_STRING::emptyText[1] = {0};

// One block of exactly the other's length, or none for an empty text.
KV_STRING::KV_STRING(const KV_STRING& other) : KV_STRING() {
  if (other.text[0] == 0) return;
  text = NewText(other.text, strlen(other.text));
  notOwned = 0;
}

KV_STRING::KV_STRING(const char* p) : KV_STRING() { Assign(p); }

KV_STRING::KV_STRING(const KV_WCHAR* w) : KV_STRING() { Assign(w); }

void KV_STRING::Install(char* block) {
  char* old = text;
  text = block;
  if (!notOwned) delete[] old;
  notOwned = 0;
}

void KV_STRING::Empty() {
  if (!notOwned) delete[] text;
  text = const_cast<char*>(emptyText);
  notOwned = 1;
}

// ---------------------------------------------------------------- access

unsigned int KV_STRING::Length() const { return (unsigned int)strlen(text); }

unsigned int KV_STRING::WideByteSize(unsigned int n) const { return (Length() + n) * 2; }

bool KV_STRING::ToWide(KV_WCHAR* buffer, unsigned int size) const {
  if (buffer == nullptr || size == 0) return false;
  unsigned int n = Length();
  // The conversion refuses a text that does not fit and leaves the buffer empty.
  if (n + 1 > size) {
    buffer[0] = 0;
    return true;
  }
  // ISO-8859-1: every byte is the code point of the same number.
  for (unsigned int i = 0; i < n; ++i) buffer[i] = (KV_WCHAR)(unsigned char)text[i];
  buffer[n] = 0;
  return true;
}

// ---------------------------------------------------------------- assignment

void KV_STRING::Assign(const char* p) {
  if (p == nullptr) return;
  size_t n = strlen(p);
  if (n == 0)
    Empty();
  else
    Install(NewText(p, n));
}

void KV_STRING::Assign(const KV_WCHAR* w) {
  if (w == nullptr) return;
  size_t n = WideLength(w);
  char* block = new char[n + 1];
  size_t i = 0;
  for (; i < n; ++i) {
    // A character outside the code page fails the whole conversion: empty text.
    if (w[i] > 0xFF) {
      i = 0;
      break;
    }
    block[i] = (char)w[i];
  }
  block[i] = 0;
  Install(block);
}

void KV_STRING::AssignN(const char* p, unsigned int n) {
  if (p == nullptr) return;
  // strnlen: never read past the n bytes asked for.
  size_t length = strnlen(p, n);
  if (length == 0)
    Empty();
  else
    Install(NewText(p, length));
}

KV_STRING& KV_STRING::operator=(const KV_STRING& other) {
  Assign(other.text);
  return *this;
}

KV_STRING& KV_STRING::operator=(const char* p) {
  Assign(p);
  return *this;
}

void KV_STRING::Clear() { Empty(); }

void KV_STRING::Format(const char* format, ...) {
  if (format == nullptr) return;
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  int n = vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (n < 0) {
    va_end(args);
    return;
  }
  char* block = new char[(size_t)n + 1];
  vsnprintf(block, (size_t)n + 1, format, args);
  va_end(args);
  Install(block);
}

// ---------------------------------------------------------------- appending

KV_STRING& KV_STRING::operator+=(const char* p) {
  if (p == nullptr) return *this;
  size_t a = strlen(text);
  size_t b = strlen(p);
  char* block = new char[a + b + 1];
  memcpy(block, text, a);
  memcpy(block + a, p, b);
  block[a + b] = 0;
  Install(block);
  return *this;
}

KV_STRING& KV_STRING::operator+=(int value) {
  char work[32];
  snprintf(work, sizeof(work), "%d", value);
  return *this += work;
}

KV_STRING& KV_STRING::operator+=(unsigned int value) {
  char work[32];
  snprintf(work, sizeof(work), "%u", value);
  return *this += work;
}

KV_STRING& KV_STRING::operator+=(double value) {
  char work[32];
  snprintf(work, sizeof(work), "%.8g", value);
  return *this += work;
}

// ---------------------------------------------------------------- comparison

bool KV_STRING::operator==(const KV_STRING& other) const { return strcmp(text, other.text) == 0; }

bool KV_STRING::operator==(const char* p) const { return strcmp(text, p) == 0; }

bool KV_STRING::operator!=(const KV_STRING& other) const { return !(*this == other); }

bool KV_STRING::operator!=(const char* p) const { return !(*this == p); }
