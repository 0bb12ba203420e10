// A byte a pixel, under the decode budget, painted as a cairo A8 mask.
#include "platform/imaging/metafile/pixel_mask.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/paint.h"

namespace platform::metafile {

PixelMask::PixelMask(int width, int height) : width_(width), height_(height) {
  int stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, width);
  if (width < 1 || height < 1 || stride <= 0) return;
  stride_ = static_cast<size_t>(stride);
  bits_ = static_cast<uint8_t*>(imaging::BudgetMalloc(stride_ * static_cast<size_t>(height)));
}

PixelMask::~PixelMask() { std::free(bits_); }

void PixelMask::SetBox(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  x0 = std::max<int64_t>(x0, 0), y0 = std::max<int64_t>(y0, 0);
  x1 = std::min<int64_t>(x1, width_), y1 = std::min<int64_t>(y1, height_);
  if (x1 <= x0) return;
  for (int64_t y = y0; y < y1; ++y)
    std::memset(Row(static_cast<int>(y)) + x0, 0xff, static_cast<size_t>(x1 - x0));
}

cairo_surface_t* PixelMask::Surface() const {
  return cairo_image_surface_create_for_data(bits_, CAIRO_FORMAT_A8, width_, height_,
                                             static_cast<int>(stride_));
}

void PixelMask::Paint(Canvas& canvas, const Brush& brush) const {
  cairo_surface_t* mask = Surface();
  MaskWithBrush(canvas.Cairo(), mask, brush, canvas.State());
  cairo_surface_destroy(mask);
}

}  // namespace platform::metafile
