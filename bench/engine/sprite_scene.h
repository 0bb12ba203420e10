// The scene every renderer of the sprite bench draws: N sprites of one 16 x 16 texture (a disc
// with soft alpha), each at its own place and angle, alpha-blended into an 800 x 600 frame.
#pragma once

#include <cstdint>
#include <vector>

namespace sprites_bench {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSide = 16;

// The texture's RGBA bytes, top row first.
inline std::vector<uint8_t> SpritePixels() {
  std::vector<uint8_t> pixels;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      int dx = 2 * x - kSide + 1, dy = 2 * y - kSide + 1;
      int alpha = dx * dx + dy * dy < kSide * kSide ? 200 : 0;
      pixels.insert(pixels.end(), {uint8_t(x * 16), uint8_t(y * 16), 180, uint8_t(alpha)});
    }
  }
  return pixels;
}

// One sprite: its centre in window pixels (y down) and its clockwise turn in degrees.
struct Placement {
  float x, y, angle;
};

// The same n placements on every run, from a fixed seed.
inline std::vector<Placement> Placements(int n) {
  std::vector<Placement> placements;
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) & 0xffff;
  };
  for (int i = 0; i < n; ++i) {
    placements.push_back({float(next() % kWidth), float(next() % kHeight), float(next() % 360)});
  }
  return placements;
}

// A renderer of the scene: Frame draws one frame of the placements, reads one pixel back (so the
// rasterizing is inside the measured time) and presents. Activate and Deactivate hand the calling
// thread's GL context over, since the renderers share one thread and keep their own contexts.
class Renderer {
 public:
  virtual ~Renderer() = default;
  virtual void Activate() {}
  virtual void Frame(const std::vector<Placement>& placements) = 0;
  virtual void Deactivate() {}
};

}  // namespace sprites_bench
