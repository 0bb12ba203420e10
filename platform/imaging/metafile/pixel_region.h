// A set of whole picture pixels, kept as bands of rows that share the same spans: the shape of an
// EMF+ clip and of a region object once it is placed on the picture. A pixel belongs to a shape
// when its centre lies inside it, as unantialiased filling decides. Rectangles stay one band
// however tall; filled outlines take a band a row, over the rows asked for only. The boolean
// operations of the clip and of region nodes are done here exactly, on the spans.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/imaging/metafile/path.h"

namespace platform::metafile {

class PixelRegion {
 public:
  // How a region is combined with another: the pixels in both, in either, in one only, in this
  // one and not the other, in the other and not this one; or the other alone.
  enum class Op { Intersect, Union, Xor, Exclude, Complement, Replace };

  // The empty region.
  PixelRegion() = default;
  // Every pixel cairo can address, for an infinite region.
  static PixelRegion Everything();
  // The pixels whose centres lie in the box, its right and bottom edges left out.
  static PixelRegion Rect(double x0, double y0, double x1, double y1);
  // The pixels whose centres lie inside the figures (each closed), by the winding or even-odd
  // rule, over the rows [rowLow, rowHigh). False, with the region empty, when that would hold
  // more spans than mostSpans.
  static bool Fill(const std::vector<FlatFigure>& figures, bool winding, int32_t rowLow,
                   int32_t rowHigh, size_t mostSpans, PixelRegion* out);

  PixelRegion Combine(const PixelRegion& other, Op op) const;
  void Offset(int32_t dx, int32_t dy);
  bool Empty() const { return bands_.empty(); }
  // Spans held, counting a band's spans once.
  size_t Spans() const;
  // Adds a rectangle for each span of each band, cut to the box, to cairo's path: filled or
  // clipped with the winding rule, they cover the region's pixels in the box exactly.
  void AddTo(cairo_t* cr, const Box& within) const;

 private:
  struct Band {
    int32_t y0 = 0, y1 = 0;
    std::vector<int32_t> xs;  // span starts and ends, in pairs, ascending
  };
  // Appends a band, joined to the last one when it continues it with the same spans.
  void Push(int32_t y0, int32_t y1, std::vector<int32_t>&& xs);

  std::vector<Band> bands_;  // from top to bottom, none overlapping
};

}  // namespace platform::metafile
