// A flood fill's clip must show exactly the pixels cairo's clip lets paint through, whether it is
// read from cairo's rectangles or from a group painted through it: each clip below is painted
// whole onto a blank picture, and the runs the fill's clip gives are compared with what shows.
#include "platform/imaging/metafile/flood_clip.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <ostream>
#include <vector>

namespace platform::metafile {

bool operator==(const PixelRun& a, const PixelRun& b) {
  return a.left == b.left && a.right == b.right;
}
void PrintTo(const PixelRun& r, std::ostream* out) { *out << r.left << ".." << r.right; }

}  // namespace platform::metafile

namespace {

using platform::metafile::FloodClip;
using platform::metafile::PixelRun;

constexpr int kW = 64, kH = 48;

struct ClipCase {
  const char* what;
  bool rectangles;  // whether cairo holds it as whole-pixel rectangles
  std::function<void(cairo_t*)> clip;
};

void Rect(cairo_t* cr, double x, double y, double w, double h) {
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
}

const std::vector<ClipCase> kClips = {
    {"no clip", true, [](cairo_t*) {}},
    {"a rectangle", true, [](cairo_t* cr) { Rect(cr, 5, 7, 30, 20); }},
    {"a rectangle reaching past the picture", true, [](cairo_t* cr) { Rect(cr, -9, 30, 90, 40); }},
    {"a rectangle with a hole (two runs in the middle rows)", true,
     [](cairo_t* cr) {
       cairo_rectangle(cr, 4, 4, 50, 36);
       cairo_rectangle(cr, 20, 12, 10, 10);
       cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
       cairo_clip(cr);
     }},
    {"rectangles that meet and overlap, in bands of several runs", true,
     [](cairo_t* cr) {
       cairo_rectangle(cr, 0, 0, 20, 10);
       cairo_rectangle(cr, 20, 5, 20, 10);
       cairo_rectangle(cr, 50, 0, 10, 40);
       cairo_rectangle(cr, 10, 30, 45, 5);
       cairo_clip(cr);
     }},
    {"nothing at all", true,
     [](cairo_t* cr) {
       Rect(cr, 0, 0, 10, 10);
       Rect(cr, 20, 20, 10, 10);
     }},
    {"a turned rectangle", false,
     [](cairo_t* cr) {
       cairo_translate(cr, 32, 24);
       cairo_rotate(cr, 0.5);
       Rect(cr, -20, -10, 40, 20);
       cairo_identity_matrix(cr);
     }},
    {"an ellipse off the picture's corner", false,
     [](cairo_t* cr) {
       cairo_save(cr);
       cairo_translate(cr, 50, 10);
       cairo_scale(cr, 30, 20);
       cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
       cairo_restore(cr);
       cairo_clip(cr);
     }},
};

// The runs of row y of the picture where painting through the clip reached.
std::vector<PixelRun> PaintedRuns(cairo_surface_t* picture, int y) {
  const uint8_t* row = cairo_image_surface_get_data(picture) +
                       static_cast<size_t>(y) * cairo_image_surface_get_stride(picture);
  std::vector<PixelRun> runs;
  for (int x = 0; x < kW; ++x) {
    uint32_t pixel;
    std::memcpy(&pixel, row + 4 * x, 4);
    if (pixel == 0) continue;
    if (!runs.empty() && runs.back().right == x - 1)
      runs.back().right = x;
    else
      runs.push_back({x, x});
  }
  return runs;
}

TEST(FloodClip, ShowsExactlyThePixelsCairosClipLetsThrough) {
  for (const ClipCase& c : kClips) {
    SCOPED_TRACE(c.what);
    cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kW, kH);
    cairo_t* cr = cairo_create(picture);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    c.clip(cr);
    FloodClip clip(cr, kW, kH);
    ASSERT_TRUE(clip.Ready());
    EXPECT_EQ(clip.Rectangular(), c.rectangles);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_surface_flush(picture);

    std::vector<PixelRun> within;
    for (int y = 0; y < kH; ++y) {
      std::vector<PixelRun> painted = PaintedRuns(picture, y);
      clip.Within(y, 0, kW - 1, &within);
      EXPECT_EQ(within, painted) << "row " << y;
      std::vector<bool> shows(kW, false);
      for (const PixelRun& run : painted)
        for (int x = run.left; x <= run.right; ++x) {
          shows[x] = true;
          ASSERT_EQ(clip.Around(x, y), run) << x << ", " << y;
        }
      for (int x = 0; x < kW; ++x) ASSERT_EQ(clip.Shows(x, y), shows[x]) << x << ", " << y;
      // A window cut out of the row gives the painted runs cut to it.
      clip.Within(y, 10, 30, &within);
      std::vector<PixelRun> cut;
      for (const PixelRun& run : painted)
        if (run.right >= 10 && run.left <= 30)
          cut.push_back({std::max(run.left, 10), std::min(run.right, 30)});
      EXPECT_EQ(within, cut) << "row " << y;
    }
    cairo_destroy(cr);
    cairo_surface_destroy(picture);
  }
}

}  // namespace
