// An EMF+ image as a cairo pattern over picture pixels, placed by a transform from image pixels
// and repeated as a wrap mode says: tiled; mirrored across, down or both (every other tile turned
// over); or clamped, its edge pixels (or those of the part of it asked for) carried on beyond it
// for the caller to clip away, so that no pixel outside that part bleeds in along its edges. The
// pattern reads the image's own words, and keeps the image alive for as long as it lives.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>

#include "platform/imaging/metafile/emfplus_image.h"

namespace platform::metafile {

// A part of an image, in whole pixels.
struct ImagePart {
  int x = 0, y = 0, w = 0, h = 0;
};

// The pattern (to be destroyed by the caller); null when the transform cannot be inverted or is
// not finite, or cairo cannot use the image. A clamped image may be cut to part, which must lie
// inside it.
cairo_pattern_t* ImagePattern(const std::shared_ptr<const PlusImage>& image,
                              const cairo_matrix_t& imageToPicture, uint32_t wrap,
                              cairo_filter_t filter, const ImagePart* part = nullptr);

}  // namespace platform::metafile
