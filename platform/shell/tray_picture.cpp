// Tray pictures: the plain icon and the fitting of a picture to the size a host gives its icons
// (hosts use 16 to 64 pixels, and a program's icon may be any size).
#include "platform/shell/tray_picture.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr int kPlainSize = 32;
constexpr uint8_t kPlainBlue[3] = {32, 96, 192};
constexpr float kDiscRadius = 15.0f;
constexpr float kRingInner = 10.0f;
constexpr float kRingOuter = 12.0f;

// The premultiplied sum of the image's pixels in columns x0..x1-1 and rows y0..y1-1, averaged.
void AveragePixels(const IconImage& image, int x0, int x1, int y0, int y1, uint8_t* out) {
  uint64_t sum[4] = {0, 0, 0, 0};
  for (int y = y0; y < y1; ++y) {
    const uint8_t* row = image.rgba.data() + size_t(y) * size_t(image.width) * 4;
    for (int x = x0; x < x1; ++x) {
      const uint8_t* pixel = row + size_t(x) * 4;
      for (int c = 0; c < 3; ++c) sum[c] += unsigned(pixel[c]) * pixel[3];
      sum[3] += unsigned(pixel[3]) * 255;
    }
  }
  uint64_t count = uint64_t(x1 - x0) * uint64_t(y1 - y0) * 255;
  for (int c = 0; c < 4; ++c) out[c] = static_cast<uint8_t>((sum[c] + count / 2) / count);
}

// The first source row or column of destination step i of steps, over length source pixels;
// every step covers at least one.
int SourceStart(int i, int steps, int length) { return int(int64_t(i) * length / steps); }
int SourceEnd(int i, int steps, int length) {
  return std::max(SourceStart(i, steps, length) + 1, SourceStart(i + 1, steps, length));
}

}  // namespace

IconImage PlainTrayIcon() {
  IconImage image;
  image.width = image.height = kPlainSize;
  image.rgba.assign(size_t(kPlainSize) * kPlainSize * 4, 0);
  float centre = (kPlainSize - 1) / 2.0f;
  for (int y = 0; y < kPlainSize; ++y) {
    for (int x = 0; x < kPlainSize; ++x) {
      float distance = std::hypot(x - centre, y - centre);
      if (distance > kDiscRadius) continue;
      bool ring = distance >= kRingInner && distance <= kRingOuter;
      uint8_t* pixel = image.rgba.data() + (size_t(y) * kPlainSize + x) * 4;
      for (int c = 0; c < 3; ++c) pixel[c] = ring ? 255 : kPlainBlue[c];
      pixel[3] = 255;
    }
  }
  return image;
}

TrayPicture FitPicture(const IconImage& image, int width, int height) {
  if (width < 1 || height < 1 || image.width < 1 || image.height < 1) return {};
  TrayPicture picture;
  picture.width = width;
  picture.height = height;
  picture.rgba.assign(size_t(width) * size_t(height) * 4, 0);
  double scale = std::min(double(width) / image.width, double(height) / image.height);
  int fitWidth = std::clamp(int(std::lround(image.width * scale)), 1, width);
  int fitHeight = std::clamp(int(std::lround(image.height * scale)), 1, height);
  int left = (width - fitWidth) / 2;
  int top = (height - fitHeight) / 2;
  for (int j = 0; j < fitHeight; ++j) {
    int y0 = SourceStart(j, fitHeight, image.height);
    int y1 = SourceEnd(j, fitHeight, image.height);
    for (int i = 0; i < fitWidth; ++i) {
      uint8_t* out = picture.rgba.data() + (size_t(top + j) * width + size_t(left + i)) * 4;
      AveragePixels(image, SourceStart(i, fitWidth, image.width),
                    SourceEnd(i, fitWidth, image.width), y0, y1, out);
    }
  }
  return picture;
}

TrayPicture TrayPictureOf(HICON icon, int width, int height) {
  IconImage image = IconPictureOf(icon);
  if (image.rgba.empty()) image = PlainTrayIcon();
  return FitPicture(image, width, height);
}

}  // namespace platform
