// Scratch layers and their combination with the picture.
#include "platform/imaging/metafile/raster_layer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/imaging/decode_budget.h"

namespace platform::metafile {

namespace {

// Further than any picture reaches, and small enough to add to a coordinate.
constexpr double kFarthest = 1e9;

// The device-space box around four user-space corners.
void DeviceBox(cairo_t* cr, double x0, double y0, double x1, double y1, double out[4]) {
  double xs[4] = {x0, x1, x1, x0}, ys[4] = {y0, y0, y1, y1};
  out[0] = out[1] = HUGE_VAL;
  out[2] = out[3] = -HUGE_VAL;
  for (int i = 0; i < 4; ++i) {
    cairo_user_to_device(cr, &xs[i], &ys[i]);
    out[0] = std::min(out[0], xs[i]), out[1] = std::min(out[1], ys[i]);
    out[2] = std::max(out[2], xs[i]), out[3] = std::max(out[3], ys[i]);
  }
}

// A coordinate made a whole pixel within [0, most].
int Whole(double v, int most, bool up) {
  if (!(v > 0)) return 0;
  if (v >= most) return most;
  return static_cast<int>(up ? std::ceil(v) : std::floor(v));
}

bool Drawn(const uint32_t* layer, size_t i) { return layer == nullptr || (layer[i] >> 24) != 0; }

}  // namespace

bool OutlineBox(cairo_t* cr, const Path& outline, double reach, PixelBox* box) {
  *box = PixelBox{};
  if (outline.Empty()) return true;
  if (!outline.Emit(cr, 0)) return false;
  double x0, y0, x1, y1;
  cairo_path_extents(cr, &x0, &y0, &x1, &y1);
  cairo_new_path(cr);
  reach = std::clamp(std::isfinite(reach) ? reach : kFarthest, 0.0, kFarthest) + 1;
  double shape[4], clip[4];
  DeviceBox(cr, x0 - reach, y0 - reach, x1 + reach, y1 + reach, shape);
  cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
  DeviceBox(cr, x0, y0, x1, y1, clip);
  cairo_surface_t* target = cairo_get_target(cr);
  int width = cairo_image_surface_get_width(target),
      height = cairo_image_surface_get_height(target);
  box->left = Whole(std::max(shape[0], clip[0]), width, false);
  box->top = Whole(std::max(shape[1], clip[1]), height, false);
  box->right = Whole(std::min(shape[2], clip[2]), width, true);
  box->bottom = Whole(std::min(shape[3], clip[3]), height, true);
  return true;
}

RasterLayer::RasterLayer(cairo_t* picture, const PixelBox& box) {
  if (box.Empty()) return;
  size_t stride = static_cast<size_t>(box.Width()) * 4;
  pixels_ = static_cast<uint32_t*>(imaging::BudgetMalloc(stride * box.Height()));
  if (pixels_ == nullptr) return;
  surface_ = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels_),
                                                 CAIRO_FORMAT_ARGB32, box.Width(), box.Height(),
                                                 static_cast<int>(stride));
  cairo_t* cr = cairo_create(surface_);
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr);
    return;
  }
  cr_ = cr;
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  // The picture's user space, moved so that the box's corner is the layer's.
  cairo_matrix_t user;
  cairo_get_matrix(picture, &user);
  cairo_translate(cr_, -box.left, -box.top);
  cairo_transform(cr_, &user);
}

RasterLayer::~RasterLayer() {
  if (cr_ != nullptr) cairo_destroy(cr_);
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
  std::free(pixels_);
}

uint32_t* RasterLayer::Pixels() {
  cairo_surface_flush(surface_);
  return pixels_;
}

void RasterLayer::PutBack(cairo_t* picture, const PixelBox& box) {
  cairo_surface_mark_dirty(surface_);
  cairo_save(picture);
  cairo_identity_matrix(picture);
  cairo_set_operator(picture, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(picture, surface_, box.left, box.top);
  cairo_rectangle(picture, box.left, box.top, box.Width(), box.Height());
  cairo_fill(picture);
  cairo_restore(picture);
}

// The result is written over the first layer given, each pixel after it is read; pixels not
// drawn take the picture's own, so that the whole box can go back at once.
void CombineIntoPicture(cairo_t* cr, const PixelBox& box, const RasterInputs& in) {
  RasterLayer* out = in.source != nullptr    ? in.source
                     : in.pattern != nullptr ? in.pattern
                                             : in.shape;
  if (out == nullptr || box.Empty()) return;
  cairo_surface_t* target = cairo_get_target(cr);
  cairo_surface_flush(target);
  const uint8_t* picture = cairo_image_surface_get_data(target);
  size_t pictureStride = static_cast<size_t>(cairo_image_surface_get_stride(target));
  if (picture == nullptr) return;
  const uint32_t* s = in.source != nullptr ? in.source->Pixels() : nullptr;
  const uint32_t* p = in.pattern != nullptr ? in.pattern->Pixels() : nullptr;
  const uint32_t* shape = in.shape != nullptr ? in.shape->Pixels() : nullptr;
  const uint32_t* mask = in.mask != nullptr ? in.mask->Pixels() : nullptr;
  uint32_t* o = out->Pixels();
  RasterOp fore(in.fore), back(in.back);
  size_t w = static_cast<size_t>(box.Width());
  for (size_t y = 0; y < static_cast<size_t>(box.Height()); ++y) {
    const uint8_t* row = picture + (box.top + y) * pictureStride + box.left * size_t{4};
    for (size_t x = 0, i = y * w; x < w; ++x, ++i) {
      uint32_t d;
      std::memcpy(&d, row + x * 4, 4);
      if (!Drawn(s, i) || !Drawn(p, i) || !Drawn(shape, i)) {
        o[i] = d;
        continue;
      }
      RasterOp& op = mask == nullptr || (mask[i] & 0x00ffffff) == 0x00ffffff ? fore : back;
      o[i] = op.Pixel(p != nullptr ? p[i] : 0, s != nullptr ? s[i] : 0, d);
    }
  }
  out->PutBack(cr, box);
}

}  // namespace platform::metafile
