// The faces EMF+ text is drawn in: a font's family (with the stand-ins the EMF text takes for the
// faces metafiles name most), weight and slant matched through fontconfig, kept with their cairo
// faces until the picture is done, and whether the match is a face of the family the font names,
// which glyph numbers (rather than characters) are drawn in only.
#pragma once

#include <cairo.h>

#include <map>
#include <string>

#include "platform/imaging/metafile/emfplus_font.h"

namespace platform::metafile {

class PlusFontFaces {
 public:
  struct Face {
    cairo_font_face_t* face = nullptr;  // null when fontconfig gives none
    bool named = false;                 // a face of the family the font names
  };

  PlusFontFaces() = default;
  ~PlusFontFaces() { Clear(); }
  PlusFontFaces(const PlusFontFaces&) = delete;
  PlusFontFaces& operator=(const PlusFontFaces&) = delete;

  // The face for the font, kept by the table (the caller does not destroy it).
  Face For(const PlusFont& font);

 private:
  void Clear();

  std::map<std::string, Face> faces_;
};

}  // namespace platform::metafile
