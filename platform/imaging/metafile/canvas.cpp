// The picture, its device context state and object table, and the shapes drawn on it.
#include "platform/imaging/metafile/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <utility>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/paint.h"
#include "platform/imaging/metafile/palette.h"

namespace platform::metafile {

namespace {

// SaveDC beyond this depth is ignored (and so is the RestoreDC that answers it), so that a file
// of nothing but SaveDC records cannot pile up copies of the state.
constexpr size_t kDeepestSave = 1024;
// Objects beyond this many entries of a WMF's table are not made.
constexpr uint32_t kMostWmfObjects = 1 << 16;

constexpr uint32_t kRegionAnd = 1, kRegionOr = 2, kRegionXor = 3, kRegionDiff = 4, kRegionCopy = 5;

// A shape's bounding box moved in by inset on each side, so that an inside-frame pen lies within
// the box given; a box narrower than twice the inset shrinks to its middle.
void MoveIn(PointD inset, double* l, double* t, double* r, double* b) {
  if (inset.x == 0 && inset.y == 0) return;
  if (*r < *l) std::swap(*l, *r);
  if (*b < *t) std::swap(*t, *b);
  double x = std::min(inset.x, (*r - *l) / 2), y = std::min(inset.y, (*b - *t) / 2);
  *l += x, *r -= x, *t += y, *b -= y;
}

constexpr uint8_t kCloseFigure = 1, kLineTo = 2, kBezierTo = 4, kMoveTo = 6;

// Whether PolyDraw's types hold only moves, lines and whole curves of three points.
bool DrawableTypes(const std::vector<uint8_t>& types) {
  for (size_t i = 0; i < types.size(); ++i) {
    uint8_t kind = types[i] & ~kCloseFigure;
    if (kind == kBezierTo) {
      if (i + 2 >= types.size() || (types[i + 1] & ~kCloseFigure) != kBezierTo ||
          (types[i + 2] & ~kCloseFigure) != kBezierTo)
        return false;
      i += 2;
    } else if (kind != kLineTo && kind != kMoveTo) {
      return false;
    }
  }
  return true;
}

}  // namespace

Canvas::Canvas(const Header& header) : header_(header) {
  int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, header.width);
  if (stride <= 0) return;
  pixels_ = static_cast<uint32_t*>(
      imaging::BudgetMalloc(static_cast<size_t>(stride) * static_cast<size_t>(header.height)));
  if (pixels_ == nullptr) return;
  surface_ =
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels_),
                                          CAIRO_FORMAT_ARGB32, header.width, header.height, stride);
  cr_ = cairo_create(surface_);
  if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr_);
    cr_ = nullptr;
    return;
  }
  // GDI draws shapes without antialiasing.
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  state_.mapping = StartMapping(header);
}

Canvas::~Canvas() {
  if (cr_ != nullptr) cairo_destroy(cr_);
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
  std::free(pixels_);
}

// ---- state -----------------------------------------------------------------------------------

void Canvas::Save() {
  if (saved_.size() >= kDeepestSave) return;
  saved_.push_back(state_);
  cairo_save(cr_);
}

void Canvas::Restore(int32_t which) {
  int64_t depth = static_cast<int64_t>(saved_.size());
  int64_t target = which < 0 ? depth + which : static_cast<int64_t>(which) - 1;
  if (which == 0 || target < 0 || target >= depth) return;
  while (static_cast<int64_t>(saved_.size()) > target + 1) {
    saved_.pop_back();
    cairo_restore(cr_);
  }
  state_ = saved_.back();
  saved_.pop_back();
  cairo_restore(cr_);
  ResolveColors();
}

// ---- objects ---------------------------------------------------------------------------------

void Canvas::PutObject(uint32_t index, const GdiObject& object) {
  if (index == 0 || index >= header_.objectCount) return;
  objects_[index] = object;
}

void Canvas::AddObject(const GdiObject& object) {
  uint32_t index = 0;
  for (const auto& entry : objects_) {
    if (entry.first != index) break;
    ++index;
  }
  // A WMF whose table is full still drops a made object in the real player; nothing refers to
  // it then.
  if (index >= header_.objectCount || index >= kMostWmfObjects) return;
  objects_[index] = object;
}

