// The clip as a flood fill sees it: in each row of the picture, the runs of pixels it lets
// through. A clip that cairo holds as whole-pixel rectangles (no clip at all is one) is read from
// those rectangles, as bands of rows that share the same runs; any other clip from an A8 group
// painted whole through it, which takes a byte a pixel of its extents from the decode budget.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::metafile {

// Pixels left to right of one row, both ends included.
struct PixelRun {
  int left, right;
};

class FloodClip {
 public:
  // The clip of cr over a picture of width x height; Ready() is false when the budget refuses it.
  FloodClip(cairo_t* cr, int width, int height);
  ~FloodClip();
  FloodClip(const FloodClip&) = delete;
  FloodClip& operator=(const FloodClip&) = delete;

  bool Ready() const { return ready_; }
  // Whether the clip is rectangles, read without a group.
  bool Rectangular() const { return group_ == nullptr; }

  // Whether pixel (x, y) of the picture shows through the clip.
  bool Shows(int x, int y) const;
  // The run of shown pixels of row y that holds (x, y), which must show.
  PixelRun Around(int x, int y) const { return box_ ? runs_[0] : RunAround(x, y); }
  // The runs of shown pixels of row y within [left, right], cut to it, from left to right.
  void Within(int y, int left, int right, std::vector<PixelRun>* out) const {
    if (!box_) return RunsWithin(y, left, right, out);
    // A clip of one rectangle (no clip at all among them) is answered here: a fill of many short
    // spans asks it twice a span.
    out->clear();
    const Band& band = bands_[0];
    if (y >= band.top && y < band.bottom && left <= runs_[0].right && right >= runs_[0].left)
      out->push_back({std::max(left, runs_[0].left), std::min(right, runs_[0].right)});
  }

 private:
  // Rows [top, bottom) whose runs are runs_[first, end).
  struct Band {
    int top, bottom;
    size_t first, end;
  };
  PixelRun RunAround(int x, int y) const;
  void RunsWithin(int y, int left, int right, std::vector<PixelRun>* out) const;
  bool ReadRectangles(const cairo_rectangle_list_t* list);
  bool PaintGroup(cairo_t* cr);
  const Band* BandOf(int y) const;
  // Row y of the group's surface: picture pixel x at bytes[x + shift], the picture's pixels it
  // holds at [begin, end) of bytes (none where it does not reach).
  struct GroupRow {
    const uint8_t* bytes;
    int shift, begin, end;
  };
  GroupRow RowOfGroup(int y) const;

  int width_, height_;
  bool ready_ = false;
  bool box_ = false;  // the clip is one rectangle
  std::vector<Band> bands_;
  std::vector<PixelRun> runs_;
  mutable size_t last_ = 0;  // the band BandOf found last
  cairo_pattern_t* group_ = nullptr;
  const uint8_t* data_ = nullptr;
  int64_t stride_ = 0, groupWidth_ = 0, groupHeight_ = 0;
  int dx_ = 0, dy_ = 0;
};

}  // namespace platform::metafile
