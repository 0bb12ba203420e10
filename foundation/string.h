// KV_STRING: the framework's one string type, an owned heap copy of 8-bit text
// (ISO-8859-1) that is never null, plus the small text toolkit built on it:
// printf-style formatting, splitting with quote characters, cutting pieces,
// replacing, backslash escapes and typed literals ("12i", "1.5:2v", "ff00x").
// A string with text owns its block of exactly length + 1 bytes and copies never share
// one; an empty string shows one shared, never-written empty text and allocates nothing.
#pragma once

// Wide text is UTF-16; here it is only ever the ISO-8859-1 range widened.
typedef char16_t KV_WCHAR;

class KV_STRING {
 public:
  char* text;              // zero-terminated text in its own new[] block; never null while alive
  unsigned char notOwned;  // when set, the destructor leaves text alone (the shared empty
                           // text, or text a markup document lends)

  // An empty text (the shared one: no allocation).
  KV_STRING() : text(const_cast<char*>(emptyText)), notOwned(1) {}
  // A copy of another string's text.
  KV_STRING(const KV_STRING& other);
  // A copy of a zero-terminated text; null gives the empty string.
  KV_STRING(const char* p);
  // The wide text narrowed; null gives the empty string.
  KV_STRING(const KV_WCHAR* w);
  // Releases the text unless notOwned is set.
  ~KV_STRING() {
    if (!notOwned) delete[] text;
    text = nullptr;
  }

  // ---- access ----
  // The text pointer (never null).
  const char* c_str() const { return text; }
  operator const char*() const { return text; }
  // Number of bytes before the terminating zero.
  unsigned int Length() const;
  // (Length + n) * 2: the byte size of a wide buffer for the text and n more characters.
  unsigned int WideByteSize(unsigned int n) const;
  // Widens the whole text into buffer (size in wide characters, terminator included);
  // false for a null buffer or size 0. A text that does not fit leaves the buffer empty.
  bool ToWide(KV_WCHAR* buffer, unsigned int size) const;

  // ---- assignment ----
  // Copies p; null leaves the string unchanged. p may point into this string's own text.
  void Assign(const char* p);
  // Narrows the wide text w; null leaves the string unchanged. A character above 0xFF
  // cannot be narrowed and leaves the string empty, as the runtime conversion does.
  void Assign(const KV_WCHAR* w);
  // Copies the first min(n, strlen(p)) bytes of p; null leaves the string unchanged.
  void AssignN(const char* p, unsigned int n);
  KV_STRING& operator=(const KV_STRING& other);
  KV_STRING& operator=(const char* p);
  // Becomes the empty text (the shared one, releasing an owned block).
  void Clear();
  // printf-style assignment with no length limit; the values may point into this text.
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // ---- appending (each returns the string itself) ----
  KV_STRING& operator+=(const char* p);
  // Appends the decimal text of the value.
  KV_STRING& operator+=(int value);
  KV_STRING& operator+=(unsigned int value);
  // Appends the value with 8 significant digits ("%.8g": 100 gives "100", 1e9 "1e+09").
  KV_STRING& operator+=(double value);

  // ---- comparison (byte-wise, case-sensitive) ----
  bool operator==(const KV_STRING& other) const;
  bool operator==(const char* p) const;
  bool operator!=(const KV_STRING& other) const;
  bool operator!=(const char* p) const;

  // ---- searching and cutting ----
  // strstr of sub in p: the first occurrence, or null.
  static const char* FindRaw(const char* p, const char* sub);
  // Searches sub from index from on; true when found, with its index stored in pos
  // when pos is given; false when from >= Length or sub does not occur.
  bool Find(unsigned int from, const char* sub, unsigned int* pos) const;
  // out := the piece from index from up to the next delimiter (or the end); returns
  // the index just past that delimiter, or 0 when no piece follows (or from > Length).
  unsigned int Extract(KV_STRING& out, const char* delimiter, unsigned int from) const;
  // out := this text with every occurrence of find replaced by with; returns the
  // number replaced. An empty find text matches nothing (out is a plain copy).
  unsigned int Replace(KV_STRING& out, const char* find, const char* with) const;
  // Replaces every byte equal to from by to in place; returns the number replaced.
  unsigned int ReplaceChar(char from, char to);
  // Decodes backslash escapes in place (\n, \t, \x41, ...); \0 ends the text.
  void Unescape();

  // ---- splitting ----
  // Splits at any byte of delimiters, never inside a run opened by a byte of quotes
  // (null: no quotes). Returns a new[] array (never null, free with delete[]) and its
  // item count through count. Empty items are never produced.
  KV_STRING* Split(const char* delimiters, unsigned int& count, const char* quotes) const;

  // ---- typed literals ----
  // Decodes the text as a typed literal into out (suffix taken from the last character,
  // or forcedSuffix when not 0); false, with out untouched, for a text too short or an
  // unknown suffix. Writes GetTypeSize() bytes for the suffix.
  bool Decode(void* out, char forcedSuffix) const;
  // The last character when it is a type suffix (x c b s w i d h r f v) and the text
  // has at least 2 characters; else 0.
  char GetTypeSuffix() const;
  // The byte size Decode writes for the text's own suffix; 0 for none.
  unsigned int GetTypeSize() const;

 private:
  // The text every empty string shows until it is given one of its own. It is never
  // written: every operation that changes a text installs a new block first, and the
  // in-place ones (ReplaceChar, Unescape) stop at the terminating zero. The string marks
  // it not owned, so nothing releases it.
  static const char emptyText[1];

  // Takes block as the new text and releases the old one; a not-owned old text is
  // left to its holder and the string owns its text from then on.
  void Install(char* block);
  // Releases an owned text and shows the shared empty one.
  void Empty();
};

// Split on a raw byte range that need not be zero-terminated; no byte at or beyond
// length is read. A zero byte inside the range is a boundary like a delimiter.
KV_STRING* KvSplitBuffer(const void* buffer, unsigned int length, const char* delimiters,
                         unsigned int& count, const char* quotes);
