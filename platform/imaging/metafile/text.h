// Text of the TextOut and ExtTextOut records: the selected font's face (matched by fontconfig,
// with the metric-compatible Liberation faces for Arial, Times New Roman and Courier New), its
// height, weight, italics, escapement, underline and strike-out, placed by the text alignment and
// the record's spacing array, in the text colour, over the background colour when the
// background mode is opaque. Glyph edges are smoothed, as a screen's text is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/imaging/metafile/canvas.h"

namespace platform::metafile {

struct TextRun {
  double x = 0, y = 0;     // reference point, logical units
  std::u32string text;     // one code point a character
  std::vector<double> dx;  // advance after each character, logical units; may be empty
  uint32_t options = 0;    // 2: fill the box with the background colour; 4: clip to it
  bool hasBox = false;
  double box[4] = {0, 0, 0, 0};  // left, top, right, bottom, logical units
};

void DrawText(Canvas& canvas, const TextRun& run);

// The characters of 8-bit text (ISO-8859-1) and of UTF-16 text (little-endian code units; pairs
// of surrogates make one character, and their spacing entries are summed).
std::u32string Latin1Text(const uint8_t* bytes, size_t count);
std::u32string Utf16Text(const uint8_t* units, size_t count, std::vector<double>* dx);

// Shared with the EMF+ text: the face fontconfig is asked for in place of a face a metafile
// names, and the glyphs drawn with cairo's current font and source (those above 64 pixels to the
// em filled from their outlines); false when an outline needs more memory than the budget allows.
const char* FaceFor(const std::string& face);
bool ShowGlyphs(cairo_t* cr, const std::vector<cairo_glyph_t>& glyphs, double emPixels);

}  // namespace platform::metafile
