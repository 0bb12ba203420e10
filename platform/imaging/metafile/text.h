// Text of the TextOut and ExtTextOut records: the selected font's face (font_faces.h), its
// height, weight, italics, escapement, underline and strike-out, placed by the text alignment and
// the record's spacing array, in the text colour, over the background colour when the
// background mode is opaque. Glyph edges are smoothed, as a screen's text is. In the advanced
// graphics mode the world transform turns, slants and scales the glyphs; in the compatible mode
// text stays upright and only its height is scaled. Inside a path bracket the glyphs' outlines
// join the path instead of being drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/imaging/metafile/canvas.h"
#include "platform/imaging/metafile/text_charset.h"

namespace platform::metafile {

struct TextRun {
  double x = 0, y = 0;        // reference point, logical units
  std::u32string text;        // one code point a character, or one glyph number with glyphIndices
  bool glyphIndices = false;  // text holds glyph numbers of the face the font names
  std::vector<double> dx;     // advance after each character, logical units; may be empty
  uint32_t options = 0;       // 2: fill the box with the background colour; 4: clip to it
  bool hasBox = false;
  double box[4] = {0, 0, 0, 0};  // left, top, right, bottom, logical units
  bool advanced = false;         // drawn in the advanced graphics mode
};

void DrawText(Canvas& canvas, const TextRun& run);

// Shared with the EMF+ text: the glyphs drawn with cairo's current font and source, those above
// 64 pixels to the em filled from their outlines; false when an outline needs more memory than
// the budget allows.
bool ShowGlyphs(cairo_t* cr, const std::vector<cairo_glyph_t>& glyphs, double emPixels);

}  // namespace platform::metafile
