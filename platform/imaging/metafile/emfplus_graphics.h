// The drawing state of EMF+ playback, on the canvas the EMF player draws on: the world transform,
// the page unit and scale, the container a state lives in, the clip (whole pixels, as an
// unantialiased clip takes them), the compositing mode and the rendering hints; and the stack of
// states that Save and BeginContainer push and Restore and EndContainer pop by their index.
//
// Everything that draws goes through PlusPaint, which puts the clip, the compositing mode and the
// antialiasing in force on cairo for its lifetime, and fills with a brush: shapes, text and
// images alike. Points map to picture pixels through WorldToPicture().
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/imaging/metafile/canvas.h"
#include "platform/imaging/metafile/emfplus_brush.h"
#include "platform/imaging/metafile/emfplus_points.h"
#include "platform/imaging/metafile/emfplus_region.h"
#include "platform/imaging/metafile/emfplus_units.h"
#include "platform/imaging/metafile/pixel_region.h"

namespace platform::metafile {

struct PlusState {
  cairo_matrix_t world{1, 0, 0, 1, 0, 0};
  uint32_t pageUnit = kUnitDisplay;
  double pageScale = 1;
  // The container's own place: its world units to the page units of the state around it.
  cairo_matrix_t container{1, 0, 0, 1, 0, 0};
  std::shared_ptr<const PixelRegion> clip;       // null: nothing clipped
  std::shared_ptr<const PixelRegion> outerClip;  // the container's clip, which ResetClip gives
  // Rendering hints, as the records set them; the text rendering hint and the interpolation
  // mode are kept for text and images.
  bool antialias = false;
  uint32_t textRenderingHint = 0;
  uint32_t textContrast = 0;
  uint32_t interpolation = 0;
  uint32_t pixelOffset = 0;
  uint32_t compositingQuality = 0;
  bool sourceCopy = false;           // compositing mode: copy the source in place of blending over
  int32_t originX = 0, originY = 0;  // rendering origin, device units: where hatches start
};

class PlusGraphics {
 public:
  // dpi: the header's logical dots an inch; videoDisplay: its reference device was a display.
  PlusGraphics(Canvas& canvas, double dpiX, double dpiY, bool videoDisplay);

  Canvas& Surface() { return canvas_; }
  cairo_t* Cairo() { return canvas_.Cairo(); }
  PlusState& State() { return state_; }
  const PlusState& State() const { return state_; }
  double DpiX() const { return dpiX_; }
  double DpiY() const { return dpiY_; }
  // Device units in one unit, across and down.
  double DeviceUnitsX(uint32_t unit) const;
  double DeviceUnitsY(uint32_t unit) const;

  // World units to picture pixels, through the page transform and the container.
  cairo_matrix_t WorldToPicture() const;
  // Device units to picture pixels.
  cairo_matrix_t DeviceToPicture() const;
  // Where shapes are placed for the clip and regions: the picture, and the spans allowed.
  Placement Place() const;

  // ---- transforms
  void MultiplyWorld(const cairo_matrix_t& by, bool append);
  void SetPage(uint32_t unit, double scale);

  // ---- saved states and containers; indices that name no saved state are ignored
  void Save(uint32_t index);
  void Restore(uint32_t index);
  // A container whose source rectangle (in unit) lands on the destination one (world units).
  void BeginContainer(uint32_t index, const RectD& dest, const RectD& source, uint32_t unit);
  void BeginContainer(uint32_t index);

  // ---- clipping
  void Clip(const PixelRegion& region, PixelRegion::Op op);
  void ResetClip();
  // Moves the clip by an offset in world units.
  void OffsetClip(double dx, double dy);
  // Clips cairo to the state's clip, where there is one.
  void ClipCairo(cairo_t* cr) const;

 private:
  struct Saved {
    uint32_t index;
    PlusState state;
  };
  void Push(uint32_t index);

  Canvas& canvas_;
  double dpiX_, dpiY_;
  bool video_;
  PlusState state_;
  std::vector<Saved> saved_;
};

// The state's clip, compositing mode and antialiasing in force on cairo while it lives (and
// cairo's state as it was afterwards).
class PlusPaint {
 public:
  explicit PlusPaint(PlusGraphics& graphics);
  ~PlusPaint();
  PlusPaint(const PlusPaint&) = delete;
  PlusPaint& operator=(const PlusPaint&) = delete;

  cairo_t* Cairo() { return cr_; }
  // Makes the brush cairo's source; false when it paints nothing (a texture without an image).
  bool Source(const PlusBrush& brush);
  // Fills the outline with the brush; false when the outline needs more memory than the decode
  // budget allows.
  bool Fill(const Path& outline, const PlusBrush& brush, bool winding);

 private:
  PlusGraphics& graphics_;
  cairo_t* cr_;
};

}  // namespace platform::metafile
