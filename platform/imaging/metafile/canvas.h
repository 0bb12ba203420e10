// The picture a metafile draws on: a transparent cairo image surface of the header's size, the
// device context's state with its saved copies, and the object table. The players turn records
// into calls here, in logical units; shapes are filled with the brush and outlined with the pen
// as GDI does (fill first), or gathered into the path between BeginPath and EndPath.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <map>
#include <vector>

#include "platform/imaging/metafile/dc_state.h"
#include "platform/imaging/metafile/font_faces.h"
#include "platform/imaging/metafile/gdi_objects.h"
#include "platform/imaging/metafile/metafile_header.h"
#include "platform/imaging/metafile/path.h"

namespace platform::metafile {

class Canvas {
 public:
  // Takes the picture's memory from the decode budget in force; Ready() is false when refused.
  explicit Canvas(const Header& header);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  bool Ready() const { return cr_ != nullptr; }
  // True once a shape needed more memory than the decode budget allows: the picture is refused.
  bool Failed() const { return failed_; }
  void Fail() { failed_ = true; }

  const Header& Head() const { return header_; }
  DcState& State() { return state_; }
  FontFaces& Fonts() { return fonts_; }
  cairo_t* Cairo() { return cr_; }
  // Logical units to picture pixels under the current mapping.
  cairo_matrix_t ToPicture() const { return LogicalToPicture(state_.mapping, header_); }

  // ---- state
  void Save();
  // Back to a saved state: a negative number counts back from the last one saved, a positive one
  // names a saved state by its depth. Numbers naming no saved state are ignored.
  void Restore(int32_t which);
  // States saved and not yet restored.
  size_t SavedDepth() const { return saved_.size(); }

  // ---- objects: an EMF puts them where it says, a WMF in the lowest free entry
  void PutObject(uint32_t index, const GdiObject& object);
  void AddObject(const GdiObject& object);
  // Selects the object at index (or the stock object an EMF numbers with the high bit);
  // indices that name nothing are ignored.
  void SelectObject(uint32_t index);
  void DeleteObject(uint32_t index);
  const GdiObject* Object(uint32_t index) const;

  // ---- palettes
  // Selects the palette at index (or an EMF's stock default palette); other indices are ignored.
  void SelectPalette(uint32_t index);
  // A colour as drawn now: a palette index resolved against the selected palette.
  Color Resolved(Color color) const;
  // Resolves the state's colours again, after its palette or its entries changed.
  void ResolveColors();

  // ---- shapes, in logical units
  // Fills (when closed) and outlines the shape, or adds it to the path being gathered.
  void Draw(const Path& shape, bool fill);
  void Rectangle(double l, double t, double r, double b);
  void Ellipse(double l, double t, double r, double b);
  void RoundRect(double l, double t, double r, double b, double w, double h);
  void ArcShape(ArcKind kind, double l, double t, double r, double b, PointD start, PointD end);
  void ArcTo(double l, double t, double r, double b, PointD start, PointD end);
  void Polygon(const std::vector<PointD>& points);
  void Polyline(const std::vector<PointD>& points);
  // Figures of counts[i] points each, taken in turn from points.
  void PolyPolygon(const std::vector<PointD>& points, const std::vector<uint32_t>& counts,
                   bool closed);
  void PolyBezier(const std::vector<PointD>& points);
  void PolyBezierTo(const std::vector<PointD>& points);
  void PolylineTo(const std::vector<PointD>& points);
  // PolyDraw: each point with its type (a move, a line or the three points of a curve, the last
  // one flagged to close the figure); nothing is drawn when the types do not fit that.
  void PolyDraw(const std::vector<PointD>& points, const std::vector<uint8_t>& types);
  // AngleArc: a line from the current position to the arc, angles in degrees.
  void AngleArc(PointD centre, double radius, double startDegrees, double sweepDegrees);
  void MoveTo(double x, double y);
  void LineTo(double x, double y);
  void SetPixel(double x, double y, Color color);

  // ---- paths
  void BeginPath();
  void EndPath() { gathering_ = false; }
  // True between BeginPath and EndPath, while shapes join the path instead of being drawn.
  bool Gathering() const { return gathering_; }
  // Adds an outline in picture pixels to the path; false, adding nothing, when the path would
  // take more memory than the decode budget allows.
  bool AddToPath(const Path& outline);
  void AbortPath();
  void CloseFigure();
  void FillPath(bool fill, bool stroke);
  void ClipToPath(uint32_t mode);

  // ---- clipping
  void IntersectClip(double l, double t, double r, double b);
  void ExcludeClip(double l, double t, double r, double b);
  // A region of rectangles (left, top, right, bottom) in device units combined with the clip:
  // 1 and, 4 diff, 5 copy (an empty copy is no clip); or and xor clip to the region itself.
  void ClipToRegion(const std::vector<int32_t>& deviceRects, uint32_t mode);
  // Moves the clip by an offset in logical units (OffsetClipRgn), where cairo holds it as
  // rectangles; no clip at all, and a clip of other shapes, stay as they are.
  void OffsetClip(double dx, double dy);
  // Fills a region's rectangles (device units) with a brush.
  void FillRegion(const std::vector<int32_t>& deviceRects, const Brush& brush);

  // The picture as R, G, B, A pixels with straight alpha.
  void Finish(std::vector<uint8_t>* rgba);

 private:
  Path& Figure(bool startAtCurrent);
  // How far in an inside-frame pen moves a shape's bounding box (logical units); 0 in a path.
  PointD FrameInset() const;
  void FillArea(const Path& shape, const Brush& brush, bool winding);
  void Outline(const Path& shape, const cairo_matrix_t& toPicture);

  Header header_;
  uint32_t* pixels_ = nullptr;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  DcState state_;
  std::vector<DcState> saved_;
  std::map<uint32_t, GdiObject> objects_;
  FontFaces fonts_;
  Path path_;   // the path gathered between BeginPath and EndPath
  Path loose_;  // the figure of a "...To" record outside a path
  bool gathering_ = false;
  bool failed_ = false;
};

}  // namespace platform::metafile
