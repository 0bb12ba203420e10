// The EMF records, one function each where they take more than a line.
#include "platform/imaging/metafile/emf_player.h"

#include <cmath>
#include <memory>
#include <vector>

#include "platform/imaging/metafile/blit.h"
#include "platform/imaging/metafile/dib.h"
#include "platform/imaging/metafile/emf_raster_records.h"
#include "platform/imaging/metafile/emf_text.h"
#include "platform/imaging/metafile/flood_fill.h"
#include "platform/imaging/metafile/gradient_fill.h"
#include "platform/imaging/metafile/record_reader.h"
#include "platform/imaging/metafile/record_walk.h"
#include "platform/imaging/metafile/region_paint.h"
#include "platform/imaging/metafile/text.h"

namespace platform::metafile {

namespace {

enum : uint32_t {
  kPolyBezier = 2,
  kPolygon = 3,
  kPolyline = 4,
  kPolyBezierTo = 5,
  kPolylineTo = 6,
  kPolyPolyline = 7,
  kPolyPolygon = 8,
  kSetWindowExt = 9,
  kSetWindowOrg = 10,
  kSetViewportExt = 11,
  kSetViewportOrg = 12,
  kSetBrushOrg = 13,
  kEof = 14,
  kSetPixel = 15,
  kSetMapMode = 17,
  kSetBkMode = 18,
  kSetPolyFillMode = 19,
  kSetTextAlign = 22,
  kSetTextColor = 24,
  kSetBkColor = 25,
  kOffsetClipRgn = 26,
  kMoveTo = 27,
  kExcludeClipRect = 29,
  kIntersectClipRect = 30,
  kScaleViewportExt = 31,
  kScaleWindowExt = 32,
  kSaveDc = 33,
  kRestoreDc = 34,
  kSetWorldTransform = 35,
  kModifyWorldTransform = 36,
  kSelectObject = 37,
  kCreatePen = 38,
  kCreateBrush = 39,
  kDeleteObject = 40,
  kAngleArc = 41,
  kEllipse = 42,
  kRectangle = 43,
  kRoundRect = 44,
  kArc = 45,
  kChord = 46,
  kPie = 47,
  kExtFloodFill = 53,
  kLineTo = 54,
  kArcTo = 55,
  kPolyDraw = 56,
  kSetArcDirection = 57,
  kSetMiterLimit = 58,
  kBeginPath = 59,
  kEndPath = 60,
  kCloseFigure = 61,
  kFillPath = 62,
  kStrokeAndFillPath = 63,
  kStrokePath = 64,
  kSelectClipPath = 67,
  kAbortPath = 68,
  kComment = 70,
  kFillRgn = 71,
  kFrameRgn = 72,
  kInvertRgn = 73,
  kPaintRgn = 74,
  kExtSelectClipRgn = 75,
  kBitBlt = 76,
  kStretchBlt = 77,
  kStretchDiBits = 81,
  kCreateFont = 82,
  kTextOutA = 83,
  kTextOutW = 84,
  kPolyBezier16 = 85,
  kPolygon16 = 86,
  kPolyline16 = 87,
  kPolyBezierTo16 = 88,
  kPolylineTo16 = 89,
  kPolyPolyline16 = 90,
  kPolyPolygon16 = 91,
  kPolyDraw16 = 92,
  kCreateMonoBrush = 93,
  kCreateDibPatternBrush = 94,
  kExtCreatePen = 95,
  kPolyTextOutA = 96,
  kPolyTextOutW = 97,
  kSmallTextOut = 108,
  kAlphaBlend = 114,
  kGradientFill = 118,
};

// Points of the record at at: pairs of 32-bit or 16-bit numbers.
std::vector<PointD> Points(RecordReader& r, size_t at, size_t count, bool small) {
  std::vector<PointD> points;
  size_t each = small ? 4 : 8;
  if (count > r.Size() / each || !r.Has(at, count * each)) return points;
  points.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    size_t p = at + i * each;
    points.push_back(small ? PointD{double(r.S16(p)), double(r.S16(p + 2))}
                           : PointD{double(r.S32(p)), double(r.S32(p + 4))});
  }
  return points;
}

// The point records: bounds, a count, then the points.
std::vector<PointD> PolyPoints(RecordReader& r, bool small) {
  return Points(r, 28, r.U32(24), small);
}

void PolyPoly(Canvas& canvas, RecordReader& r, bool small, bool closed) {
  size_t figures = r.U32(24), total = r.U32(28);
  if (figures > r.Size() / 4 || !r.Has(32, figures * 4)) return;
  std::vector<uint32_t> counts;
  uint64_t sum = 0;
  for (size_t i = 0; i < figures; ++i) {
    counts.push_back(r.U32(32 + i * 4));
    sum += counts.back();
  }
  if (sum != total) return;
  std::vector<PointD> points = Points(r, 32 + figures * 4, total, small);
  if (points.size() == total) canvas.PolyPolygon(points, counts, closed);
}

// PolyDraw: bounds, a count, the points, then a type byte for each.
void PolyDraw(Canvas& canvas, RecordReader& r, bool small) {
  size_t count = r.U32(24);
  std::vector<PointD> points = Points(r, 28, count, small);
  const uint8_t* types =
      points.size() == count ? r.Bytes(28 + count * (small ? 4 : 8), count) : nullptr;
  if (r.Short() || types == nullptr) return;
  canvas.PolyDraw(points, std::vector<uint8_t>(types, types + count));
}

void CreatePen(Canvas& canvas, RecordReader& r) {
  GdiObject object;
  object.kind = ObjectKind::Pen;
  uint32_t style = r.U32(12);
  object.pen.style = style & 0x0F;
  object.pen.cap = style & 0x0F00;
  object.pen.join = style & 0xF000;
  object.pen.width = r.S32(16);
  if (object.pen.width < 0) object.pen.width = -object.pen.width;
  object.pen.color = ColorOf(r.U32(24));
  if (!r.Short()) canvas.PutObject(r.U32(8), object);
}

void ExtCreatePen(Canvas& canvas, RecordReader& r) {
  GdiObject object;
  object.kind = ObjectKind::Pen;
  Pen& pen = object.pen;
  uint32_t style = r.U32(28);
  pen.style = style & 0x0F;
  pen.cap = style & 0x0F00;
  pen.join = style & 0xF000;
  pen.geometric = (style & 0x000F0000) == 0x00010000;
  pen.width = pen.geometric ? r.U32(32) : 0;
  // A pen with a null brush draws nothing.
  if (r.U32(36) == kBrushNull) pen.style = kPenNull;
  pen.color = ColorOf(r.U32(40));
  // GDI refuses a style of more than 16 lengths, and then makes no pen.
  constexpr size_t kMostStyleLengths = 16;
  size_t entries = r.U32(48);
  if (r.Short() || entries > kMostStyleLengths || !r.Has(52, entries * 4)) return;
  for (size_t i = 0; i < entries; ++i) pen.dashes.push_back(r.U32(52 + i * 4));
  canvas.PutObject(r.U32(8), object);
}

void CreateBrush(Canvas& canvas, RecordReader& r) {
  GdiObject object;
  object.kind = ObjectKind::Brush;
  object.brush.style = r.U32(12);
  object.brush.color = ColorOf(r.U32(16));
  object.brush.hatch = r.U32(20);
  if (object.brush.style != kBrushSolid && object.brush.style != kBrushNull &&
      object.brush.style != kBrushHatched)
    object.brush.style = kBrushSolid;
  if (!r.Short()) canvas.PutObject(r.U32(8), object);
}

void DibPatternBrush(Canvas& canvas, RecordReader& r, bool mono) {
  GdiObject object;
  object.kind = ObjectKind::Brush;
  object.brush.style = kBrushNull;
  DibPixels pixels;
  constexpr int64_t kLargestPattern = 1 << 16;
  if (RecordDib(canvas, r, 16, mono ? 0 : r.U32(12), &pixels) &&
      static_cast<int64_t>(pixels.width) * pixels.height <= kLargestPattern) {
    auto bits = std::make_shared<PatternBits>();
    bits->width = pixels.width;
    bits->height = pixels.height;
    bits->pixels.assign(pixels.pixels,
                        pixels.pixels + static_cast<size_t>(pixels.width) * pixels.height);
    object.brush.style = kBrushPattern;
    object.brush.pattern = bits;
  }
  canvas.PutObject(r.U32(8), object);
}

void CreateFont(Canvas& canvas, RecordReader& r) {
  GdiObject object;
  object.kind = ObjectKind::Font;
  Font& font = object.font;
  font.height = r.S32(12);
  font.width = r.S32(16);
  font.escapement = r.S32(20);
  font.weight = r.S32(28);
  font.italic = r.U8(32) != 0;
  font.underline = r.U8(33) != 0;
  font.strikeOut = r.U8(34) != 0;
  font.charset = r.U8(35);
  if (r.Short()) return;
  // The face: up to 32 UTF-16 units, ended by a zero one.
  size_t units = 0;
  while (units < 32 && r.Has(40 + units * 2, 2) && r.U16(40 + units * 2) != 0) ++units;
  std::vector<double> none;
  font.face = Utf8(Utf16Text(r.Bytes(40, units * 2), units, &none));
  canvas.PutObject(r.U32(8), object);
}

void Blit(Canvas& canvas, RecordReader& r, bool stretch) {
  BlitArea area{
      double(r.S32(24)), double(r.S32(28)), double(r.S32(32)), double(r.S32(36)), 0, 0, 0, 0};
  uint32_t rop = r.U32(40);
  if (r.Short()) return;
  DibPixels pixels;
  if (r.U32(88) == 0) {  // no bitmap: the operation on its own
    FillArea(canvas, area.x, area.y, area.w, area.h, rop);
    return;
  }
  if (!RecordDib(canvas, r, 84, r.U32(80), &pixels)) return;
  // The bitmap holds the source area only: BitBlt puts the whole of it on the destination.
  area.srcW = stretch ? r.S32(100) : pixels.width;
  area.srcH = stretch ? r.S32(104) : pixels.height;
  if (r.Short() || area.srcW <= 0 || area.srcH <= 0) return;
  DrawBitmap(canvas, pixels, area, rop);
}

// AlphaBlend: StretchBlt's fields, with the blend function in place of the raster operation: a
// constant opacity, and whether the bitmap's 32-bit pixels carry premultiplied alpha.
void AlphaBlend(Canvas& canvas, RecordReader& r) {
  BlitArea area{double(r.S32(24)), double(r.S32(28)), double(r.S32(32)),  double(r.S32(36)),
                double(r.S32(44)), double(r.S32(48)), double(r.S32(100)), double(r.S32(104))};
  double opacity = r.U8(42) / 255.0;
  bool alpha = (r.U8(43) & 1) != 0;
  DibPixels pixels;
  if (r.Short() || !RecordDib(canvas, r, 84, r.U32(80), &pixels, alpha)) return;
  if (pixels.bottomUp) area.srcY = pixels.height - area.srcY - area.srcH;
  BlendBitmap(canvas, pixels, area, opacity);
}

void StretchDiBits(Canvas& canvas, RecordReader& r) {
  BlitArea area{double(r.S32(24)), double(r.S32(28)), double(r.S32(72)), double(r.S32(76)),
                double(r.S32(32)), double(r.S32(36)), double(r.S32(40)), double(r.S32(44))};
  uint32_t rop = r.U32(68);
  DibPixels pixels;
  if (r.Short() || !RecordDib(canvas, r, 48, r.U32(64), &pixels)) return;
  // Source rows count from the bottom of the bitmap.
  if (pixels.bottomUp) area.srcY = pixels.height - area.srcY - area.srcH;
  DrawBitmap(canvas, pixels, area, rop);
}

// A region's rectangles after its 32-byte header, in device units.
std::vector<int32_t> RegionRects(RecordReader& r, size_t at, size_t dataSize) {
  std::vector<int32_t> rects;
  size_t count = r.U32(at + 8);
  if (dataSize < 32 || count > (dataSize - 32) / 16 || !r.Has(at + 32, count * 16)) return rects;
  for (size_t i = 0; i < count * 4; ++i) rects.push_back(r.S32(at + 32 + i * 4));
  return rects;
}

// FrameRgn: the region's border painted with a brush of the table or a stock one, the given
// width and height thick (logical units).
void FrameRgn(Canvas& canvas, RecordReader& r) {
  size_t dataSize = r.U32(24);
  uint32_t index = r.U32(28);
  double width = r.S32(32), height = r.S32(36);
  GdiObject stock;
  const GdiObject* brush = canvas.Object(index);
  if (brush == nullptr && StockObject(index, &stock)) brush = &stock;
  if (r.Short() || brush == nullptr || brush->kind != ObjectKind::Brush || dataSize > r.Size())
    return;
  FrameRegion(canvas, RegionRects(r, 40, dataSize), brush->brush, width, height);
}

void WorldTransform(Mapping& map, RecordReader& r, uint32_t mode) {
  cairo_matrix_t x;
  cairo_matrix_init(&x, r.F32(8), r.F32(12), r.F32(16), r.F32(20), r.F32(24), r.F32(28));
  if (r.Short()) return;
  for (double v : {x.xx, x.yx, x.xy, x.yy, x.x0, x.y0})
    if (!std::isfinite(v)) return;
  switch (mode) {
    case 1: cairo_matrix_init_identity(&map.world); break;
    case 2: cairo_matrix_multiply(&map.world, &x, &map.world); break;  // x first
    case 3: cairo_matrix_multiply(&map.world, &map.world, &x); break;  // x last
    case 4: map.world = x; break;
    default: break;
  }
}

void ScaleExtent(double* x, double* y, RecordReader& r) {
  double xNum = r.S32(8), xDenom = r.S32(12), yNum = r.S32(16), yDenom = r.S32(20);
  if (r.Short() || xDenom == 0 || yDenom == 0 || xNum == 0 || yNum == 0) return;
  *x = *x * xNum / xDenom;
  *y = *y * yNum / yDenom;
}

void Play(Canvas& canvas, uint32_t type, RecordReader& r) {
  DcState& state = canvas.State();
  Mapping& map = state.mapping;
  auto v = [&r](size_t i) { return static_cast<double>(r.S32(8 + i * 4)); };
  switch (type) {
    case kPolyBezier: canvas.PolyBezier(PolyPoints(r, false)); break;
    case kPolyBezier16: canvas.PolyBezier(PolyPoints(r, true)); break;
    case kPolygon: canvas.Polygon(PolyPoints(r, false)); break;
    case kPolygon16: canvas.Polygon(PolyPoints(r, true)); break;
    case kPolyline: canvas.Polyline(PolyPoints(r, false)); break;
    case kPolyline16: canvas.Polyline(PolyPoints(r, true)); break;
    case kPolyBezierTo: canvas.PolyBezierTo(PolyPoints(r, false)); break;
    case kPolyBezierTo16: canvas.PolyBezierTo(PolyPoints(r, true)); break;
    case kPolylineTo: canvas.PolylineTo(PolyPoints(r, false)); break;
    case kPolylineTo16: canvas.PolylineTo(PolyPoints(r, true)); break;
    case kPolyPolyline: PolyPoly(canvas, r, false, false); break;
    case kPolyPolyline16: PolyPoly(canvas, r, true, false); break;
    case kPolyPolygon: PolyPoly(canvas, r, false, true); break;
    case kPolyPolygon16: PolyPoly(canvas, r, true, true); break;
    case kSetWindowExt:
      if (v(0) != 0 && v(1) != 0) map.windowExtX = v(0), map.windowExtY = v(1);
      break;
    case kSetViewportExt:
      if (v(0) != 0 && v(1) != 0) map.viewportExtX = v(0), map.viewportExtY = v(1);
      break;
    case kSetWindowOrg: map.windowOrgX = v(0), map.windowOrgY = v(1); break;
    case kSetViewportOrg: map.viewportOrgX = v(0), map.viewportOrgY = v(1); break;
    case kScaleViewportExt: ScaleExtent(&map.viewportExtX, &map.viewportExtY, r); break;
    case kScaleWindowExt: ScaleExtent(&map.windowExtX, &map.windowExtY, r); break;
    case kSetMapMode:
      if (uint32_t mode = r.U32(8); mode >= kMapText && mode <= kMapAnisotropic)
        map.mode = static_cast<int>(mode);
      break;
    case kSetBkMode: state.opaqueBack = r.U32(8) == 2; break;
    case kSetPolyFillMode: state.windingFill = r.U32(8) == 2; break;
    case kSetTextAlign: state.textAlign = r.U32(8); break;
    case kSetTextColor: state.textColor = canvas.Resolved(ColorOf(r.U32(8))); break;
    case kSetBkColor: state.backColor = canvas.Resolved(ColorOf(r.U32(8))); break;
    case kSetArcDirection: state.clockwise = r.U32(8) == 2; break;
    case kSetMiterLimit: state.miterLimit = r.U32(8); break;
    case kSetBrushOrg: {
      // Device units; hatches and patterns are laid from there.
      const Header& head = canvas.Head();
      state.brushOriginX = v(0) * head.scaleX, state.brushOriginY = v(1) * head.scaleY;
      break;
    }
    case kSetPixel: canvas.SetPixel(v(0), v(1), ColorOf(r.U32(16))); break;
    case kMoveTo: canvas.MoveTo(v(0), v(1)); break;
    case kLineTo: canvas.LineTo(v(0), v(1)); break;
    case kExcludeClipRect: canvas.ExcludeClip(v(0), v(1), v(2), v(3)); break;
    case kIntersectClipRect: canvas.IntersectClip(v(0), v(1), v(2), v(3)); break;
    case kOffsetClipRgn: canvas.OffsetClip(v(0), v(1)); break;
    case kSaveDc: canvas.Save(); break;
    case kRestoreDc: canvas.Restore(r.S32(8)); break;
    case kSetWorldTransform: WorldTransform(map, r, 4); break;
    case kModifyWorldTransform: WorldTransform(map, r, r.U32(32)); break;
    case kSelectObject: canvas.SelectObject(r.U32(8)); break;
    case kDeleteObject: canvas.DeleteObject(r.U32(8)); break;
    case kCreatePen: CreatePen(canvas, r); break;
    case kExtCreatePen: ExtCreatePen(canvas, r); break;
    case kCreateBrush: CreateBrush(canvas, r); break;
    case kCreateDibPatternBrush: DibPatternBrush(canvas, r, false); break;
    case kCreateMonoBrush: DibPatternBrush(canvas, r, true); break;
    case kCreateFont: CreateFont(canvas, r); break;
    case kEllipse: canvas.Ellipse(v(0), v(1), v(2), v(3)); break;
    case kRectangle: canvas.Rectangle(v(0), v(1), v(2), v(3)); break;
    case kRoundRect: canvas.RoundRect(v(0), v(1), v(2), v(3), v(4), v(5)); break;
    case kArc:
    case kChord:
    case kPie: {
      ArcKind kind = type == kArc ? ArcKind::Arc : type == kChord ? ArcKind::Chord : ArcKind::Pie;
      canvas.ArcShape(kind, v(0), v(1), v(2), v(3), {v(4), v(5)}, {v(6), v(7)});
      break;
    }
    case kArcTo: canvas.ArcTo(v(0), v(1), v(2), v(3), {v(4), v(5)}, {v(6), v(7)}); break;
    case kAngleArc: {
      PointD centre{v(0), v(1)};
      double radius = r.U32(16), start = r.F32(20), sweep = r.F32(24);
      if (!r.Short()) canvas.AngleArc(centre, radius, start, sweep);
      break;
    }
    case kPolyDraw: PolyDraw(canvas, r, false); break;
    case kPolyDraw16: PolyDraw(canvas, r, true); break;
    case kBeginPath: canvas.BeginPath(); break;
    case kEndPath: canvas.EndPath(); break;
    case kCloseFigure: canvas.CloseFigure(); break;
    case kAbortPath: canvas.AbortPath(); break;
    case kFillPath: canvas.FillPath(true, false); break;
    case kStrokePath: canvas.FillPath(false, true); break;
    case kStrokeAndFillPath: canvas.FillPath(true, true); break;
    case kSelectClipPath: canvas.ClipToPath(r.U32(8)); break;
    case kExtSelectClipRgn: {
      size_t dataSize = r.U32(8);
      uint32_t mode = r.U32(12);
      if (dataSize <= r.Size()) canvas.ClipToRegion(RegionRects(r, 16, dataSize), mode);
      break;
    }
    case kFillRgn: {
      const GdiObject* brush = canvas.Object(r.U32(28));
      size_t dataSize = r.U32(24);
      if (brush != nullptr && brush->kind == ObjectKind::Brush && dataSize <= r.Size())
        canvas.FillRegion(RegionRects(r, 32, dataSize), brush->brush);
      break;
    }
    case kPaintRgn: {
      size_t dataSize = r.U32(24);
      if (dataSize <= r.Size()) canvas.FillRegion(RegionRects(r, 28, dataSize), state.brush);
      break;
    }
    case kFrameRgn: FrameRgn(canvas, r); break;
    case kExtFloodFill: {
      FloodMode mode = r.U32(20) == 1 ? FloodMode::Surface : FloodMode::Border;
      if (!r.Short()) FloodFill(canvas, v(0), v(1), ColorOf(r.U32(16)), mode);
      break;
    }
    case kInvertRgn: {
      size_t dataSize = r.U32(24);
      if (dataSize <= r.Size()) InvertRegion(canvas, RegionRects(r, 28, dataSize));
      break;
    }
    case kBitBlt: Blit(canvas, r, false); break;
    case kStretchBlt: Blit(canvas, r, true); break;
    case kStretchDiBits: StretchDiBits(canvas, r); break;
    case kAlphaBlend: AlphaBlend(canvas, r); break;
    case kGradientFill: PlayGradientFill(canvas, r); break;
    case kTextOutA: ExtTextOut(canvas, r, false); break;
    case kTextOutW: ExtTextOut(canvas, r, true); break;
    case kPolyTextOutA: PolyTextOut(canvas, r, false); break;
    case kPolyTextOutW: PolyTextOut(canvas, r, true); break;
    case kSmallTextOut: SmallTextOut(canvas, r); break;
    default: break;
  }
}

}  // namespace

void PlayEmfRecord(Canvas& canvas, const RecordSpan& record) {
  RecordReader reader(record.data, record.size);
  if (!PlayEmfRasterRecord(canvas, record.type, reader)) Play(canvas, record.type, reader);
}

void PlayEmf(Canvas& canvas, const uint8_t* data, size_t size) {
  ForEachRecord(canvas.Head(), data, size,
                [&canvas](const RecordSpan& record) { PlayEmfRecord(canvas, record); });
}

}  // namespace platform::metafile
