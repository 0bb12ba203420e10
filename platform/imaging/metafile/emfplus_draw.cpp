// Playing the EMF+ records that fill and outline shapes.
#include "platform/imaging/metafile/emfplus_draw.h"

#include <vector>

#include "platform/imaging/metafile/emfplus_points.h"
#include "platform/imaging/metafile/emfplus_region.h"
#include "platform/imaging/metafile/emfplus_shapes.h"
#include "platform/imaging/metafile/emfplus_stroke.h"

namespace platform::metafile {

namespace {

// FillClosedCurve's flags: filled by the winding rule; DrawLines': the lines close.
constexpr uint16_t kWindingFill = 0x2000, kClosedLines = 0x2000;

void Fill(PlusPlayback& play, const PlusRecord& record, const Path& outline, bool winding) {
  PlusBrush color;
  const PlusBrush* brush = RecordBrush(play, record, 0, &color);
  if (brush == nullptr) return;
  PlusPaint paint(play.graphics);
  if (!paint.Fill(outline, *brush, winding)) play.graphics.Surface().Fail();
}

void Stroke(PlusPlayback& play, uint32_t penSlot, const Path& outline) {
  const PlusPen* pen = play.objects.Pen(penSlot);
  if (pen != nullptr && !StrokePlus(play.graphics, outline, *pen)) play.graphics.Surface().Fail();
}

// The points of a record: a count at countAt, the points after it, in the form its flags give.
bool RecordPoints(const PlusRecord& record, size_t countAt, std::vector<PointD>* points) {
  RecordReader r = record.Reader();
  size_t count = r.U32(countAt), end = 0;
  return !r.Short() &&
         ReadPoints(r, countAt + 4, count,
                    PointFormOf(record.flags, kPlusCompressed, kPlusRelative), points, &end);
}

bool RecordRect(const PlusRecord& record, size_t at, RectD* rect) {
  RecordReader r = record.Reader();
  std::vector<RectD> rects;
  if (!ReadRects(r, at, 1, (record.flags & kPlusCompressed) != 0, &rects)) return false;
  *rect = rects[0];
  return true;
}

bool Angles(const PlusRecord& record, size_t at, double* start, double* sweep) {
  RecordReader r = record.Reader();
  return ReadFloat(r, at, start) && ReadFloat(r, at + 4, sweep);
}

Path Polyline(const cairo_matrix_t& m, const std::vector<PointD>& points, bool close) {
  Path outline;
  AddPolyline(&outline, m, points, close);
  return outline;
}

}  // namespace

const PlusBrush* RecordBrush(PlusPlayback& play, const PlusRecord& record, uint32_t field,
                             PlusBrush* colorBrush) {
  RecordReader r = record.Reader();
  uint32_t value = r.U32(field);
  if (r.Short()) return nullptr;
  if (record.flags & kPlusSolidColor) {
    *colorBrush = SolidBrush(value);
    return colorBrush;
  }
  return play.objects.Brush(value);
}

void PlayClear(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  PlusColor c = PlusColorOf(r.U32(0));
  if (r.Short()) return;
  // Clearing replaces what lies inside the clip with the colour, its alpha included.
  PlusPaint paint(play.graphics);
  cairo_set_operator(paint.Cairo(), CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(paint.Cairo(), c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
  cairo_paint(paint.Cairo());
}

void PlayFillRects(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  std::vector<RectD> rects;
  size_t count = r.U32(4);
  if (r.Short() || !ReadRects(r, 8, count, (record.flags & kPlusCompressed) != 0, &rects)) return;
  cairo_matrix_t m = play.graphics.WorldToPicture();
  // Each rectangle is filled on its own, as overlapping ones blend twice.
  for (const RectD& rect : rects) {
    Path outline;
    AddPlusRect(&outline, m, rect);
    Fill(play, record, outline, false);
  }
}

void PlayDrawRects(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  std::vector<RectD> rects;
  size_t count = r.U32(0);
  if (r.Short() || !ReadRects(r, 4, count, (record.flags & kPlusCompressed) != 0, &rects)) return;
  cairo_matrix_t m = play.graphics.WorldToPicture();
  for (const RectD& rect : rects) {
    Path outline;
    AddPlusRect(&outline, m, rect);
    Stroke(play, record.Slot(), outline);
  }
}

void PlayFillPolygon(PlusPlayback& play, const PlusRecord& record) {
  std::vector<PointD> points;
  if (RecordPoints(record, 4, &points) && points.size() >= 3)
    Fill(play, record, Polyline(play.graphics.WorldToPicture(), points, true), false);
}

void PlayDrawLines(PlusPlayback& play, const PlusRecord& record) {
  std::vector<PointD> points;
  if (!RecordPoints(record, 0, &points) || points.size() < 2) return;
  bool closed = (record.flags & kClosedLines) != 0;
  Stroke(play, record.Slot(), Polyline(play.graphics.WorldToPicture(), points, closed));
}

void PlayFillEllipse(PlusPlayback& play, const PlusRecord& record) {
  RectD rect;
  if (!RecordRect(record, 4, &rect)) return;
  Path outline;
  AddPlusEllipse(&outline, play.graphics.WorldToPicture(), rect);
  Fill(play, record, outline, false);
}

void PlayDrawEllipse(PlusPlayback& play, const PlusRecord& record) {
  RectD rect;
  if (!RecordRect(record, 0, &rect)) return;
  Path outline;
  AddPlusEllipse(&outline, play.graphics.WorldToPicture(), rect);
  Stroke(play, record.Slot(), outline);
}

void PlayFillPie(PlusPlayback& play, const PlusRecord& record) {
  double start = 0, sweep = 0;
  RectD rect;
  if (!Angles(record, 4, &start, &sweep) || !RecordRect(record, 12, &rect)) return;
  Path outline;
  AddPlusArc(&outline, play.graphics.WorldToPicture(), rect, start, sweep, true);
  Fill(play, record, outline, false);
}

void PlayDrawPie(PlusPlayback& play, const PlusRecord& record) {
  double start = 0, sweep = 0;
  RectD rect;
  if (!Angles(record, 0, &start, &sweep) || !RecordRect(record, 8, &rect)) return;
  Path outline;
  AddPlusArc(&outline, play.graphics.WorldToPicture(), rect, start, sweep, true);
  Stroke(play, record.Slot(), outline);
}

void PlayDrawArc(PlusPlayback& play, const PlusRecord& record) {
  double start = 0, sweep = 0;
  RectD rect;
  if (!Angles(record, 0, &start, &sweep) || !RecordRect(record, 8, &rect)) return;
  Path outline;
  AddPlusArc(&outline, play.graphics.WorldToPicture(), rect, start, sweep, false);
  Stroke(play, record.Slot(), outline);
}

void PlayFillRegion(PlusPlayback& play, const PlusRecord& record) {
  const PlusRegion* object = play.objects.Region(record.Slot());
  PlusBrush color;
  const PlusBrush* brush = RecordBrush(play, record, 0, &color);
  if (object == nullptr || brush == nullptr) return;
  PixelRegion region;
  if (!PlaceRegion(*object, play.graphics.Place(), &region)) {
    play.graphics.Surface().Fail();
    return;
  }
  PlusPaint paint(play.graphics);
  cairo_t* cr = paint.Cairo();
  cairo_new_path(cr);
  region.AddTo(cr, View(cr));
  if (!paint.Source(*brush)) return;
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_fill(cr);
}

void PlayFillPath(PlusPlayback& play, const PlusRecord& record) {
  const PlusPath* path = play.objects.Path(record.Slot());
  if (path == nullptr) return;
  Path outline;
  AddPlusPath(&outline, *path, play.graphics.WorldToPicture());
  Fill(play, record, outline, false);
}

void PlayDrawPath(PlusPlayback& play, const PlusRecord& record) {
  const PlusPath* path = play.objects.Path(record.Slot());
  RecordReader r = record.Reader();
  uint32_t penSlot = r.U32(0);
  if (path == nullptr || r.Short()) return;
  Path outline;
  AddPlusPath(&outline, *path, play.graphics.WorldToPicture());
  Stroke(play, penSlot, outline);
}

void PlayFillClosedCurve(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  double tension = 0;
  std::vector<PointD> points;
  if (!ReadFloat(r, 4, &tension) || !RecordPoints(record, 8, &points) || points.size() < 3) return;
  Path outline;
  AddCardinal(&outline, play.graphics.WorldToPicture(), points, tension, true, 0, 0);
  Fill(play, record, outline, (record.flags & kWindingFill) != 0);
}

void PlayDrawClosedCurve(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  double tension = 0;
  std::vector<PointD> points;
  if (!ReadFloat(r, 0, &tension) || !RecordPoints(record, 4, &points) || points.size() < 2) return;
  Path outline;
  AddCardinal(&outline, play.graphics.WorldToPicture(), points, tension, true, 0, 0);
  Stroke(play, record.Slot(), outline);
}

void PlayDrawCurve(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  double tension = 0;
  size_t offset = r.U32(4), segments = r.U32(8);
  std::vector<PointD> points;
  if (r.Short() || !ReadFloat(r, 0, &tension) || !RecordPoints(record, 12, &points)) return;
  Path outline;
  AddCardinal(&outline, play.graphics.WorldToPicture(), points, tension, false, offset, segments);
  Stroke(play, record.Slot(), outline);
}

void PlayDrawBeziers(PlusPlayback& play, const PlusRecord& record) {
  std::vector<PointD> points;
  if (!RecordPoints(record, 0, &points) || points.size() < 4) return;
  Path outline;
  AddBeziers(&outline, play.graphics.WorldToPicture(), points, false);
  Stroke(play, record.Slot(), outline);
}

}  // namespace platform::metafile
