// Feeds arbitrary bytes to the markup reader, then writes the document (the length
// counted first must be the length written), reads the written text back into a second
// document, and walks it with every path form and mode (creating, removing and reading
// attributes) before both are destroyed.
#include "foundation/xml.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

const char* const kPaths[] = {
    ".",      "..",          "./..",         "./",    "a",       "a/b",
    "a#next", "a#last#prev", "a#id:2/b#new", "#last", "",        "/",
    "a//b",   ".#last#next", "../a#id:0x1",  "x#id:", "a/b/c/d",
};

// The reader needs no terminating zero: the bytes go in through an exact-size copy,
// so the sanitizer catches any read past the length.
void ParseExact(KV_XML& xml, const uint8_t* data, size_t size, const char* trimChars, bool trim) {
  char* copy = new char[size ? size : 1];
  if (size) memcpy(copy, data, size);
  xml.Parse(copy, (unsigned int)size, trimChars, trim);
  delete[] copy;
}

void Walk(KV_XML& xml) {
  KV_XML::NODE* start = xml.Begin().Get();
  for (const char* path : kPaths) {
    xml.Find(path, 2, nullptr);
    xml.Find(path, 2, start);
    xml.GetAttribute(path, "Name", 2, start);
  }
  KV_XML::ITERATOR made = xml.Find("a/b#new/c", 0, start);
  xml.Find("..", 0, made.Get());
  xml.Find(".#last", 0, made.Get());
  xml.GetAttribute("a#next", "k", 0, nullptr);
  xml.Find("a", 1, nullptr);
  xml.Find(".", 1, xml.Begin().Get());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  KV_XML xml;
  ParseExact(xml, data, size, " \t\n\r", true);
  ParseExact(xml, data, size, nullptr, false);

  KV_ARRAY<unsigned char> saved;
  if (xml.Save(saved)) {
    // The length Save counted first is the length it wrote.
    if (xml.SaveLength() != saved.Size()) __builtin_trap();
    // The written text reads back; a copy of that document owns its nodes and
    // writes again.
    KV_XML again;
    again.Parse((const char*)saved.data, saved.Size(), " \t\n\r", true);
    Walk(again);
    KV_XML copy(again);
    KV_ARRAY<unsigned char> out;
    copy.Save(out);
  }
  Walk(xml);
  xml.Save(saved);
  xml.Clear();
  if (xml.Count() != 0) __builtin_trap();
  return 0;
}
