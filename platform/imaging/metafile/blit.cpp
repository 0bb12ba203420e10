// Placing bitmaps through cairo patterns, and the raster operations through scratch layers.
#include "platform/imaging/metafile/blit.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/imaging/metafile/paint.h"
#include "platform/imaging/metafile/pattern_matrix.h"
#include "platform/imaging/metafile/raster_layer.h"

namespace platform::metafile {

namespace {

// Where a bitmap lands: its pixels' map onto the picture and the outline it fills there.
struct Placement {
  cairo_matrix_t toPicture{1, 0, 0, 1, 0, 0};
  Path outline;
};

// A bitmap placed somewhere else than the source, such as a mask.
struct PlacedBitmap {
  const DibPixels* bitmap = nullptr;
  cairo_matrix_t toPicture{1, 0, 0, 1, 0, 0};
};

// A cairo surface over the bitmap's own pixels.
cairo_surface_t* BitmapSurface(const DibPixels& bitmap) {
  return cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(bitmap.pixels),
                                             CAIRO_FORMAT_ARGB32, bitmap.width, bitmap.height,
                                             bitmap.width * 4);
}

// A pattern of the surface placed on the picture; null when the placement is degenerate or lays
// the bitmap where it cannot show.
cairo_pattern_t* PlacedPattern(cairo_surface_t* source, const cairo_matrix_t& toPicture) {
  cairo_matrix_t place = toPicture;
  if (cairo_matrix_invert(&place) != CAIRO_STATUS_SUCCESS || !Representable(place) ||
      !Reaches(place, cairo_image_surface_get_width(source),
               cairo_image_surface_get_height(source)))
    return nullptr;
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source);
  cairo_pattern_set_matrix(pattern, &place);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  return pattern;
}

// Fills the outline on cr with the placed bitmap; false when the placement is degenerate.
bool PaintBitmap(cairo_t* cr, const PlacedBitmap& placed, const Path& outline) {
  cairo_surface_t* surface = BitmapSurface(*placed.bitmap);
  cairo_pattern_t* pattern = PlacedPattern(surface, placed.toPicture);
  if (pattern != nullptr) {
    cairo_set_source(cr, pattern);
    outline.Emit(cr, 0);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
  }
  cairo_surface_destroy(surface);
  return pattern != nullptr;
}

// A rectangle of logical units: the source rectangle's pixels stretched over the destination.
bool AreaPlacement(Canvas& canvas, const BlitArea& area, Placement* out) {
  AddBox(&out->outline, canvas.ToPicture(), area.x, area.y, area.x + area.w, area.y + area.h);
  if (area.srcW == 0 || area.srcH == 0) return false;
  double sx = area.w / area.srcW, sy = area.h / area.srcH;
  cairo_matrix_t toLogical, toPicture = canvas.ToPicture();
  cairo_matrix_init(&toLogical, sx, 0, 0, sy, area.x - area.srcX * sx, area.y - area.srcY * sy);
  cairo_matrix_multiply(&out->toPicture, &toLogical, &toPicture);
  return true;
}

// The brush filling the outline on cr as a copy, whatever the mix mode.
bool PaintBrush(Canvas& canvas, cairo_t* cr, const Path& outline) {
  DcState state = canvas.State();
  state.rop2 = kR2CopyPen;
  return FillWithBrush(cr, outline, state.brush, state, false);
}

std::unique_ptr<RasterLayer> Layer(Canvas& canvas, const PixelBox& box) {
  auto layer = std::make_unique<RasterLayer>(canvas.Cairo(), box);
  return layer->Ready() ? std::move(layer) : nullptr;
}

