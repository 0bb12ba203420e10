// Drawing bitmaps through cairo patterns, and the raster operations pixel by pixel.
#include "platform/imaging/metafile/blit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/imaging/metafile/paint.h"

namespace platform::metafile {

namespace {

// Every other operation with a source is drawn as a copy (SRCCOPY).
constexpr uint32_t kSrcPaint = 0x00EE0086, kSrcAnd = 0x008800C6, kSrcInvert = 0x00660046,
                   kNotSrcCopy = 0x00330008;
constexpr uint32_t kPatCopy = 0x00F00021, kBlackness = 0x00000042, kWhiteness = 0x00FF0062;
constexpr uint32_t kRgbMask = 0x00ffffff, kOpaque = 0xff000000u;

// The destination box as an outline in picture pixels.
Path DestinationOutline(Canvas& canvas, const BlitArea& area) {
  Path outline;
  AddBox(&outline, canvas.ToPicture(), area.x, area.y, area.x + area.w, area.y + area.h);
  return outline;
}

// A pattern of the bitmap placed on the destination; null when the placement is degenerate.
cairo_pattern_t* PlacedBitmap(Canvas& canvas, cairo_surface_t* source, const BlitArea& area) {
  if (area.srcW == 0 || area.srcH == 0) return nullptr;
  // Bitmap pixels to logical units, then to the picture.
  cairo_matrix_t toLogical, toPicture = canvas.ToPicture(), place;
  cairo_matrix_init(&toLogical, area.w / area.srcW, 0, 0, area.h / area.srcH,
                    area.x - area.srcX * area.w / area.srcW,
                    area.y - area.srcY * area.h / area.srcH);
  cairo_matrix_multiply(&place, &toLogical, &toPicture);
  if (cairo_matrix_invert(&place) != CAIRO_STATUS_SUCCESS) return nullptr;
  for (double v : {place.xx, place.yx, place.xy, place.yy, place.x0, place.y0})
    if (!std::isfinite(v)) return nullptr;
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source);
  cairo_pattern_set_matrix(pattern, &place);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  return pattern;
}

// The combination of a drawn pixel d (premultiplied, possibly transparent) with a source pixel.
uint32_t Combine(uint32_t d, uint32_t s, uint32_t rop) {
  bool empty = (d >> 24) == 0;
  s &= kRgbMask;
  switch (rop) {
    case kSrcAnd:
      if (s == kRgbMask) return d;
      return kOpaque | ((empty ? kRgbMask : d) & s);
    case kSrcPaint:
      if (s == 0) return d;
      return kOpaque | ((empty ? 0 : d) | s);
    case kSrcInvert:
      if (s == 0) return d;
      return kOpaque | (((empty ? 0 : d) ^ s) & kRgbMask);
    case kNotSrcCopy: return kOpaque | (~s & kRgbMask);
    default: return kOpaque | s;
  }
}

// A raster operation other than a copy: the source is drawn alone onto a scratch picture over the
// destination's box, combined with the picture pixel by pixel, and the result painted back
// through the clip.
void Combined(Canvas& canvas, cairo_pattern_t* placed, const Path& outline, uint32_t rop) {
  cairo_t* cr = canvas.Cairo();
  outline.Emit(cr, 0);
  double x1, y1, x2, y2;
  cairo_path_extents(cr, &x1, &y1, &x2, &y2);
  int left = std::max(0, static_cast<int>(std::floor(x1)));
  int top = std::max(0, static_cast<int>(std::floor(y1)));
  int right = std::min(canvas.Head().width, static_cast<int>(std::ceil(x2)));
  int bottom = std::min(canvas.Head().height, static_cast<int>(std::ceil(y2)));
  if (right <= left || bottom <= top) return;
  int w = right - left, h = bottom - top;
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(scratch) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(scratch);
    return;
  }
  cairo_t* scr = cairo_create(scratch);
  cairo_set_antialias(scr, CAIRO_ANTIALIAS_NONE);
  cairo_translate(scr, -left, -top);
  cairo_set_source(scr, placed);
  outline.Emit(scr, 0);
  cairo_fill(scr);
  cairo_destroy(scr);
  cairo_surface_flush(scratch);

  cairo_surface_t* target = cairo_get_target(cr);
  cairo_surface_flush(target);
  const uint8_t* picture = cairo_image_surface_get_data(target);
  int pictureStride = cairo_image_surface_get_stride(target);
  uint8_t* source = cairo_image_surface_get_data(scratch);
  int stride = cairo_image_surface_get_stride(scratch);
  if (picture != nullptr && source != nullptr) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        uint32_t s, d;
        std::memcpy(&s, source + y * stride + x * 4, 4);
        std::memcpy(&d, picture + (top + y) * pictureStride + (left + x) * 4, 4);
        uint32_t out = (s >> 24) == 0 ? d : Combine(d, s, rop);
        std::memcpy(source + y * stride + x * 4, &out, 4);
      }
    }
  }
  cairo_surface_mark_dirty(scratch);
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, scratch, left, top);
  outline.Emit(cr, 0);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_surface_destroy(scratch);
}

// A cairo surface over the bitmap's own pixels.
cairo_surface_t* BitmapSurface(const DibPixels& bitmap) {
  return cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(bitmap.pixels),
                                             CAIRO_FORMAT_ARGB32, bitmap.width, bitmap.height,
                                             bitmap.width * 4);
}

}  // namespace

void DrawBitmap(Canvas& canvas, const DibPixels& bitmap, const BlitArea& area, uint32_t rop) {
  cairo_surface_t* source = BitmapSurface(bitmap);
  cairo_pattern_t* placed = PlacedBitmap(canvas, source, area);
  if (placed != nullptr) {
    Path outline = DestinationOutline(canvas, area);
    cairo_t* cr = canvas.Cairo();
    if (rop == kSrcAnd || rop == kSrcPaint || rop == kSrcInvert || rop == kNotSrcCopy) {
      Combined(canvas, placed, outline, rop);
    } else {
      cairo_set_source(cr, placed);
      outline.Emit(cr, 0);
      cairo_fill(cr);
    }
    cairo_pattern_destroy(placed);
  }
  cairo_surface_destroy(source);
}

void BlendBitmap(Canvas& canvas, const DibPixels& bitmap, const BlitArea& area, double opacity) {
  cairo_surface_t* source = BitmapSurface(bitmap);
  cairo_pattern_t* placed = PlacedBitmap(canvas, source, area);
  if (placed != nullptr) {
    cairo_t* cr = canvas.Cairo();
    cairo_save(cr);
    DestinationOutline(canvas, area).Emit(cr, 0);
    cairo_clip(cr);
    cairo_set_source(cr, placed);
    cairo_paint_with_alpha(cr, opacity);
    cairo_restore(cr);
    cairo_pattern_destroy(placed);
  }
  cairo_surface_destroy(source);
}

void FillArea(Canvas& canvas, double x, double y, double w, double h, uint32_t rop) {
  Brush brush;
  if (rop == kPatCopy) {
    brush = canvas.State().brush;
  } else if (rop == kWhiteness) {
    brush.color = Color{255, 255, 255};
  } else if (rop != kBlackness) {
    return;
  }
  Path outline = DestinationOutline(canvas, BlitArea{x, y, w, h});
  FillWithBrush(canvas.Cairo(), outline, brush, canvas.State(), false);
}

}  // namespace platform::metafile
