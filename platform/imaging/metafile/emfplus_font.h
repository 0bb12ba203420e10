// EMF+ font objects: an em size in a unit (world units scale with the world transform; the
// others are measured on the page), the style (bold, italic, underline, strike-out) and the
// family's name. The face is matched through fontconfig when text is drawn (font_faces.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform::metafile {

struct PlusFont {
  double emSize = 0;  // in unit
  uint32_t unit = 0;
  bool bold = false, italic = false, underline = false, strikeOut = false;
  std::string family;  // its ASCII characters; others as '?'
};

// Reads an EmfPlusFont object; null when it is cut short, its em size is not a finite number
// above 0, or its unit is none of the units.
std::shared_ptr<const PlusFont> ReadFont(const uint8_t* data, size_t size);

}  // namespace platform::metafile
