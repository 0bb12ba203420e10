// Stroking in calls of bounded size, and laying dashes where they can show.
#include "platform/imaging/metafile/stroke.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace platform::metafile {

namespace {

// The edges one stroke call may hold, as counted below: a few hundred kilobytes of cairo's
// outline, well within the smallest decode budget.
constexpr double kEdgesPerCall = 4096;
// cairo's default tolerance, which the canvas keeps: it sets how many points a round join takes.
constexpr double kTolerance = 0.1;
// The length kept on each side of a corner whose join may reach the picture, in pixels: long
// enough that cairo's fixed-point coordinates keep the lines' directions, and so the join's
// shape, exact.
constexpr double kCornerPiece = 64;

// Points of cairo's polygon for a round pen of radius r.
double PenPoints(double r) {
  if (r <= kTolerance) return 4;
  return std::max(4.0, std::ceil(2 * std::numbers::pi / std::acos(1 - kTolerance / r)));
}

// Edges a join or a cap adds to cairo's outline, counted high.
double CornerEdges(bool round, double r) { return round ? PenPoints(r) / 2 + 2 : 2; }

double Distance(PointD a, PointD b) { return std::hypot(b.x - a.x, b.y - a.y); }

PointD Along(PointD a, PointD u, double t) { return {a.x + u.x * t, a.y + u.y * t}; }

double DistanceToBox(PointD p, const Box& box) {
  double dx = std::max({box.x0 - p.x, 0.0, p.x - box.x1});
  double dy = std::max({box.y0 - p.y, 0.0, p.y - box.y1});
  return std::hypot(dx, dy);
}

// Subpaths gathered into one cairo_stroke until the next line would pass kEdgesPerCall. Then the
// call is made and the subpath in progress goes on from its last line, so that the join at that
// line's end is still drawn; such a break gets the batch's cap, so a batch whose subpaths may
// break has flat ones. A subpath that is closed must fit whole (Reserve first). A line counts
// four edges, and the join with the line before it joinEdges more; each end of a subpath counts
// endEdges.
class StrokeBatch {
 public:
  StrokeBatch(cairo_t* cr, cairo_line_cap_t cap, double joinEdges, double endEdges)
      : cr_(cr), cap_(cap), joinEdges_(joinEdges), endEdges_(endEdges) {}
  ~StrokeBatch() { Flush(); }
  StrokeBatch(const StrokeBatch&) = delete;
  StrokeBatch& operator=(const StrokeBatch&) = delete;

  void Reserve(double edges) {
    if (edges_ + edges > kEdgesPerCall) Flush();
  }
  void MoveTo(PointD p) {
    Reserve(2 * endEdges_);
    cairo_move_to(cr_, p.x, p.y);
    edges_ += 2 * endEdges_;
    last_ = p;
    hasLine_ = false;
  }
  void LineTo(PointD p) {
    if (edges_ + LineEdges() > kEdgesPerCall) {
      Flush();
      PointD from = hasLine_ ? before_ : last_;
      cairo_move_to(cr_, from.x, from.y);
      edges_ = 2 * endEdges_;
      if (hasLine_) {
        cairo_line_to(cr_, last_.x, last_.y);
        edges_ += kLineEdges;
      }
    }
    cairo_line_to(cr_, p.x, p.y);
    edges_ += LineEdges();
    before_ = last_;
    last_ = p;
    hasLine_ = true;
  }
  void Close() {
    cairo_close_path(cr_);
    edges_ += kLineEdges + 2 * joinEdges_;
  }
  void Flush() {
    if (edges_ > 0) {
      cairo_set_line_cap(cr_, cap_);
      cairo_stroke(cr_);
    }
    edges_ = 0;
  }

 private:
  static constexpr double kLineEdges = 4;
  double LineEdges() const { return kLineEdges + (hasLine_ ? joinEdges_ : 0); }

