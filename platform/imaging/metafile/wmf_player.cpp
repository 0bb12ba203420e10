// The WMF records, one function each where they take more than a line.
#include "platform/imaging/metafile/wmf_player.h"

#include <memory>
#include <vector>

#include "platform/imaging/metafile/blit.h"
#include "platform/imaging/metafile/dib.h"
#include "platform/imaging/metafile/flood_fill.h"
#include "platform/imaging/metafile/record_reader.h"
#include "platform/imaging/metafile/record_walk.h"
#include "platform/imaging/metafile/region_paint.h"
#include "platform/imaging/metafile/text.h"
#include "platform/imaging/metafile/wmf_raster_records.h"

namespace platform::metafile {

namespace {

// Function numbers of the records played.
enum : uint32_t {
  kEof = 0x0000,
  kSaveDc = 0x001E,
  kSetBkMode = 0x0102,
  kSetMapMode = 0x0103,
  kSetPolyFillMode = 0x0106,
  kRestoreDc = 0x0127,
  kInvertRegion = 0x012A,
  kPaintRegion = 0x012B,
  kSelectClipRegion = 0x012C,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kDibCreatePatternBrush = 0x0142,
  kDeleteObject = 0x01F0,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kSetViewportOrg = 0x020D,
  kSetViewportExt = 0x020E,
  kOffsetWindowOrg = 0x020F,
  kOffsetViewportOrg = 0x0211,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kOffsetClipRgn = 0x0220,
  kFillRegion = 0x0228,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kScaleWindowExt = 0x0410,
  kScaleViewportExt = 0x0412,
  kExcludeClipRect = 0x0415,
  kIntersectClipRect = 0x0416,
  kEllipse = 0x0418,
  kFloodFill = 0x0419,
  kRectangle = 0x041B,
  kSetPixel = 0x041F,
  kFrameRegion = 0x0429,
  kTextOut = 0x0521,
  kPolyPolygon = 0x0538,
  kExtFloodFill = 0x0548,
  kRoundRect = 0x061C,
  kPatBlt = 0x061D,
  kCreateRegion = 0x06FF,
  kArc = 0x0817,
  kPie = 0x081A,
  kChord = 0x0830,
  kDibBitBlt = 0x0940,
  kExtTextOut = 0x0A32,
  kDibStretchBlt = 0x0B41,
  kStretchDib = 0x0F43,
};

constexpr size_t kParams = 6;  // size and function come first

// Point pairs (x, y) of 16-bit numbers.
std::vector<PointD> Points(RecordReader& r, size_t at, size_t count) {
  std::vector<PointD> points;
  if (!r.Has(at, count * 4)) return points;
  points.reserve(count);
  for (size_t i = 0; i < count; ++i)
    points.push_back({double(r.S16(at + i * 4)), double(r.S16(at + i * 4 + 2))});
  return points;
}

void CreatePen(Canvas& canvas, RecordReader& r) {
  GdiObject object;
  object.kind = ObjectKind::Pen;
  uint32_t style = r.U16(kParams);
  object.pen.style = style & 0x0F;
  object.pen.cap = style & 0x0F00;
  object.pen.join = style & 0xF000;
  object.pen.width = r.S16(kParams + 2);
  if (object.pen.width < 0) object.pen.width = -object.pen.width;
  object.pen.color = ColorOf(r.U32(kParams + 6));
  if (!r.Short()) canvas.AddObject(object);
}

void CreateBrush(Canvas& canvas, RecordReader& r) {
  GdiObject object;
  object.kind = ObjectKind::Brush;
  object.brush.style = r.U16(kParams);
  object.brush.color = ColorOf(r.U32(kParams + 2));
  object.brush.hatch = r.U16(kParams + 6);
  // Pattern brushes of this record refer to memory the file does not hold: drawn solid.
  if (object.brush.style != kBrushSolid && object.brush.style != kBrushNull &&
      object.brush.style != kBrushHatched)
    object.brush.style = kBrushSolid;
  if (!r.Short()) canvas.AddObject(object);
}

void CreateFont(Canvas& canvas, RecordReader& r) {
  GdiObject object;
  object.kind = ObjectKind::Font;
  Font& font = object.font;
  font.height = r.S16(kParams);
  font.width = r.S16(kParams + 2);
  font.escapement = r.S16(kParams + 4);
  font.weight = r.S16(kParams + 8);
  font.italic = r.U8(kParams + 10) != 0;
  font.underline = r.U8(kParams + 11) != 0;
  font.strikeOut = r.U8(kParams + 12) != 0;
  font.charset = r.U8(kParams + 13);
  if (r.Short()) return;
  // The face: up to 32 bytes in the font's own code page, ended by a zero one.
  size_t length = 0;
  while (kParams + 18 + length < r.Size() && length < 32 && r.U8(kParams + 18 + length) != 0)
    ++length;
  std::vector<double> none;
  uint8_t charset = font.charset == kCharsetSymbol ? uint8_t{kCharsetAnsi} : font.charset;
  font.face = Utf8(CharsetText(r.Bytes(kParams + 18, length), length, charset, &none));
  canvas.AddObject(object);
}

// A region as its scans' rectangles: after a header of seven words and the bounds, each scan has a
// count of edges, top and bottom, the edges in pairs, and the count again.
void CreateRegion(Canvas& canvas, RecordReader& r) {
  GdiObject object;
  object.kind = ObjectKind::Region;
  size_t scans = r.U16(kParams + 10);
  size_t at = kParams + 22;
  for (size_t s = 0; s < scans && r.Has(at, 6); ++s) {
    size_t edges = r.U16(at);
    int32_t top = r.S16(at + 2), bottom = r.S16(at + 4);
    if (!r.Has(at + 6, edges * 2 + 2)) break;
    for (size_t e = 0; e + 1 < edges; e += 2)
      object.region.rects.insert(object.region.rects.end(),
                                 {r.S16(at + 6 + e * 2), top, r.S16(at + 8 + e * 2), bottom});
    at += 6 + edges * 2 + 2;
  }
  canvas.AddObject(object);
}

void DibPatternBrush(Canvas& canvas, RecordReader& r) {
  GdiObject object;
  object.kind = ObjectKind::Brush;
  object.brush.style = kBrushNull;
  uint32_t usage = r.U16(kParams + 2);
  size_t dibSize = r.Size() > kParams + 4 ? r.Size() - kParams - 4 : 0;
  const uint8_t* dib = r.Bytes(kParams + 4, dibSize);
  size_t infoSize = dib != nullptr ? DibInfoSize(dib, dibSize, usage) : 0;
  DibPixels pixels;
  constexpr int64_t kLargestPattern = 1 << 16;
  if (infoSize > 0 &&
      DecodeDib(dib, infoSize, dib + infoSize, dibSize - infoSize, usage, &pixels, false,
                canvas.State().palette.get()) &&
      static_cast<int64_t>(pixels.width) * pixels.height <= kLargestPattern) {
    auto bits = std::make_shared<PatternBits>();
    bits->width = pixels.width;
    bits->height = pixels.height;
    bits->pixels.assign(pixels.pixels,
                        pixels.pixels + static_cast<size_t>(pixels.width) * pixels.height);
    object.brush.style = kBrushPattern;
    object.brush.pattern = bits;
  }
  // The object takes its entry even when its picture cannot be read, as selecting it refers to it.
  canvas.AddObject(object);
}

// A bitmap record: the raster operation, the source and destination rectangles and the packed
// bitmap at dibAt, each WMF record placing them differently.
void Bitmap(Canvas& canvas, RecordReader& r, uint32_t rop, BlitArea area, size_t dibAt,
            uint32_t usage) {
  if (dibAt >= r.Size()) {
    FillArea(canvas, area.x, area.y, area.w, area.h, rop);
    return;
  }
  size_t dibSize = r.Size() - dibAt;
  const uint8_t* dib = r.Bytes(dibAt, dibSize);
  size_t infoSize = DibInfoSize(dib, dibSize, usage);
  DibPixels pixels;
  if (infoSize == 0 || !DecodeDib(dib, infoSize, dib + infoSize, dibSize - infoSize, usage, &pixels,
                                  false, canvas.State().palette.get()))
    return;
  if (area.srcW == 0 || area.srcH == 0) area.srcW = pixels.width, area.srcH = pixels.height;
  // Source rows count from the bottom of a bitmap stored bottom row first.
  if (pixels.bottomUp) area.srcY = pixels.height - area.srcY - area.srcH;
  DrawBitmap(canvas, pixels, area, rop);
}

void TextOut(Canvas& canvas, RecordReader& r) {
  size_t length = r.U16(kParams);
  size_t padded = (length + 1) / 2 * 2;
  TextRun run;
  const uint8_t* text = r.Bytes(kParams + 2, length);
  run.y = r.S16(kParams + 2 + padded);
  run.x = r.S16(kParams + 4 + padded);
  if (r.Short() || text == nullptr) return;
  run.text = CharsetText(text, length, canvas.State().font.charset, &run.dx);
  DrawText(canvas, run);
}

void ExtTextOut(Canvas& canvas, RecordReader& r) {
  constexpr uint32_t kGlyphIndex = 0x10, kNoRect = 0x100;
  TextRun run;
  run.y = r.S16(kParams);
  run.x = r.S16(kParams + 2);
  size_t length = r.U16(kParams + 4);
  run.options = r.U16(kParams + 6);
  size_t at = kParams + 8;
  // The box is there when the options use it; one that says the record has none fills and clips
  // nothing.
  if (run.options & 6) {
    run.hasBox = (run.options & kNoRect) == 0;
    for (int i = 0; i < 4; ++i) run.box[i] = r.S16(at + i * 2);
    at += 8;
  }
  const uint8_t* text = r.Bytes(at, length);
  // Glyph numbers in 8-bit text name glyphs of the writer's font: passed over.
  if (r.Short() || text == nullptr || (run.options & kGlyphIndex)) return;
  at += (length + 1) / 2 * 2;
  if (r.Has(at, length * 2))
    for (size_t i = 0; i < length; ++i) run.dx.push_back(r.S16(at + i * 2));
  run.text = CharsetText(text, length, canvas.State().font.charset, &run.dx);
  DrawText(canvas, run);
}

void PolyPolygon(Canvas& canvas, RecordReader& r) {
  size_t polygons = r.U16(kParams);
  std::vector<uint32_t> counts;
  size_t total = 0;
  if (!r.Has(kParams + 2, polygons * 2)) return;
  for (size_t i = 0; i < polygons; ++i) {
    counts.push_back(r.U16(kParams + 2 + i * 2));
    total += counts.back();
  }
  std::vector<PointD> points = Points(r, kParams + 2 + polygons * 2, total);
  if (points.size() == total) canvas.PolyPolygon(points, counts, true);
}

// The object of kind at the table's entry index, or null.
const GdiObject* ObjectOf(Canvas& canvas, uint32_t index, ObjectKind kind) {
  const GdiObject* object = canvas.Object(index);
  return object != nullptr && object->kind == kind ? object : nullptr;
}

// The records that draw with a region of the table: filled with a brush of the table or the
// selected one, framed, inverted.
void RegionRecord(Canvas& canvas, uint32_t function, RecordReader& r) {
  const GdiObject* region = ObjectOf(canvas, r.U16(kParams), ObjectKind::Region);
  if (region == nullptr || r.Short()) return;
  const std::vector<int32_t>& rects = region->region.rects;
  if (function == kPaintRegion) canvas.FillRegion(rects, canvas.State().brush);
  if (function == kInvertRegion) InvertRegion(canvas, rects);
  if (function != kFillRegion && function != kFrameRegion) return;
  const GdiObject* brush = ObjectOf(canvas, r.U16(kParams + 2), ObjectKind::Brush);
  double height = r.S16(kParams + 4), width = r.S16(kParams + 6);
  if (brush == nullptr) return;
  if (function == kFillRegion) canvas.FillRegion(rects, brush->brush);
  if (function == kFrameRegion && !r.Short())
    FrameRegion(canvas, rects, brush->brush, width, height);
}

void ScaleExtent(double* x, double* y, RecordReader& r) {
  double yDenom = r.S16(kParams), yNum = r.S16(kParams + 2);
  double xDenom = r.S16(kParams + 4), xNum = r.S16(kParams + 6);
  if (r.Short() || xDenom == 0 || yDenom == 0 || xNum == 0 || yNum == 0) return;
  *x = *x * xNum / xDenom;
  *y = *y * yNum / yDenom;
}

void Play(Canvas& canvas, uint32_t function, RecordReader& r) {
  DcState& state = canvas.State();
  Mapping& map = state.mapping;
  auto p = [&r](size_t i) { return static_cast<double>(r.S16(kParams + i * 2)); };
  switch (function) {
    case kSaveDc: canvas.Save(); break;
    case kRestoreDc: canvas.Restore(r.S16(kParams)); break;
    case kSetBkMode: state.opaqueBack = r.U16(kParams) == 2; break;
    case kSetMapMode:
      if (uint32_t mode = r.U16(kParams); mode >= kMapText && mode <= kMapAnisotropic)
        map.mode = static_cast<int>(mode);
      break;
    case kSetPolyFillMode: state.windingFill = r.U16(kParams) == 2; break;
    case kSetTextAlign: state.textAlign = r.U16(kParams); break;
    case kSetBkColor: state.backColor = canvas.Resolved(ColorOf(r.U32(kParams))); break;
    case kSetTextColor: state.textColor = canvas.Resolved(ColorOf(r.U32(kParams))); break;
    case kSetWindowOrg: map.windowOrgY = p(0), map.windowOrgX = p(1); break;
    case kSetViewportOrg: map.viewportOrgY = p(0), map.viewportOrgX = p(1); break;
    case kSetWindowExt:
      if (p(0) != 0 && p(1) != 0) map.windowExtY = p(0), map.windowExtX = p(1);
      break;
    case kSetViewportExt:
      if (p(0) != 0 && p(1) != 0) map.viewportExtY = p(0), map.viewportExtX = p(1);
      break;
    case kOffsetWindowOrg: map.windowOrgY += p(0), map.windowOrgX += p(1); break;
    case kOffsetViewportOrg: map.viewportOrgY += p(0), map.viewportOrgX += p(1); break;
    case kScaleWindowExt: ScaleExtent(&map.windowExtX, &map.windowExtY, r); break;
    case kScaleViewportExt: ScaleExtent(&map.viewportExtX, &map.viewportExtY, r); break;
    case kCreatePenIndirect: CreatePen(canvas, r); break;
    case kCreateBrushIndirect: CreateBrush(canvas, r); break;
    case kCreateFontIndirect: CreateFont(canvas, r); break;
    case kCreateRegion: CreateRegion(canvas, r); break;
    case kDibCreatePatternBrush: DibPatternBrush(canvas, r); break;
    case kSelectObject: canvas.SelectObject(r.U16(kParams)); break;
    case kSelectClipRegion: canvas.SelectObject(r.U16(kParams)); break;
    case kPaintRegion:
    case kInvertRegion:
    case kFillRegion:
    case kFrameRegion: RegionRecord(canvas, function, r); break;
    case kFloodFill:
    case kExtFloodFill: {
      // FloodFill: colour, y, x; ExtFloodFill: the mode first.
      size_t at = function == kFloodFill ? 0 : 1;
      FloodMode mode = at == 1 && r.U16(kParams) == 1 ? FloodMode::Surface : FloodMode::Border;
      Color color = ColorOf(r.U32(kParams + at * 2));
      double y = p(at + 2), x = p(at + 3);
      if (!r.Short()) FloodFill(canvas, x, y, color, mode);
      break;
    }
    case kDeleteObject: canvas.DeleteObject(r.U16(kParams)); break;
    case kMoveTo: canvas.MoveTo(p(1), p(0)); break;
    case kLineTo: canvas.LineTo(p(1), p(0)); break;
    case kRectangle: canvas.Rectangle(p(3), p(2), p(1), p(0)); break;
    case kEllipse: canvas.Ellipse(p(3), p(2), p(1), p(0)); break;
    case kRoundRect: canvas.RoundRect(p(5), p(4), p(3), p(2), p(1), p(0)); break;
    case kArc:
    case kChord:
    case kPie: {
      ArcKind kind = function == kArc     ? ArcKind::Arc
                     : function == kChord ? ArcKind::Chord
                                          : ArcKind::Pie;
      canvas.ArcShape(kind, p(7), p(6), p(5), p(4), {p(3), p(2)}, {p(1), p(0)});
      break;
    }
    case kPolygon: canvas.Polygon(Points(r, kParams + 2, r.U16(kParams))); break;
    case kPolyline: canvas.Polyline(Points(r, kParams + 2, r.U16(kParams))); break;
    case kPolyPolygon: PolyPolygon(canvas, r); break;
    case kSetPixel: canvas.SetPixel(p(3), p(2), ColorOf(r.U32(kParams))); break;
    case kExcludeClipRect: canvas.ExcludeClip(p(3), p(2), p(1), p(0)); break;
    case kIntersectClipRect: canvas.IntersectClip(p(3), p(2), p(1), p(0)); break;
    case kOffsetClipRgn: canvas.OffsetClip(p(1), p(0)); break;
    case kTextOut: TextOut(canvas, r); break;
    case kExtTextOut: ExtTextOut(canvas, r); break;
    case kPatBlt: FillArea(canvas, p(5), p(4), p(3), p(2), r.U32(kParams)); break;
    case kDibBitBlt: {
      // Without a bitmap the record has one more word before the destination.
      bool withBitmap = r.Size() > kParams + 18;
      size_t d = withBitmap ? 0 : 1;
      // The bitmap holds the source area: all of it goes on the destination.
      BlitArea area{p(d + 7), p(d + 6), p(d + 5), p(d + 4), 0, 0, 0, 0};
      Bitmap(canvas, r, r.U32(kParams), area, withBitmap ? kParams + 16 : r.Size(), 0);
      break;
    }
    case kDibStretchBlt: {
      bool withBitmap = r.Size() > kParams + 22;
      size_t d = withBitmap ? 0 : 1;
      BlitArea area{p(d + 9), p(d + 8), p(d + 7), p(d + 6), p(5), p(4), p(3), p(2)};
      Bitmap(canvas, r, r.U32(kParams), area, withBitmap ? kParams + 20 : r.Size(), 0);
      break;
    }
    case kStretchDib: {
      BlitArea area{p(10), p(9), p(8), p(7), p(6), p(5), p(4), p(3)};
      Bitmap(canvas, r, r.U32(kParams), area, kParams + 22, r.U16(kParams + 4));
      break;
    }
    default: break;
  }
}

}  // namespace

void PlayWmf(Canvas& canvas, const uint8_t* data, size_t size) {
  ForEachRecord(canvas.Head(), data, size, [&canvas](const RecordSpan& record) {
    RecordReader reader(record.data, record.size);
    if (!PlayWmfRasterRecord(canvas, record.type, reader)) Play(canvas, record.type, reader);
  });
}

}  // namespace platform::metafile
