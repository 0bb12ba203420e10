// Laying out DrawString's text in its layout rectangle, in world units: paragraphs at line feeds,
// lines broken at word breaks (and inside a word wider than a line) unless the format says not to
// wrap or the rectangle has no width, tabs moved to the format's tab stops, then each line
// aligned across and the block of lines aligned down as the format says.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/imaging/metafile/emfplus_points.h"
#include "platform/imaging/metafile/emfplus_string_format.h"

namespace platform::metafile {

// The font's measures in world units: its em, the height above and below the baseline and the
// distance from one line's baseline to the next.
struct StringMetrics {
  double em = 0, ascent = 0, descent = 0, lineHeight = 0;
};

// A character placed on its line: its index in the text and its baseline origin.
struct PlacedCharacter {
  size_t index = 0;
  PointD origin;
};

// A line placed: where its baseline starts and the width of what it shows.
struct PlacedLine {
  PointD origin;
  double width = 0;
};

struct StringLayout {
  std::vector<PlacedCharacter> characters;  // those that show: not spaces, tabs or line ends
  std::vector<PlacedLine> lines;
};

// Lays out the text, one advance a character (world units), in box (no width: no wrapping and
// lines aligned on its left edge; no height: lines aligned on its top edge).
StringLayout LayOutString(const std::u32string& text, const std::vector<double>& advances,
                          const StringMetrics& metrics, const RectD& box,
                          const PlusStringFormat& format);

}  // namespace platform::metafile
