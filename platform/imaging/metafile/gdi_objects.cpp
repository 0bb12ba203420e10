// The stock objects of an EMF.
#include "platform/imaging/metafile/gdi_objects.h"

namespace platform::metafile {

namespace {

GdiObject SolidBrush(uint8_t grey) {
  GdiObject object;
  object.kind = ObjectKind::Brush;
  object.brush.color = Color{grey, grey, grey};
  return object;
}

GdiObject StockPen(uint32_t style, uint8_t grey) {
  GdiObject object;
  object.kind = ObjectKind::Pen;
  object.pen.style = style;
  object.pen.color = Color{grey, grey, grey};
  return object;
}

GdiObject StockFont(const char* face) {
  GdiObject object;
  object.kind = ObjectKind::Font;
  object.font.face = face;
  return object;
}

}  // namespace

bool StockObject(uint32_t index, GdiObject* out) {
  constexpr uint32_t kStock = 0x80000000;
  if ((index & kStock) == 0) return false;
  switch (index & ~kStock) {
    case 0: *out = SolidBrush(255); return true;  // white
    case 1: *out = SolidBrush(192); return true;  // light grey
    case 2: *out = SolidBrush(128); return true;  // grey
    case 3: *out = SolidBrush(64); return true;   // dark grey
    case 4: *out = SolidBrush(0); return true;    // black
    case 5:
      *out = SolidBrush(0);
      out->brush.style = kBrushNull;
      return true;
    case 6: *out = StockPen(kPenSolid, 255); return true;
    case 7: *out = StockPen(kPenSolid, 0); return true;
    case 8: *out = StockPen(kPenNull, 0); return true;
    case 10:
    case 11:
    case 16: *out = StockFont("Liberation Mono"); return true;
    case 12:
    case 13:
    case 14:
    case 17: *out = StockFont("Liberation Sans"); return true;
    case 18: *out = SolidBrush(255); return true;  // the DC brush, white until set
    case 19: *out = StockPen(kPenSolid, 0); return true;
    default: return false;
  }
}

}  // namespace platform::metafile
