// Median cut over colour cells, then a few rounds of refinement.
#include "platform/imaging/median_cut.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace platform::imaging {

namespace {

// Rounds of refinement: the error drops most in the first few.
constexpr int kRefinements = 4;

// A cell's mean colour and how many pixels it holds.
struct Point {
  std::array<double, 3> c;
  double weight;
};

// Weight, weighted sums and weighted sum of squares of a run of points.
struct Sums {
  double weight = 0;
  std::array<double, 3> c = {0, 0, 0};
  double squares = 0;

  void Add(const Point& p, double sign = 1) {
    weight += sign * p.weight;
    for (int a = 0; a < 3; ++a) c[a] += sign * p.weight * p.c[a];
    squares += sign * p.weight * (p.c[0] * p.c[0] + p.c[1] * p.c[1] + p.c[2] * p.c[2]);
  }
  Sums Minus(const Sums& part) const {
    Sums rest = *this;
    rest.weight -= part.weight;
    for (int a = 0; a < 3; ++a) rest.c[a] -= part.c[a];
    rest.squares -= part.squares;
    return rest;
  }
  // The squared error of the run about its mean.
  double Error() const {
    if (weight <= 0) return 0;
    return std::max(0.0, squares - (c[0] * c[0] + c[1] * c[1] + c[2] * c[2]) / weight);
  }
};

struct Box {
  size_t begin, end;  // points [begin, end)
  double error;
};

Sums SumsOf(const std::vector<Point>& points, size_t begin, size_t end) {
  Sums sums;
  for (size_t i = begin; i < end; ++i) sums.Add(points[i]);
  return sums;
}

// The channel along which a box's points spread most.
int WidestChannel(const std::vector<Point>& points, const Box& box) {
  Sums sums = SumsOf(points, box.begin, box.end);
  int widest = 0;
  double most = -1;
  for (int a = 0; a < 3; ++a) {
    double squares = 0;
    for (size_t i = box.begin; i < box.end; ++i)
      squares += points[i].weight * points[i].c[a] * points[i].c[a];
    double spread = squares - sums.c[a] * sums.c[a] / sums.weight;
    if (spread > most) most = spread, widest = a;
  }
  return widest;
}

// Splits a box of two points or more in two, where the halves' errors add up least.
std::pair<Box, Box> Split(std::vector<Point>& points, const Box& box) {
  int axis = WidestChannel(points, box);
  std::sort(points.begin() + box.begin, points.begin() + box.end,
            [axis](const Point& a, const Point& b) { return a.c[axis] < b.c[axis]; });
  Sums total = SumsOf(points, box.begin, box.end), left;
  size_t best = box.begin + 1;
  double bestError = std::numeric_limits<double>::max();
  for (size_t at = box.begin + 1; at < box.end; ++at) {
    left.Add(points[at - 1]);
    double error = left.Error() + total.Minus(left).Error();
    if (error < bestError) bestError = error, best = at;
  }
  Box first{box.begin, best, SumsOf(points, box.begin, best).Error()};
  Box second{best, box.end, SumsOf(points, best, box.end).Error()};
  return {first, second};
}

double Distance(const std::array<double, 3>& a, const std::array<double, 3>& b) {
  double d0 = a[0] - b[0], d1 = a[1] - b[1], d2 = a[2] - b[2];
  return d0 * d0 + d1 * d1 + d2 * d2;
}

// Moves each colour to the mean of the points nearest to it; a colour no point is nearest to
// stays where it is.
void Refine(const std::vector<Point>& points, std::vector<std::array<double, 3>>* colours) {
  std::vector<Sums> sums(colours->size());
  for (const Point& p : points) {
    size_t nearest = 0;
    double least = std::numeric_limits<double>::max();
    for (size_t i = 0; i < colours->size(); ++i) {
      double d = Distance(p.c, (*colours)[i]);
      if (d < least) least = d, nearest = i;
    }
    sums[nearest].Add(p);
  }
  for (size_t i = 0; i < colours->size(); ++i)
    if (sums[i].weight > 0)
      for (int a = 0; a < 3; ++a) (*colours)[i][a] = sums[i].c[a] / sums[i].weight;
}

uint8_t Channel(double value) {
  return static_cast<uint8_t>(std::clamp(std::lround(value), 0l, 255l));
}

}  // namespace

void MedianCut::Add(Rgb colour) {
  Cell& cell = cells_[(colour.r >> 2) << 12 | (colour.g >> 2) << 6 | colour.b >> 2];
  ++cell.count;
  cell.r += colour.r;
  cell.g += colour.g;
  cell.b += colour.b;
}

std::vector<Rgb> MedianCut::Palette(size_t most) const {
  std::vector<Point> points;
  for (const Cell& cell : cells_) {
    if (cell.count == 0) continue;
    double n = static_cast<double>(cell.count);
    points.push_back(Point{{cell.r / n, cell.g / n, cell.b / n}, n});
  }
  if (points.empty()) return {};
  std::vector<Box> boxes = {Box{0, points.size(), SumsOf(points, 0, points.size()).Error()}};
  while (boxes.size() < std::max<size_t>(most, 1)) {
    auto largest = std::max_element(boxes.begin(), boxes.end(),
                                    [](const Box& a, const Box& b) { return a.error < b.error; });
    if (largest->error <= 0 || largest->end - largest->begin < 2) break;
    auto [first, second] = Split(points, *largest);
    *largest = first;
    boxes.push_back(second);
  }
  std::vector<std::array<double, 3>> colours;
  for (const Box& box : boxes) {
    Sums sums = SumsOf(points, box.begin, box.end);
    colours.push_back({sums.c[0] / sums.weight, sums.c[1] / sums.weight, sums.c[2] / sums.weight});
  }
  for (int round = 0; round < kRefinements; ++round) Refine(points, &colours);
  std::vector<Rgb> palette;
  for (const auto& c : colours) palette.push_back(Rgb{Channel(c[0]), Channel(c[1]), Channel(c[2])});
  return palette;
}

size_t NearestColour(const std::vector<Rgb>& palette, Rgb colour) {
  size_t nearest = 0;
  int least = std::numeric_limits<int>::max();
  for (size_t i = 0; i < palette.size(); ++i) {
    int dr = palette[i].r - colour.r, dg = palette[i].g - colour.g, db = palette[i].b - colour.b;
    int d = dr * dr + dg * dg + db * db;
    if (d < least) least = d, nearest = i;
  }
  return nearest;
}

}  // namespace platform::imaging
