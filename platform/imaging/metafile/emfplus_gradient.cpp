// Linear and path gradients.
#include "platform/imaging/metafile/emfplus_gradient.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/imaging/metafile/emfplus_path.h"

namespace platform::metafile {

namespace {

// The points of a boundary one path gradient may take once flattened, and the patches of its
// mesh: enough for any smooth boundary inside a picture, and few enough for cairo to fill fast.
constexpr size_t kMostBoundaryPoints = 4096;
constexpr size_t kMostPatches = 1 << 16;
// How far from the picture's origin a boundary point may lie, in pixels. cairo divides a mesh's
// patches until they are small on the picture, taking time in proportion to a patch's length (a
// boundary of points a billion pixels away took seconds to fill a 192-pixel picture), and draws
// nothing of a patch reaching beyond 2^17 pixels. No picture is wider than 32767 pixels.
constexpr double kFarthestBoundary = 1 << 15;

PlusColor Mix(PlusColor a, PlusColor b, double t) {
  auto channel = [t](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(std::lround(x + (y - x) * t));
  };
  return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b), channel(a.a, b.a)};
}

void AddStop(cairo_pattern_t* pattern, double at, PlusColor c) {
  cairo_pattern_add_color_stop_rgba(pattern, at, c.r / 255.0, c.g / 255.0, c.b / 255.0,
                                    c.a / 255.0);
}

// The positions a blend is sampled at: its own, or the two ends.
std::vector<double> Positions(const PlusBlend& blend) {
  if (blend.positions.empty()) return {0, 1};
  return blend.positions;
}

// A blend's value at its own k-th position: a preset colour, or the two colours mixed.
PlusColor BlendEntry(const PlusBlend& blend, size_t k, PlusColor from, PlusColor to) {
  if (!blend.colors.empty()) return blend.colors[k];
  if (!blend.factors.empty()) return Mix(from, to, blend.factors[k]);
  return Mix(from, to, blend.positions.empty() ? static_cast<double>(k) : blend.positions[k]);
}

void SetCorner(cairo_pattern_t* mesh, unsigned corner, PlusColor c) {
  cairo_mesh_pattern_set_corner_color_rgba(mesh, corner, c.r / 255.0, c.g / 255.0, c.b / 255.0,
                                           c.a / 255.0);
}

// One patch of the mesh: a quadrilateral whose first two corners take colour a and last two b
// (a triangle when the last two meet).
void Patch(cairo_pattern_t* mesh, const PointD q[4], PlusColor a0, PlusColor a1, PlusColor b1,
           PlusColor b0) {
  cairo_mesh_pattern_begin_patch(mesh);
  cairo_mesh_pattern_move_to(mesh, q[0].x, q[0].y);
  for (int i = 1; i < 4; ++i) cairo_mesh_pattern_line_to(mesh, q[i].x, q[i].y);
  SetCorner(mesh, 0, a0);
  SetCorner(mesh, 1, a1);
  SetCorner(mesh, 2, b1);
  SetCorner(mesh, 3, b0);
  cairo_mesh_pattern_end_patch(mesh);
}

// The boundary on the picture, flattened, as figures of at least three points.
bool BoundaryFigures(const PlusBrush& brush, const cairo_matrix_t& m,
                     std::vector<FlatFigure>* figures) {
  Path outline;
  AddPlusPath(&outline, *brush.boundary, m);
  // The whole boundary matters, not only the part in view: a far point moves the blend inside.
  Box everywhere{-1e9, -1e9, 1e9, 1e9};
  if (!outline.Flatten(everywhere, kMostBoundaryPoints, figures)) return false;
  std::erase_if(*figures, [](const FlatFigure& f) { return f.points.size() < 3; });
  for (const FlatFigure& figure : *figures)
    for (PointD p : figure.points)
      if (!(std::fabs(p.x) <= kFarthestBoundary && std::fabs(p.y) <= kFarthestBoundary))
        return false;
  return true;
}

}  // namespace

PlusColor BlendAt(const PlusBlend& blend, PlusColor from, PlusColor to, double position) {
  if (blend.positions.empty()) return Mix(from, to, position);
  const std::vector<double>& at = blend.positions;
  size_t k = 0;
  while (k + 2 < at.size() && position > at[k + 1]) ++k;
  double span = at[k + 1] - at[k];
  double t = span > 0 ? std::clamp((position - at[k]) / span, 0.0, 1.0) : 0;
  return Mix(BlendEntry(blend, k, from, to), BlendEntry(blend, k + 1, from, to), t);
}

