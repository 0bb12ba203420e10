// The EMF+ drawing state: transforms, saved states and containers, the clip, and painting.
#include "platform/imaging/metafile/emfplus_graphics.h"

#include <algorithm>
#include <cmath>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/emfplus_brush_pattern.h"

namespace platform::metafile {

namespace {

// Save and BeginContainer beyond this depth are ignored, and so is the Restore that answers them.
constexpr size_t kDeepestSave = 1024;

// Pixel offset modes that put pixel centres on whole device coordinates (the others, high
// quality and half, put them halfway between).
bool CentresOnWholeUnits(uint32_t mode) { return mode != 2 && mode != 4; }

// Spans one clip or region may hold, or handle while it is combined: eight bytes each.
size_t MostSpans() { return imaging::BlockLimit() / 8; }

}  // namespace

PlusGraphics::PlusGraphics(Canvas& canvas, double dpiX, double dpiY, bool videoDisplay)
    : canvas_(canvas), dpiX_(dpiX), dpiY_(dpiY), video_(videoDisplay) {}

double PlusGraphics::DeviceUnitsX(uint32_t unit) const {
  return DeviceUnitsPer(unit, dpiX_, video_);
}

double PlusGraphics::DeviceUnitsY(uint32_t unit) const {
  return DeviceUnitsPer(unit, dpiY_, video_);
}

cairo_matrix_t PlusGraphics::DeviceToPicture() const {
  cairo_matrix_t device = metafile::DeviceToPicture(canvas_.Head());
  // GDI+ puts pixel centres on whole coordinates by default; cairo halfway between.
  if (CentresOnWholeUnits(state_.pixelOffset)) {
    device.x0 += 0.5;
    device.y0 += 0.5;
  }
  return device;
}

cairo_matrix_t PlusGraphics::WorldToPicture() const {
  cairo_matrix_t page, device = DeviceToPicture(), out;
  cairo_matrix_init_scale(&page, DeviceUnitsX(state_.pageUnit) * state_.pageScale,
                          DeviceUnitsY(state_.pageUnit) * state_.pageScale);
  cairo_matrix_multiply(&out, &state_.world, &state_.container);
  cairo_matrix_multiply(&out, &out, &page);
  cairo_matrix_multiply(&out, &out, &device);
  return out;
}

Placement PlusGraphics::Place() const {
  const Header& head = canvas_.Head();
  return Placement{WorldToPicture(), Box{0, 0, double(head.width), double(head.height)}.Grown(1),
                   MostSpans()};
}

// ---- transforms ------------------------------------------------------------------------------

void PlusGraphics::MultiplyWorld(const cairo_matrix_t& by, bool append) {
  // Prepended, the new transform acts on points first.
  if (append)
    cairo_matrix_multiply(&state_.world, &state_.world, &by);
  else
    cairo_matrix_multiply(&state_.world, &by, &state_.world);
}

void PlusGraphics::SetPage(uint32_t unit, double scale) {
  // The world unit names no page unit; GDI+ refuses it.
  if (unit == kUnitWorld || unit > kUnitMillimeter || !std::isfinite(scale) || scale <= 0) return;
  state_.pageUnit = unit;
  state_.pageScale = scale;
}

// ---- saved states and containers -------------------------------------------------------------

void PlusGraphics::Push(uint32_t index) {
  if (saved_.size() < kDeepestSave) saved_.push_back({index, state_});
}

void PlusGraphics::Save(uint32_t index) { Push(index); }

void PlusGraphics::Restore(uint32_t index) {
  for (size_t i = saved_.size(); i-- > 0;) {
    if (saved_[i].index != index) continue;
    state_ = saved_[i].state;
    saved_.resize(i);
    return;
  }
}

void PlusGraphics::BeginContainer(uint32_t index) {
  size_t depth = saved_.size();
  Push(index);
  if (saved_.size() == depth) return;
  // The container starts where the world transform stood, with the rendering hints of a new
  // graphics and the clip as its bound.
  PlusState inner;
  cairo_matrix_multiply(&inner.container, &state_.world, &state_.container);
  inner.pageUnit = state_.pageUnit;
  inner.pageScale = state_.pageScale;
  inner.clip = state_.clip;
  inner.outerClip = state_.clip;
  state_ = inner;
}

void PlusGraphics::BeginContainer(uint32_t index, const RectD& dest, const RectD& source,
                                  uint32_t unit) {
  if (source.w == 0 || source.h == 0) return BeginContainer(index);
  // The source rectangle, in its unit, taken to the page units the destination is measured in.
  double toPageX = DeviceUnitsX(unit) / (DeviceUnitsX(state_.pageUnit) * state_.pageScale);
  double toPageY = DeviceUnitsY(unit) / (DeviceUnitsY(state_.pageUnit) * state_.pageScale);
  double sx = dest.w / source.w, sy = dest.h / source.h;
  cairo_matrix_t place;
  cairo_matrix_init(&place, sx, 0, 0, sy, dest.x - source.x * sx, dest.y - source.y * sy);
  cairo_matrix_t unitScale;
  cairo_matrix_init_scale(&unitScale, toPageX, toPageY);
  cairo_matrix_t outerWorld = state_.world;
  BeginContainer(index);
  if (saved_.empty() || saved_.back().index != index) return;
  // Inner units to page units, then placed in the outer world, then the outer container.
  cairo_matrix_t m;
  cairo_matrix_multiply(&m, &unitScale, &place);
  cairo_matrix_multiply(&m, &m, &outerWorld);
  cairo_matrix_multiply(&state_.container, &m, &saved_.back().state.container);
}

// ---- clipping --------------------------------------------------------------------------------

void PlusGraphics::Clip(const PixelRegion& region, PixelRegion::Op op) {
  PixelRegion combined = state_.clip ? state_.clip->Combine(region, op)
                                     : PixelRegion::Everything().Combine(region, op);
  if (state_.outerClip) combined = combined.Combine(*state_.outerClip, PixelRegion::Op::Intersect);
  if (combined.Spans() > MostSpans()) {
    canvas_.Fail();
    return;
  }
  state_.clip = std::make_shared<const PixelRegion>(std::move(combined));
}

void PlusGraphics::ResetClip() { state_.clip = state_.outerClip; }

void PlusGraphics::OffsetClip(double dx, double dy) {
  if (!state_.clip) return;
  // The offset is a distance, moved by the transform's linear part only.
  cairo_matrix_t m = WorldToPicture();
  cairo_matrix_transform_distance(&m, &dx, &dy);
  if (!std::isfinite(dx) || !std::isfinite(dy)) return;
  auto pixels = [](double v) {
    constexpr double kFarthest = 1 << 22;
    return static_cast<int32_t>(std::lround(std::clamp(v, -kFarthest, kFarthest)));
  };
  PixelRegion moved = *state_.clip;
  moved.Offset(pixels(dx), pixels(dy));
  if (state_.outerClip) moved = moved.Combine(*state_.outerClip, PixelRegion::Op::Intersect);
  state_.clip = std::make_shared<const PixelRegion>(std::move(moved));
}

void PlusGraphics::ClipCairo(cairo_t* cr) const {
  if (!state_.clip) return;
  const Header& head = canvas_.Head();
  cairo_new_path(cr);
  state_.clip->AddTo(cr, Box{0, 0, double(head.width), double(head.height)}.Grown(1));
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_clip(cr);
}

// ---- painting --------------------------------------------------------------------------------

PlusPaint::PlusPaint(PlusGraphics& graphics) : graphics_(graphics), cr_(graphics.Cairo()) {
  const PlusState& state = graphics.State();
  cairo_save(cr_);
  graphics.ClipCairo(cr_);
  cairo_set_operator(cr_, state.sourceCopy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
  cairo_set_antialias(cr_, state.antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
}

PlusPaint::~PlusPaint() { cairo_restore(cr_); }

bool PlusPaint::Source(const PlusBrush& brush) {
  const PlusState& state = graphics_.State();
  PointD origin = Map(graphics_.DeviceToPicture(), state.originX, state.originY);
  cairo_pattern_t* pattern = PlusBrushPattern(brush, graphics_.WorldToPicture(), origin);
  if (pattern == nullptr) return false;
  // A pattern cairo cannot use (a transform it cannot invert) would leave cairo unable to draw
  // anything more; it paints nothing instead.
  if (cairo_pattern_status(pattern) != CAIRO_STATUS_SUCCESS) {
    cairo_pattern_destroy(pattern);
    return false;
  }
  cairo_set_source(cr_, pattern);
  cairo_pattern_destroy(pattern);
  return true;
}

bool PlusPaint::Fill(const Path& outline, const PlusBrush& brush, bool winding) {
  if (!outline.Emit(cr_, 0)) return false;
  if (Source(brush)) {
    cairo_set_fill_rule(cr_, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr_);
  }
  cairo_new_path(cr_);
  return true;
}

}  // namespace platform::metafile
