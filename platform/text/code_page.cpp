// ISO-8859-1 <-> UTF-8.
#include "platform/text/code_page.h"

namespace platform {

std::string Latin1ToUtf8(const char* text) {
  std::string out;
  if (text == nullptr) return out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p < 0x80) {
      out += static_cast<char>(*p);
    } else {
      out += static_cast<char>(0xC0 | (*p >> 6));
      out += static_cast<char>(0x80 | (*p & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToLatin1(const char* text) {
  std::string out;
  if (text == nullptr) return out;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    unsigned char lead = *p;
    int length = lead < 0x80           ? 1
                 : (lead >> 5) == 0x6  ? 2
                 : (lead >> 4) == 0xE  ? 3
                 : (lead >> 3) == 0x1E ? 4
                                       : 0;
    if (length == 0) {  // a stray continuation byte or an invalid lead byte
      ++p;
      continue;
    }
    unsigned long code = length == 1 ? lead : lead & (0x7F >> length);
    int taken = 1;
    for (; taken < length && (p[taken] & 0xC0) == 0x80; ++taken) {
      code = (code << 6) | (p[taken] & 0x3F);
    }
    if (taken == length && code <= 0xFF && !(length == 2 && code < 0x80)) {
      out += static_cast<char>(code);
    }
    p += taken;
  }
  return out;
}

}  // namespace platform
