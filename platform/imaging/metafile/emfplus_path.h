// EMF+ path objects: points in world units, each with a type that starts a figure, continues it
// with a line or with a cubic Bezier curve (three points: two controls, then the end), and may
// close the figure after it. A path object names no fill mode: it fills by the even-odd rule.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/imaging/metafile/path.h"

namespace platform::metafile {

enum PlusPointType : uint8_t {
  kPointStart = 0,
  kPointLine = 1,
  kPointBezier = 3,
  kPointTypeMask = 0x0F,
  kPointClose = 0x80,  // the figure closes after this point
};

struct PlusPath {
  std::vector<PointD> points;  // world units
  std::vector<uint8_t> types;  // one for each point
};

// Reads an EmfPlusPath object; null when it is damaged or beyond the decode budget.
std::shared_ptr<const PlusPath> ReadPath(const uint8_t* data, size_t size);
// Appends the path's figures, mapped by m, to out.
void AddPlusPath(Path* out, const PlusPath& path, const cairo_matrix_t& m);

}  // namespace platform::metafile