  cairo_t* cr_;
  cairo_line_cap_t cap_;
  double joinEdges_, endEdges_;
  double edges_ = 0;
  PointD last_, before_;
  bool hasLine_ = false;
};

// The cap at end, of a figure whose line runs from `from` to end: the half disc or the half
// square beyond end. Figures broken over several calls are stroked with flat ends and get their
// real caps this way.
void FillCap(cairo_t* cr, PointD from, PointD end, const PenShape& pen) {
  double length = Distance(from, end);
  if (length == 0) return;
  double r = pen.width / 2;
  PointD u{(end.x - from.x) / length, (end.y - from.y) / length}, n{-u.y, u.x};
  cairo_new_path(cr);
  if (pen.cap == CAIRO_LINE_CAP_ROUND) {
    double angle = std::atan2(u.y, u.x);
    cairo_arc(cr, end.x, end.y, r, angle - std::numbers::pi / 2, angle + std::numbers::pi / 2);
  } else {
    cairo_move_to(cr, end.x + n.x * r, end.y + n.y * r);
    cairo_line_to(cr, end.x + (n.x + u.x) * r, end.y + (n.y + u.y) * r);
    cairo_line_to(cr, end.x + (u.x - n.x) * r, end.y + (u.y - n.y) * r);
    cairo_line_to(cr, end.x - n.x * r, end.y - n.y * r);
  }
  cairo_close_path(cr);
  cairo_fill(cr);
}

// The nearest point to the first one (forward) or to the last one (backward) that differs from
// it: where a figure's end line comes from, past any repeated points.
const PointD* Neighbour(const std::vector<PointD>& points, bool forward) {
  if (points.empty()) return nullptr;
  const PointD& end = forward ? points.front() : points.back();
  for (size_t k = 1; k < points.size(); ++k) {
    const PointD& p = points[forward ? k : points.size() - 1 - k];
    if (p.x != end.x || p.y != end.y) return &p;
  }
  return nullptr;
}

void StrokeSolid(cairo_t* cr, const std::vector<FlatFigure>& figures, const PenShape& pen) {
  double r = pen.width / 2;
  double join = CornerEdges(pen.join == CAIRO_LINE_JOIN_ROUND, r);
  double end = CornerEdges(pen.cap == CAIRO_LINE_CAP_ROUND, r);
  std::vector<std::pair<PointD, PointD>> caps;  // (from, end) of broken figures' open ends
  {
    StrokeBatch whole(cr, pen.cap, join, end), broken(cr, CAIRO_LINE_CAP_BUTT, join, 2);
    for (const FlatFigure& figure : figures) {
      const std::vector<PointD>& p = figure.points;
      if (p.empty()) continue;
      size_t lines = figure.closed ? p.size() : p.size() - 1;
      double edges = static_cast<double>(lines) * (4 + join) + 2 * end + 2 * join;
      if (edges <= kEdgesPerCall) {
        whole.Reserve(edges);
        whole.MoveTo(p[0]);
        for (size_t i = 1; i < p.size(); ++i) whole.LineTo(p[i]);
        if (figure.closed) whole.Close();
        continue;
      }
      broken.MoveTo(p[0]);
      for (size_t i = 1; i < p.size(); ++i) broken.LineTo(p[i]);
      if (figure.closed) {
        // Round again to the second point, so that the corner at the first is joined.
        broken.LineTo(p[0]);
        broken.LineTo(p[1]);
      } else if (pen.cap != CAIRO_LINE_CAP_BUTT) {
        if (const PointD* next = Neighbour(p, true)) caps.push_back({*next, p[0]});
        if (const PointD* previous = Neighbour(p, false)) caps.push_back({*previous, p.back()});
      }
    }
  }
  for (const auto& cap : caps) FillCap(cr, cap.first, cap.second, pen);
}

// The stretches [t0, t1] of the line from a to b (length, direction u) where its dashes can
// reach view: where its cross-section meets view, and short pieces at its ends when a join there
// may reach view.
std::vector<std::pair<double, double>> ReachingStretches(PointD a, PointD b, PointD u,
                                                         double length, const Box& view, double r,
                                                         double joinReach, bool joinBefore,
                                                         bool joinAfter) {
  std::vector<std::pair<double, double>> stretches;
  if (joinBefore && DistanceToBox(a, view) <= joinReach)
    stretches.push_back({0, std::min(length, kCornerPiece)});
  const PointD corners[4] = {
      {view.x0, view.y0}, {view.x1, view.y0}, {view.x0, view.y1}, {view.x1, view.y1}};
  double lowSide = INFINITY, highSide = -INFINITY, lowAlong = INFINITY, highAlong = -INFINITY;
  for (const PointD& c : corners) {
    double side = -u.y * (c.x - a.x) + u.x * (c.y - a.y);
    double along = u.x * (c.x - a.x) + u.y * (c.y - a.y);
    lowSide = std::min(lowSide, side), highSide = std::max(highSide, side);
    lowAlong = std::min(lowAlong, along), highAlong = std::max(highAlong, along);
  }
  if (lowSide <= r + 1 && highSide >= -r - 1) {
    double t0 = std::max(0.0, lowAlong - 1), t1 = std::min(length, highAlong + 1);
    if (t0 < t1) stretches.push_back({t0, t1});
  }
  if (joinAfter && DistanceToBox(b, view) <= joinReach)
    stretches.push_back({std::max(0.0, length - kCornerPiece), length});
  // In order and without overlaps.
  std::vector<std::pair<double, double>> merged;
  for (const auto& s : stretches) {
    if (!merged.empty() && s.first <= merged.back().second)
      merged.back().second = std::max(merged.back().second, s.second);
    else
      merged.push_back(s);
  }
  return merged;
}

// Lays one figure's dashes into the batch, over the stretches where they can show.
class DashWalk {
 public:
  DashWalk(const std::vector<double>& pattern, StrokeBatch* batch)
      : pattern_(pattern), batch_(batch) {
    for (double length : pattern_) period_ += length;
  }

