// Pixel regions: bands of spans, their boolean operations and the filling of outlines into them.
#include "platform/imaging/metafile/pixel_region.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform::metafile {

namespace {

// The reach of an infinite region: beyond any picture, and within what cairo's fixed-point
// coordinates hold.
constexpr int32_t kEverywhere = 1 << 22;

// The first pixel whose centre lies at or after the coordinate.
int32_t FirstCentreFrom(double v) {
  if (!(v > -kEverywhere)) return -kEverywhere;
  if (!(v < kEverywhere)) return kEverywhere;
  return static_cast<int32_t>(std::ceil(v - 0.5));
}

bool Keeps(PixelRegion::Op op, bool inA, bool inB) {
  switch (op) {
    case PixelRegion::Op::Intersect: return inA && inB;
    case PixelRegion::Op::Union: return inA || inB;
    case PixelRegion::Op::Xor: return inA != inB;
    case PixelRegion::Op::Exclude: return inA && !inB;
    case PixelRegion::Op::Complement: return inB && !inA;
    case PixelRegion::Op::Replace: return inB;
  }
  return false;
}

// The spans of two rows combined: a sweep over both lists' ends in order.
std::vector<int32_t> CombineSpans(const std::vector<int32_t>& a, const std::vector<int32_t>& b,
                                  PixelRegion::Op op) {
  std::vector<int32_t> out;
  size_t i = 0, j = 0;
  bool inA = false, inB = false, in = false;
  while (i < a.size() || j < b.size()) {
    int32_t x = std::min(i < a.size() ? a[i] : INT32_MAX, j < b.size() ? b[j] : INT32_MAX);
    while (i < a.size() && a[i] == x) inA = !inA, ++i;
    while (j < b.size() && b[j] == x) inB = !inB, ++j;
    bool now = Keeps(op, inA, inB);
    if (now != in) {
      // A span that ends where the next starts becomes one.
      if (now && !out.empty() && out.back() == x)
        out.pop_back();
      else
        out.push_back(x);
      in = now;
    }
  }
  return out;
}

struct Edge {
  double x0, y0, x1, y1;  // y0 < y1
  int direction;          // +1 downwards in the figure, -1 upwards
};

struct Crossing {
  double x;
  int direction;
  bool operator<(const Crossing& other) const { return x < other.x; }
};

std::vector<Edge> EdgesOf(const std::vector<FlatFigure>& figures) {
  std::vector<Edge> edges;
  for (const FlatFigure& figure : figures) {
    const std::vector<PointD>& p = figure.points;
    for (size_t i = 0; i < p.size(); ++i) {
      const PointD& a = p[i];
      const PointD& b = p[(i + 1) % p.size()];
      if (a.y == b.y) continue;
      if (a.y < b.y)
        edges.push_back({a.x, a.y, b.x, b.y, 1});
      else
        edges.push_back({b.x, b.y, a.x, a.y, -1});
    }
  }
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
  return edges;
}

// The spans of one row from its crossings, by the fill rule.
std::vector<int32_t> RowSpans(std::vector<Crossing>& crossings, bool winding) {
  std::sort(crossings.begin(), crossings.end());
  std::vector<int32_t> xs;
  int count = 0;
  for (size_t k = 0; k + 1 < crossings.size(); ++k) {
    count += winding ? crossings[k].direction : 1;
    bool inside = winding ? count != 0 : count % 2 == 1;
    if (!inside) continue;
    int32_t from = FirstCentreFrom(crossings[k].x), to = FirstCentreFrom(crossings[k + 1].x);
    if (from >= to) continue;
    if (!xs.empty() && xs.back() >= from)
      xs.back() = std::max(xs.back(), to);
    else
      xs.insert(xs.end(), {from, to});
  }
  return xs;
}

}  // namespace

PixelRegion PixelRegion::Everything() {
  PixelRegion region;
  region.bands_.push_back({-kEverywhere, kEverywhere, {-kEverywhere, kEverywhere}});
  return region;
}

PixelRegion PixelRegion::Rect(double x0, double y0, double x1, double y1) {
  PixelRegion region;
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  int32_t left = FirstCentreFrom(x0), right = FirstCentreFrom(x1);
  int32_t top = FirstCentreFrom(y0), bottom = FirstCentreFrom(y1);
  if (left < right && top < bottom) region.bands_.push_back({top, bottom, {left, right}});
  return region;
}

