// A flood fill's clip: cairo's rectangles as bands of runs, or an A8 group of the clip.
#include "platform/imaging/metafile/flood_clip.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/imaging/decode_budget.h"

namespace platform::metafile {

namespace {

bool Whole(double v) { return std::isfinite(v) && v == std::floor(v); }

// Scans of a row of the group's bytes, eight at a time where they allow: a clip shows or hides
// long stretches of a row.
constexpr int kBlock = 8;

uint64_t Block(const uint8_t* at) {
  uint64_t v;
  std::memcpy(&v, at, sizeof(v));
  return v;
}

// Whether any of the block's bytes is 0.
bool HasZero(uint64_t v) { return ((v - 0x0101010101010101u) & ~v & 0x8080808080808080u) != 0; }

// The first index of [x, end) whose byte is 0, or end.
int ShownUntil(const uint8_t* row, int x, int end) {
  const void* zero = std::memchr(row + x, 0, static_cast<size_t>(std::max(end - x, 0)));
  return zero == nullptr ? end : static_cast<int>(static_cast<const uint8_t*>(zero) - row);
}

// The lowest index of [begin, x] from which every byte up to x is not 0 (x's own is not).
int ShownFrom(const uint8_t* row, int x, int begin) {
  while (x - begin >= kBlock && !HasZero(Block(row + x - kBlock))) x -= kBlock;
  while (x > begin && row[x - 1] != 0) --x;
  return x;
}

// The first index of [x, end) whose byte is not 0, or end.
int HiddenUntil(const uint8_t* row, int x, int end) {
  while (end - x >= kBlock && Block(row + x) == 0) x += kBlock;
  while (x < end && row[x] == 0) ++x;
  return x;
}

}  // namespace

FloodClip::FloodClip(cairo_t* cr, int width, int height) : width_(width), height_(height) {
  // With the identity matrix cairo gives the rectangles in picture pixels.
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_rectangle_list_t* list = cairo_copy_clip_rectangle_list(cr);
  cairo_restore(cr);
  bool rectangles = ReadRectangles(list);
  cairo_rectangle_list_destroy(list);
  if (rectangles) {
    ready_ = true;
    box_ = bands_.size() == 1 && runs_.size() == 1;
    return;
  }
  bands_.clear();
  runs_.clear();
  ready_ = PaintGroup(cr);
}

FloodClip::~FloodClip() {
  if (group_ != nullptr) cairo_pattern_destroy(group_);
}

// Reads cairo's rectangles, cut to the picture, as bands: false when the clip is no set of
// whole-pixel rectangles, or they do not come as bands from top to bottom with their runs from
// left to right (the order of cairo's regions), or they take more than the budget.
bool FloodClip::ReadRectangles(const cairo_rectangle_list_t* list) {
  if (list->status != CAIRO_STATUS_SUCCESS || list->num_rectangles < 0) return false;
  size_t count = static_cast<size_t>(list->num_rectangles);
  if (!imaging::FitsBudget(count * sizeof(Band)) || !imaging::FitsBudget(count * sizeof(PixelRun)))
    return false;
  for (size_t i = 0; i < count; ++i) {
    const cairo_rectangle_t& r = list->rectangles[i];
    if (!Whole(r.x) || !Whole(r.y) || !Whole(r.width) || !Whole(r.height)) return false;
    double x0 = std::max(r.x, 0.0), x1 = std::min(r.x + r.width, static_cast<double>(width_));
    double y0 = std::max(r.y, 0.0), y1 = std::min(r.y + r.height, static_cast<double>(height_));
    if (x1 <= x0 || y1 <= y0) continue;
    PixelRun run{static_cast<int>(x0), static_cast<int>(x1) - 1};
    int top = static_cast<int>(y0), bottom = static_cast<int>(y1);
    if (!bands_.empty() && bands_.back().top == top) {
      Band& band = bands_.back();
      if (band.bottom != bottom || run.left <= runs_.back().right) return false;
      // Runs that touch are one run: a fill spreads across where they meet.
      if (run.left == runs_.back().right + 1) {
        runs_.back().right = run.right;
        continue;
      }
      runs_.push_back(run);
      band.end = runs_.size();
      continue;
    }
    if (!bands_.empty() && top < bands_.back().bottom) return false;
    bands_.push_back({top, bottom, runs_.size(), runs_.size() + 1});
    runs_.push_back(run);
  }
  return true;
}

// Paints the clip whole into an A8 group; a group that is no A8 image shows nothing.
bool FloodClip::PaintGroup(cairo_t* cr) {
  if (!imaging::FitsBudget(static_cast<size_t>(width_) * static_cast<size_t>(height_)))
    return false;
  cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  cairo_paint(cr);
  group_ = cairo_pop_group(cr);
  cairo_surface_t* surface = nullptr;
  if (cairo_pattern_get_surface(group_, &surface) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(surface) != CAIRO_FORMAT_A8)
    return true;
  cairo_surface_flush(surface);
  data_ = cairo_image_surface_get_data(surface);
  stride_ = cairo_image_surface_get_stride(surface);
  groupWidth_ = cairo_image_surface_get_width(surface);
  groupHeight_ = cairo_image_surface_get_height(surface);
  // Picture pixel (x, y) lies at (x + dx, y + dy) of the group's surface.
  double dx = 0, dy = 0;
  cairo_surface_get_device_offset(surface, &dx, &dy);
  dx_ = static_cast<int>(std::lround(dx)), dy_ = static_cast<int>(std::lround(dy));
  return true;
}

// A fill asks row after row, so the band asked last usually answers again.
const FloodClip::Band* FloodClip::BandOf(int y) const {
  if (last_ < bands_.size() && bands_[last_].top <= y && y < bands_[last_].bottom)
    return &bands_[last_];
  auto band = std::upper_bound(bands_.begin(), bands_.end(), y,
                               [](int row, const Band& b) { return row < b.bottom; });
  if (band == bands_.end() || band->top > y) return nullptr;
  last_ = static_cast<size_t>(band - bands_.begin());
  return &*band;
}

FloodClip::GroupRow FloodClip::RowOfGroup(int y) const {
  // Picture pixel (x, y) lies at (x + dx, y + dy) of the group's surface.
  GroupRow row{nullptr, dx_, 0, 0};
  int64_t sy = int64_t{y} + dy_;
  if (data_ == nullptr || sy < 0 || sy >= groupHeight_) return row;
  row.bytes = data_ + sy * stride_;
  row.begin = static_cast<int>(std::clamp<int64_t>(-int64_t{dx_}, 0, width_)) + dx_;
  row.end = static_cast<int>(std::clamp<int64_t>(groupWidth_ - dx_, 0, width_)) + dx_;
  row.end = std::max(row.end, row.begin);
  return row;
}

bool FloodClip::Shows(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  if (!Rectangular()) {
    GroupRow row = RowOfGroup(y);
    int at = x + row.shift;
    return at >= row.begin && at < row.end && row.bytes[at] != 0;
  }
  const Band* band = BandOf(y);
  if (band == nullptr) return false;
  auto first = runs_.begin() + static_cast<ptrdiff_t>(band->first);
  auto end = runs_.begin() + static_cast<ptrdiff_t>(band->end);
  auto run = std::lower_bound(first, end, x, [](const PixelRun& r, int v) { return r.right < v; });
  return run != end && run->left <= x;
}

PixelRun FloodClip::RunAround(int x, int y) const {
  if (!Rectangular()) {
    GroupRow row = RowOfGroup(y);
    int at = x + row.shift;
    return {ShownFrom(row.bytes, at, row.begin) - row.shift,
            ShownUntil(row.bytes, at, row.end) - 1 - row.shift};
  }
  const Band* band = BandOf(y);
  auto first = runs_.begin() + static_cast<ptrdiff_t>(band->first);
  auto end = runs_.begin() + static_cast<ptrdiff_t>(band->end);
  return *std::lower_bound(first, end, x, [](const PixelRun& r, int v) { return r.right < v; });
}

void FloodClip::RunsWithin(int y, int left, int right, std::vector<PixelRun>* out) const {
  out->clear();
  if (!Rectangular()) {
    GroupRow row = RowOfGroup(y);
    int end = std::min(row.end, right + 1 + row.shift);
    for (int x = HiddenUntil(row.bytes, std::max(left + row.shift, row.begin), end); x < end;) {
      int stop = ShownUntil(row.bytes, x, end);
      out->push_back({x - row.shift, stop - 1 - row.shift});
      x = HiddenUntil(row.bytes, stop, end);
    }
    return;
  }
  const Band* band = BandOf(y);
  if (band == nullptr) return;
  auto end = runs_.begin() + static_cast<ptrdiff_t>(band->end);
  auto run = std::lower_bound(runs_.begin() + static_cast<ptrdiff_t>(band->first), end, left,
                              [](const PixelRun& r, int v) { return r.right < v; });
  for (; run != end && run->left <= right; ++run)
    out->push_back({std::max(run->left, left), std::min(run->right, right)});
}

}  // namespace platform::metafile
