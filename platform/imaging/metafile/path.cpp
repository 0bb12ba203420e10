// Building outlines: the GDI shapes as lines and cubic curves in picture pixels.
#include "platform/imaging/metafile/path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/imaging/decode_budget.h"

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
  ops_.push_back(Op::Move);
  points_.push_back(p);
  open_ = true;
}

void Path::LineTo(PointD p) {
  if (!open_) return MoveTo(p);
  ops_.push_back(Op::Line);
  points_.push_back(p);
}

void Path::CurveTo(PointD c1, PointD c2, PointD p) {
  if (!open_) MoveTo(c1);
  ops_.push_back(Op::Curve);
  points_.insert(points_.end(), {c1, c2, p});
}

void Path::Close() {
  if (open_) ops_.push_back(Op::Close);
  open_ = false;
}

void Path::Append(const Path& other) {
  ops_.insert(ops_.end(), other.ops_.begin(), other.ops_.end());
  points_.insert(points_.end(), other.points_.begin(), other.points_.end());
  open_ = other.open_;
}

bool Box::Meets(const PointD* points, size_t count) const {
  double left = points[0].x, right = left, top = points[0].y, bottom = top;
  for (size_t i = 1; i < count; ++i) {
    left = std::min(left, points[i].x), right = std::max(right, points[i].x);
    top = std::min(top, points[i].y), bottom = std::max(bottom, points[i].y);
  }
  return right >= x0 && left <= x1 && bottom >= y0 && top <= y1;
}

namespace {

// How far a flattened curve may stray from the curve, in pixels (cairo's own default).
constexpr double kFlatness = 0.1;
// Halvings of one curve at most: 65536 lines, more than any curve inside a picture needs.
constexpr int kDeepestHalving = 16;

// The distance of c from the segment from a to b, squared: a control point beyond either end,
// even on the line, pulls the curve past that end.
double OffSegmentSquared(PointD a, PointD b, PointD c) {
  double dx = b.x - a.x, dy = b.y - a.y, cx = c.x - a.x, cy = c.y - a.y;
  double length = dx * dx + dy * dy;
  double t = length == 0 ? 0 : std::clamp((cx * dx + cy * dy) / length, 0.0, 1.0);
  double ox = cx - t * dx, oy = cy - t * dy;
  return ox * ox + oy * oy;
}

PointD Mid(PointD a, PointD b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

// Appends the lines of the curve after its start p[0]; false past mostPoints.
bool FlattenCurve(const PointD p[4], const Box& view, int depth, size_t mostPoints,
                  std::vector<PointD>* out) {
  double tolerance = kFlatness * kFlatness;
  bool flat = OffSegmentSquared(p[0], p[3], p[1]) <= tolerance &&
              OffSegmentSquared(p[0], p[3], p[2]) <= tolerance;
  if (flat || depth >= kDeepestHalving || !view.Meets(p, 4)) {
    out->push_back(p[3]);
    return out->size() <= mostPoints;
  }
  PointD ab = Mid(p[0], p[1]), bc = Mid(p[1], p[2]), cd = Mid(p[2], p[3]);
  PointD abc = Mid(ab, bc), bcd = Mid(bc, cd), middle = Mid(abc, bcd);
  const PointD first[4] = {p[0], ab, abc, middle}, second[4] = {middle, bcd, cd, p[3]};
  return FlattenCurve(first, view, depth + 1, mostPoints, out) &&
         FlattenCurve(second, view, depth + 1, mostPoints, out);
}

}  // namespace

bool Path::Flatten(const Box& view, size_t mostPoints, std::vector<FlatFigure>* figures) const {
  figures->clear();
  size_t total = 0, at = 0;
  FlatFigure* figure = nullptr;
  for (Op op : ops_) {
    if (op == Op::Close) {
      if (figure != nullptr) figure->closed = true;
      figure = nullptr;
      continue;
    }
    if (op == Op::Move || figure == nullptr) {
      if (figure != nullptr) total += figure->points.size();
      figures->emplace_back();
      figure = &figures->back();
    }
    std::vector<PointD>& points = figure->points;
    size_t room = total > mostPoints ? 0 : mostPoints - total;
    if (op == Op::Curve) {
      PointD curve[4] = {points.empty() ? points_[at] : points.back(), points_[at], points_[at + 1],
                         points_[at + 2]};
      if (!FlattenCurve(curve, view, 0, room, &points)) return false;
      at += 3;
    } else {
      points.push_back(points_[at++]);
      if (points.size() > room) return false;
    }
  }
  return true;
}

size_t MostEdges() { return imaging::BlockLimit() / kBytesPerEdge; }

Box View(cairo_t* cr) {
  Box view;
  cairo_clip_extents(cr, &view.x0, &view.y0, &view.x1, &view.y1);
  return view.Grown(1);
}

bool Path::Emit(cairo_t* cr, double shift) const {
  cairo_new_path(cr);
  std::vector<FlatFigure> figures;
  if (!Flatten(View(cr).Grown(std::fabs(shift)), MostEdges(), &figures)) return false;
  for (const FlatFigure& figure : figures) {
    for (size_t i = 0; i < figure.points.size(); ++i) {
      double x = figure.points[i].x + shift, y = figure.points[i].y + shift;
      if (i == 0)
        cairo_move_to(cr, x, y);
      else
        cairo_line_to(cr, x, y);
    }
    if (figure.closed) cairo_close_path(cr);
  }
  return true;
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

void AddAngleArc(Path* path, const cairo_matrix_t& m, PointD centre, double radius, double start,
                 double sweep) {
  // The circle's points are (x + r cos a, y - r sin a): the ellipse's own parameter with a
  // negative vertical radius.
  AppendEllipseArc(path, m, centre, {radius, -radius}, start, start + sweep, false);
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