// The operation through layers: the source where the operations take it, the brush where they
// take it, else the outline alone, and the mask; then combined with the picture.
void Combined(Canvas& canvas, const Placement& place, const DibPixels* bitmap,
              const PlacedBitmap* mask, uint8_t fore, uint8_t back) {
  bool source = UsesSource(fore) || UsesSource(back);
  bool pattern = UsesPattern(fore) || UsesPattern(back);
  PixelBox box;
  if (!OutlineBox(canvas.Cairo(), place.outline, 0, &box)) canvas.Fail();
  if (box.Empty()) return;
  std::unique_ptr<RasterLayer> layers[4];
  RasterInputs inputs;
  inputs.fore = fore, inputs.back = back;
  if (source) {
    if (!(layers[0] = Layer(canvas, box))) return;
    if (!PaintBitmap(layers[0]->Cairo(), PlacedBitmap{bitmap, place.toPicture}, place.outline))
      return;
    inputs.source = layers[0].get();
  }
  if (pattern) {
    if (!(layers[1] = Layer(canvas, box))) return;
    if (!PaintBrush(canvas, layers[1]->Cairo(), place.outline)) canvas.Fail();
    inputs.pattern = layers[1].get();
  }
  if (!source && !pattern) {
    if (!(layers[2] = Layer(canvas, box))) return;
    cairo_set_source_rgb(layers[2]->Cairo(), 1, 1, 1);
    place.outline.Emit(layers[2]->Cairo(), 0);
    cairo_fill(layers[2]->Cairo());
    inputs.shape = layers[2].get();
  }
  if (mask != nullptr) {
    if (!(layers[3] = Layer(canvas, box))) return;
    if (!PaintBitmap(layers[3]->Cairo(), *mask, place.outline)) return;
    inputs.mask = layers[3].get();
  }
  CombineIntoPicture(canvas.Cairo(), box, inputs);
}

// Draws the placement under the foreground operation, or under both chosen by the mask. A copy
// of the source or of the brush is painted straight.
void Transfer(Canvas& canvas, const Placement& place, const DibPixels* bitmap,
              const PlacedBitmap* mask, uint8_t fore, uint8_t back) {
  if (mask == nullptr) back = fore;
  if ((UsesSource(fore) || UsesSource(back)) && bitmap == nullptr) return;
  if (mask == nullptr && fore == kRopNop) return;
  if (mask == nullptr && fore == kRopSrcCopy) {
    PaintBitmap(canvas.Cairo(), PlacedBitmap{bitmap, place.toPicture}, place.outline);
  } else if (mask == nullptr && fore == kRopPatCopy) {
    if (!PaintBrush(canvas, canvas.Cairo(), place.outline)) canvas.Fail();
  } else {
    Combined(canvas, place, bitmap, mask, fore, back);
  }
}

// The mask's pixel (maskX, maskY) on the source's pixel (srcX, srcY).
PlacedBitmap MaskOver(const DibPixels* mask, const Placement& place, double srcX, double srcY,
                      double maskX, double maskY) {
  PlacedBitmap placed{mask, place.toPicture};
  cairo_matrix_t shift;
  cairo_matrix_init_translate(&shift, srcX - maskX, srcY - maskY);
  cairo_matrix_multiply(&placed.toPicture, &shift, &place.toPicture);
  return placed;
}

}  // namespace

void DrawBitmap(Canvas& canvas, const DibPixels& bitmap, const BlitArea& area, uint32_t rop) {
  Placement place;
  if (AreaPlacement(canvas, area, &place))
    Transfer(canvas, place, &bitmap, nullptr, RopIndex(rop), kRopNop);
}

void BlendBitmap(Canvas& canvas, const DibPixels& bitmap, const BlitArea& area, double opacity) {
  Placement place;
  if (!AreaPlacement(canvas, area, &place)) return;
  cairo_surface_t* source = BitmapSurface(bitmap);
  cairo_pattern_t* placed = PlacedPattern(source, place.toPicture);
  if (placed != nullptr) {
    cairo_t* cr = canvas.Cairo();
    cairo_save(cr);
    place.outline.Emit(cr, 0);
    cairo_clip(cr);
    cairo_set_source(cr, placed);
    cairo_paint_with_alpha(cr, opacity);
    cairo_restore(cr);
    cairo_pattern_destroy(placed);
  }
  cairo_surface_destroy(source);
}

void FillArea(Canvas& canvas, double x, double y, double w, double h, uint32_t rop) {
  Placement place;
  AddBox(&place.outline, canvas.ToPicture(), x, y, x + w, y + h);
  Transfer(canvas, place, nullptr, nullptr, RopIndex(rop), kRopNop);
}

