// Stroking with EMF+ pens.
#include "platform/imaging/metafile/emfplus_stroke.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/imaging/metafile/stroke.h"

namespace platform::metafile {

namespace {

// The widest pen drawn, in pixels: wider than any picture, and small enough for cairo.
constexpr double kWidestPen = 1 << 16;
// Compound stripes beyond this many are left out.
constexpr size_t kMostStripes = 16;

double Det(const cairo_matrix_t& m) { return m.xx * m.yy - m.xy * m.yx; }

// The pen's width in picture pixels: world units go through the world transform, other units
// only through the device's size on the picture. Never below a pixel.
double WidthOf(const PlusGraphics& graphics, const PlusPen& pen) {
  cairo_matrix_t m;
  if (pen.unit == kUnitWorld) {
    cairo_matrix_t world = graphics.WorldToPicture();
    cairo_matrix_multiply(&m, &pen.transform, &world);
  } else {
    cairo_matrix_t unit, device = graphics.DeviceToPicture();
    cairo_matrix_init_scale(&unit, graphics.DeviceUnitsX(pen.unit),
                            graphics.DeviceUnitsY(pen.unit));
    cairo_matrix_multiply(&m, &pen.transform, &unit);
    cairo_matrix_multiply(&m, &m, &device);
  }
  double width = pen.width * std::sqrt(std::fabs(Det(m)));
  if (!(width >= 1)) return 1;
  return std::min(width, kWidestPen);
}

cairo_line_join_t JoinOf(uint32_t join) {
  switch (join) {
    case kJoinBevel: return CAIRO_LINE_JOIN_BEVEL;
    case kJoinRound: return CAIRO_LINE_JOIN_ROUND;
    default: return CAIRO_LINE_JOIN_MITER;
  }
}

// The dash lengths in pixels, started offset widths into the pattern; empty for a solid line.
std::vector<double> DashesOf(const PlusPen& pen, double width) {
  std::vector<double> unit;
  switch (pen.lineStyle) {
    case kLineDash: unit = {3, 1}; break;
    case kLineDot: unit = {1, 1}; break;
    case kLineDashDot: unit = {3, 1, 1, 1}; break;
    case kLineDashDotDot: unit = {3, 1, 1, 1, 1, 1}; break;
    case kLineCustom: unit = pen.dashes; break;
    default: return {};
  }
  if (unit.size() % 2 == 1) unit.insert(unit.end(), unit.begin(), unit.end());
  double period = 0;
  for (double& length : unit) period += length *= width;
  if (!(period >= 0.5) || !std::isfinite(period)) return {};
  double offset = std::fmod(std::fabs(pen.dashOffset * width), period);
  // Started part way: the rest of the entry the offset falls in, the entries after it, then
  // those before it; a gap entered part way becomes an empty dash and the rest of the gap.
  size_t entry = 0;
  while (entry + 1 < unit.size() && offset >= unit[entry]) offset -= unit[entry++];
  offset = std::min(offset, unit[entry]);
  std::vector<double> out;
  if (entry % 2 == 1) out.push_back(0);
  out.push_back(unit[entry] - offset);
  out.insert(out.end(), unit.begin() + entry + 1, unit.end());
  out.insert(out.end(), unit.begin(), unit.begin() + entry);
  if (offset > 0) out.push_back(offset);
  if (out.size() % 2 == 1) out.push_back(0);
  return out;
}

bool Opaque(PlusColor c) { return c.a == 255; }

// Whether every pixel the brush paints is opaque.
bool Opaque(const PlusBrush& brush) {
  switch (brush.type) {
    case BrushType::Solid: return Opaque(brush.color);
    case BrushType::Hatch: return Opaque(brush.color) && Opaque(brush.second);
    case BrushType::LinearGradient:
      return Opaque(brush.color) && Opaque(brush.second) &&
             std::all_of(brush.blend.colors.begin(), brush.blend.colors.end(),
                         [](PlusColor c) { return Opaque(c); });
    default: return false;
  }
}

PointD Unit(PointD from, PointD to) {
  double length = std::hypot(to.x - from.x, to.y - from.y);
  if (!(length > 0)) return {1, 0};
  return {(to.x - from.x) / length, (to.y - from.y) / length};
}

// The cap at end, of a line arriving from `from`. Anchors sit centred on the end, twice the
// pen's width across; the other caps reach half the width beyond it.
void Cap(cairo_t* cr, PointD from, PointD end, double width, uint32_t cap) {
  PointD u = Unit(from, end), n{-u.y, u.x};
  double r = width / 2, a = width;
  auto corner = [&](double along, double across) {
    return PointD{end.x + u.x * along + n.x * across, end.y + u.y * along + n.y * across};
  };
  std::vector<PointD> outline;
  switch (cap) {
    case kCapSquare: outline = {corner(0, r), corner(r, r), corner(r, -r), corner(0, -r)}; break;
    case kCapTriangle: outline = {corner(0, r), corner(r, 0), corner(0, -r)}; break;
    case kCapSquareAnchor:
      outline = {corner(-a, a), corner(a, a), corner(a, -a), corner(-a, -a)};
      break;
    case kCapDiamondAnchor:
      outline = {corner(a, 0), corner(0, a), corner(-a, 0), corner(0, -a)};
      break;
    case kCapArrowAnchor: outline = {corner(0, 0), corner(-2 * a, a), corner(-2 * a, -a)}; break;
    case kCapRound:
    case kCapRoundAnchor: {
      double angle = std::atan2(u.y, u.x), radius = cap == kCapRound ? r : a;
      cairo_new_path(cr);
      if (cap == kCapRound)
        cairo_arc(cr, end.x, end.y, radius, angle - std::numbers::pi / 2,
                  angle + std::numbers::pi / 2);
      else
        cairo_arc(cr, end.x, end.y, radius, 0, 2 * std::numbers::pi);
      cairo_fill(cr);
      return;
    }
    default: return;
  }
  cairo_new_path(cr);
  for (const PointD& p : outline) cairo_line_to(cr, p.x, p.y);
  cairo_close_path(cr);
  cairo_fill(cr);
}

// The point before the end of an open figure that is not the end itself.
const PointD* Before(const std::vector<PointD>& p, bool atStart) {
  const PointD& end = atStart ? p.front() : p.back();
  for (size_t k = 1; k < p.size(); ++k) {
    const PointD& q = p[atStart ? k : p.size() - 1 - k];
    if (q.x != end.x || q.y != end.y) return &q;
  }
  return nullptr;
}

void Caps(cairo_t* cr, const std::vector<FlatFigure>& figures, const PlusPen& pen, double width) {
  for (const FlatFigure& figure : figures) {
    if (figure.closed || figure.points.empty()) continue;
    if (const PointD* next = Before(figure.points, true))
      Cap(cr, *next, figure.points.front(), width, pen.startCap);
    if (const PointD* previous = Before(figure.points, false))
      Cap(cr, *previous, figure.points.back(), width, pen.endCap);
  }
}

// The figure moved sideways by d pixels, its corners mitred (within the limit).
FlatFigure Offset(const FlatFigure& figure, double d, double miterLimit) {
  FlatFigure out;
  out.closed = figure.closed;
  const std::vector<PointD>& p = figure.points;
  size_t n = p.size();
  auto normal = [&](size_t a, size_t b) {
    PointD u = Unit(p[a], p[b]);
    return PointD{-u.y, u.x};
  };
  for (size_t i = 0; i < n; ++i) {
    bool first = i == 0 && !figure.closed, last = i + 1 == n && !figure.closed;
    PointD in = first ? normal(0, std::min<size_t>(1, n - 1)) : normal((i + n - 1) % n, i);
    PointD outN = last ? in : normal(i, (i + 1) % n);
    if (first) in = outN;
    PointD m{in.x + outN.x, in.y + outN.y};
    double length = std::hypot(m.x, m.y);
    double scale = 1;
    if (length > 1e-9) {
      m = {m.x / length, m.y / length};
      scale = std::min(1 / std::max(m.x * outN.x + m.y * outN.y, 1e-9), miterLimit);
    } else {
      m = outN;
    }
    out.points.push_back({p[i].x + m.x * d * scale, p[i].y + m.y * d * scale});
  }
  return out;
}

void SetLine(cairo_t* cr, const PenShape& shape) {
  cairo_set_line_width(cr, shape.width);
  cairo_set_line_join(cr, shape.join);
  cairo_set_miter_limit(cr, shape.miterLimit);
}

// Closed figures stroked twice as wide inside themselves: the inset half of the line.
void StrokeInset(cairo_t* cr, const std::vector<FlatFigure>& figures, PenShape shape,
                 const Box& view) {
  std::vector<FlatFigure> closed, open;
  for (const FlatFigure& figure : figures) (figure.closed ? closed : open).push_back(figure);
  if (!open.empty()) StrokeFigures(cr, open, shape, view);
  if (closed.empty()) return;
  cairo_save(cr);
  cairo_new_path(cr);
  for (const FlatFigure& figure : closed) {
    for (const PointD& p : figure.points) cairo_line_to(cr, p.x, p.y);
    cairo_close_path(cr);
  }
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_clip(cr);
  shape.width = std::min(shape.width * 2, kWidestPen);
  SetLine(cr, shape);
  StrokeFigures(cr, closed, shape, view);
  cairo_restore(cr);
}

// Each stripe of a compound pen as a line of its own, moved sideways to its place.
void StrokeCompound(cairo_t* cr, const std::vector<FlatFigure>& figures, const PlusPen& pen,
                    const PenShape& shape, const Box& view) {
  double width = shape.width;
  for (size_t k = 0; k + 1 < pen.compound.size() && k / 2 < kMostStripes; k += 2) {
    double from = pen.compound[k], to = pen.compound[k + 1];
    if (to <= from) continue;
    PenShape stripe = shape;
    stripe.width = std::max(1.0, (to - from) * width);
    std::vector<FlatFigure> moved;
    for (const FlatFigure& figure : figures)
      moved.push_back(Offset(figure, ((from + to) / 2 - 0.5) * width, shape.miterLimit));
    SetLine(cr, stripe);
    StrokeFigures(cr, moved, stripe, view);
  }
}

Box Extent(const std::vector<FlatFigure>& figures) {
  Box box{INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (const FlatFigure& figure : figures)
    for (const PointD& p : figure.points) {
      box.x0 = std::min(box.x0, p.x), box.x1 = std::max(box.x1, p.x);
      box.y0 = std::min(box.y0, p.y), box.y1 = std::max(box.y1, p.y);
    }
  return box;
}

}  // namespace

bool StrokePlus(PlusGraphics& graphics, const Path& outline, const PlusPen& pen) {
  PlusPaint paint(graphics);
  cairo_t* cr = paint.Cairo();
  PenShape shape;
  shape.width = WidthOf(graphics, pen);
  shape.join = JoinOf(pen.join);
  shape.miterLimit = pen.miterLimit;
  shape.cap = CAIRO_LINE_CAP_BUTT;
  shape.dashes = DashesOf(pen, shape.width);
  // Curves further off the picture than the pen and its joins and caps reach are straight lines.
  Box view = View(cr);
  double reach = shape.width * std::max(shape.miterLimit, 2.0) + 1;
  std::vector<FlatFigure> figures;
  if (!outline.Flatten(view.Grown(reach), MostEdges(), &figures)) return false;
  if (figures.empty()) return true;
  // A pen that is not opaque is laid into a group as one coat and then blended once.
  bool coat = !graphics.State().sourceCopy && !Opaque(pen.brush);
  if (coat) {
    Box extent = Extent(figures).Grown(reach);
    extent = {std::max(extent.x0, view.x0), std::max(extent.y0, view.y0),
              std::min(extent.x1, view.x1), std::min(extent.y1, view.y1)};
    if (extent.x0 >= extent.x1 || extent.y0 >= extent.y1) return true;
    cairo_new_path(cr);
    cairo_rectangle(cr, extent.x0, extent.y0, extent.x1 - extent.x0, extent.y1 - extent.y0);
    cairo_clip(cr);
    cairo_push_group(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  }
  if (paint.Source(pen.brush)) {
    SetLine(cr, shape);
    if (pen.compound.size() >= 2)
      StrokeCompound(cr, figures, pen, shape, view);
    else if (pen.alignment == kAlignInset)
      StrokeInset(cr, figures, shape, view);
    else
      StrokeFigures(cr, figures, shape, view);
    Caps(cr, figures, pen, shape.width);
  }
  if (coat) {
    cairo_pop_group_to_source(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_paint(cr);
  }
  return true;
}

}  // namespace platform::metafile
