// The score font: the glyph table drawn twice its size in white with a one-pixel black outline,
// so that the score reads over walls and beams alike, packed into a 256 x 128 atlas.
#include <cstdio>

#include "tools/data/art.h"
#include "tools/data/glyphs.h"

namespace data {

namespace {

constexpr int kScale = 2;
constexpr int kCellWidth = kGlyphColumns * kScale + 2;  // glyph plus the outline on both sides
constexpr int kCellHeight = kGlyphRows * kScale + 2;
constexpr int kCellsPerRow = 256 / kCellWidth;
constexpr int kLineHeight = kCellHeight + 2;

bool ScaledPixel(unsigned char c, int x, int y) {
  // (x, y) inside the cell; the glyph starts one pixel in.
  x -= 1;
  y -= 1;
  if (x < 0 || y < 0) return false;
  return GlyphPixel(c, x / kScale, y / kScale);
}

void CellOrigin(unsigned char c, int* x, int* y) {
  int index = c - kFirstGlyph;
  *x = (index % kCellsPerRow) * kCellWidth;
  *y = (index / kCellsPerRow) * kCellHeight;
}

}  // namespace

Image FontAtlas() {
  Image img(256, 128);
  const Color white = {255, 255, 255, 255}, outline = {0, 0, 0, 255};
  for (int c = kFirstGlyph; c <= kLastGlyph; ++c) {
    int ox, oy;
    CellOrigin(static_cast<unsigned char>(c), &ox, &oy);
    for (int y = 0; y < kCellHeight; ++y) {
      for (int x = 0; x < kCellWidth; ++x) {
        if (ScaledPixel(static_cast<unsigned char>(c), x, y)) {
          img.Set(ox + x, oy + y, white);
          continue;
        }
        bool near = false;
        for (int dy = -1; dy <= 1 && !near; ++dy)
          for (int dx = -1; dx <= 1 && !near; ++dx)
            near = ScaledPixel(static_cast<unsigned char>(c), x + dx, y + dy);
        if (near) img.Set(ox + x, oy + y, outline);
      }
    }
  }
  return img;
}

std::string FontDescription(const std::string& textureName) {
  std::string out;
  char line[256];
  std::snprintf(line, sizeof line,
                "info face=\"Kelvo Pixel\" size=%d bold=0 italic=0 charset=\"\" unicode=0 "
                "stretchH=100 smooth=0 aa=1 padding=0,0,0,0 spacing=0,0\r\n",
                kCellHeight);
  out += line;
  std::snprintf(line, sizeof line,
                "common lineHeight=%d base=%d scaleW=256 scaleH=128 pages=1 packed=0\r\n",
                kLineHeight, kCellHeight);
  out += line;
  out += "page id=0 file=\"" + textureName + "\"\r\n";
  std::snprintf(line, sizeof line, "chars count=%d\r\n", kLastGlyph - kFirstGlyph + 1);
  out += line;
  for (int c = kFirstGlyph; c <= kLastGlyph; ++c) {
    int x, y;
    CellOrigin(static_cast<unsigned char>(c), &x, &y);
    std::snprintf(line, sizeof line,
                  "char id=%d x=%d y=%d width=%d height=%d xoffset=0 yoffset=0 xadvance=%d "
                  "page=0 chnl=15\r\n",
                  c, x, y, kCellWidth, kCellHeight, kCellWidth);
    out += line;
  }
  out += "kernings count=0\r\n";
  return out;
}

}  // namespace data
