// Matching EMF+ fonts to faces through fontconfig.
#include "platform/imaging/metafile/emfplus_font_face.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include "platform/imaging/metafile/text.h"

namespace platform::metafile {

namespace {

// Faces kept at once; a file naming more fonts starts the table again, so that it cannot hold
// an open face for every name a file makes up.
constexpr size_t kMostFaces = 64;

// Whether any of the match's family names is the one the font gives.
bool NamesFamily(FcPattern* match, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
  return false;
}

PlusFontFaces::Face Match(const PlusFont& font) {
  PlusFontFaces::Face found;
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return found;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(FaceFor(font.family)));
  FcPatternAddInteger(pattern, FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return found;
  found.named = !font.family.empty() && NamesFamily(match, font.family);
  found.face = cairo_ft_font_face_create_for_pattern(match);
  FcPatternDestroy(match);
  if (cairo_font_face_status(found.face) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(found.face);
    found.face = nullptr;
  }
  return found;
}

}  // namespace

PlusFontFaces::Face PlusFontFaces::For(const PlusFont& font) {
  std::string key = font.family + (font.bold ? "|b" : "|") + (font.italic ? "i" : "");
  auto kept = faces_.find(key);
  if (kept != faces_.end()) return kept->second;
  if (faces_.size() >= kMostFaces) Clear();
  Face found = Match(font);
  faces_[key] = found;
  return found;
}

void PlusFontFaces::Clear() {
  for (auto& entry : faces_)
    if (entry.second.face != nullptr) cairo_font_face_destroy(entry.second.face);
  faces_.clear();
}

}  // namespace platform::metafile
