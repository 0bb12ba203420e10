// Outlines drawn in pieces must look as cairo draws them whole: figures too long for one call
// (caps, joins and closing corners kept), dashes laid by us (their phase carried along the figure
// and through stretches left out off the picture), and curves flattened with the parts off the
// picture made straight.
#include "platform/imaging/metafile/stroke.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/imaging/metafile/path.h"

namespace {

using platform::metafile::Box;
using platform::metafile::FlatFigure;
using platform::metafile::Path;
using platform::metafile::PenShape;
using platform::metafile::PointD;
using platform::metafile::StrokeFigures;
using platform::metafile::View;

constexpr int kSide = 160;

// Draws on a fresh transparent picture without antialiasing, in opaque red, and gives its pixels.
std::vector<uint32_t> Drawn(const std::function<void(cairo_t*)>& draw) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSide, kSide);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_source_rgb(cr, 1, 0, 0);
  draw(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  std::vector<uint32_t> pixels(kSide * kSide);
  const uint8_t* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      pixels[y * kSide + x] = reinterpret_cast<const uint32_t*>(data + y * stride)[x];
  cairo_surface_destroy(surface);
  return pixels;
}

int Inked(const std::vector<uint32_t>& pixels) {
  int count = 0;
  for (uint32_t p : pixels) count += p != 0;
  return count;
}

int Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  int count = 0;
  for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
  return count;
}

void SetPen(cairo_t* cr, const PenShape& pen) {
  cairo_set_line_width(cr, pen.width);
  cairo_set_line_cap(cr, pen.cap);
  cairo_set_line_join(cr, pen.join);
  cairo_set_miter_limit(cr, pen.miterLimit);
}

// What cairo draws with the figures as one path and its own dashes.
std::vector<uint32_t> CairoStroke(const std::vector<FlatFigure>& figures, const PenShape& pen) {
  return Drawn([&](cairo_t* cr) {
    SetPen(cr, pen);
    for (const FlatFigure& figure : figures) {
      cairo_move_to(cr, figure.points[0].x, figure.points[0].y);
      for (const PointD& p : figure.points) cairo_line_to(cr, p.x, p.y);
      if (figure.closed) cairo_close_path(cr);
    }
    if (!pen.dashes.empty())
      cairo_set_dash(cr, pen.dashes.data(), static_cast<int>(pen.dashes.size()), 0);
    cairo_stroke(cr);
  });
}

std::vector<uint32_t> OurStroke(const std::vector<FlatFigure>& figures, const PenShape& pen) {
  return Drawn([&](cairo_t* cr) {
    SetPen(cr, pen);
    StrokeFigures(cr, figures, pen, View(cr));
  });
}

// A zigzag of n points across the picture, on half pixels.
FlatFigure Zigzag(int n, bool closed) {
  FlatFigure figure;
  for (int i = 0; i < n; ++i)
    figure.points.push_back({20.5 + (i % 2) * 120, 20.5 + (i * 37) % 120});
  figure.closed = closed;
  return figure;
}

TEST(StrokePieces, AFigureTooLongForOneCallLooksAsItWouldWhole) {
  struct Case {
    cairo_line_cap_t cap;
    cairo_line_join_t join;
    double width;
    bool closed;
  };
  const Case cases[] = {
      {CAIRO_LINE_CAP_ROUND, CAIRO_LINE_JOIN_ROUND, 7, false},
      {CAIRO_LINE_CAP_SQUARE, CAIRO_LINE_JOIN_MITER, 9, false},
      {CAIRO_LINE_CAP_BUTT, CAIRO_LINE_JOIN_BEVEL, 5, false},
      {CAIRO_LINE_CAP_ROUND, CAIRO_LINE_JOIN_MITER, 6, true},
  };
  for (const Case& c : cases) {
    PenShape pen;
    pen.cap = c.cap, pen.join = c.join, pen.width = c.width;
    // Two thousand lines with round joins are several calls' worth.
    std::vector<FlatFigure> figures = {Zigzag(2000, c.closed)};
    std::vector<uint32_t> whole = CairoStroke(figures, pen), pieces = OurStroke(figures, pen);
    EXPECT_GT(Inked(whole), 1000);
    EXPECT_EQ(Differing(whole, pieces), 0) << "cap " << c.cap << " join " << c.join;
  }
}

TEST(StrokePieces, TheCapsOfABrokenFigureStayAtItsEnds) {
  // A long figure whose ends stand apart from the rest: a round cap's half disc must show beyond
  // each end, and nothing of one where the figure was broken.
  FlatFigure figure;
  figure.points.push_back({10.5, 80.5});
  for (int i = 0; i < 3000; ++i) figure.points.push_back({40.5 + (i % 2) * 80, 40.5 + i % 80});
  figure.points.push_back({150.5, 80.5});
  PenShape pen;
  pen.width = 11;
  std::vector<uint32_t> whole = CairoStroke({figure}, pen), pieces = OurStroke({figure}, pen);
  EXPECT_EQ(Differing(whole, pieces), 0);
  EXPECT_NE(pieces[80 * kSide + 6], 0u);    // the cap beyond the first point
  EXPECT_NE(pieces[80 * kSide + 154], 0u);  // and beyond the last
}