const GdiObject* Canvas::Object(uint32_t index) const {
  auto found = objects_.find(index);
  return found == objects_.end() ? nullptr : &found->second;
}

void Canvas::SelectObject(uint32_t index) {
  GdiObject stock;
  const GdiObject* object = Object(index);
  if (object == nullptr && header_.kind == Kind::Emf && StockObject(index, &stock)) object = &stock;
  if (object == nullptr) return;
  switch (object->kind) {
    case ObjectKind::Pen:
      state_.pen = object->pen;
      state_.pen.color = Resolved(state_.pen.color);
      break;
    case ObjectKind::Brush:
      state_.brush = object->brush;
      state_.brush.color = Resolved(state_.brush.color);
      break;
    case ObjectKind::Font: state_.font = object->font; break;
    case ObjectKind::Region: ClipToRegion(object->region.rects, kRegionCopy); break;
    case ObjectKind::Palette: break;
  }
}

void Canvas::DeleteObject(uint32_t index) { objects_.erase(index); }

// ---- palettes --------------------------------------------------------------------------------

void Canvas::SelectPalette(uint32_t index) {
  constexpr uint32_t kStockDefaultPalette = 0x80000000 | 15;
  const GdiObject* object = Object(index);
  if (object != nullptr && object->kind == ObjectKind::Palette) {
    state_.palette = object->palette;
  } else if (header_.kind == Kind::Emf && index == kStockDefaultPalette) {
    state_.palette = nullptr;
  } else {
    return;
  }
  ResolveColors();
}

Color Canvas::Resolved(Color color) const {
  return metafile::Resolved(color, state_.palette.get());
}

void Canvas::ResolveColors() {
  for (Color* color :
       {&state_.pen.color, &state_.brush.color, &state_.textColor, &state_.backColor})
    *color = Resolved(*color);
}

// ---- shapes ----------------------------------------------------------------------------------

void Canvas::FillArea(const Path& shape, const Brush& brush, bool winding) {
  if (!FillWithBrush(cr_, shape, brush, state_, winding)) failed_ = true;
}

void Canvas::Outline(const Path& shape, const cairo_matrix_t& toPicture) {
  if (!StrokeWithPen(cr_, shape, state_, toPicture)) failed_ = true;
}

void Canvas::Draw(const Path& shape, bool fill) {
  if (gathering_) {
    path_.Append(shape);
    return;
  }
  if (fill) FillArea(shape, state_.brush, state_.windingFill);
  Outline(shape, ToPicture());
}

// The shapes drawn in a bounding box keep an inside-frame pen within it, as GDI draws them; the
// figures a path gathers keep their boxes.
PointD Canvas::FrameInset() const {
  return gathering_ ? PointD{0, 0} : InsideFrameInset(state_.pen, ToPicture());
}

void Canvas::Rectangle(double l, double t, double r, double b) {
  Path shape;
  MoveIn(FrameInset(), &l, &t, &r, &b);
  AddBox(&shape, ToPicture(), l, t, r, b);
  Draw(shape, true);
}

void Canvas::Ellipse(double l, double t, double r, double b) {
  Path shape;
  MoveIn(FrameInset(), &l, &t, &r, &b);
  AddEllipse(&shape, ToPicture(), l, t, r, b);
  Draw(shape, true);
}

void Canvas::RoundRect(double l, double t, double r, double b, double w, double h) {
  Path shape;
  // The corners' ellipses shrink with the box, so the pen's outer edge keeps their curve.
  PointD inset = FrameInset();
  MoveIn(inset, &l, &t, &r, &b);
  w = std::max(0.0, std::fabs(w) - 2 * inset.x);
  h = std::max(0.0, std::fabs(h) - 2 * inset.y);
  AddRoundBox(&shape, ToPicture(), l, t, r, b, w, h);
  Draw(shape, true);
}

