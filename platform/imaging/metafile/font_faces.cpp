// Matching fonts through fontconfig and keeping the matches for the picture.
#include "platform/imaging/metafile/font_faces.h"

#include <cairo-ft.h>
#include <strings.h>

#include "platform/imaging/metafile/text_charset.h"

namespace platform::metafile {

namespace {

// Matches kept at most; a picture of more fonts starts over, so a file of endless different
// fonts cannot pile up matches.
constexpr size_t kMostMatches = 256;

// The faces metafiles name most, by their metric-compatible stand-ins.
const char* FamilyFor(const std::string& face) {
  static const char* const kFaces[][2] = {
      {"Arial", "Liberation Sans"},
      {"Helvetica", "Liberation Sans"},
      {"Times New Roman", "Liberation Serif"},
      {"Times", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
      {"Courier", "Liberation Mono"},
  };
  for (const auto& pair : kFaces)
    if (strcasecmp(face.c_str(), pair[0]) == 0) return pair[1];
  return face.empty() ? "Liberation Sans" : face.c_str();
}

// The first character with ink that the match has no glyph for, or 0.
char32_t FirstMissing(const FcPattern* match, const std::u32string& text) {
  FcCharSet* characters = nullptr;
  if (match == nullptr || FcPatternGetCharSet(match, FC_CHARSET, 0, &characters) != FcResultMatch)
    return 0;
  for (char32_t c : text)
    if (c > U' ' && !FcCharSetHasChar(characters, c)) return c;
  return 0;
}

bool NamesFamily(const FcPattern* match, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
  return false;
}

void AddString(FcPattern* pattern, const char* object, const char* value) {
  FcPatternAddString(pattern, object, reinterpret_cast<const FcChar8*>(value));
}

}  // namespace

FontFaces::FontFaces() : options_(cairo_font_options_create()) {
  cairo_font_options_set_antialias(options_, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options_, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options_, CAIRO_HINT_METRICS_OFF);
}

FontFaces::~FontFaces() {
  Clear();
  cairo_font_options_destroy(options_);
}

void FontFaces::Clear() {
  for (auto& entry : matches_) {
    if (entry.second.face != nullptr) cairo_font_face_destroy(entry.second.face);
    if (entry.second.pattern != nullptr) FcPatternDestroy(entry.second.pattern);
  }
  matches_.clear();
}

// The font's slant and weight, as cairo's own font selection gives them to fontconfig.
FcPattern* FontFaces::Pattern(const Font& font) const {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddInteger(pattern, FC_WEIGHT, font.weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_MEDIUM);
  const char* language = CharsetLanguage(font.charset);
  if (language != nullptr) AddString(pattern, FC_LANG, language);
  return pattern;
}

const FontFaces::Match& FontFaces::Find(const std::string& key, FcPattern* pattern,
                                        const std::string& family) {
  auto found = matches_.find(key);
  if (found != matches_.end()) {
    FcPatternDestroy(pattern);
    return found->second;
  }
  if (matches_.size() >= kMostMatches) Clear();
  // The rendering options go into the pattern first, as cairo's own selection does, so that
  // fontconfig's settings for them apply the same way.
  cairo_ft_font_options_substitute(options_, pattern);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  Match match;
  match.pattern = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match.pattern != nullptr) {
    match.face = cairo_ft_font_face_create_for_pattern(match.pattern);
    match.named = !family.empty() && NamesFamily(match.pattern, family);
  }
  return matches_[key] = match;
}

// The match for the font's name, in its charset's language.
const FontFaces::Match& FontFaces::ByName(const Font& font) {
  FcPattern* pattern = Pattern(font);
  AddString(pattern, FC_FAMILY, FamilyFor(font.face));
  const char* language = CharsetLanguage(font.charset);
  std::string key = std::string("name ") + (font.italic ? "i" : "-") +
                    (font.weight >= 600 ? "b " : "- ") + (language ? language : "") + " " +
                    font.face;
  return Find(key, pattern, font.face);
}

cairo_font_face_t* FontFaces::ForText(const Font& font, const std::u32string& text) {
  const Match& named = ByName(font);
  // Symbol text names glyphs of the face it names, whatever characters they show.
  char32_t missing = font.charset == kCharsetSymbol ? 0 : FirstMissing(named.pattern, text);
  if (missing == 0) return named.face;
  // A face for the characters the named one lacks, in the charset's language: kept by the block
  // of the first character missing, and matched again when it lacks some of this text's.
  const char* language = CharsetLanguage(font.charset);
  std::string key = std::string("other ") + (font.italic ? "i" : "-") +
                    (font.weight >= 600 ? "b " : "- ") + (language ? language : "") + " " +
                    std::to_string(missing >> 8);
  auto kept = matches_.find(key);
  if (kept != matches_.end()) {
    if (FirstMissing(kept->second.pattern, text) == 0) return kept->second.face;
    if (kept->second.face != nullptr) cairo_font_face_destroy(kept->second.face);
    if (kept->second.pattern != nullptr) FcPatternDestroy(kept->second.pattern);
    matches_.erase(kept);
  }
  FcPattern* pattern = Pattern(font);
  FcCharSet* characters = FcCharSetCreate();
  for (char32_t c : text)
    if (c > U' ') FcCharSetAddChar(characters, c);
  FcPatternAddCharSet(pattern, FC_CHARSET, characters);
  FcCharSetDestroy(characters);
  return Find(key, pattern, "").face;
}

cairo_font_face_t* FontFaces::Named(const Font& font) {
  const Match& match = ByName(font);
  return match.named ? match.face : nullptr;
}

}  // namespace platform::metafile
