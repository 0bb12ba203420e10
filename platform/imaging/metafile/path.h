// Outlines in picture pixels, as the shape records build them and the path records collect them:
// moves, lines, cubic curves and closes. Every point is mapped from logical units on the way in
// and kept within a range cairo's fixed-point numbers hold, so absurd coordinates give an absurd
// but finite outline.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <vector>

namespace platform::metafile {

struct PointD {
  double x = 0, y = 0;
};

// A box in picture pixels.
struct Box {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  Box Grown(double by) const { return {x0 - by, y0 - by, x1 + by, y1 + by}; }
  // Whether a box spanning the given points meets this one.
  bool Meets(const PointD* points, size_t count) const;
};

// A figure of straight lines, as a path flattens into.
struct FlatFigure {
  std::vector<PointD> points;
  bool closed = false;
};

// What cairo may take in one block for each edge of a fill or of the outline of a stroke: its
// polygon, the sorted copies its rasteriser makes, each grown by doubling.
constexpr size_t kBytesPerEdge = 96;

class Path {
 public:
  void MoveTo(PointD p);
  void LineTo(PointD p);
  void CurveTo(PointD c1, PointD c2, PointD p);
  void Close();
  void Append(const Path& other);
  bool Empty() const { return ops_.empty(); }
  // The points the path holds.
  size_t Size() const { return points_.size(); }
  // True while a figure is started and not closed.
  bool Open() const { return open_; }
  void Clear() {
    ops_.clear();
    points_.clear();
    open_ = false;
  }
  // The figures with their curves made straight lines a tenth of a pixel from the curve where
  // they meet view; a piece of curve whose control points lie all off view becomes one line, which
  // changes nothing inside view. False when that takes more than mostPoints points.
  bool Flatten(const Box& view, size_t mostPoints, std::vector<FlatFigure>* figures) const;
  // Replaces cairo's path with this one flattened (its view the clip), moved by (shift, shift)
  // pixels. False, with no path, when its edges would take more memory than the decode budget
  // allows a block.
  bool Emit(cairo_t* cr, double shift) const;

 private:
  enum class Op : unsigned char { Move, Line, Curve, Close };
  std::vector<Op> ops_;
  std::vector<PointD> points_;  // one for a move or line, three for a curve
  bool open_ = false;           // a figure has been started
};

// The edges the decode budget allows one cairo call.
size_t MostEdges();
// Where drawing can show: the clip's box, grown by a pixel for rounding.
Box View(cairo_t* cr);

// A point in logical units mapped to picture pixels and kept within range.
PointD Map(const cairo_matrix_t& toPicture, double x, double y);

enum class ArcKind { Arc, Chord, Pie };

// The shapes of the GDI calls, in logical units, appended to a path as closed figures (the arc
// as an open one). Right and bottom may come before left and top.
void AddPolyline(Path* path, const cairo_matrix_t& m, const std::vector<PointD>& points,
                 bool close);
void AddBox(Path* path, const cairo_matrix_t& m, double l, double t, double r, double b);
void AddEllipse(Path* path, const cairo_matrix_t& m, double l, double t, double r, double b);
void AddRoundBox(Path* path, const cairo_matrix_t& m, double l, double t, double r, double b,
                 double cornerW, double cornerH);
// An arc of the ellipse in the box from the ray through start to the ray through end, drawn
// counterclockwise as seen (clockwise when asked); start and end on one ray give the whole
// ellipse. lineFirst joins the arc to the figure in progress instead of starting a new one.
void AddArc(Path* path, const cairo_matrix_t& m, double l, double t, double r, double b,
            PointD start, PointD end, ArcKind kind, bool clockwise, bool lineFirst);
// An arc of the circle of the radius about centre, from the angle start through sweep (radians,
// counterclockwise as the logical units lie with y down, clockwise for a negative sweep), joined
// by a line to the figure in progress (AngleArc).
void AddAngleArc(Path* path, const cairo_matrix_t& m, PointD centre, double radius, double start,
                 double sweep);
// Cubic Bezier curves: points after the first come in threes (control, control, end); with
// fromCurrent the curves continue the figure in progress and every point comes in threes.
void AddBeziers(Path* path, const cairo_matrix_t& m, const std::vector<PointD>& points,
                bool fromCurrent);

}  // namespace platform::metafile