TEST(StrokePieces, DashesFollowTheirPatternAlongTheFigure) {
  struct Case {
    std::vector<double> dashes;
    cairo_line_join_t join;
    double width;
    bool closed;
  };
  const Case cases[] = {
      {{15, 5}, CAIRO_LINE_JOIN_MITER, 5, false},
      {{9, 6, 3, 6}, CAIRO_LINE_JOIN_ROUND, 3, false},
      {{7}, CAIRO_LINE_JOIN_BEVEL, 4, true},  // an odd pattern repeats doubled
      {{30, 4}, CAIRO_LINE_JOIN_MITER, 6, true},
  };
  for (const Case& c : cases) {
    PenShape pen;
    pen.cap = CAIRO_LINE_CAP_BUTT, pen.join = c.join, pen.width = c.width, pen.dashes = c.dashes;
    std::vector<FlatFigure> figures = {Zigzag(9, c.closed), Zigzag(4, false)};
    std::vector<uint32_t> theirs = CairoStroke(figures, pen), ours = OurStroke(figures, pen);
    // Where a dash ends within a hundredth of a pixel of a corner the two may round it apart.
    EXPECT_LE(Differing(theirs, ours), Inked(theirs) / 100) << "pattern of " << c.dashes.size();
    EXPECT_GT(Inked(ours), 500);
  }
}

TEST(StrokePieces, DashesKeepTheirPhaseWhereTheLineComesFromFarOff) {
  // Only the stretch over the picture is walked; the dashes there must sit where dashing from the
  // far start puts them.
  FlatFigure line;
  line.points = {{-300000.5, 40.5}, {300000.5, 120.5}, {-250000.5, 100.5}};
  PenShape pen;
  pen.cap = CAIRO_LINE_CAP_BUTT, pen.width = 3, pen.dashes = {7, 5};
  std::vector<uint32_t> theirs = CairoStroke({line}, pen), ours = OurStroke({line}, pen);
  EXPECT_GT(Inked(ours), 200);
  EXPECT_LE(Differing(theirs, ours), Inked(theirs) / 50);
}

TEST(StrokePieces, AMiterFromACornerOffThePictureStillReachesIt) {
  // The corner lies off the picture; its miter reaches in. The lines' dashes near it are off the
  // picture too, yet the corner is joined.
  FlatFigure corner;
  corner.points = {{-200.5, 60.5}, {-20.5, 80.5}, {-200.5, 100.5}};
  PenShape pen;
  pen.cap = CAIRO_LINE_CAP_BUTT, pen.join = CAIRO_LINE_JOIN_MITER, pen.width = 20;
  pen.miterLimit = 50, pen.dashes = {1000, 10};
  std::vector<uint32_t> theirs = CairoStroke({corner}, pen), ours = OurStroke({corner}, pen);
  EXPECT_GT(Inked(theirs), 100);
  EXPECT_EQ(Differing(theirs, ours), 0);
}

TEST(PathFlatten, CurvesOffThePictureBecomeLinesWithoutChangingWhatShows) {
  // A circle far larger than the picture, crossing it: filled from our flattening it covers the
  // same pixels as cairo's own curves, with few points.
  auto circle = [](auto&& curveTo, auto&& moveTo) {
    double r = 200000, cx = 80, cy = 80 + r - 40, k = 0.5522847498 * r;
    moveTo(cx, cy - r);
    curveTo(cx + k, cy - r, cx + r, cy - k, cx + r, cy);
    curveTo(cx + r, cy + k, cx + k, cy + r, cx, cy + r);
    curveTo(cx - k, cy + r, cx - r, cy + k, cx - r, cy);
    curveTo(cx - r, cy - k, cx - k, cy - r, cx, cy - r);
  };
  std::vector<uint32_t> theirs = Drawn([&](cairo_t* cr) {
    circle([cr](double a, double b, double c, double d, double e,
                double f) { cairo_curve_to(cr, a, b, c, d, e, f); },
           [cr](double x, double y) { cairo_move_to(cr, x, y); });
    cairo_fill(cr);
  });
  Path path;
  circle(
      [&path](double a, double b, double c, double d, double e, double f) {
        path.CurveTo({a, b}, {c, d}, {e, f});
      },
      [&path](double x, double y) {
        path.MoveTo({x, y});
      });
  path.Close();
  std::vector<FlatFigure> figures;
  ASSERT_TRUE(path.Flatten(Box{0, 0, kSide, kSide}, 100000, &figures));
  ASSERT_EQ(figures.size(), 1u);
  EXPECT_LT(figures[0].points.size(), 2000u);
  std::vector<uint32_t> ours = Drawn([&](cairo_t* cr) {
    ASSERT_TRUE(path.Emit(cr, 0));
    cairo_fill(cr);
  });
  EXPECT_GT(Inked(ours), kSide * 100);
  EXPECT_LE(Differing(theirs, ours), kSide);
  // More points than allowed: refused.
  EXPECT_FALSE(path.Flatten(Box{0, 0, kSide, kSide}, 20, &figures));
}

}  // namespace

TEST(PathFlatten, ACurveThatDoublesBackAlongItsChordKeepsItsReach) {
  // Control points on the line through the ends but beyond them: the curve runs past both ends
  // before coming back, which a straight line between the ends would lose.
  Path path;
  path.MoveTo({60.5, 80.5});
  path.CurveTo({10.5, 80.5}, {150.5, 80.5}, {100.5, 80.5});
  std::vector<FlatFigure> figures;
  ASSERT_TRUE(path.Flatten(Box{0, 0, kSide, kSide}, 1000, &figures));
  double left = kSide, right = 0;
  for (const PointD& p : figures[0].points)
    left = std::min(left, p.x), right = std::max(right, p.x);
  // The curve runs from x = 49.5 to 111.5.
  EXPECT_LT(left, 50);
  EXPECT_GT(right, 111);
}
