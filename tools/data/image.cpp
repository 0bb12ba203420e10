// Drawing helpers and the texture-file writer of the data generator.
#include "tools/data/image.h"

#include <cstdio>

namespace data {

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint8_t Lerp8(uint8_t a, uint8_t b, float t) {
  return static_cast<uint8_t>(a + (b - a) * t + 0.5f);
}

}  // namespace

Color Mix(Color a, Color b, float t) {
  if (t < 0) t = 0;
  if (t > 1) t = 1;
  return {Lerp8(a.r, b.r, t), Lerp8(a.g, b.g, t), Lerp8(a.b, b.b, t), Lerp8(a.a, b.a, t)};
}

Image::Image(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height * 4, 0) {}

void Image::Set(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
  p[3] = c.a;
}

Color Image::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

void Image::Blend(int x, int y, Color c) {
  Color under = Get(x, y);
  float a = c.a / 255.0f;
  float outA = a + under.a / 255.0f * (1 - a);
  if (outA <= 0) return;
  auto channel = [&](uint8_t top, uint8_t bottom) {
    float v = (top * a + bottom * (under.a / 255.0f) * (1 - a)) / outA;
    return static_cast<uint8_t>(v + 0.5f);
  };
  Set(x, y,
      {channel(c.r, under.r), channel(c.g, under.g), channel(c.b, under.b),
       static_cast<uint8_t>(outA * 255 + 0.5f)});
}

void Image::Fill(int x, int y, int w, int h, Color c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void Image::Frame(int x, int y, int w, int h, Color c) {
  Fill(x, y, w, 1, c);
  Fill(x, y + h - 1, w, 1, c);
  Fill(x, y, 1, h, c);
  Fill(x + w - 1, y, 1, h, c);
}

std::vector<uint8_t> Image::EncodeKvt() const {
  std::vector<uint8_t> out = {'K', 'V', 'T', '1'};
  PutU32(out, 1);  // version
  PutU32(out, static_cast<uint32_t>(width_));
  PutU32(out, static_cast<uint32_t>(height_));
  PutU32(out, 1);  // pixel format: RGBA, 8 bits per channel
  PutU32(out, static_cast<uint32_t>(pixels_.size()));
  out.insert(out.end(), pixels_.begin(), pixels_.end());
  return out;
}

bool Image::SaveKvt(const std::string& path) const {
  std::vector<uint8_t> bytes = EncodeKvt();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace data
