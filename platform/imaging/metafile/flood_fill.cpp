// Flood fills by spans: each span found is filled whole, and the rows above and below it are
// searched along its length for the spans to fill next.
#include "platform/imaging/metafile/flood_fill.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/pixel_mask.h"

namespace platform::metafile {

namespace {

struct Pixel {
  int x, y;
};

// The pixels the clip lets through: an alpha group of cairo's painted whole through the clip.
// Picture pixel (x, y) lies at (x + dx, y + dy) of the group's surface.
class ClipMask {
 public:
  explicit ClipMask(cairo_t* cr) {
    cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_paint(cr);
    group_ = cairo_pop_group(cr);
    cairo_surface_t* surface = nullptr;
    if (cairo_pattern_get_surface(group_, &surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_A8)
      return;
    cairo_surface_flush(surface);
    data_ = cairo_image_surface_get_data(surface);
    stride_ = cairo_image_surface_get_stride(surface);
    width_ = cairo_image_surface_get_width(surface);
    height_ = cairo_image_surface_get_height(surface);
    double dx = 0, dy = 0;
    cairo_surface_get_device_offset(surface, &dx, &dy);
    dx_ = static_cast<int>(std::lround(dx)), dy_ = static_cast<int>(std::lround(dy));
  }
  ~ClipMask() { cairo_pattern_destroy(group_); }
  ClipMask(const ClipMask&) = delete;
  ClipMask& operator=(const ClipMask&) = delete;

  bool Shows(int x, int y) const {
    int64_t sx = int64_t{x} + dx_, sy = int64_t{y} + dy_;
    return data_ != nullptr && sx >= 0 && sy >= 0 && sx < width_ && sy < height_ &&
           data_[sy * stride_ + sx] != 0;
  }

 private:
  cairo_pattern_t* group_ = nullptr;
  const uint8_t* data_ = nullptr;
  int64_t stride_ = 0, width_ = 0, height_ = 0;
  int dx_ = 0, dy_ = 0;
};

constexpr uint8_t kTakes = 1, kFilled = 0xff;

// Marks on the mask, as kTakes, every pixel the fill may take: shown through the clip, and of the
// fill's colour (a surface fill) or of another (a border fill).
void MarkTakers(cairo_surface_t* picture, const ClipMask& clip, uint32_t color, FloodMode mode,
                PixelMask* mask) {
  const uint8_t* data = cairo_image_surface_get_data(picture);
  size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(picture));
  bool surface = mode == FloodMode::Surface;
  for (int y = 0; y < mask->Height(); ++y) {
    const uint8_t* row = data + y * stride;
    uint8_t* out = mask->Row(y);
    for (int x = 0; x < mask->Width(); ++x) {
      uint32_t pixel;
      std::memcpy(&pixel, row + static_cast<size_t>(x) * 4, 4);
      out[x] = (SeenOverWhite(pixel) == color) == surface && clip.Shows(x, y) ? kTakes : 0;
    }
  }
}

// The spans of one fill over a mask of the pixels it may take, each marked kFilled once found.
class Spread {
 public:
  explicit Spread(PixelMask* mask) : mask_(mask) {}

  // Fills from the start; false when the spans still to look at need more than the budget.
  bool From(Pixel start) {
    if (!Push(start)) return false;
    while (!todo_.empty()) {
      Pixel p = todo_.back();
      todo_.pop_back();
      uint8_t* row = mask_->Row(p.y);
      if (row[p.x] != kTakes) continue;
      int left = p.x, right = p.x;
      while (left > 0 && row[left - 1] == kTakes) --left;
      while (right + 1 < mask_->Width() && row[right + 1] == kTakes) ++right;
      std::memset(row + left, kFilled, static_cast<size_t>(right - left + 1));
      for (int y : {p.y - 1, p.y + 1})
        if (y >= 0 && y < mask_->Height() && !Look(left, right, y)) return false;
    }
    return true;
  }

 private:
  // Queues the first pixel of each run the fill may take in row y, from left to right.
  bool Look(int left, int right, int y) {
    const uint8_t* row = mask_->Row(y);
    for (int x = left; x <= right; ++x)
      if (row[x] == kTakes && (x == left || row[x - 1] != kTakes) && !Push({x, y})) return false;
    return true;
  }
  bool Push(Pixel p) {
    if (todo_.size() == todo_.capacity()) {
      size_t more = todo_.empty() ? 1024 : todo_.capacity() * 2;
      if (!imaging::FitsBudget(more * sizeof(Pixel))) return false;
      todo_.reserve(more);
    }
    todo_.push_back(p);
    return true;
  }

  PixelMask* mask_;
  std::vector<Pixel> todo_;
};

// Leaves on the mask only the pixels filled.
void KeepFilled(PixelMask* mask) {
  for (int y = 0; y < mask->Height(); ++y) {
    uint8_t* row = mask->Row(y);
    for (int x = 0; x < mask->Width(); ++x) row[x] = row[x] == kFilled ? kFilled : 0;
  }
}

}  // namespace

void FloodFill(Canvas& canvas, double x, double y, Color color, FloodMode mode) {
  const Header& head = canvas.Head();
  PointD start = Map(canvas.ToPicture(), x, y);
  if (!(start.x >= 0 && start.y >= 0 && start.x < head.width && start.y < head.height)) return;
  Pixel from{static_cast<int>(start.x), static_cast<int>(start.y)};
  cairo_t* cr = canvas.Cairo();
  PixelMask filled(head.width, head.height);
  // The clip's group takes as much as the mask.
  if (!filled.Ready() || !imaging::FitsBudget(static_cast<size_t>(head.width) * head.height)) {
    canvas.Fail();
    return;
  }
  ClipMask clip(cr);
  cairo_surface_t* picture = cairo_get_target(cr);
  cairo_surface_flush(picture);
  uint32_t key = static_cast<uint32_t>(color.r) << 16 | color.g << 8 | color.b;
  MarkTakers(picture, clip, key, mode, &filled);
  Spread spread(&filled);
  if (!spread.From(from)) {
    canvas.Fail();
    return;
  }
  KeepFilled(&filled);
  filled.Paint(canvas, canvas.State().brush);
}

}  // namespace platform::metafile
