// An EMF+ font made ready to lay out and draw text with: its face (the picture's font faces, as GDI text matches them),
// its em in the world units of the drawing state, the glyphs of its face for characters, and the
// advances and heights of its glyphs in world units (measured unhinted, so they scale exactly).
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "platform/imaging/metafile/emfplus_font.h"
#include "platform/imaging/metafile/font_faces.h"
#include "platform/imaging/metafile/emfplus_graphics.h"
#include "platform/imaging/metafile/emfplus_string_layout.h"

namespace platform::metafile {

class TextFont {
 public:
  // The face for the characters of text, or with glyphNumbers the face the font names, whose
  // glyph numbers a file gives (none when fontconfig has only another face for that name).
  TextFont(PlusGraphics& graphics, FontFaces& faces, const PlusFont& font,
           const std::u32string& text, bool glyphNumbers);
  ~TextFont();
  TextFont(const TextFont&) = delete;
  TextFont& operator=(const TextFont&) = delete;

  // False when fontconfig gave no face, or the em in world units is not a finite number above 0.
  bool Ready() const { return measured_ != nullptr; }
  cairo_font_face_t* Face() const { return face_; }
  double Em() const { return em_; }
  StringMetrics Metrics() const;

  // The face's glyph for each character (0, its missing glyph, for those it lacks); false when
  // the face cannot be read.
  bool Glyphs(const std::u32string& text, std::vector<unsigned long>* glyphs) const;
  // The advance of a glyph, world units.
  double Advance(unsigned long glyph) const;

 private:
  cairo_font_face_t* face_ = nullptr;  // kept by the picture's font faces
  double em_ = 0;
  cairo_scaled_font_t* measured_ = nullptr;
};

}  // namespace platform::metafile
