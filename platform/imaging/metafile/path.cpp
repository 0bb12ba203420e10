// Building outlines: the GDI shapes as lines and cubic curves in picture pixels.
#include "platform/imaging/metafile/path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace platform::metafile {

namespace {

// cairo keeps coordinates as 24.8 fixed-point numbers; beyond this they would wrap.
constexpr double kFar = 1 << 21;

double Keep(double v) { return std::isfinite(v) ? std::clamp(v, -kFar, kFar) : 0; }

constexpr double kPi = std::numbers::pi;

// Appends an arc of the ellipse (centre, radii in logical units) from angle a0 to a1 (radians,
// in the ellipse's own parameter), as curves of at most a quarter turn each.
void AppendEllipseArc(Path* path, const cairo_matrix_t& m, PointD c, PointD r, double a0, double a1,
                      bool moveFirst) {
  auto at = [&](double a, double dx, double dy) {
    return Map(m, c.x + r.x * (std::cos(a) + dx), c.y + r.y * (std::sin(a) + dy));
  };
  if (moveFirst)
    path->MoveTo(at(a0, 0, 0));
  else
    path->LineTo(at(a0, 0, 0));
  int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(a1 - a0) / (kPi / 2) - 1e-9)));
  double step = (a1 - a0) / pieces;
  double k = 4.0 / 3.0 * std::tan(step / 4);
  for (int i = 0; i < pieces; ++i) {
    double s = a0 + step * i, e = s + step;
    path->CurveTo(at(s, -k * std::sin(s), k * std::cos(s)),
                  at(e, k * std::sin(e), -k * std::cos(e)), at(e, 0, 0));
  }
}

void Order(double* low, double* high) {
  if (*high < *low) std::swap(*low, *high);
}

}  // namespace

void Path::MoveTo(PointD p) {
  ops_.push_back({Op::Move, {p, {}, {}}});
  open_ = true;
}

void Path::LineTo(PointD p) {
  if (!open_) return MoveTo(p);
  ops_.push_back({Op::Line, {p, {}, {}}});
}

void Path::CurveTo(PointD c1, PointD c2, PointD p) {
  if (!open_) MoveTo(c1);
  ops_.push_back({Op::Curve, {c1, c2, p}});
}

void Path::Close() {
  if (open_) ops_.push_back({Op::Close, {}});
  open_ = false;
}

void Path::Append(const Path& other) {
  ops_.insert(ops_.end(), other.ops_.begin(), other.ops_.end());
  open_ = other.open_;
}

void Path::Emit(cairo_t* cr, double shift) const {
  cairo_new_path(cr);
  for (const Step& step : ops_) {
    const PointD* p = step.p;
    switch (step.op) {
      case Op::Move: cairo_move_to(cr, p[0].x + shift, p[0].y + shift); break;
      case Op::Line: cairo_line_to(cr, p[0].x + shift, p[0].y + shift); break;
      case Op::Curve:
        cairo_curve_to(cr, p[0].x + shift, p[0].y + shift, p[1].x + shift, p[1].y + shift,
                       p[2].x + shift, p[2].y + shift);
        break;
      case Op::Close: cairo_close_path(cr); break;
    }
  }
}

PointD Map(const cairo_matrix_t& toPicture, double x, double y) {
  cairo_matrix_transform_point(&toPicture, &x, &y);
  return PointD{Keep(x), Keep(y)};
}

void AddPolyline(Path* path, const cairo_matrix_t& m, const std::vector<PointD>& points,
                 bool close) {
  if (points.empty()) return;
  path->MoveTo(Map(m, points[0].x, points[0].y));
  for (size_t i = 1; i < points.size(); ++i) path->LineTo(Map(m, points[i].x, points[i].y));
  if (close) path->Close();
}

void AddBox(Path* path, const cairo_matrix_t& m, double l, double t, double r, double b) {
  AddPolyline(path, m, {{l, t}, {r, t}, {r, b}, {l, b}}, true);
}

void AddEllipse(Path* path, const cairo_matrix_t& m, double l, double t, double r, double b) {
  Order(&l, &r);
  Order(&t, &b);
  AppendEllipseArc(path, m, {(l + r) / 2, (t + b) / 2}, {(r - l) / 2, (b - t) / 2}, 0, 2 * kPi,
                   true);
  path->Close();
}

void AddRoundBox(Path* path, const cairo_matrix_t& m, double l, double t, double r, double b,
                 double cornerW, double cornerH) {
  Order(&l, &r);
  Order(&t, &b);
  double rx = std::min(std::fabs(cornerW) / 2, (r - l) / 2);
  double ry = std::min(std::fabs(cornerH) / 2, (b - t) / 2);
  // Each corner a quarter of the corner ellipse, going round clockwise from the top edge.
  AppendEllipseArc(path, m, {r - rx, t + ry}, {rx, ry}, -kPi / 2, 0, true);
  AppendEllipseArc(path, m, {r - rx, b - ry}, {rx, ry}, 0, kPi / 2, false);
  AppendEllipseArc(path, m, {l + rx, b - ry}, {rx, ry}, kPi / 2, kPi, false);
  AppendEllipseArc(path, m, {l + rx, t + ry}, {rx, ry}, kPi, 1.5 * kPi, false);
  path->Close();
}

void AddArc(Path* path, const cairo_matrix_t& m, double l, double t, double r, double b,
            PointD start, PointD end, ArcKind kind, bool clockwise, bool lineFirst) {
  Order(&l, &r);
  Order(&t, &b);
  PointD c{(l + r) / 2, (t + b) / 2}, radii{(r - l) / 2, (b - t) / 2};
  if (radii.x <= 0 || radii.y <= 0) return;
  double a0 = std::atan2((start.y - c.y) / radii.y, (start.x - c.x) / radii.x);
  double a1 = std::atan2((end.y - c.y) / radii.y, (end.x - c.x) / radii.x);
  // Counterclockwise as seen: with y pointing down on the picture, that is the parameter going
  // down, unless the mapping mirrors one axis.
  bool mirrored = m.xx * m.yy - m.xy * m.yx < 0;
  bool increasing = clockwise != mirrored;
  double sweep = increasing ? a1 - a0 : a0 - a1;
  while (sweep <= 1e-12) sweep += 2 * kPi;
  double a1Swept = increasing ? a0 + sweep : a0 - sweep;
  if (kind == ArcKind::Pie) {
    path->MoveTo(Map(m, c.x, c.y));
    AppendEllipseArc(path, m, c, radii, a0, a1Swept, false);
  } else {
    AppendEllipseArc(path, m, c, radii, a0, a1Swept, !lineFirst);
  }
  if (kind != ArcKind::Arc) path->Close();
}

void AddBeziers(Path* path, const cairo_matrix_t& m, const std::vector<PointD>& points,
                bool fromCurrent) {
  size_t i = 0;
  if (!fromCurrent) {
    if (points.empty()) return;
    path->MoveTo(Map(m, points[0].x, points[0].y));
    i = 1;
  }
  for (; i + 3 <= points.size(); i += 3)
    path->CurveTo(Map(m, points[i].x, points[i].y), Map(m, points[i + 1].x, points[i + 1].y),
                  Map(m, points[i + 2].x, points[i + 2].y));
}

}  // namespace platform::metafile
