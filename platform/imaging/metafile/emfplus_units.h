// The units EMF+ measures in (page units, pen widths, fonts) and how many device units each
// takes. Device units are those of the reference device the header's logical dpi describes.
#pragma once

#include <cstdint>

namespace platform::metafile {

enum PlusUnit : uint32_t {
  kUnitWorld = 0,
  kUnitDisplay = 1,
  kUnitPixel = 2,
  kUnitPoint = 3,
  kUnitInch = 4,
  kUnitDocument = 5,
  kUnitMillimeter = 6,
};

// Device units in one unit at dpi device units an inch. The display unit is a pixel of a video
// display and a hundredth of an inch elsewhere; world units, and numbers that name no unit, are
// taken as pixels.
inline double DeviceUnitsPer(uint32_t unit, double dpi, bool videoDisplay) {
  switch (unit) {
    case kUnitDisplay: return videoDisplay ? 1 : dpi / 100;
    case kUnitPoint: return dpi / 72;
    case kUnitInch: return dpi;
    case kUnitDocument: return dpi / 300;
    case kUnitMillimeter: return dpi / 25.4;
    default: return 1;
  }
}

}  // namespace platform::metafile