void Canvas::ArcShape(ArcKind kind, double l, double t, double r, double b, PointD start,
                      PointD end) {
  Path shape;
  if (kind != ArcKind::Arc) MoveIn(FrameInset(), &l, &t, &r, &b);
  AddArc(&shape, ToPicture(), l, t, r, b, start, end, kind, state_.clockwise, false);
  Draw(shape, kind != ArcKind::Arc);
}

// The figure a "...To" record continues: the gathered path's open figure, or a new one from the
// current position.
Path& Canvas::Figure(bool startAtCurrent) {
  Path& figure = gathering_ ? path_ : loose_;
  if (!gathering_) figure.Clear();
  if (startAtCurrent && !figure.Open()) figure.MoveTo(Map(ToPicture(), state_.x, state_.y));
  return figure;
}

void Canvas::ArcTo(double l, double t, double r, double b, PointD start, PointD end) {
  Path& figure = Figure(true);
  AddArc(&figure, ToPicture(), l, t, r, b, start, end, ArcKind::Arc, state_.clockwise, true);
  if (!gathering_) Outline(figure, ToPicture());
  // The current position moves to where the arc ends: on the ray through end.
  double cx = (l + r) / 2, cy = (t + b) / 2, rx = std::fabs(r - l) / 2, ry = std::fabs(b - t) / 2;
  double angle = std::atan2((end.y - cy) / (ry > 0 ? ry : 1), (end.x - cx) / (rx > 0 ? rx : 1));
  state_.x = cx + rx * std::cos(angle);
  state_.y = cy + ry * std::sin(angle);
}

void Canvas::Polygon(const std::vector<PointD>& points) {
  if (points.size() < 2) return;
  Path shape;
  AddPolyline(&shape, ToPicture(), points, true);
  Draw(shape, true);
}

void Canvas::Polyline(const std::vector<PointD>& points) {
  if (points.size() < 2) return;
  Path shape;
  AddPolyline(&shape, ToPicture(), points, false);
  Draw(shape, false);
}

void Canvas::PolyPolygon(const std::vector<PointD>& points, const std::vector<uint32_t>& counts,
                         bool closed) {
  Path shape;
  cairo_matrix_t m = ToPicture();
  size_t at = 0;
  for (uint32_t count : counts) {
    if (count > points.size() - at) break;
    std::vector<PointD> figure(points.begin() + at, points.begin() + at + count);
    AddPolyline(&shape, m, figure, closed);
    at += count;
  }
  Draw(shape, closed);
}

void Canvas::PolyBezier(const std::vector<PointD>& points) {
  if (points.size() < 4) return;
  Path shape;
  AddBeziers(&shape, ToPicture(), points, false);
  Draw(shape, false);
}

void Canvas::PolyBezierTo(const std::vector<PointD>& points) {
  if (points.size() < 3) return;
  Path& figure = Figure(true);
  AddBeziers(&figure, ToPicture(), points, true);
  if (!gathering_) Outline(figure, ToPicture());
  const PointD& last = points[points.size() - points.size() % 3 - 1];
  state_.x = last.x;
  state_.y = last.y;
}

void Canvas::PolylineTo(const std::vector<PointD>& points) {
  if (points.empty()) return;
  Path& figure = Figure(true);
  cairo_matrix_t m = ToPicture();
  for (const PointD& p : points) figure.LineTo(Map(m, p.x, p.y));
  if (!gathering_) Outline(figure, m);
  state_.x = points.back().x;
  state_.y = points.back().y;
}

void Canvas::PolyDraw(const std::vector<PointD>& points, const std::vector<uint8_t>& types) {
  if (points.empty() || points.size() != types.size() || !DrawableTypes(types)) return;
  cairo_matrix_t m = ToPicture();
  Path& figure = Figure((types[0] & ~kCloseFigure) != kMoveTo);
  PointD last{state_.x, state_.y};
  auto at = [&m](const PointD& p) { return Map(m, p.x, p.y); };
  for (size_t i = 0; i < points.size(); ++i) {
    uint8_t kind = types[i] & ~kCloseFigure;
    if (kind == kMoveTo) {
      figure.MoveTo(at(points[i]));
      last = points[i];
      continue;
    }
    // A line or curve after a closed figure starts a new one where the last point was.
    if (!figure.Open()) figure.MoveTo(at(last));
    if (kind == kLineTo) {
      figure.LineTo(at(points[i]));
    } else {
      figure.CurveTo(at(points[i]), at(points[i + 1]), at(points[i + 2]));
      i += 2;
    }
    last = points[i];
    if (types[i] & kCloseFigure) figure.Close();
  }
  if (!gathering_) Outline(figure, m);
  state_.x = last.x;
  state_.y = last.y;
}

