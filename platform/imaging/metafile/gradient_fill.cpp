// Gradient rectangles and triangles, coloured pixel by pixel on a scratch picture and filled
// through cairo as any shape is.
#include "platform/imaging/metafile/gradient_fill.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/imaging/decode_budget.h"

namespace platform::metafile {

namespace {

constexpr uint32_t kRectHorizontal = 0, kRectVertical = 1, kTriangle = 2;
constexpr size_t kVerticesAt = 36, kVertexBytes = 16;
// How many times over one record may colour the picture's pixels.
constexpr double kMostCoats = 16;

struct Vertex {
  PointD logical;                 // as the record gives it
  PointD at;                      // on the picture
  double channel[3] = {0, 0, 0};  // red, green, blue, 16 bits each
};

// Whole pixels of the picture, [x0, x1) x [y0, y1).
struct PixelBox {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool Empty() const { return x1 <= x0 || y1 <= y0; }
};

// The pixels a box of picture coordinates touches, within limit.
PixelBox Touched(const Box& box, const PixelBox& limit) {
  auto cut = [](double v, int low, int high) {
    return static_cast<int>(std::clamp(v, static_cast<double>(low), static_cast<double>(high)));
  };
  return {cut(std::floor(box.x0), limit.x0, limit.x1), cut(std::floor(box.y0), limit.y0, limit.y1),
          cut(std::ceil(box.x1), limit.x0, limit.x1), cut(std::ceil(box.y1), limit.y0, limit.y1)};
}

Box Around(const PointD* points, size_t count) {
  Box box{points[0].x, points[0].y, points[0].x, points[0].y};
  for (size_t i = 1; i < count; ++i) {
    box.x0 = std::min(box.x0, points[i].x), box.x1 = std::max(box.x1, points[i].x);
    box.y0 = std::min(box.y0, points[i].y), box.y1 = std::max(box.y1, points[i].y);
  }
  return box;
}

// A 16-bit channel as the pixel's high byte: the channel rounded to 16 bits, so that a pixel on
// a vertex keeps its colour whatever the arithmetic's last bits.
uint32_t HighByte(double channel) {
  return static_cast<uint32_t>(std::clamp(channel, 0.0, 65535.0) + 0.5) >> 8;
}

uint32_t Opaque(const double (&channel)[3]) {
  return 0xff000000u | HighByte(channel[0]) << 16 | HighByte(channel[1]) << 8 |
         HighByte(channel[2]);
}

// The scratch picture the record's shapes are coloured on, over the pixels they can reach, each
// shape filled onto the picture from it before the next is coloured.
class Scratch {
 public:
  Scratch(Canvas& canvas, PixelBox box) : canvas_(canvas), box_(box) {
    stride_ = static_cast<size_t>(box.x1 - box.x0) * 4;
    pixels_ = static_cast<uint8_t*>(
        imaging::BudgetMalloc(stride_ * static_cast<size_t>(box.y1 - box.y0)));
  }
  ~Scratch() { std::free(pixels_); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  bool Ready() const { return pixels_ != nullptr; }
  const PixelBox& Box() const { return box_; }
  void Put(int x, int y, uint32_t pixel) {
    std::memcpy(
        pixels_ + static_cast<size_t>(y - box_.y0) * stride_ + static_cast<size_t>(x - box_.x0) * 4,
        &pixel, 4);
  }
  // Fills the shape on the picture with the scratch's pixels.
  void Fill(const Path& shape) {
    cairo_t* cr = canvas_.Cairo();
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(pixels_, CAIRO_FORMAT_ARGB32, box_.x1 - box_.x0,
                                            box_.y1 - box_.y0, static_cast<int>(stride_));
    cairo_save(cr);
    cairo_set_source_surface(cr, surface, box_.x0, box_.y0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    if (shape.Emit(cr, 0)) {
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
      cairo_fill(cr);
    }
    cairo_restore(cr);
    cairo_surface_destroy(surface);
  }

 private:
  Canvas& canvas_;
  PixelBox box_;
  size_t stride_ = 0;
  uint8_t* pixels_ = nullptr;
};

// The four corners of the rectangle from a's corner to b's, on the picture.
void RectangleCorners(const Vertex& a, const Vertex& b, const cairo_matrix_t& m, PointD (&out)[4]) {
  out[0] = a.at, out[1] = b.at;
  out[2] = Map(m, a.logical.x, b.logical.y), out[3] = Map(m, b.logical.x, a.logical.y);
}

// A rectangle from a's corner to b's, its colour running from a's to b's across it (along x in
// logical units) or down it (along y): each pixel's corner is taken back to logical units, where
// the way along is a linear function of the pixel's place.
void Rectangle(Canvas& canvas, Scratch& scratch, const Vertex& a, const Vertex& b, bool down) {
  double from = down ? a.logical.y : a.logical.x, to = down ? b.logical.y : b.logical.x;
  cairo_matrix_t m = canvas.ToPicture(), back = m;
  if (from == to || cairo_matrix_invert(&back) != CAIRO_STATUS_SUCCESS) return;
  // t = alongX * x + alongY * y + at0, 0 at a's edge and 1 at b's.
  double alongX = (down ? back.yx : back.xx) / (to - from);
  double alongY = (down ? back.yy : back.xy) / (to - from);
  double at0 = ((down ? back.y0 : back.x0) - from) / (to - from);
  PointD corners[4];
  RectangleCorners(a, b, m, corners);
  PixelBox box = Touched(Around(corners, 4), scratch.Box());
  for (int y = box.y0; y < box.y1; ++y) {
    for (int x = box.x0; x < box.x1; ++x) {
      double t = std::clamp(alongX * x + alongY * y + at0, 0.0, 1.0);
      double channel[3];
      for (int c = 0; c < 3; ++c) channel[c] = a.channel[c] + (b.channel[c] - a.channel[c]) * t;
      scratch.Put(x, y, Opaque(channel));
    }
  }
  Path shape;
  AddBox(&shape, m, a.logical.x, a.logical.y, b.logical.x, b.logical.y);
  scratch.Fill(shape);
}

// The span of x over which a triangle meets the band of rows from y0 to y1: its edges cut to
// the band.
bool SpanInBand(const PointD (&p)[3], double y0, double y1, double* left, double* right) {
  bool met = false;
  auto take = [&](double x) {
    *left = met ? std::min(*left, x) : x;
    *right = met ? std::max(*right, x) : x;
    met = true;
  };
  for (int i = 0; i < 3; ++i) {
    PointD a = p[i], b = p[(i + 1) % 3];
    if (a.y > b.y) std::swap(a, b);
    if (b.y < y0 || a.y > y1) continue;
    if (b.y == a.y) {
      take(a.x), take(b.x);
      continue;
    }
    for (double y : {std::max(a.y, y0), std::min(b.y, y1)})
      take(a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y));
  }
  return met;
}

// A triangle, each pixel's colour its corner's weights of the three vertices' (barycentric
// coordinates, which the mapping keeps): each channel a linear function of the pixel's place,
// through the three vertices' values. Only the rows' stretches it covers are coloured.
void Triangle(Canvas& canvas, Scratch& scratch, const Vertex& a, const Vertex& b, const Vertex& c) {
  const PointD p[3] = {a.at, b.at, c.at};
  double area = (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (p[1].y - p[0].y);
  if (!(std::fabs(area) > 1e-9)) return;
  double perX[3], perY[3];
  for (int k = 0; k < 3; ++k) {
    double toB = b.channel[k] - a.channel[k], toC = c.channel[k] - a.channel[k];
    perX[k] = (toB * (p[2].y - p[0].y) - toC * (p[1].y - p[0].y)) / area;
    perY[k] = (toC * (p[1].x - p[0].x) - toB * (p[2].x - p[0].x)) / area;
  }
  PixelBox box = Touched(Around(p, 3), scratch.Box());
  for (int y = box.y0; y < box.y1; ++y) {
    double left = 0, right = 0;
    if (!SpanInBand(p, y - 1.0, y + 2.0, &left, &right)) continue;
    int x0 = std::max(box.x0, static_cast<int>(std::floor(left)) - 1);
    int x1 = std::min(box.x1, static_cast<int>(std::ceil(right)) + 2);
    for (int x = x0; x < x1; ++x) {
      double channel[3];
      for (int k = 0; k < 3; ++k)
        channel[k] = a.channel[k] + perX[k] * (x - p[0].x) + perY[k] * (y - p[0].y);
      scratch.Put(x, y, Opaque(channel));
    }
  }
  Path shape;
  AddPolyline(&shape, canvas.ToPicture(), {a.logical, b.logical, c.logical}, true);
  scratch.Fill(shape);
}

// A record's vertices and its shapes' vertex indices, checked.
struct GradientRecord {
  uint32_t mode = kRectHorizontal;
  size_t corners = 2;  // vertices of a shape
  std::vector<uint32_t> indices;
  std::vector<Vertex> vertices;

  // The points that bound shape i (from indices[i]) on the picture.
  void Reach(size_t i, const cairo_matrix_t& m, PointD (&four)[4]) const {
    RectangleCorners(vertices[indices[i]], vertices[indices[i + 1]], m, four);
    if (mode == kTriangle) four[2] = four[3] = vertices[indices[i + 2]].at;
  }
};

// False for counts, a mode or indices out of range, or arrays that run past the record.
bool ReadGradient(RecordReader& r, const cairo_matrix_t& m, GradientRecord* out) {
  size_t count = r.U32(24), shapes = r.U32(28);
  out->mode = r.U32(32);
  out->corners = out->mode == kTriangle ? 3 : 2;
  bool known = out->mode == kRectHorizontal || out->mode == kRectVertical || out->mode == kTriangle;
  if (r.Short() || !known || count > r.Size() / kVertexBytes ||
      !r.Has(kVerticesAt, count * kVertexBytes))
    return false;
  size_t indicesAt = kVerticesAt + count * kVertexBytes;
  if (shapes > r.Size() / (out->corners * 4) || !r.Has(indicesAt, shapes * out->corners * 4))
    return false;
  out->indices.resize(shapes * out->corners);
  for (size_t i = 0; i < out->indices.size(); ++i) {
    out->indices[i] = r.U32(indicesAt + i * 4);
    if (out->indices[i] >= count) return false;
  }
  out->vertices.resize(count);
  for (size_t i = 0; i < count; ++i) {
    size_t at = kVerticesAt + i * kVertexBytes;
    Vertex& v = out->vertices[i];
    v.logical = {double(r.S32(at)), double(r.S32(at + 4))};
    v.at = Map(m, v.logical.x, v.logical.y);
    for (int c = 0; c < 3; ++c) v.channel[c] = r.U16(at + 8 + c * 2);
  }
  return true;
}

}  // namespace

void PlayGradientFill(Canvas& canvas, RecordReader& r) {
  cairo_matrix_t m = canvas.ToPicture();
  GradientRecord record;
  if (!ReadGradient(r, m, &record) || record.indices.empty()) return;
  // One scratch picture over the pixels that the shapes can reach.
  std::vector<PointD> reach;
  for (size_t i = 0; i < record.indices.size(); i += record.corners) {
    PointD four[4];
    record.Reach(i, m, four);
    reach.insert(reach.end(), four, four + 4);
  }
  PixelBox picture{0, 0, canvas.Head().width, canvas.Head().height};
  PixelBox box =
      Touched(Around(reach.data(), reach.size()).Grown(1), Touched(View(canvas.Cairo()), picture));
  if (box.Empty()) return;
  Scratch scratch(canvas, box);
  if (!scratch.Ready()) {
    canvas.Fail();
    return;
  }
  // Shapes piled on one another cost a pass over their pixels each: a record stops once it has
  // coloured many times the picture, far more than real meshes, which cover it about once.
  double work = 0, most = kMostCoats * picture.x1 * static_cast<double>(picture.y1);
  const std::vector<Vertex>& v = record.vertices;
  const std::vector<uint32_t>& at = record.indices;
  for (size_t i = 0; i < at.size() && work <= most; i += record.corners) {
    PointD four[4];
    record.Reach(i, m, four);
    PixelBox reached = Touched(Around(four, 4), box);
    work += static_cast<double>(reached.x1 - reached.x0) * (reached.y1 - reached.y0);
    if (record.mode == kTriangle)
      Triangle(canvas, scratch, v[at[i]], v[at[i + 1]], v[at[i + 2]]);
    else
      Rectangle(canvas, scratch, v[at[i]], v[at[i + 1]], record.mode == kRectVertical);
  }
}

}  // namespace platform::metafile
