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

class Path {
 public:
  void MoveTo(PointD p);
  void LineTo(PointD p);
  void CurveTo(PointD c1, PointD c2, PointD p);
  void Close();
  void Append(const Path& other);
  bool Empty() const { return ops_.empty(); }
  // True while a figure is started and not closed.
  bool Open() const { return open_; }
  void Clear() {
    ops_.clear();
    open_ = false;
  }
  // Replaces cairo's path with this one, moved by (shift, shift) pixels.
  void Emit(cairo_t* cr, double shift) const;

 private:
  enum class Op { Move, Line, Curve, Close };
  struct Step {
    Op op;
    PointD p[3];
  };
  std::vector<Step> ops_;
  bool open_ = false;  // a figure has been started
};

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
// Cubic Bezier curves: points after the first come in threes (control, control, end); with
// fromCurrent the curves continue the figure in progress and every point comes in threes.
void AddBeziers(Path* path, const cairo_matrix_t& m, const std::vector<PointD>& points,
                bool fromCurrent);

}  // namespace platform::metafile
