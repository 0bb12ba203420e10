// Images as cairo patterns, with their wrap modes.
#include "platform/imaging/metafile/emfplus_image_pattern.h"

#include <algorithm>
#include <cmath>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/emfplus_brush.h"
#include "platform/imaging/metafile/pattern_matrix.h"

namespace platform::metafile {

namespace {

const cairo_user_data_key_t kImageKey = {};

void ReleaseImage(void* held) { delete static_cast<std::shared_ptr<const PlusImage>*>(held); }

// A surface over the image's own words. cairo only reads a source surface, so the words are
// never written; the surface holds a reference to the image until cairo lets it go.
cairo_surface_t* ImageSurface(const std::shared_ptr<const PlusImage>& image) {
  auto* words = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(image->pixels.data()));
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      words, CAIRO_FORMAT_ARGB32, image->width, image->height, image->width * 4);
  auto* held = new std::shared_ptr<const PlusImage>(image);
  if (cairo_surface_set_user_data(surface, &kImageKey, held, ReleaseImage) != CAIRO_STATUS_SUCCESS)
    delete held;
  return surface;
}

// A tile of the image beside (or below) itself turned over, for mirroring along one axis only:
// cairo's own reflection turns over along both. Null when it cannot be made within the budget.
cairo_surface_t* MirroredTile(const PlusImage& image, bool across) {
  int w = image.width * (across ? 2 : 1), h = image.height * (across ? 1 : 2);
  if (!imaging::FitsBudget(static_cast<size_t>(w) * static_cast<size_t>(h) * 4)) return nullptr;
  cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(tile) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(tile);
    return nullptr;
  }
  cairo_surface_flush(tile);
  unsigned char* rows = cairo_image_surface_get_data(tile);
  int stride = cairo_image_surface_get_stride(tile);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(rows + static_cast<size_t>(y) * stride);
    int sy = y < image.height ? y : 2 * image.height - 1 - y;
    for (int x = 0; x < w; ++x) {
      int sx = x < image.width ? x : 2 * image.width - 1 - x;
      row[x] = image.pixels[static_cast<size_t>(sy) * image.width + sx];
    }
  }
  cairo_surface_mark_dirty(tile);
  return tile;
}

}  // namespace

cairo_pattern_t* ImagePattern(const std::shared_ptr<const PlusImage>& image,
                              const cairo_matrix_t& imageToPicture, uint32_t wrap,
                              cairo_filter_t filter, const ImagePart* part) {
  cairo_matrix_t toImage = imageToPicture;
  if (image == nullptr || image->width <= 0 || image->height <= 0 || !MatrixFinite(toImage) ||
      cairo_matrix_invert(&toImage) != CAIRO_STATUS_SUCCESS || !Representable(toImage))
    return nullptr;
  cairo_extend_t extend = CAIRO_EXTEND_PAD;
  cairo_surface_t* surface = nullptr;
  if (wrap == kWrapFlipX || wrap == kWrapFlipY) {
    surface = MirroredTile(*image, wrap == kWrapFlipX);
    extend = CAIRO_EXTEND_REPEAT;
  } else if (wrap == kWrapFlipXY) {
    extend = CAIRO_EXTEND_REFLECT;
  } else if (wrap == kWrapTile) {
    extend = CAIRO_EXTEND_REPEAT;
  }
  // A mirrored tile too large to make is laid as plain tiles.
  if (surface == nullptr) surface = ImageSurface(image);
  double w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  if (extend == CAIRO_EXTEND_PAD && part != nullptr) {
    cairo_surface_t* whole = surface;
    surface = cairo_surface_create_for_rectangle(whole, part->x, part->y, part->w, part->h);
    cairo_surface_destroy(whole);
    cairo_matrix_t shift;
    cairo_matrix_init_translate(&shift, -part->x, -part->y);
    cairo_matrix_multiply(&toImage, &toImage, &shift);
    w = part->w, h = part->h;
  }
  if (extend == CAIRO_EXTEND_REFLECT) w *= 2, h *= 2;
  if (extend == CAIRO_EXTEND_PAD ? !Reaches(toImage, w, h) : !ToFirstTile(&toImage, w, h)) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
  cairo_surface_destroy(surface);
  cairo_pattern_set_extend(pattern, extend);
  cairo_pattern_set_filter(pattern, filter);
  cairo_pattern_set_matrix(pattern, &toImage);
  if (cairo_pattern_status(pattern) != CAIRO_STATUS_SUCCESS) {
    cairo_pattern_destroy(pattern);
    return nullptr;
  }
  return pattern;
}

}  // namespace platform::metafile
