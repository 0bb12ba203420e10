// EMF+ image attribute objects, as DrawImage and DrawImagePoints use them: how an image repeats
// where the source rectangle reaches beyond it (tiled, mirrored across, down or both, or clamped)
// and the colour shown there when clamped. The object holds no more than that: colour keys,
// colour matrices and the like are not written into it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/imaging/metafile/emfplus_brush.h"

namespace platform::metafile {

struct PlusImageAttributes {
  uint32_t wrap = kWrapClamp;
  PlusColor clampColor;  // transparent unless the object says otherwise
};

// Reads an EmfPlusImageAttributes object; null when it is cut short or names no wrap mode.
std::shared_ptr<const PlusImageAttributes> ReadImageAttributes(const uint8_t* data, size_t size);

}  // namespace platform::metafile
