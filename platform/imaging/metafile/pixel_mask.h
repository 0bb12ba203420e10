// A mask over the picture's pixels, one byte each, set where an operation that works pixel by
// pixel (a region's frame, a flood fill) paints: its memory comes from the decode budget, and it
// is painted with a brush through the clip as a cairo A8 mask, so its edges stay as hard as GDI's.
// And how those operations read the picture's pixels.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/canvas.h"

namespace platform::metafile {

// A picture pixel (premultiplied, as cairo keeps it) as the operations that read the picture
// pixel by pixel see it: its colour over white, R, G, B in one word. A pixel where nothing is
// drawn reads as white, the page a metafile is drawn for. Inline: a flood fill asks it of pixels
// by the hundred million.
inline uint32_t SeenOverWhite(uint32_t pixel) {
  // Premultiplied colour c of alpha a over white is c + 255 - a.
  uint32_t a = pixel >> 24, r = (pixel >> 16) & 0xff, g = (pixel >> 8) & 0xff, b = pixel & 0xff;
  return (r + 255 - a) << 16 | (g + 255 - a) << 8 | (b + 255 - a);
}

class PixelMask {
 public:
  // A cleared mask of width x height pixels; Ready() is false when the budget refuses it.
  PixelMask(int width, int height);
  ~PixelMask();
  PixelMask(const PixelMask&) = delete;
  PixelMask& operator=(const PixelMask&) = delete;

  bool Ready() const { return bits_ != nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  uint8_t* Row(int y) { return bits_ + static_cast<size_t>(y) * stride_; }
  const uint8_t* Row(int y) const { return bits_ + static_cast<size_t>(y) * stride_; }
  // Sets every pixel of the picture rectangle [x0, x1) x [y0, y1), cut to the mask.
  void SetBox(int64_t x0, int64_t y0, int64_t x1, int64_t y1);

  // A cairo A8 surface over the mask's bytes (to be destroyed by the caller; it must not outlive
  // the mask).
  cairo_surface_t* Surface() const;
  // Paints the set pixels with the brush (the mask's top-left on the picture's), within the clip.
  void Paint(Canvas& canvas, const Brush& brush) const;

 private:
  int width_, height_;
  size_t stride_ = 0;
  uint8_t* bits_ = nullptr;
};

}  // namespace platform::metafile
