// Text of the font's code page into characters through iconv, one character at a time, so that
// each character's bytes (and so its spacing entries) are known.
#include "platform/imaging/metafile/text_charset.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>

namespace platform::metafile {

namespace {

struct CharsetInfo {
  uint8_t charset;
  const char* codePage;  // iconv's name
  const char* language;  // fontconfig's, null for the Latin scripts
};

// Charset to code page and language; a charset not listed reads as the default, 1252.
constexpr CharsetInfo kCharsets[] = {
    {kCharsetAnsi, "CP1252", nullptr},    {kCharsetDefault, "CP1252", nullptr},
    {kCharsetMac, "MACINTOSH", nullptr},  {kCharsetShiftJis, "CP932", "ja"},
    {kCharsetHangul, "CP949", "ko"},      {kCharsetJohab, "JOHAB", "ko"},
    {kCharsetGb2312, "CP936", "zh-cn"},   {kCharsetChineseBig5, "CP950", "zh-tw"},
    {kCharsetGreek, "CP1253", "el"},      {kCharsetTurkish, "CP1254", "tr"},
    {kCharsetVietnamese, "CP1258", "vi"}, {kCharsetHebrew, "CP1255", "he"},
    {kCharsetArabic, "CP1256", "ar"},     {kCharsetBaltic, "CP1257", "lt"},
    {kCharsetRussian, "CP1251", "ru"},    {kCharsetThai, "CP874", "th"},
    {kCharsetEastEurope, "CP1250", "pl"}, {kCharsetOem, "CP437", nullptr},
};

const CharsetInfo& InfoOf(uint8_t charset) {
  for (const CharsetInfo& info : kCharsets)
    if (info.charset == charset) return info;
  return kCharsets[0];
}

// The double-byte code pages write no character in more than two bytes.
constexpr size_t kLongestCharacter = 2;
constexpr char32_t kUndefined = 0xFFFD;

// One iconv descriptor from a code page to UTF-32, for one run of text: descriptors hold the
// state of a conversion, so none is shared between threads or runs, and opening one takes under
// a microsecond, so none is kept.
class Converter {
 public:
  explicit Converter(const char* codePage) : cd_(iconv_open("UTF-32LE", codePage)) {}
  ~Converter() {
    if (Ready()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Ready() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Appends the character that the first bytes of text make (at most left bytes) and returns how
  // many bytes it took: one more is tried while iconv finds the character incomplete. A byte
  // that starts no character of the code page gives U+FFFD.
  size_t Next(const uint8_t* text, size_t left, std::u32string* out) {
    for (size_t length = 1; length <= std::min(left, kLongestCharacter); ++length) {
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
      char* in = reinterpret_cast<char*>(const_cast<uint8_t*>(text));
      size_t inLeft = length;
      uint8_t buffer[16];
      char* o = reinterpret_cast<char*>(buffer);
      size_t oLeft = sizeof buffer;
      if (iconv(cd_, &in, &inLeft, &o, &oLeft) == static_cast<size_t>(-1)) {
        if (errno == EINVAL) continue;
        break;
      }
      // Code pages with combining marks hold a letter back until they see what follows it.
      iconv(cd_, nullptr, nullptr, &o, &oLeft);
      size_t produced = (sizeof buffer - oLeft) / 4;
      if (produced == 0) break;
      for (size_t i = 0; i < produced; ++i)
        out->push_back(static_cast<char32_t>(buffer[i * 4] | buffer[i * 4 + 1] << 8 |
                                             buffer[i * 4 + 2] << 16 | buffer[i * 4 + 3] << 24));
      return length;
    }
    out->push_back(kUndefined);
    return 1;
  }

 private:
  iconv_t cd_;
};

void AppendUtf8(std::string* out, char32_t c) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xC0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out += static_cast<char>(0xE0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (c >> 18));
    *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

const char* CharsetLanguage(uint8_t charset) {
  return charset == kCharsetSymbol ? nullptr : InfoOf(charset).language;
}

std::u32string CharsetText(const uint8_t* bytes, size_t count, uint8_t charset,
                           std::vector<double>* dx) {
  std::u32string text;
  Converter converter(InfoOf(charset).codePage);
  if (charset == kCharsetSymbol || !converter.Ready()) {
    for (size_t i = 0; i < count; ++i) text += static_cast<char32_t>(bytes[i]);
    return text;
  }
  std::vector<double> spacing;
  for (size_t at = 0; at < count;) {
    size_t before = text.size();
    size_t length = converter.Next(bytes + at, count - at, &text);
    // The character's advance is its bytes' together; a byte that gave two characters (a
    // letter and its mark) advances after the second.
    double advance = 0;
    for (size_t i = at; i < at + length && i < dx->size(); ++i) advance += (*dx)[i];
    spacing.insert(spacing.end(), text.size() - before - 1, 0.0);
    spacing.push_back(advance);
    at += length;
  }
  if (!dx->empty()) *dx = spacing;
  return text;
}

std::u32string Utf16Text(const uint8_t* units, size_t count, std::vector<double>* dx) {
  std::u32string text;
  std::vector<double> spacing;
  for (size_t i = 0; i < count; ++i) {
    char32_t c = static_cast<char32_t>(units[i * 2] | units[i * 2 + 1] << 8);
    double advance = i < dx->size() ? (*dx)[i] : 0;
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < count) {
      char32_t low = static_cast<char32_t>(units[i * 2 + 2] | units[i * 2 + 3] << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        if (i + 1 < dx->size()) advance += (*dx)[i + 1];
        ++i;
      }
    }
    text += c;
    spacing.push_back(advance);
  }
  if (!dx->empty()) *dx = spacing;
  return text;
}

std::string Utf8(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    bool bad = c < 0x20 || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF;
    AppendUtf8(&out, bad ? U' ' : c);
  }
  return out;
}

}  // namespace platform::metafile
