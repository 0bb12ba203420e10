// The faces a picture's text is drawn with: each font's face name (the metric-compatible
// Liberation faces standing in for Arial, Times New Roman and Courier New), weight and slant
// matched through fontconfig, then, where that face lacks the text's characters, the face
// fontconfig finds for them in the language of the font's character set, as GDI chooses a face
// of the charset over the name. Matches are kept, with their cairo faces, until the picture is
// done; they are the picture's own, so pictures decoded on other threads share none.
#pragma once

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <map>
#include <string>

#include "platform/imaging/metafile/gdi_objects.h"

namespace platform::metafile {

class FontFaces {
 public:
  FontFaces();
  ~FontFaces();
  FontFaces(const FontFaces&) = delete;
  FontFaces& operator=(const FontFaces&) = delete;

  // How glyphs are rendered: smoothed, unhinted, at their design advances.
  const cairo_font_options_t* Options() const { return options_; }

  // The face to draw text (code points) in the font with; null when fontconfig gives none.
  cairo_font_face_t* ForText(const Font& font, const std::u32string& text);
  // The face the font names, whose glyph numbers a glyph-index run gives; null when fontconfig
  // has only another face for that name.
  cairo_font_face_t* Named(const Font& font);

 private:
  struct Match {
    FcPattern* pattern = nullptr;  // fontconfig's match, with its file and character set
    cairo_font_face_t* face = nullptr;
    bool named = false;  // the match is a face of the family the font names
  };
  // The kept match for key, or a new one for pattern (which it takes); family is the name the
  // match is a face of when it is named.
  const Match& Find(const std::string& key, FcPattern* pattern, const std::string& family);
  const Match& ByName(const Font& font);
  FcPattern* Pattern(const Font& font) const;
  void Clear();

  cairo_font_options_t* options_;
  std::map<std::string, Match> matches_;
};

}  // namespace platform::metafile
