// An RGBA picture in memory that the data generator draws into, and the writer that stores it
// as an engine texture file (.kvt: a 24-byte header, then R, G, B, A bytes, top row first).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace data {

struct Color {
  uint8_t r = 0, g = 0, b = 0, a = 0;
};

// Mixes two colours: t = 0 gives a, t = 1 gives b.
Color Mix(Color a, Color b, float t);

class Image {
 public:
  Image(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<uint8_t>& Pixels() const { return pixels_; }

  // Pixel access; writes outside the picture are ignored, reads there give transparent black.
  void Set(int x, int y, Color c);
  Color Get(int x, int y) const;
  // Draws c over the pixel with its alpha ("over" blending).
  void Blend(int x, int y, Color c);
  // Fills the rectangle [x, x + w) x [y, y + h).
  void Fill(int x, int y, int w, int h, Color c);
  // Draws a one-pixel frame just inside the rectangle.
  void Frame(int x, int y, int w, int h, Color c);

  // The texture file's bytes: header and pixels.
  std::vector<uint8_t> EncodeKvt() const;
  // Writes EncodeKvt() to path; false when the file cannot be written.
  bool SaveKvt(const std::string& path) const;

 private:
  int width_, height_;
  std::vector<uint8_t> pixels_;
};

}  // namespace data