void DrawMasked(Canvas& canvas, const DibPixels* bitmap, const DibPixels* mask, BlitArea area,
                double maskX, double maskY, uint32_t rop4) {
  // The source is as large as the destination, in its own pixels.
  area.srcW = area.w, area.srcH = area.h;
  Placement place;
  if (!AreaPlacement(canvas, area, &place)) return;
  uint8_t fore = RopIndex(rop4), back = static_cast<uint8_t>(rop4 >> 24);
  if (mask == nullptr) {
    Transfer(canvas, place, bitmap, nullptr, fore, fore);
    return;
  }
  PlacedBitmap placedMask = MaskOver(mask, place, area.srcX, area.srcY, maskX, maskY);
  Transfer(canvas, place, bitmap, &placedMask, fore, back);
}

void DrawOnParallelogram(Canvas& canvas, const DibPixels& bitmap, const DibPixels* mask,
                         const PointD corners[3], const BlitArea& source, double maskX,
                         double maskY) {
  if (source.srcW == 0 || source.srcH == 0) return;
  const PointD &p0 = corners[0], &p1 = corners[1], &p2 = corners[2];
  // Source pixels along the rectangle's top run to p1, along its left side to p2.
  double xx = (p1.x - p0.x) / source.srcW, yx = (p1.y - p0.y) / source.srcW;
  double xy = (p2.x - p0.x) / source.srcH, yy = (p2.y - p0.y) / source.srcH;
  cairo_matrix_t toLogical, toPicture = canvas.ToPicture();
  cairo_matrix_init(&toLogical, xx, yx, xy, yy, p0.x - source.srcX * xx - source.srcY * xy,
                    p0.y - source.srcX * yx - source.srcY * yy);
  Placement place;
  cairo_matrix_multiply(&place.toPicture, &toLogical, &toPicture);
  PointD p3{p1.x + p2.x - p0.x, p1.y + p2.y - p0.y};
  AddPolyline(&place.outline, toPicture, {p0, p1, p3, p2}, true);
  if (mask == nullptr) {
    Transfer(canvas, place, &bitmap, nullptr, kRopSrcCopy, kRopSrcCopy);
    return;
  }
  PlacedBitmap placedMask = MaskOver(mask, place, source.srcX, source.srcY, maskX, maskY);
  Transfer(canvas, place, &bitmap, &placedMask, kRopSrcCopy, kRopNop);
}

// Only the part of the source rectangle inside the bitmap is drawn.
void DrawOnDevice(Canvas& canvas, const DibPixels& bitmap, const BlitArea& area) {
  const Header& head = canvas.Head();
  PointD corner = Map(canvas.ToPicture(), area.x, area.y);
  Placement place;
  cairo_matrix_init(&place.toPicture, head.scaleX, 0, 0, head.scaleY,
                    corner.x - area.srcX * head.scaleX, corner.y - area.srcY * head.scaleY);
  double left = std::max(area.srcX, 0.0), top = std::max(area.srcY, 0.0);
  double right = std::min(area.srcX + area.srcW, double(bitmap.width));
  double bottom = std::min(area.srcY + area.srcH, double(bitmap.height));
  if (right <= left || bottom <= top) return;
  AddBox(&place.outline, place.toPicture, left, top, right, bottom);
  Transfer(canvas, place, &bitmap, nullptr, kRopSrcCopy, kRopSrcCopy);
}

void DrawWithoutColor(Canvas& canvas, DibPixels* bitmap, const BlitArea& area, Color left) {
  uint32_t colour = 0xff000000u | static_cast<uint32_t>(left.r) << 16 |
                    static_cast<uint32_t>(left.g) << 8 | left.b;
  size_t count = static_cast<size_t>(bitmap->width) * bitmap->height;
  for (size_t i = 0; i < count; ++i)
    if (bitmap->pixels[i] == colour) bitmap->pixels[i] = 0;
  DrawBitmap(canvas, *bitmap, area, kRopSrcCopy << 16);
}

}  // namespace platform::metafile