  // The dashes over [t0, t1] of the line from a along u, which starts `start` along the figure.
  void Walk(PointD a, PointD u, double start, double t0, double t1, bool lineEndsAtT1) {
    double phase = std::fmod(start + t0, period_);
    size_t entry = 0;
    while (entry + 1 < pattern_.size() && phase >= pattern_[entry]) phase -= pattern_[entry++];
    double left = pattern_[entry] - phase;
    bool first = true;
    for (double t = t0; t < t1;) {
      double e = std::min(t1, t + left);
      bool on = entry % 2 == 0;
      if (on && e > t) {
        if (!(first && t0 == 0 && down_)) batch_->MoveTo(Along(a, u, t));
        batch_->LineTo(Along(a, u, e));
      }
      down_ = on && e >= t1 && lineEndsAtT1;
      if (e >= t + left) {
        entry = (entry + 1) % pattern_.size();
        left = pattern_[entry];
      } else {
        left -= e - t;
      }
      t = e;
      first = false;
    }
  }
  // A stretch of the line was left out: the next dash starts afresh.
  void Lift() { down_ = false; }

 private:
  const std::vector<double>& pattern_;
  StrokeBatch* batch_;
  double period_ = 0;
  bool down_ = false;  // the last dash reached the end of its line and goes on
};

// A closed figure whose last dash runs into its first point, where its first dash starts,
// joins the two there, as one dash: both are drawn again for a short piece, with the corner.
void JoinAtStart(const std::vector<PointD>& closedPoints, double perimeter,
                 const std::vector<double>& pattern, StrokeBatch* batch) {
  const std::vector<PointD>& p = closedPoints;
  const PointD* next = Neighbour(p, true);
  const PointD* previous = Neighbour(p, false);  // the last point is the first again
  if (next == nullptr || previous == nullptr) return;
  double period = 0;
  for (double length : pattern) period += length;
  double phase = std::fmod(perimeter, period);
  size_t entry = 0;
  while (entry + 1 < pattern.size() && phase >= pattern[entry]) phase -= pattern[entry++];
  // The length of the last dash before the first point, if the pattern is in a dash there.
  double back = entry % 2 == 0 ? phase : 0;
  back = std::min({back, kCornerPiece, Distance(*previous, p[0])});
  double forward = std::min({pattern[0], kCornerPiece, Distance(p[0], *next)});
  if (back <= 0 || forward <= 0) return;
  double toPrevious = Distance(p[0], *previous), toNext = Distance(p[0], *next);
  batch->MoveTo(Along(
      p[0], {(previous->x - p[0].x) / toPrevious, (previous->y - p[0].y) / toPrevious}, back));
  batch->LineTo(p[0]);
  batch->LineTo(Along(p[0], {(next->x - p[0].x) / toNext, (next->y - p[0].y) / toNext}, forward));
}

void StrokeDashed(cairo_t* cr, const std::vector<FlatFigure>& figures, const PenShape& pen,
                  const Box& view) {
  std::vector<double> pattern = pen.dashes;
  if (pattern.size() % 2 == 1) pattern.insert(pattern.end(), pen.dashes.begin(), pen.dashes.end());
  double r = pen.width / 2;
  double joinReach =
      r * (pen.join == CAIRO_LINE_JOIN_MITER ? std::max(1.0, pen.miterLimit) : 1) + 1;
  StrokeBatch batch(cr, CAIRO_LINE_CAP_BUTT, CornerEdges(pen.join == CAIRO_LINE_JOIN_ROUND, r), 2);
  for (const FlatFigure& figure : figures) {
    std::vector<PointD> p = figure.points;
    if (figure.closed && p.size() > 1) p.push_back(p[0]);
    DashWalk walk(pattern, &batch);
    double start = 0;
    for (size_t i = 0; i + 1 < p.size(); ++i) {
      double length = Distance(p[i], p[i + 1]);
      if (length == 0) continue;
      PointD u{(p[i + 1].x - p[i].x) / length, (p[i + 1].y - p[i].y) / length};
      auto stretches =
          ReachingStretches(p[i], p[i + 1], u, length, view, r, joinReach, i > 0, i + 2 < p.size());
      if (stretches.empty() || stretches.front().first > 0) walk.Lift();
      for (const auto& [t0, t1] : stretches) {
        if (t0 > 0) walk.Lift();
        walk.Walk(p[i], u, start, t0, t1, t1 >= length);
      }
      if (stretches.empty() || stretches.back().second < length) walk.Lift();
      start += length;
    }
    if (figure.closed && DistanceToBox(p[0], view) <= joinReach)
      JoinAtStart(p, start, pattern, &batch);
  }
}

}  // namespace

void StrokeFigures(cairo_t* cr, const std::vector<FlatFigure>& figures, const PenShape& pen,
                   const Box& view) {
  cairo_new_path(cr);
  if (pen.dashes.empty())
    StrokeSolid(cr, figures, pen);
  else
    StrokeDashed(cr, figures, pen, view);
}

}  // namespace platform::metafile
