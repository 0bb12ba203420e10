// The picture a tray icon shows: the icon's own, or where it has none a plain icon of the
// framework's own, fitted to the size the desktop gives the icon. Internal to platform/.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/windows/icons.h"

namespace platform {

// width x height pixels, premultiplied R, G, B, A, top row first.
struct TrayPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

// The framework's plain icon, drawn in code: a blue disc with a white ring.
IconImage PlainTrayIcon();
// The image scaled to fit width x height with its proportions kept, centred, each pixel the
// average of the image's pixels it covers; transparent around it. Empty for a size below 1 or
// an empty image.
TrayPicture FitPicture(const IconImage& image, int width, int height);
// The icon's picture, or the plain icon where the icon has none, fitted to width x height.
TrayPicture TrayPictureOf(HICON icon, int width, int height);

}  // namespace platform
