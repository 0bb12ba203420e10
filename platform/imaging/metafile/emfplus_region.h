// EMF+ region objects: a tree of nodes whose leaves are rectangles, paths, the empty region and
// the infinite one, and whose inner nodes combine their two children (intersect, union, xor,
// exclude, complement). Trees are read and placed on the picture without recursion, so a region
// nested thousands deep costs no stack; placing one is bounded by a count of spans it may handle.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/imaging/metafile/emfplus_path.h"
#include "platform/imaging/metafile/emfplus_points.h"
#include "platform/imaging/metafile/pixel_region.h"

namespace platform::metafile {

struct PlusRegionNode {
  uint32_t type = 0;
  RectD rect;
  std::shared_ptr<const PlusPath> path;
  int32_t left = -1, right = -1;  // children, by index into the region's nodes
};

struct PlusRegion {
  std::vector<PlusRegionNode> nodes;  // the root first
};

// Reads an EmfPlusRegion object; null when it is damaged.
std::shared_ptr<const PlusRegion> ReadRegion(const uint8_t* data, size_t size);

// Where shapes are placed: the picture's box (rows outside it are not filled), and the most
// spans the work of placing one may handle.
struct Placement {
  cairo_matrix_t toPicture;
  Box view;
  size_t mostSpans = 0;
};

// The pixels of a rectangle, a path (filled even-odd unless winding) or a region tree; false,
// with an empty region, when that takes more than the placement allows.
bool PlaceRect(const RectD& rect, const Placement& at, PixelRegion* out);
bool PlacePath(const PlusPath& path, bool winding, const Placement& at, PixelRegion* out);
bool PlaceRegion(const PlusRegion& region, const Placement& at, PixelRegion* out);
// A region combine mode as a pixel region operation; false for a number that names none.
bool CombineOp(uint32_t mode, PixelRegion::Op* out);

}  // namespace platform::metafile
