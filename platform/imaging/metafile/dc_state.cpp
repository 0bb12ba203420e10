// The mapping of logical units to picture pixels.
#include "platform/imaging/metafile/dc_state.h"

#include <algorithm>
#include <cmath>

namespace platform::metafile {

namespace {

// Millimetres in one logical unit of each metric mapping mode.
double MmPerUnit(int mode) {
  switch (mode) {
    case kMapLoMetric: return 0.1;
    case kMapHiMetric: return 0.01;
    case kMapLoEnglish: return 0.254;
    case kMapHiEnglish: return 0.0254;
    case kMapTwips: return 25.4 / 1440;
    default: return 0;
  }
}

}  // namespace

Mapping StartMapping(const Header& header) {
  Mapping mapping;
  if (header.kind == Kind::Wmf) {
    mapping.windowOrgX = mapping.viewportOrgX = header.boxLeft;
    mapping.windowOrgY = mapping.viewportOrgY = header.boxTop;
    mapping.windowExtX = mapping.viewportExtX = header.boxWidth;
    mapping.windowExtY = mapping.viewportExtY = header.boxHeight;
  }
  return mapping;
}

cairo_matrix_t DeviceToPicture(const Header& header) {
  cairo_matrix_t device;
  cairo_matrix_init(&device, header.scaleX, 0, 0, header.scaleY, header.offsetX, header.offsetY);
  return device;
}

cairo_matrix_t LogicalToPicture(const Mapping& mapping, const Header& header) {
  // Page units to device units: a scale per axis around the window's and viewport's origins.
  double sx = 1, sy = 1;
  if (mapping.mode == kMapIsotropic || mapping.mode == kMapAnisotropic) {
    sx = mapping.viewportExtX / mapping.windowExtX;
    sy = mapping.viewportExtY / mapping.windowExtY;
    if (mapping.mode == kMapIsotropic) {
      // Isotropic: the smaller scale on both axes, each keeping its direction.
      double both = std::min(std::fabs(sx), std::fabs(sy));
      sx = std::copysign(both, sx);
      sy = std::copysign(both, sy);
    }
  } else if (double mm = MmPerUnit(mapping.mode); mm > 0) {
    // The metric and English modes point y up.
    sx = mm * header.unitsPerMmX;
    sy = -mm * header.unitsPerMmY;
  }
  cairo_matrix_t page;
  cairo_matrix_init(&page, sx, 0, 0, sy, mapping.viewportOrgX - mapping.windowOrgX * sx,
                    mapping.viewportOrgY - mapping.windowOrgY * sy);
  cairo_matrix_t device = DeviceToPicture(header), out;
  cairo_matrix_multiply(&out, &mapping.world, &page);
  cairo_matrix_multiply(&out, &out, &device);
  return out;
}

}  // namespace platform::metafile
