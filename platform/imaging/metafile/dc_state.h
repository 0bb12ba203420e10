// The state of the device context a metafile draws on: how logical units map to the picture
// (mapping mode, window and viewport, world transform), the selected pen, brush and font, the
// colours and modes, and the current position. SaveDC keeps a copy; the clip is kept by cairo.
#pragma once

#include <cairo.h>

#include <memory>

#include "platform/imaging/metafile/gdi_objects.h"
#include "platform/imaging/metafile/metafile_header.h"
#include "platform/imaging/metafile/raster_ops.h"

namespace platform::metafile {

enum MapMode : int {
  kMapText = 1,
  kMapLoMetric = 2,
  kMapHiMetric = 3,
  kMapLoEnglish = 4,
  kMapHiEnglish = 5,
  kMapTwips = 6,
  kMapIsotropic = 7,
  kMapAnisotropic = 8,
};

struct Mapping {
  int mode = kMapText;
  double windowOrgX = 0, windowOrgY = 0, windowExtX = 1, windowExtY = 1;
  double viewportOrgX = 0, viewportOrgY = 0, viewportExtX = 1, viewportExtY = 1;
  cairo_matrix_t world{1, 0, 0, 1, 0, 0};  // logical to page units (EMF only)
};

struct DcState {
  Mapping mapping;
  Pen pen;                                                // black, one pixel
  Brush brush{kBrushSolid, {255, 255, 255}, 0, nullptr};  // white, as a new device context's
  Font font;
  Color textColor{0, 0, 0};
  Color backColor{255, 255, 255};
  bool opaqueBack = true;    // background mode: hatches, dashes and text boxes take backColor
  bool windingFill = false;  // polygon fill mode: alternate (even-odd) or winding
  uint32_t textAlign = 0;
  bool clockwise = false;  // arc direction
  double miterLimit = 10;
  double brushOriginX = 0, brushOriginY = 0;  // where hatches and patterns start, picture pixels
  double x = 0, y = 0;                        // current position, logical
  uint32_t rop2 = kR2CopyPen;                 // how pens and brushes mix with what is drawn
  std::shared_ptr<Palette> palette;           // the selected palette; null: the default one
};

// The starting mapping of a metafile: a WMF's window and viewport on its box, so that its
// records' units land on the box until it sets a window of its own; an EMF's device units.
Mapping StartMapping(const Header& header);
// Logical units to picture pixels, through the world transform, the window and viewport, and the
// device units' place on the picture.
cairo_matrix_t LogicalToPicture(const Mapping& mapping, const Header& header);
// Device units to picture pixels.
cairo_matrix_t DeviceToPicture(const Header& header);

}  // namespace platform::metafile