bool PixelRegion::Fill(const std::vector<FlatFigure>& figures, bool winding, int32_t rowLow,
                       int32_t rowHigh, size_t mostSpans, PixelRegion* out) {
  *out = PixelRegion();
  std::vector<Edge> edges = EdgesOf(figures);
  if (edges.empty()) return true;
  size_t next = 0, spans = 0;
  std::vector<const Edge*> active;
  std::vector<Crossing> crossings;
  int32_t first = std::max(rowLow, FirstCentreFrom(edges.front().y0));
  for (int32_t row = first; row < rowHigh; ++row) {
    double y = row + 0.5;
    while (next < edges.size() && edges[next].y0 <= y) active.push_back(&edges[next++]);
    std::erase_if(active, [y](const Edge* e) { return e->y1 <= y; });
    if (active.empty()) {
      // Nothing on this row: on to the next edge's first row, if any.
      if (next == edges.size()) break;
      row = std::max(row, FirstCentreFrom(edges[next].y0) - 1);
      continue;
    }
    crossings.clear();
    for (const Edge* e : active)
      crossings.push_back({e->x0 + (y - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0), e->direction});
    std::vector<int32_t> xs = RowSpans(crossings, winding);
    spans += xs.size() / 2;
    if (spans > mostSpans) {
      *out = PixelRegion();
      return false;
    }
    if (!xs.empty()) out->Push(row, row + 1, std::move(xs));
  }
  return true;
}

void PixelRegion::Push(int32_t y0, int32_t y1, std::vector<int32_t>&& xs) {
  if (!bands_.empty() && bands_.back().y1 == y0 && bands_.back().xs == xs) {
    bands_.back().y1 = y1;
    return;
  }
  bands_.push_back({y0, y1, std::move(xs)});
}

PixelRegion PixelRegion::Combine(const PixelRegion& other, Op op) const {
  std::vector<int32_t> ys;
  for (const PixelRegion* region : {this, &other})
    for (const Band& band : region->bands_) ys.insert(ys.end(), {band.y0, band.y1});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  PixelRegion out;
  static const std::vector<int32_t> kNone;
  size_t i = 0, j = 0;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    int32_t y0 = ys[k], y1 = ys[k + 1];
    while (i < bands_.size() && bands_[i].y1 <= y0) ++i;
    while (j < other.bands_.size() && other.bands_[j].y1 <= y0) ++j;
    const std::vector<int32_t>& a = i < bands_.size() && bands_[i].y0 <= y0 ? bands_[i].xs : kNone;
    const std::vector<int32_t>& b =
        j < other.bands_.size() && other.bands_[j].y0 <= y0 ? other.bands_[j].xs : kNone;
    std::vector<int32_t> xs = CombineSpans(a, b, op);
    if (!xs.empty()) out.Push(y0, y1, std::move(xs));
  }
  return out;
}

void PixelRegion::Offset(int32_t dx, int32_t dy) {
  auto move = [](int32_t v, int32_t by) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(static_cast<int64_t>(v) + by, -kEverywhere, kEverywhere));
  };
  for (Band& band : bands_) {
    band.y0 = move(band.y0, dy);
    band.y1 = move(band.y1, dy);
    for (int32_t& x : band.xs) x = move(x, dx);
  }
  // Bands or spans pressed together at the edge of the reach lose their height or width.
  std::erase_if(bands_, [](const Band& band) { return band.y0 >= band.y1; });
  for (Band& band : bands_) {
    std::vector<int32_t> xs;
    for (size_t k = 0; k + 1 < band.xs.size(); k += 2)
      if (band.xs[k] < band.xs[k + 1]) xs.insert(xs.end(), {band.xs[k], band.xs[k + 1]});
    band.xs = std::move(xs);
  }
  std::erase_if(bands_, [](const Band& band) { return band.xs.empty(); });
}

size_t PixelRegion::Spans() const {
  size_t count = 0;
  for (const Band& band : bands_) count += band.xs.size() / 2;
  return count;
}

void PixelRegion::AddTo(cairo_t* cr, const Box& within) const {
  double top = std::floor(within.y0), bottom = std::ceil(within.y1);
  double left = std::floor(within.x0), right = std::ceil(within.x1);
  for (const Band& band : bands_) {
    double y0 = std::max<double>(band.y0, top), y1 = std::min<double>(band.y1, bottom);
    if (y0 >= y1) continue;
    for (size_t k = 0; k + 1 < band.xs.size(); k += 2) {
      double x0 = std::max<double>(band.xs[k], left), x1 = std::min<double>(band.xs[k + 1], right);
      if (x0 < x1) cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    }
  }
}

}  // namespace platform::metafile
