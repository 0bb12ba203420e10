// Reading EMF+ font objects.
#include "platform/imaging/metafile/emfplus_font.h"

#include "platform/imaging/metafile/emfplus_points.h"
#include "platform/imaging/metafile/emfplus_units.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

namespace {

enum : uint32_t { kStyleBold = 1, kStyleItalic = 2, kStyleUnderline = 4, kStyleStrikeOut = 8 };
// Version, em size, unit, style, a field not used, the name's length; then its UTF-16 units.
constexpr size_t kNameLength = 20, kName = 24;

}  // namespace

std::shared_ptr<const PlusFont> ReadFont(const uint8_t* data, size_t size) {
  RecordReader r(data, size);
  auto font = std::make_shared<PlusFont>();
  font->unit = r.U32(8);
  uint32_t style = r.U32(12);
  size_t length = r.U32(kNameLength);
  if (!ReadFloat(r, 4, &font->emSize) || r.Short() || font->emSize <= 0 ||
      font->unit > kUnitMillimeter || length > size / 2 || !r.Has(kName, length * 2))
    return nullptr;
  font->bold = (style & kStyleBold) != 0;
  font->italic = (style & kStyleItalic) != 0;
  font->underline = (style & kStyleUnderline) != 0;
  font->strikeOut = (style & kStyleStrikeOut) != 0;
  // Family names are matched by their ASCII letters, as the EMF fonts' are; a name ends at a
  // zero unit.
  for (size_t i = 0; i < length; ++i) {
    uint16_t c = r.U16(kName + i * 2);
    if (c == 0) break;
    font->family += static_cast<char>(c < 0x80 ? c : '?');
  }
  return font;
}

}  // namespace platform::metafile
