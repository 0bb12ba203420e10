// Hatch tiles and pattern brushes.
#include "platform/imaging/metafile/hatch.h"

#include <cstring>

namespace platform::metafile {

namespace {

constexpr int kTile = 8;

// Whether the hatch covers pixel (x, y) of its tile: 0 horizontal, 1 vertical, 2 diagonal down
// to the right, 3 diagonal up to the right, 4 both straight lines, 5 both diagonals.
bool HatchCovers(uint32_t hatch, int x, int y) {
  switch (hatch) {
    case 0: return y == kTile - 1;
    case 1: return x == kTile - 1;
    case 2: return x == y;
    case 3: return x + y == kTile - 1;
    case 4: return x == kTile - 1 || y == kTile - 1;
    case 5: return x == y || x + y == kTile - 1;
    default: return false;
  }
}

uint32_t Opaque(Color color) {
  return 0xff000000u | static_cast<uint32_t>(color.r) << 16 | static_cast<uint32_t>(color.g) << 8 |
         color.b;
}

cairo_pattern_t* Repeating(cairo_surface_t* tile) {
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
  cairo_surface_destroy(tile);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  return pattern;
}

cairo_pattern_t* HatchPattern(const Brush& brush, bool opaqueBack, Color back) {
  if (brush.hatch > 5) return nullptr;
  cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kTile, kTile);
  if (cairo_surface_status(tile) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(tile);
    return nullptr;
  }
  cairo_surface_flush(tile);
  uint8_t* data = cairo_image_surface_get_data(tile);
  int stride = cairo_image_surface_get_stride(tile);
  for (int y = 0; y < kTile; ++y) {
    for (int x = 0; x < kTile; ++x) {
      uint32_t pixel = HatchCovers(brush.hatch, x, y) ? Opaque(brush.color)
                       : opaqueBack                   ? Opaque(back)
                                                      : 0;
      std::memcpy(data + y * stride + x * 4, &pixel, 4);
    }
  }
  cairo_surface_mark_dirty(tile);
  return Repeating(tile);
}

cairo_pattern_t* PicturePattern(const PatternBits& bits, Color back, Color fore) {
  if (bits.width <= 0 || bits.height <= 0) return nullptr;
  cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bits.width, bits.height);
  if (cairo_surface_status(tile) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(tile);
    return nullptr;
  }
  cairo_surface_flush(tile);
  uint8_t* data = cairo_image_surface_get_data(tile);
  int stride = cairo_image_surface_get_stride(tile);
  for (int y = 0; y < bits.height; ++y)
    std::memcpy(data + y * stride, &bits.pixels[static_cast<size_t>(y) * bits.width],
                static_cast<size_t>(bits.width) * 4);
  if (bits.mono) {
    for (int y = 0; y < bits.height; ++y) {
      uint8_t* row = data + y * stride;
      for (int x = 0; x < bits.width; ++x) {
        uint32_t pixel;
        std::memcpy(&pixel, row + x * 4, 4);
        pixel = Opaque(pixel == kMonoOne ? back : fore);
        std::memcpy(row + x * 4, &pixel, 4);
      }
    }
  }
  cairo_surface_mark_dirty(tile);
  return Repeating(tile);
}

}  // namespace

cairo_pattern_t* BrushPattern(const Brush& brush, bool opaqueBack, Color back, Color fore) {
  if (brush.style == kBrushHatched) return HatchPattern(brush, opaqueBack, back);
  if (brush.style == kBrushPattern && brush.pattern != nullptr)
    return PicturePattern(*brush.pattern, back, fore);
  return nullptr;
}

}  // namespace platform::metafile