void Canvas::AngleArc(PointD centre, double radius, double startDegrees, double sweepDegrees) {
  if (!std::isfinite(startDegrees) || !std::isfinite(sweepDegrees)) return;
  // A sweep past a whole turn goes round again: one turn and the rest draw the same.
  double sweep = sweepDegrees;
  if (std::fabs(sweep) > 360) sweep = std::copysign(360 + std::fmod(std::fabs(sweep), 360), sweep);
  double start = std::fmod(startDegrees, 360) * std::numbers::pi / 180;
  sweep *= std::numbers::pi / 180;
  Path& figure = Figure(true);
  AddAngleArc(&figure, ToPicture(), centre, radius, start, sweep);
  if (!gathering_) Outline(figure, ToPicture());
  state_.x = centre.x + radius * std::cos(start + sweep);
  state_.y = centre.y - radius * std::sin(start + sweep);
}

void Canvas::MoveTo(double x, double y) {
  state_.x = x;
  state_.y = y;
  if (gathering_) path_.MoveTo(Map(ToPicture(), x, y));
}

void Canvas::LineTo(double x, double y) { PolylineTo({{x, y}}); }

void Canvas::SetPixel(double x, double y, Color color) {
  color = Resolved(color);
  PointD p = Map(ToPicture(), x, y);
  cairo_set_source_rgb(cr_, color.r / 255.0, color.g / 255.0, color.b / 255.0);
  cairo_new_path(cr_);
  cairo_rectangle(cr_, std::floor(p.x), std::floor(p.y), 1, 1);
  cairo_fill(cr_);
}

// ---- paths -----------------------------------------------------------------------------------

void Canvas::BeginPath() {
  path_.Clear();
  gathering_ = true;
}

void Canvas::AbortPath() {
  path_.Clear();
  gathering_ = false;
}

bool Canvas::AddToPath(const Path& outline) {
  // The path's points are one block, which may double as it grows.
  size_t points = path_.Size() + outline.Size();
  if (points > imaging::BlockLimit() / (2 * sizeof(PointD))) return false;
  path_.Append(outline);
  return true;
}

void Canvas::CloseFigure() {
  if (gathering_) path_.Close();
}

void Canvas::FillPath(bool fill, bool stroke) {
  if (gathering_) return;
  if (fill) FillArea(path_, state_.brush, state_.windingFill);
  if (stroke) Outline(path_, ToPicture());
  path_.Clear();
}

void Canvas::ClipToPath(uint32_t mode) {
  if (gathering_) return;
  if (mode == kRegionCopy) cairo_reset_clip(cr_);
  if (mode == kRegionAnd || mode == kRegionCopy) {
    if (!path_.Emit(cr_, 0)) failed_ = true;
    cairo_set_fill_rule(cr_,
                        state_.windingFill ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr_);
  }
  path_.Clear();
}

// ---- clipping --------------------------------------------------------------------------------

void Canvas::IntersectClip(double l, double t, double r, double b) {
  Path box;
  AddBox(&box, ToPicture(), l, t, r, b);
  box.Emit(cr_, 0);
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
  cairo_clip(cr_);
}

// The picture's whole area around the outline, filled even-odd: everything but the outline.
void Canvas::ExcludeClip(double l, double t, double r, double b) {
  Path box;
  AddBox(&box, ToPicture(), l, t, r, b);
  box.Emit(cr_, 0);
  cairo_rectangle(cr_, -1, -1, header_.width + 2.0, header_.height + 2.0);
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_clip(cr_);
}

