// Splitting text into items at delimiter bytes, with quote characters that shield
// delimiters. Both passes (count, then cut) share one boundary rule so the array
// allocated by the first always has room for the items cut by the second.
#include "foundation/string.h"

namespace {

// The scanning state shared by the counting and the cutting pass. The delimiter and
// quote sets are turned into byte tables once, so each position costs one lookup.
struct SPLIT_STATE {
  bool delimiter[256] = {};
  bool toggles[256] = {};  // an odd number of quote characters equal this byte
  bool anyDelimiter = false;
  bool inQuote = false;
  bool first = true;
  unsigned int last = 0;

  enum { NONE, BOUNDARY, ITEM };

  SPLIT_STATE(const char* delimiters, const char* quotes) {
    for (const char* d = delimiters; *d != 0; ++d) delimiter[(unsigned char)*d] = true;
    // The zero byte and the end of the range count only with a non-empty set.
    anyDelimiter = delimiters[0] != 0;
    delimiter[0] = anyDelimiter;
    // Every quote character equal to a byte toggles once, so only the parity counts.
    if (quotes != nullptr)
      for (const char* q = quotes; *q != 0; ++q)
        toggles[(unsigned char)*q] = !toggles[(unsigned char)*q];
  }

  // Steps over position i holding byte c (atEnd: the position just past the range).
  // Returns NONE, BOUNDARY, or ITEM when a boundary at i also ends an item.
  int Step(unsigned int i, unsigned char c, bool atEnd) {
    if (!atEnd && toggles[c]) inQuote = !inQuote;
    if (inQuote) return NONE;
    bool boundary = atEnd ? anyDelimiter : delimiter[c];
    if (!boundary) return NONE;
    bool item = (i - last > 1) || (first && i > 0);
    last = i;
    first = false;
    return item ? ITEM : BOUNDARY;
  }
};

KV_STRING* SplitBytes(const char* bytes, unsigned int length, const char* delimiters,
                      unsigned int& count, const char* quotes) {
  count = 0;
  if (delimiters == nullptr) delimiters = "";

  SPLIT_STATE counting(delimiters, quotes);
  unsigned int n = 0;
  for (unsigned int i = 0; i < length; ++i)
    if (counting.Step(i, (unsigned char)bytes[i], false) == SPLIT_STATE::ITEM) ++n;

  // The end of the range can close one more item than the counting pass saw.
  KV_STRING* items = new KV_STRING[n + 1];

  SPLIT_STATE cutting(delimiters, quotes);
  unsigned int start = 0;
  for (unsigned int i = 0; i <= length; ++i) {
    bool atEnd = (i == length);
    int step = cutting.Step(i, atEnd ? 0 : (unsigned char)bytes[i], atEnd);
    if (step == SPLIT_STATE::NONE) continue;
    // A zero byte can only sit inside quotes here; the item then ends at it.
    if (step == SPLIT_STATE::ITEM) items[count++].AssignN(bytes + start, i - start);
    start = i + 1;
  }
  return items;
}

}  // namespace

KV_STRING* KV_STRING::Split(const char* delimiters, unsigned int& count, const char* quotes) const {
  return SplitBytes(text, Length(), delimiters, count, quotes);
}

KV_STRING* KvSplitBuffer(const void* buffer, unsigned int length, const char* delimiters,
                         unsigned int& count, const char* quotes) {
  if (buffer == nullptr) length = 0;
  return SplitBytes((const char*)buffer, length, delimiters, count, quotes);
}