cairo_pattern_t* LinearGradientPattern(const PlusBrush& brush,
                                       const cairo_matrix_t& brushToPicture) {
  cairo_matrix_t toBrush = brushToPicture;
  if (brush.w == 0 || cairo_matrix_invert(&toBrush) != CAIRO_STATUS_SUCCESS)
    return cairo_pattern_create_rgba(brush.color.r / 255.0, brush.color.g / 255.0,
                                     brush.color.b / 255.0, brush.color.a / 255.0);
  cairo_pattern_t* pattern =
      cairo_pattern_create_linear(brush.x, brush.y, brush.x + brush.w, brush.y);
  std::vector<double> positions = Positions(brush.blend);
  for (size_t k = 0; k < positions.size(); ++k)
    AddStop(pattern, positions[k], BlendEntry(brush.blend, k, brush.color, brush.second));
  cairo_pattern_set_matrix(pattern, &toBrush);
  bool mirrored = brush.wrap == kWrapFlipX || brush.wrap == kWrapFlipXY;
  cairo_pattern_set_extend(pattern, brush.wrap == kWrapClamp ? CAIRO_EXTEND_PAD
                                    : mirrored               ? CAIRO_EXTEND_REFLECT
                                                             : CAIRO_EXTEND_REPEAT);
  return pattern;
}

cairo_pattern_t* PathGradientPattern(const PlusBrush& brush, const cairo_matrix_t& brushToPicture) {
  cairo_matrix_t toBrush = brushToPicture;
  std::vector<FlatFigure> figures;
  if (!brush.boundary || cairo_matrix_invert(&toBrush) != CAIRO_STATUS_SUCCESS ||
      !BoundaryFigures(brush, brushToPicture, &figures))
    return nullptr;
  std::vector<double> positions = Positions(brush.blend);
  size_t patches = 0;
  for (const FlatFigure& figure : figures) patches += figure.points.size() * (positions.size() + 1);
  if (patches > kMostPatches) return nullptr;

  // A point of the ring at position t, from the boundary point p (brush space) towards the
  // centre, stopping at the focus shape.
  PointD c = brush.centre;
  auto ring = [&](PointD p, double t) {
    double kx = 1 - t * (1 - brush.focusX), ky = 1 - t * (1 - brush.focusY);
    return Map(brushToPicture, c.x + (p.x - c.x) * kx, c.y + (p.y - c.y) * ky);
  };
  auto surround = [&](size_t i, size_t count) {
    if (brush.surround.empty()) return brush.color;
    // Colours belong to the boundary's own points; a flattened curve takes the first.
    if (count != brush.boundary->points.size()) return brush.surround[0];
    return brush.surround[std::min(i, brush.surround.size() - 1)];
  };
  cairo_pattern_t* mesh = cairo_pattern_create_mesh();
  for (const FlatFigure& figure : figures) {
    size_t n = figure.points.size();
    for (size_t i = 0; i < n; ++i) {
      PointD p0 = figure.points[i], p1 = figure.points[(i + 1) % n];
      cairo_matrix_transform_point(&toBrush, &p0.x, &p0.y);
      cairo_matrix_transform_point(&toBrush, &p1.x, &p1.y);
      PlusColor s0 = surround(i, n), s1 = surround((i + 1) % n, n);
      for (size_t k = 0; k + 1 < positions.size(); ++k) {
        double t0 = positions[k], t1 = positions[k + 1];
        PointD q[4] = {ring(p0, t0), ring(p1, t0), ring(p1, t1), ring(p0, t1)};
        Patch(mesh, q, BlendEntry(brush.blend, k, s0, brush.color),
              BlendEntry(brush.blend, k, s1, brush.color),
              BlendEntry(brush.blend, k + 1, s1, brush.color),
              BlendEntry(brush.blend, k + 1, s0, brush.color));
      }
      // The focus shape inside the last ring takes the centre's colour.
      if (brush.focusX > 0 || brush.focusY > 0) {
        PointD q[4] = {ring(p0, 1), ring(p1, 1), Map(brushToPicture, c.x, c.y),
                       Map(brushToPicture, c.x, c.y)};
        Patch(mesh, q, brush.color, brush.color, brush.color, brush.color);
      }
    }
  }
  return mesh;
}

}  // namespace platform::metafile