void Canvas::ClipToRegion(const std::vector<int32_t>& deviceRects, uint32_t mode) {
  if (mode < kRegionAnd || mode > kRegionCopy) return;
  if (mode == kRegionCopy || mode == kRegionOr || mode == kRegionXor) cairo_reset_clip(cr_);
  if (mode == kRegionCopy && deviceRects.empty()) return;
  // Region rectangles never overlap, so even-odd over the picture's area takes them away.
  cairo_matrix_t device = DeviceToPicture(header_);
  Path rects;
  for (size_t i = 0; i + 4 <= deviceRects.size(); i += 4)
    AddBox(&rects, device, deviceRects[i], deviceRects[i + 1], deviceRects[i + 2],
           deviceRects[i + 3]);
  if (!rects.Emit(cr_, 0)) failed_ = true;
  if (mode == kRegionDiff) cairo_rectangle(cr_, -1, -1, header_.width + 2.0, header_.height + 2.0);
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_clip(cr_);
}

void Canvas::OffsetClip(double dx, double dy) {
  cairo_matrix_t m = ToPicture();
  cairo_matrix_transform_distance(&m, &dx, &dy);
  if (!std::isfinite(dx) || !std::isfinite(dy)) return;
  cairo_rectangle_list_t* clip = cairo_copy_clip_rectangle_list(cr_);
  // Without a clip, cairo gives the picture's whole area: the default clip, which no offset moves.
  bool whole = clip->num_rectangles == 1 && clip->rectangles[0].x <= 0 &&
               clip->rectangles[0].y <= 0 &&
               clip->rectangles[0].x + clip->rectangles[0].width >= header_.width &&
               clip->rectangles[0].y + clip->rectangles[0].height >= header_.height;
  if (clip->status == CAIRO_STATUS_SUCCESS && clip->num_rectangles > 0 && !whole) {
    cairo_reset_clip(cr_);
    cairo_new_path(cr_);
    for (int i = 0; i < clip->num_rectangles; ++i) {
      const cairo_rectangle_t& box = clip->rectangles[i];
      cairo_rectangle(cr_, box.x + dx, box.y + dy, box.width, box.height);
    }
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr_);
  }
  cairo_rectangle_list_destroy(clip);
}

void Canvas::FillRegion(const std::vector<int32_t>& deviceRects, const Brush& brush) {
  cairo_matrix_t device = DeviceToPicture(header_);
  Path rects;
  for (size_t i = 0; i + 4 <= deviceRects.size(); i += 4)
    AddBox(&rects, device, deviceRects[i], deviceRects[i + 1], deviceRects[i + 2],
           deviceRects[i + 3]);
  FillArea(rects, brush, false);
}

// ---- the picture -----------------------------------------------------------------------------

void Canvas::Finish(std::vector<uint8_t>* rgba) {
  cairo_surface_flush(surface_);
  int stride = cairo_image_surface_get_stride(surface_) / 4;
  size_t w = static_cast<size_t>(header_.width), h = static_cast<size_t>(header_.height);
  rgba->resize(w * h * 4);
  uint8_t* out = rgba->data();
  for (size_t y = 0; y < h; ++y) {
    for (size_t x = 0; x < w; ++x, out += 4) {
      // cairo keeps premultiplied alpha in a native 32-bit word: A, R, G, B from the high byte.
      uint32_t pixel = pixels_[y * stride + x];
      uint32_t a = pixel >> 24;
      uint32_t r = (pixel >> 16) & 0xff, g = (pixel >> 8) & 0xff, b = pixel & 0xff;
      if (a != 0 && a != 255) {
        r = (r * 255 + a / 2) / a;
        g = (g * 255 + a / 2) / a;
        b = (b * 255 + a / 2) / a;
      }
      out[0] = static_cast<uint8_t>(r);
      out[1] = static_cast<uint8_t>(g);
      out[2] = static_cast<uint8_t>(b);
      out[3] = static_cast<uint8_t>(a);
    }
  }
}

}  // namespace platform::metafile
