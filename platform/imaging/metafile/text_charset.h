// The character sets a metafile's font names (the LOGFONT charset byte): the code page its 8-bit
// text is written in, converted with iconv, and the language fontconfig looks for when the named
// face lacks the text's characters. Also the UTF-8 that cairo and fontconfig take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::metafile {

enum Charset : uint8_t {
  kCharsetAnsi = 0,
  kCharsetDefault = 1,
  kCharsetSymbol = 2,
  kCharsetMac = 77,
  kCharsetShiftJis = 128,
  kCharsetHangul = 129,
  kCharsetJohab = 130,
  kCharsetGb2312 = 134,
  kCharsetChineseBig5 = 136,
  kCharsetGreek = 161,
  kCharsetTurkish = 162,
  kCharsetVietnamese = 163,
  kCharsetHebrew = 177,
  kCharsetArabic = 178,
  kCharsetBaltic = 186,
  kCharsetRussian = 204,
  kCharsetThai = 222,
  kCharsetEastEurope = 238,
  kCharsetOem = 255,
};

// The fontconfig language of the charset's script ("ja", "ru", ...), or null for the Latin ones,
// whose faces every font has.
const char* CharsetLanguage(uint8_t charset);

// The characters of 8-bit text in the charset's code page. A character of several bytes (the
// double-byte code pages) advances by the sum of its bytes' spacing entries, as each byte has
// one; dx (when not empty) is shortened to one entry a character. Bytes the code page does not
// define become U+FFFD. Symbol text keeps its bytes as they are: the face maps them.
std::u32string CharsetText(const uint8_t* bytes, size_t count, uint8_t charset,
                           std::vector<double>* dx);

// The characters of UTF-16 text (little-endian code units; pairs of surrogates make one
// character, and their spacing entries are summed).
std::u32string Utf16Text(const uint8_t* units, size_t count, std::vector<double>* dx);

// Text as UTF-8; control characters and lone surrogates become spaces, which have no ink.
std::string Utf8(const std::u32string& text);

}  // namespace platform::metafile
