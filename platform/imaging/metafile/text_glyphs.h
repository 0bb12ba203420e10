// The glyphs a run of text draws, one a character, in the face chosen for it: characters through
// the face's character map; a symbol font's characters (its bytes) through the face's symbol
// map, as GDI maps them; a glyph-index run's numbers as they are.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

namespace platform::metafile {

enum class GlyphSource { Characters, Symbols, Indices };

// The glyphs of text at the origin, in the scaled font's face; false (no glyphs) when the face
// cannot be read. A number or character the face lacks draws its missing glyph.
bool RunGlyphs(cairo_scaled_font_t* scaled, const std::u32string& text, GlyphSource source,
               std::vector<cairo_glyph_t>* glyphs);

}  // namespace platform::metafile
