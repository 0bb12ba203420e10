// Brushes and pens on cairo.
#include "platform/imaging/metafile/paint.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/imaging/metafile/hatch.h"
#include "platform/imaging/metafile/mix_mode.h"
#include "platform/imaging/metafile/stroke.h"

namespace platform::metafile {

namespace {

// The widest pen drawn, in pixels: wider than any picture, and small enough for cairo.
constexpr double kWidestPen = 1 << 16;
constexpr double kMiterLimitMost = 1000;

void SetColor(cairo_t* cr, Color color) {
  cairo_set_source_rgb(cr, color.r / 255.0, color.g / 255.0, color.b / 255.0);
}

// Dash lengths of the styles, in units of the pen's width for wide pens and in pixels for thin
// ones; the gaps between them take the background colour when the background mode is opaque.
std::vector<double> DashPattern(const Pen& pen, double width, double scale) {
  std::vector<double> unit;
  bool thin = !pen.geometric;
  switch (pen.style) {
    case kPenDash: unit = thin ? std::vector<double>{18, 6} : std::vector<double>{3, 1}; break;
    case kPenDot: unit = thin ? std::vector<double>{3, 3} : std::vector<double>{1, 1}; break;
    case kPenDashDot:
      unit = thin ? std::vector<double>{9, 6, 3, 6} : std::vector<double>{3, 1, 1, 1};
      break;
    case kPenDashDotDot:
      unit = thin ? std::vector<double>{9, 3, 3, 3, 3, 3} : std::vector<double>{3, 1, 1, 1, 1, 1};
      break;
    case kPenAlternate: unit = {1, 1}; break;
    case kPenUserStyle:
      // A user style's lengths are logical units for a geometric pen, pixels for a cosmetic one.
      for (double length : pen.dashes)
        unit.push_back(pen.geometric ? length * scale / width : length);
      break;
    default: return {};
  }
  double sum = 0;
  for (double& length : unit) {
    length = std::clamp(length * (thin ? 1 : width), 0.0, kWidestPen);
    sum += length;
  }
  if (!(sum >= 0.5)) return {};
  return unit;
}

// The cap and join bits of a pen's style; a pen made without them has round ones.
cairo_line_cap_t CapOf(const Pen& pen) {
  if (pen.cap == 0x100) return CAIRO_LINE_CAP_SQUARE;
  if (pen.cap == 0x200) return CAIRO_LINE_CAP_BUTT;
  return CAIRO_LINE_CAP_ROUND;
}

cairo_line_join_t JoinOf(const Pen& pen) {
  if (pen.join == 0x1000) return CAIRO_LINE_JOIN_BEVEL;
  if (pen.join == 0x2000) return CAIRO_LINE_JOIN_MITER;
  return CAIRO_LINE_JOIN_ROUND;
}

// Makes the brush cairo's source: its colour, or a pattern for *pattern to destroy afterwards;
// false for a hatch or pattern that cannot be made.
bool UseBrush(cairo_t* cr, const Brush& brush, const DcState& state, cairo_pattern_t** pattern) {
  if (brush.style != kBrushHatched && brush.style != kBrushPattern) {
    SetColor(cr, brush.color);
    return true;
  }
  *pattern = BrushPattern(brush, state.opaqueBack, state.backColor, state.textColor);
  if (*pattern == nullptr) return false;
  // The tiles start at the brush origin, taken within one tile so that the pattern's matrix
  // stays small.
  double tileW = 8, tileH = 8;
  if (brush.style == kBrushPattern) tileW = brush.pattern->width, tileH = brush.pattern->height;
  cairo_matrix_t origin;
  cairo_matrix_init_translate(&origin, -std::fmod(state.brushOriginX, tileW),
                              -std::fmod(state.brushOriginY, tileH));
  cairo_pattern_set_matrix(*pattern, &origin);
  cairo_set_source(cr, *pattern);
  return true;
}

// How much the mapping scales a length: the square root of its area's scale.
double Scale(const cairo_matrix_t& m) { return std::sqrt(std::fabs(m.xx * m.yy - m.xy * m.yx)); }

}  // namespace

double PenPixels(const Pen& pen, const cairo_matrix_t& toPicture) {
  if (pen.width > 0 && (pen.geometric || pen.width > 1)) return pen.width * Scale(toPicture);
  return 1;
}

PointD InsideFrameInset(const Pen& pen, const cairo_matrix_t& toPicture) {
  double width = PenPixels(pen, toPicture);
  if (pen.style != kPenInsideFrame || !(width > 1) || !std::isfinite(width)) return {0, 0};
  // Half the pen's width in pixels, in logical units along each axis.
  double alongX = std::hypot(toPicture.xx, toPicture.yx);
  double alongY = std::hypot(toPicture.xy, toPicture.yy);
  return {alongX > 0 ? width / 2 / alongX : 0, alongY > 0 ? width / 2 / alongY : 0};
}

bool FillWithBrush(cairo_t* cr, const Path& outline, const Brush& brush, const DcState& state,
                   bool winding) {
  if (brush.style == kBrushNull) return true;
  if (state.rop2 != kR2CopyPen) return FillMixed(cr, outline, brush, state, winding);
  if (!outline.Emit(cr, 0)) return false;
  cairo_pattern_t* pattern = nullptr;
  if (!UseBrush(cr, brush, state, &pattern)) return true;
  cairo_set_fill_rule(cr, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
  cairo_fill(cr);
  if (pattern != nullptr) cairo_pattern_destroy(pattern);
  return true;
}

void MaskWithBrush(cairo_t* cr, cairo_surface_t* mask, const Brush& brush, const DcState& state) {
  cairo_pattern_t* pattern = nullptr;
  if (brush.style == kBrushNull || !UseBrush(cr, brush, state, &pattern)) return;
  cairo_mask_surface(cr, mask, 0, 0);
  if (pattern != nullptr) cairo_pattern_destroy(pattern);
}

bool StrokeWithPen(cairo_t* cr, const Path& outline, const DcState& state,
                   const cairo_matrix_t& toPicture) {
  const Pen& pen = state.pen;
  if (pen.style == kPenNull) return true;
  if (state.rop2 != kR2CopyPen) return StrokeMixed(cr, outline, state, toPicture);
  double scale = Scale(toPicture);
  double width = PenPixels(pen, toPicture);
  if (!std::isfinite(width)) return true;
  PenShape shape;
  shape.width = std::clamp(width, 1.0, kWidestPen);
  // Wide pens made by CreatePen draw only solid lines.
  if (pen.geometric || pen.width <= 1) shape.dashes = DashPattern(pen, shape.width, scale);
  shape.cap = shape.dashes.empty() ? CapOf(pen) : CAIRO_LINE_CAP_BUTT;
  shape.join = JoinOf(pen);
  shape.miterLimit = std::clamp(state.miterLimit, 1.0, kMiterLimitMost);

  // Curves further off the picture than a join can reach are drawn as straight lines.
  Box view = View(cr);
  double reach = shape.width / 2 * (shape.join == CAIRO_LINE_JOIN_MITER ? shape.miterLimit : 1);
  std::vector<FlatFigure> figures;
  if (!outline.Flatten(view.Grown(reach + 1), MostEdges(), &figures)) return false;
  // A line of odd width is centred on the middle of the pixels it covers.
  double shift = static_cast<int>(std::lround(shape.width)) % 2 == 1 ? 0.5 : 0;
  for (FlatFigure& figure : figures)
    for (PointD& p : figure.points) p.x += shift, p.y += shift;

  cairo_set_line_width(cr, shape.width);
  cairo_set_line_join(cr, shape.join);
  cairo_set_miter_limit(cr, shape.miterLimit);
  if (!shape.dashes.empty() && state.opaqueBack) {
    SetColor(cr, state.backColor);
    PenShape gaps = shape;
    gaps.dashes.clear();
    StrokeFigures(cr, figures, gaps, view);
  }
  SetColor(cr, pen.color);
  StrokeFigures(cr, figures, shape, view);
  return true;
}

}  // namespace platform::metafile
