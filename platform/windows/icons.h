// The picture behind an icon handle, for the desktop parts that show icons (the tray). Internal
// to platform/.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/winapi/types.h"

namespace platform {

// width x height R, G, B, A pixels (alpha not premultiplied), top row first.
struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

// The picture of an icon: an icon resource that a module registered holds an image file (PNG,
// BMP, ...) that the platform's codec reads. Empty for a null handle, a system icon (which has
// no picture here), and a resource that is not such an image.
IconImage IconPictureOf(HICON icon);

}  // namespace platform
