// Feeds arbitrary bytes to the string toolkit's parsers: typed literals with every
// suffix, splitting with several delimiter and quote sets, splitting of raw buffers,
// cutting pieces and escape decoding.
#include "foundation/string.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

const char kSuffixes[] = "xcbswidhrfv";

void CheckItems(KV_STRING* items, unsigned int count) {
  // Items are never empty; touching each one lets the sanitizer see every byte.
  for (unsigned int i = 0; i < count; ++i)
    if (items[i].Length() == 0) __builtin_trap();
  delete[] items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Raw buffer split first: it must read nothing beyond size.
  const char* delimiterSets[] = {"\r\n", " \t", ":", ",;\"", ""};
  const char* quoteSets[] = {nullptr, "\"", "'\"", "\"\""};
  unsigned int count = 0;
  for (const char* d : delimiterSets)
    CheckItems(KvSplitBuffer(data, (unsigned int)size, d, count, nullptr), count);
  CheckItems(KvSplitBuffer(data, (unsigned int)size, " ", count, "\""), count);

  std::string bytes((const char*)data, size);
  KV_STRING text(bytes.c_str());

  // Typed literals: the text's own suffix, then every forced suffix. The output is
  // exactly as large as GetTypeSize says (or the vector size for forced f and v).
  {
    unsigned int need = text.GetTypeSize();
    unsigned char* out = new unsigned char[need > 0 ? need : 1];
    text.Decode(out, 0);
    delete[] out;
  }
  for (const char* s = kSuffixes; *s != 0; ++s) {
    unsigned char out[64];
    unsigned int need = (*s == 'x') ? text.Length() / 2 : 32;
    unsigned char* block = need > sizeof(out) ? new unsigned char[need] : out;
    text.Decode(block, *s);
    if (block != out) delete[] block;
  }

  for (const char* d : delimiterSets)
    for (const char* q : quoteSets) CheckItems(text.Split(d, count, q), count);

  KV_STRING piece;
  unsigned int pos = 0;
  unsigned int steps = 0;
  do {
    pos = text.Extract(piece, ":", pos);
    if (++steps > size + 2) __builtin_trap();  // Extract must always make progress
  } while (pos != 0);

  KV_STRING replaced;
  text.Replace(replaced, "a", "bc");

  KV_STRING escaped(text);
  escaped.Unescape();
  if (escaped.Length() > text.Length()) __builtin_trap();
  return 0;
}
