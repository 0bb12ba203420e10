// Characters, symbol bytes and glyph numbers to the glyphs of a FreeType face.
#include "platform/imaging/metafile/text_glyphs.h"

#include <cairo-ft.h>

#include "platform/imaging/metafile/text_charset.h"

namespace platform::metafile {

namespace {

// The maps a symbol font's codes are looked up in, in turn: a symbol map (TrueType symbol fonts
// keep their glyphs at 0xF000 and up), the font's own encoding (Type 1 and CFF fonts), then its
// Unicode map, which some symbol fonts fill with their codes as they are.
constexpr FT_Encoding kSymbolMaps[] = {FT_ENCODING_MS_SYMBOL, FT_ENCODING_ADOBE_CUSTOM,
                                       FT_ENCODING_ADOBE_STANDARD, FT_ENCODING_UNICODE};

// The glyph a symbol font draws for a code: a byte, or a UTF-16 unit that may carry the symbol
// area's 0xF000.
FT_UInt SymbolGlyph(FT_Face face, char32_t code) {
  char32_t plain = code >= 0xF000 && code <= 0xF0FF ? code - 0xF000 : code;
  char32_t area = plain < 0x100 ? plain + 0xF000 : plain;
  for (FT_Encoding encoding : kSymbolMaps) {
    for (int i = 0; i < face->num_charmaps; ++i) {
      if (face->charmaps[i]->encoding != encoding || FT_Set_Charmap(face, face->charmaps[i]) != 0)
        continue;
      FT_UInt glyph = FT_Get_Char_Index(face, encoding == FT_ENCODING_MS_SYMBOL ? area : plain);
      if (glyph == 0)
        glyph = FT_Get_Char_Index(face, encoding == FT_ENCODING_MS_SYMBOL ? plain : area);
      if (glyph != 0) return glyph;
    }
  }
  return 0;
}

// Glyphs the face itself looks up, with the face's own character map left as cairo chose it.
bool FaceGlyphs(cairo_scaled_font_t* scaled, const std::u32string& text, GlyphSource source,
                std::vector<cairo_glyph_t>* glyphs) {
  FT_Face face = cairo_ft_scaled_font_lock_face(scaled);
  if (face == nullptr) return false;
  FT_CharMap chosen = face->charmap;
  for (char32_t c : text) {
    unsigned long index = 0;
    if (source == GlyphSource::Symbols)
      index = SymbolGlyph(face, c);
    else if (c < static_cast<char32_t>(face->num_glyphs))
      index = c;
    glyphs->push_back(cairo_glyph_t{index, 0, 0});
  }
  if (chosen != nullptr) FT_Set_Charmap(face, chosen);
  cairo_ft_scaled_font_unlock_face(scaled);
  return true;
}

}  // namespace

bool RunGlyphs(cairo_scaled_font_t* scaled, const std::u32string& text, GlyphSource source,
               std::vector<cairo_glyph_t>* glyphs) {
  glyphs->clear();
  if (cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS) return false;
  if (source != GlyphSource::Characters) return FaceGlyphs(scaled, text, source, glyphs);
  std::string utf8 = Utf8(text);
  cairo_glyph_t* found = nullptr;
  int count = 0;
  if (cairo_scaled_font_text_to_glyphs(scaled, 0, 0, utf8.data(), static_cast<int>(utf8.size()),
                                       &found, &count, nullptr, nullptr,
                                       nullptr) != CAIRO_STATUS_SUCCESS)
    return false;
  glyphs->assign(found, found + count);
  cairo_glyph_free(found);
  return true;
}

}  // namespace platform::metafile
