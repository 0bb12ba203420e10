// Playing the EMF+ image records.
#include "platform/imaging/metafile/emfplus_image_draw.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/imaging/metafile/emfplus_image.h"
#include "platform/imaging/metafile/emfplus_image_attributes.h"
#include "platform/imaging/metafile/emfplus_image_pattern.h"
#include "platform/imaging/metafile/emfplus_points.h"
#include "platform/imaging/metafile/emfplus_units.h"

namespace platform::metafile {

namespace {

// The interpolation mode that samples the nearest pixel; the others are drawn bilinear (cairo's
// finer filters take time that grows with how far an image is shrunk).
constexpr uint32_t kNearestNeighbor = 5;
// Images are measured at 96 pixels an inch when a source rectangle is in another unit.
constexpr double kImageDpi = 96;
// Where the source rectangle starts in both records, and the fields after it.
constexpr size_t kSourceUnit = 4, kSourceRect = 8, kAfterSource = 24;
// DrawImagePoints gives exactly three corners.
constexpr size_t kCorners = 3;

// Where an image lands: its source rectangle (image pixels) on the parallelogram of the
// upper-left, upper-right and lower-left corners (world units).
struct ImagePlace {
  RectD source;
  PointD corners[kCorners];
};

// The source rectangle in image pixels; false when it is not finite or has no area.
bool ReadSource(const PlusRecord& record, RectD* source) {
  RecordReader r = record.Reader();
  uint32_t unit = r.U32(kSourceUnit);
  std::vector<RectD> rects;
  if (r.Short() || unit > kUnitMillimeter || !ReadRects(r, kSourceRect, 1, false, &rects))
    return false;
  double scale = DeviceUnitsPer(unit, kImageDpi, true);
  *source = {rects[0].x * scale, rects[0].y * scale, rects[0].w * scale, rects[0].h * scale};
  return source->w != 0 && source->h != 0;
}

// Image pixels to world units: the source rectangle's corners onto the placement's.
cairo_matrix_t ImageToWorld(const ImagePlace& at) {
  const RectD& s = at.source;
  const PointD* p = at.corners;
  double ax = (p[1].x - p[0].x) / s.w, ay = (p[1].y - p[0].y) / s.w;
  double bx = (p[2].x - p[0].x) / s.h, by = (p[2].y - p[0].y) / s.h;
  cairo_matrix_t m;
  cairo_matrix_init(&m, ax, ay, bx, by, p[0].x - s.x * ax - s.y * bx, p[0].y - s.x * ay - s.y * by);
  return m;
}

// The whole pixels of the image the source rectangle covers; false when it covers none.
bool SourcePart(const PlusImage& image, const RectD& source, ImagePart* out) {
  double x0 = std::max(0.0, std::floor(std::min(source.x, source.x + source.w)));
  double y0 = std::max(0.0, std::floor(std::min(source.y, source.y + source.h)));
  double x1 = std::min(double(image.width), std::ceil(std::max(source.x, source.x + source.w)));
  double y1 = std::min(double(image.height), std::ceil(std::max(source.y, source.y + source.h)));
  if (!(x1 > x0 && y1 > y0)) return false;
  *out = {int(x0), int(y0), int(x1 - x0), int(y1 - y0)};
  return true;
}

// The parallelogram of three corners under m.
Path Parallelogram(const cairo_matrix_t& m, PointD p0, PointD p1, PointD p2) {
  Path outline;
  outline.MoveTo(Map(m, p0.x, p0.y));
  outline.LineTo(Map(m, p1.x, p1.y));
  outline.LineTo(Map(m, p1.x + p2.x - p0.x, p1.y + p2.y - p0.y));
  outline.LineTo(Map(m, p2.x, p2.y));
  outline.Close();
  return outline;
}

// Fills cairo's path (made from outline) with the source; false, filling nothing, when the
// outline needs more memory than the decode budget allows.
bool FillOutline(cairo_t* cr, const Path& outline) {
  if (!outline.Emit(cr, 0)) return false;
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_fill(cr);
  return true;
}

// Clamped: within the destination, the image inside its own area and the clamp colour around
// it; false when an outline needs more memory than the decode budget allows.
bool FillClamped(cairo_t* cr, cairo_pattern_t* pattern, const Path& destination, const Path& area,
                 PlusColor clamp) {
  if (!destination.Emit(cr, 0)) return false;
  cairo_clip(cr);
  if (clamp.a != 0) {
    // The destination outside the image: its outline and the image's, filled even-odd.
    Path around = destination;
    around.Append(area);
    if (!around.Emit(cr, 0)) return false;
    cairo_set_source_rgba(cr, clamp.r / 255.0, clamp.g / 255.0, clamp.b / 255.0, clamp.a / 255.0);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
  }
  if (pattern == nullptr) return true;
  cairo_set_source(cr, pattern);
  return FillOutline(cr, area);
}

// Paints the image on the destination: filled with its tiles where it repeats, clamped where it
// does not.
void DrawPlaced(PlusPlayback& play, const std::shared_ptr<const PlusImage>& image,
                const PlusImageAttributes& attributes, const ImagePlace& at) {
  PlusGraphics& graphics = play.graphics;
  cairo_matrix_t toPicture = graphics.WorldToPicture(), imageToPicture = ImageToWorld(at);
  cairo_matrix_multiply(&imageToPicture, &imageToPicture, &toPicture);
  cairo_filter_t filter = graphics.State().interpolation == kNearestNeighbor
                              ? CAIRO_FILTER_NEAREST
                              : CAIRO_FILTER_BILINEAR;
  // Clamped, only the pixels the source rectangle covers are sampled, so that none beside them
  // bleeds in along its edges.
  bool clamped = attributes.wrap == kWrapClamp;
  ImagePart part;
  cairo_pattern_t* pattern = nullptr;
  if (!clamped || SourcePart(*image, at.source, &part))
    pattern = ImagePattern(image, imageToPicture, attributes.wrap, filter, &part);
  if (pattern == nullptr && !(clamped && attributes.clampColor.a != 0)) return;
  Path destination = Parallelogram(toPicture, at.corners[0], at.corners[1], at.corners[2]);
  PlusPaint paint(graphics);
  cairo_t* cr = paint.Cairo();
  bool fits = true;
  if (clamped) {
    Path area = Parallelogram(imageToPicture, {0, 0}, {double(image->width), 0},
                              {0, double(image->height)});
    fits = FillClamped(cr, pattern, destination, area, attributes.clampColor);
  } else {
    cairo_set_source(cr, pattern);
    fits = FillOutline(cr, destination);
  }
  if (pattern != nullptr) cairo_pattern_destroy(pattern);
  if (!fits) graphics.Surface().Fail();
}

void Draw(PlusPlayback& play, const PlusRecord& record, const ImagePlace& at) {
  const PlusObject* image = play.objects.Get(record.Slot(), PlusKind::Image);
  if (image == nullptr) return;
  RecordReader r = record.Reader();
  // The attributes are optional: a slot that holds none draws the image without them.
  const PlusObject* named = play.objects.Get(r.U32(0), PlusKind::ImageAttributes);
  PlusImageAttributes attributes;
  if (named != nullptr) attributes = *named->imageAttributes;
  DrawPlaced(play, image->image, attributes, at);
}

}  // namespace

void PlayDrawImage(PlusPlayback& play, const PlusRecord& record) {
  ImagePlace at;
  RecordReader r = record.Reader();
  std::vector<RectD> rects;
  if (!ReadSource(record, &at.source) ||
      !ReadRects(r, kAfterSource, 1, (record.flags & kPlusCompressed) != 0, &rects))
    return;
  const RectD& d = rects[0];
  at.corners[0] = {d.x, d.y};
  at.corners[1] = {d.x + d.w, d.y};
  at.corners[2] = {d.x, d.y + d.h};
  Draw(play, record, at);
}

void PlayDrawImagePoints(PlusPlayback& play, const PlusRecord& record) {
  ImagePlace at;
  RecordReader r = record.Reader();
  size_t count = r.U32(kAfterSource), end = 0;
  std::vector<PointD> points;
  // Relative corners follow the one before; the first, the origin. An effect the record asks
  // for is passed over: its object is not read.
  if (!ReadSource(record, &at.source) || r.Short() || count != kCorners ||
      !ReadPoints(r, kAfterSource + 4, count,
                  PointFormOf(record.flags, kPlusCompressed, kPlusRelative), &points, &end))
    return;
  for (size_t i = 0; i < kCorners; ++i) at.corners[i] = points[i];
  Draw(play, record, at);
}

}  // namespace platform::metafile
