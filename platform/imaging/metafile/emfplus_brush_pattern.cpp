// Brushes as cairo patterns.
#include "platform/imaging/metafile/emfplus_brush_pattern.h"

#include <cmath>

#include "platform/imaging/metafile/emfplus_gradient.h"
#include "platform/imaging/metafile/emfplus_hatch.h"
#include "platform/imaging/metafile/emfplus_image_pattern.h"

namespace platform::metafile {

namespace {

uint32_t Premultiplied(PlusColor c) {
  auto times = [&c](uint8_t v) { return static_cast<uint32_t>((v * c.a + 127) / 255); };
  return static_cast<uint32_t>(c.a) << 24 | times(c.r) << 16 | times(c.g) << 8 | times(c.b);
}

// A repeating pattern of premultiplied words (a row after another), placed by toPattern.
cairo_pattern_t* Tiled(const uint32_t* words, int w, int h, const cairo_matrix_t& toPattern,
                       cairo_extend_t extend) {
  cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(tile) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(tile);
    return nullptr;
  }
  cairo_surface_flush(tile);
  auto* rows = cairo_image_surface_get_data(tile);
  int stride = cairo_image_surface_get_stride(tile);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      reinterpret_cast<uint32_t*>(rows + static_cast<size_t>(y) * stride)[x] =
          words[static_cast<size_t>(y) * w + x];
  cairo_surface_mark_dirty(tile);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
  cairo_surface_destroy(tile);
  cairo_pattern_set_extend(pattern, extend);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  cairo_pattern_set_matrix(pattern, &toPattern);
  return pattern;
}

// A hatch is laid in picture pixels from the rendering origin, whatever the transform.
cairo_pattern_t* HatchPattern(const PlusBrush& brush, PointD origin) {
  uint32_t words[kHatchTile * kHatchTile];
  uint32_t fore = Premultiplied(brush.color), back = Premultiplied(brush.second);
  for (int y = 0; y < kHatchTile; ++y)
    for (int x = 0; x < kHatchTile; ++x)
      words[y * kHatchTile + x] = HatchCovers(brush.hatch, x, y) ? fore : back;
  cairo_matrix_t toTile;
  cairo_matrix_init_translate(&toTile, -std::floor(origin.x), -std::floor(origin.y));
  return Tiled(words, kHatchTile, kHatchTile, toTile, CAIRO_EXTEND_REPEAT);
}

// A texture: the image's pixels one to a brush unit, repeated as the wrap mode says, or once, with
// nothing around it, when clamped.
cairo_pattern_t* TexturePattern(const PlusBrush& brush, const cairo_matrix_t& brushToPicture) {
  uint32_t wrap = brush.wrap <= kWrapClamp ? brush.wrap : kWrapTile;
  cairo_pattern_t* pattern =
      ImagePattern(brush.texture, brushToPicture, wrap, CAIRO_FILTER_NEAREST);
  if (pattern != nullptr && wrap == kWrapClamp)
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_NONE);
  return pattern;
}

}  // namespace

cairo_pattern_t* PlusBrushPattern(const PlusBrush& brush, const cairo_matrix_t& worldToPicture,
                                  PointD origin) {
  cairo_matrix_t brushToPicture;
  cairo_matrix_multiply(&brushToPicture, &brush.transform, &worldToPicture);
  switch (brush.type) {
    case BrushType::Solid:
      return cairo_pattern_create_rgba(brush.color.r / 255.0, brush.color.g / 255.0,
                                       brush.color.b / 255.0, brush.color.a / 255.0);
    case BrushType::Hatch: return HatchPattern(brush, origin);
    case BrushType::Texture: return TexturePattern(brush, brushToPicture);
    case BrushType::LinearGradient: return LinearGradientPattern(brush, brushToPicture);
    case BrushType::PathGradient: return PathGradientPattern(brush, brushToPicture);
  }
  return nullptr;
}

}  // namespace platform::metafile
