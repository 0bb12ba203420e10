// Region frames and inversions on masks of the region's pixels.
#include "platform/imaging/metafile/region_paint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/pixel_mask.h"
#include "platform/imaging/metafile/raster_ops.h"

namespace platform::metafile {

namespace {

// Beyond this many pixels from the picture a coordinate changes nothing that is drawn.
constexpr double kFar = 1 << 30;

struct PixelBox {
  int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// The first pixel whose centre lies at or after a picture coordinate.
int64_t FirstPixel(double v) {
  return static_cast<int64_t>(std::ceil(std::clamp(v, -kFar, kFar) - 0.5));
}

// The pixels a region rectangle covers on the picture.
PixelBox Covered(const Header& header, const int32_t* rect) {
  double l = rect[0] * header.scaleX + header.offsetX, r = rect[2] * header.scaleX + header.offsetX;
  double t = rect[1] * header.scaleY + header.offsetY, b = rect[3] * header.scaleY + header.offsetY;
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  return {FirstPixel(l), FirstPixel(t), FirstPixel(r), FirstPixel(b)};
}

// The region's pixels on a mask of the picture grown by (marginX, marginY) on every side.
void Rasterise(const Canvas& canvas, const std::vector<int32_t>& rects, int marginX, int marginY,
               PixelMask* mask) {
  for (size_t i = 0; i + 4 <= rects.size(); i += 4) {
    PixelBox box = Covered(canvas.Head(), &rects[i]);
    mask->SetBox(box.x0 + marginX, box.y0 + marginY, box.x1 + marginX, box.y1 + marginY);
  }
}

// A length in logical units along one axis of the mapping, in whole pixels, at most most.
int Pixels(double length, double xx, double yx, int most) {
  double pixels = std::round(std::fabs(length) * std::hypot(xx, yx));
  return std::isfinite(pixels) ? static_cast<int>(std::min<double>(pixels, most)) : most;
}

// InvertRgn is the raster operation DSTINVERT over the region, so a pixel with nothing drawn
// inverts as that operation inverts it.
constexpr uint8_t kRopDstInvert = 0x55;

}  // namespace

void FrameRegion(Canvas& canvas, const std::vector<int32_t>& deviceRects, const Brush& brush,
                 double width, double height) {
  const Header& head = canvas.Head();
  cairo_matrix_t m = canvas.ToPicture();
  // A frame wider than the picture covers all of the region that shows on it.
  int across = Pixels(width, m.xx, m.yx, head.width);
  int down = Pixels(height, m.xy, m.yy, head.height);
  if ((across == 0 && down == 0) || deviceRects.empty()) return;
  // The region around the picture too, as far as the frame looks for the region's outside.
  PixelMask region(head.width + 2 * across, head.height + 2 * down);
  PixelMask frame(head.width, head.height);
  if (!region.Ready() || !frame.Ready()) {
    canvas.Fail();
    return;
  }
  Rasterise(canvas, deviceRects, across, down, &region);
  for (int y = 0; y < head.height; ++y) {
    const uint8_t* above = region.Row(y);
    const uint8_t* row = region.Row(y + down);
    const uint8_t* below = region.Row(y + 2 * down);
    uint8_t* out = frame.Row(y);
    for (int x = 0; x < head.width; ++x) {
      const uint8_t* at = row + x + across;
      bool inner = at[-across] && at[across] && above[x + across] && below[x + across];
      out[x] = *at && !inner ? 0xff : 0;
    }
  }
  frame.Paint(canvas, brush);
}

void InvertRegion(Canvas& canvas, const std::vector<int32_t>& deviceRects) {
  const Header& head = canvas.Head();
  PixelMask region(head.width, head.height);
  if (!region.Ready()) {
    canvas.Fail();
    return;
  }
  Rasterise(canvas, deviceRects, 0, 0, &region);
  // The picture's pixels inverted, onto a scratch picture painted back through the region and clip.
  cairo_t* cr = canvas.Cairo();
  cairo_surface_t* target = cairo_get_target(cr);
  cairo_surface_flush(target);
  const uint8_t* picture = cairo_image_surface_get_data(target);
  size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(target));
  size_t bytes = stride * static_cast<size_t>(head.height);
  auto* scratch = static_cast<uint8_t*>(imaging::BudgetMalloc(bytes));
  if (scratch == nullptr || picture == nullptr) {
    std::free(scratch);
    canvas.Fail();
    return;
  }
  RasterOp invert(kRopDstInvert);
  for (int y = 0; y < head.height; ++y) {
    const uint8_t* in = region.Row(y);
    for (int x = 0; x < head.width; ++x) {
      if (in[x] == 0) continue;
      uint32_t pixel;
      std::memcpy(&pixel, picture + y * stride + x * 4, 4);
      pixel = invert.Pixel(0, 0, pixel);
      std::memcpy(scratch + y * stride + x * 4, &pixel, 4);
    }
  }
  cairo_surface_t* inverted = cairo_image_surface_create_for_data(
      scratch, CAIRO_FORMAT_ARGB32, head.width, head.height, static_cast<int>(stride));
  cairo_surface_t* mask = region.Surface();
  cairo_save(cr);
  cairo_set_source_surface(cr, inverted, 0, 0);
  cairo_mask_surface(cr, mask, 0, 0);
  cairo_restore(cr);
  cairo_surface_destroy(mask);
  cairo_surface_destroy(inverted);
  std::free(scratch);
}

}  // namespace platform::metafile
