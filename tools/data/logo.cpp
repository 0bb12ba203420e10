// The intro logo: "Kelvo Core" in large glyphs with a cool gradient and a drop shadow, and a
// smaller subtitle, on a rounded translucent panel. Where the window cannot be translucent the
// panel's dark blue reads as a plain dark card.
#include <cmath>
#include <string>

#include "tools/data/art.h"
#include "tools/data/glyphs.h"

namespace data {

namespace {

constexpr int kWidth = 640, kHeight = 260, kRadius = 28;

bool InsidePanel(int x, int y) {
  int cx = x < kRadius ? kRadius : (x >= kWidth - kRadius ? kWidth - kRadius - 1 : x);
  int cy = y < kRadius ? kRadius : (y >= kHeight - kRadius ? kHeight - kRadius - 1 : y);
  float dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy <= kRadius * kRadius;
}

void DrawPanel(Image& img) {
  const Color top = {28, 44, 86, 236}, bottom = {8, 12, 30, 236}, rim = {96, 176, 236, 255};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (!InsidePanel(x, y)) continue;
      bool border = !InsidePanel(x - 2, y) || !InsidePanel(x + 2, y) || !InsidePanel(x, y - 2) ||
                    !InsidePanel(x, y + 2);
      img.Set(x, y, border ? rim : Mix(top, bottom, y / float(kHeight)));
    }
}

// Draws text with the glyph table, each glyph pixel a scale x scale block, coloured by a
// vertical gradient over the text's height.
void DrawText(Image& img, const std::string& text, int left, int top, int scale, Color from,
              Color to) {
  int height = kGlyphRows * scale;
  for (size_t i = 0; i < text.size(); ++i) {
    int gx = left + static_cast<int>(i) * (kGlyphColumns + 1) * scale;
    for (int row = 0; row < kGlyphRows; ++row)
      for (int col = 0; col < kGlyphColumns; ++col) {
        if (!GlyphPixel(static_cast<unsigned char>(text[i]), col, row)) continue;
        for (int y = 0; y < scale; ++y)
          for (int x = 0; x < scale; ++x) {
            int py = top + row * scale + y;
            img.Blend(gx + col * scale + x, py, Mix(from, to, (py - top) / float(height)));
          }
      }
  }
}

int TextWidth(const std::string& text, int scale) {
  return (static_cast<int>(text.size()) * (kGlyphColumns + 1) - 1) * scale;
}

}  // namespace

Image IntroLogo() {
  Image img(kWidth, kHeight);
  DrawPanel(img);
  const std::string title = "Kelvo Core", subtitle = "application framework";
  int titleLeft = (kWidth - TextWidth(title, 8)) / 2,
      subLeft = (kWidth - TextWidth(subtitle, 3)) / 2;
  const Color shadow = {0, 0, 0, 150};
  DrawText(img, title, titleLeft + 5, 47, 8, shadow, shadow);
  DrawText(img, title, titleLeft, 42, 8, {200, 244, 255, 255}, {40, 140, 230, 255});
  DrawText(img, subtitle, subLeft, 170, 3, {170, 190, 220, 255}, {120, 140, 180, 255});
  return img;
}

}  // namespace data
