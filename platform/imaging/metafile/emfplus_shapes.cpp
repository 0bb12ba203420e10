// Rectangles, ellipses, arcs and cardinal splines of the EMF+ records.
#include "platform/imaging/metafile/emfplus_shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace platform::metafile {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kWholeTurn = 360;

// The ellipse's own parameter for the point seen at the angle from its centre.
double ParameterOf(double radians, double rx, double ry) {
  return std::atan2(rx * std::sin(radians), ry * std::cos(radians));
}

// Cubic curves of at most a quarter turn each along the ellipse (centre c, radii r) from
// parameter a0 to a1, after a move to (or a line to) its start.
void EllipseArc(Path* out, const cairo_matrix_t& m, PointD c, PointD r, double a0, double a1,
                bool moveFirst) {
  auto at = [&](double a, double dx, double dy) {
    return Map(m, c.x + r.x * (std::cos(a) + dx), c.y + r.y * (std::sin(a) + dy));
  };
  if (moveFirst)
    out->MoveTo(at(a0, 0, 0));
  else
    out->LineTo(at(a0, 0, 0));
  int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(a1 - a0) / (kPi / 2) - 1e-9)));
  double step = (a1 - a0) / pieces;
  double k = 4.0 / 3.0 * std::tan(step / 4);
  for (int i = 0; i < pieces; ++i) {
    double s = a0 + step * i, e = s + step;
    out->CurveTo(at(s, -k * std::sin(s), k * std::cos(s)), at(e, k * std::sin(e), -k * std::cos(e)),
                 at(e, 0, 0));
  }
}

PointD Minus(PointD a, PointD b) { return {a.x - b.x, a.y - b.y}; }

}  // namespace

void AddPlusRect(Path* out, const cairo_matrix_t& m, const RectD& rect) {
  out->MoveTo(Map(m, rect.x, rect.y));
  out->LineTo(Map(m, rect.x + rect.w, rect.y));
  out->LineTo(Map(m, rect.x + rect.w, rect.y + rect.h));
  out->LineTo(Map(m, rect.x, rect.y + rect.h));
  out->Close();
}

void AddPlusEllipse(Path* out, const cairo_matrix_t& m, const RectD& rect) {
  PointD c{rect.x + rect.w / 2, rect.y + rect.h / 2}, r{rect.w / 2, rect.h / 2};
  EllipseArc(out, m, c, r, 0, 2 * kPi, true);
  out->Close();
}

void AddPlusArc(Path* out, const cairo_matrix_t& m, const RectD& rect, double startDegrees,
                double sweepDegrees, bool pie) {
  if (sweepDegrees == 0 || rect.w == 0 || rect.h == 0) return;
  PointD c{rect.x + rect.w / 2, rect.y + rect.h / 2},
      r{std::fabs(rect.w) / 2, std::fabs(rect.h) / 2};
  double sweep = std::clamp(sweepDegrees, -kWholeTurn, kWholeTurn) * kPi / 180;
  double start = std::fmod(startDegrees, kWholeTurn) * kPi / 180;
  double a0 = ParameterOf(start, r.x, r.y);
  // The end's parameter, reached going the sweep's way from the start's.
  double a1 = a0 + sweep;
  if (std::fabs(sweep) < 2 * kPi) {
    double end = ParameterOf(start + sweep, r.x, r.y);
    double turn = std::remainder(end - a0, 2 * kPi);
    if (sweep > 0 && turn < 0) turn += 2 * kPi;
    if (sweep < 0 && turn > 0) turn -= 2 * kPi;
    a1 = a0 + turn;
  }
  if (pie) out->MoveTo(Map(m, c.x, c.y));
  EllipseArc(out, m, c, r, a0, a1, !pie);
  if (pie) out->Close();
}

void AddCardinal(Path* out, const cairo_matrix_t& m, const std::vector<PointD>& points,
                 double tension, bool closed, size_t offset, size_t segments) {
  size_t n = points.size();
  if (n < 2) return;
  if (closed) {
    offset = 0;
    segments = n;
  }
  if (offset >= n - 1 && !closed) return;
  segments = std::min(segments, closed ? n : n - 1 - offset);
  // Ends of an open curve take their own point as the neighbour beyond.
  auto point = [&](ptrdiff_t i) {
    if (closed)
      return points[static_cast<size_t>((i % ptrdiff_t(n) + ptrdiff_t(n)) % ptrdiff_t(n))];
    return points[static_cast<size_t>(std::clamp<ptrdiff_t>(i, 0, ptrdiff_t(n) - 1))];
  };
  double k = tension / 3;
  auto start = static_cast<ptrdiff_t>(offset);
  out->MoveTo(Map(m, point(start).x, point(start).y));
  for (ptrdiff_t i = start; i < start + static_cast<ptrdiff_t>(segments); ++i) {
    PointD p0 = point(i - 1), p1 = point(i), p2 = point(i + 1), p3 = point(i + 2);
    PointD d1 = Minus(p2, p0), d2 = Minus(p3, p1);
    out->CurveTo(Map(m, p1.x + k * d1.x, p1.y + k * d1.y), Map(m, p2.x - k * d2.x, p2.y - k * d2.y),
                 Map(m, p2.x, p2.y));
  }
  if (closed) out->Close();
}

}  // namespace platform::metafile
