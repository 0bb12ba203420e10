// An EMF+ image as a cairo pattern over picture pixels, placed by a transform from image pixels
// and repeated as a wrap mode says: tiled; mirrored across, down or both (every other tile turned
// over); or clamped, its edge pixels carried on beyond it for the caller to clip away. The
// pattern reads the image's own words, and keeps the image alive for as long as it lives.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>

#include "platform/imaging/metafile/emfplus_image.h"

namespace platform::metafile {

// The pattern (to be destroyed by the caller); null when the transform cannot be inverted or is
// not finite, or cairo cannot use the image.
cairo_pattern_t* ImagePattern(const std::shared_ptr<const PlusImage>& image,
                              const cairo_matrix_t& imageToPicture, uint32_t wrap,
                              cairo_filter_t filter);

}  // namespace platform::metafile
