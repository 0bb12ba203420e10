// Scratch layers over part of the picture, for drawing that is combined with what is drawn bit by
// bit (raster operations, mix modes) instead of painted over it. Each layer is drawn with cairo
// in the picture's own units; then the layers and the picture are combined pixel by pixel and the
// result goes back through the picture's clip. A layer's memory comes from the decode budget and
// covers only the pixels the drawing can reach.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "platform/imaging/metafile/path.h"
#include "platform/imaging/metafile/raster_ops.h"

namespace platform::metafile {

// A box of whole pixels of the picture: [left, right) x [top, bottom).
struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// The pixels an outline touches, grown by reach pixels on every side, within cr's clip and its
// picture; false when the outline takes more memory than the decode budget allows.
bool OutlineBox(cairo_t* cr, const Path& outline, double reach, PixelBox* box);

class RasterLayer {
 public:
  // A transparent layer over box of cr's picture, drawn in cr's user space; Ready() is false
  // when the budget refuses its memory.
  RasterLayer(cairo_t* picture, const PixelBox& box);
  ~RasterLayer();
  RasterLayer(const RasterLayer&) = delete;
  RasterLayer& operator=(const RasterLayer&) = delete;

  bool Ready() const { return cr_ != nullptr; }
  cairo_t* Cairo() const { return cr_; }
  // The layer's premultiplied words, row after row of the box's width, with cairo's drawing in.
  uint32_t* Pixels();
  // Puts the layer's words, changed in place, over the same box of cr's picture through its clip.
  void PutBack(cairo_t* picture, const PixelBox& box);

 private:
  uint32_t* pixels_ = nullptr;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
};

// What an operation combines over a box. The source and pattern layers are given where the
// operations use them; with neither, the shape layer marks where to draw. A pixel is drawn where
// every layer given is drawn (not transparent). A mask layer, where given, chooses the foreground
// operation where it is white and the background one elsewhere.
struct RasterInputs {
  RasterLayer* source = nullptr;
  RasterLayer* pattern = nullptr;
  RasterLayer* shape = nullptr;
  RasterLayer* mask = nullptr;
  uint8_t fore = kRopSrcCopy, back = kRopNop;
};

// Combines the layers with cr's picture over box and puts the result back through cr's clip.
void CombineIntoPicture(cairo_t* picture, const PixelBox& box, const RasterInputs& inputs);

}  // namespace platform::metafile
