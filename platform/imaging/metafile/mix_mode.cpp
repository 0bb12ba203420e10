// Mix modes through a scratch layer.
#include "platform/imaging/metafile/mix_mode.h"

#include <algorithm>
#include <cmath>

#include "platform/imaging/metafile/paint.h"
#include "platform/imaging/metafile/raster_layer.h"

namespace platform::metafile {

namespace {

// The pixels a pen of the state can reach beyond its outline: half its width, as far again as
// the miter limit lets a join reach, and square caps; more than that does no harm.
double PenReach(const DcState& state, const cairo_matrix_t& toPicture) {
  double scale = std::sqrt(std::fabs(toPicture.xx * toPicture.yy - toPicture.xy * toPicture.yx));
  double width = std::max(1.0, state.pen.width * scale);
  return width * std::max(2.0, state.miterLimit);
}

// Draws through draw onto a layer over box, as a copy, and combines the layer's pixels with the
// picture by the state's mix mode.
template <typename Draw>
bool Mixed(cairo_t* cr, const PixelBox& box, const DcState& state, Draw draw) {
  if (box.Empty() || state.rop2 == kR2Nop) return true;
  RasterLayer layer(cr, box);
  if (!layer.Ready()) return true;
  DcState copy = state;
  copy.rop2 = kR2CopyPen;
  if (!draw(layer.Cairo(), copy)) return false;
  RasterInputs inputs;
  inputs.pattern = &layer;
  inputs.fore = MixOperation(state.rop2);
  CombineIntoPicture(cr, box, inputs);
  return true;
}

}  // namespace

bool FillMixed(cairo_t* cr, const Path& outline, const Brush& brush, const DcState& state,
               bool winding) {
  PixelBox box;
  if (!OutlineBox(cr, outline, 0, &box)) return false;
  return Mixed(cr, box, state, [&](cairo_t* layer, const DcState& copy) {
    return FillWithBrush(layer, outline, brush, copy, winding);
  });
}

bool StrokeMixed(cairo_t* cr, const Path& outline, const DcState& state,
                 const cairo_matrix_t& toPicture) {
  PixelBox box;
  if (!OutlineBox(cr, outline, PenReach(state, toPicture), &box)) return false;
  return Mixed(cr, box, state, [&](cairo_t* layer, const DcState& copy) {
    return StrokeWithPen(layer, outline, copy, toPicture);
  });
}

}  // namespace platform::metafile
