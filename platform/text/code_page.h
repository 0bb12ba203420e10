// The system's 8-bit code page, ISO-8859-1, and its conversions to and from UTF-8, for texts that
// cross to SDL (window titles) or come from it (typed text).
#pragma once

#include <string>

namespace platform {

// An ISO-8859-1 text as UTF-8.
std::string Latin1ToUtf8(const char* text);
// A UTF-8 text as ISO-8859-1: characters above 0xFF and malformed bytes are dropped.
std::string Utf8ToLatin1(const char* text);

}  // namespace platform
