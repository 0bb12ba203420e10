// Brushes and pens on cairo.
#include "platform/imaging/metafile/paint.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/imaging/metafile/hatch.h"

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

}  // namespace

void FillWithBrush(cairo_t* cr, const Path& outline, const Brush& brush, const DcState& state,
                   bool winding) {
  if (brush.style == kBrushNull) return;
  cairo_pattern_t* pattern = nullptr;
  if (brush.style == kBrushHatched || brush.style == kBrushPattern) {
    pattern = BrushPattern(brush, state.opaqueBack, state.backColor);
    if (pattern == nullptr) return;
    cairo_set_source(cr, pattern);
  } else {
    SetColor(cr, brush.color);
  }
  outline.Emit(cr, 0);
  cairo_set_fill_rule(cr, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
  cairo_fill(cr);
  if (pattern != nullptr) cairo_pattern_destroy(pattern);
}

void StrokeWithPen(cairo_t* cr, const Path& outline, const DcState& state,
                   const cairo_matrix_t& toPicture) {
  const Pen& pen = state.pen;
  if (pen.style == kPenNull) return;
  double scale = std::sqrt(std::fabs(toPicture.xx * toPicture.yy - toPicture.xy * toPicture.yx));
  double width = 1;
  if (pen.width > 0 && (pen.geometric || pen.width > 1)) width = pen.width * scale;
  if (!std::isfinite(width)) return;
  width = std::clamp(width, 1.0, kWidestPen);
  // Wide pens made by CreatePen draw only solid lines.
  std::vector<double> dashes;
  if (pen.geometric || pen.width <= 1) dashes = DashPattern(pen, width, scale);
  // A line of odd width is centred on the middle of the pixels it covers.
  double shift = static_cast<int>(std::lround(width)) % 2 == 1 ? 0.5 : 0;
  outline.Emit(cr, shift);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, dashes.empty() ? CapOf(pen) : CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, JoinOf(pen));
  cairo_set_miter_limit(cr, std::clamp(state.miterLimit, 1.0, kMiterLimitMost));
  if (!dashes.empty() && state.opaqueBack) {
    SetColor(cr, state.backColor);
    cairo_stroke_preserve(cr);
  }
  if (!dashes.empty()) cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), 0);
  SetColor(cr, pen.color);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
}

}  // namespace platform::metafile
