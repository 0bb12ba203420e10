// Pixel art of the arena pieces. Sizes decide how the arena plays, because every actor's
// collision box is its texture's size:
//  - walls 16 x 16, the tile spacing of the arena;
//  - players 14 x 14, so they start side by side at (22, 22) and (44, 22) with room to spare
//    and slip through the 16-pixel lanes between the moving spikes;
//  - spikes 16 x 16; small spikes 12 x 12, fired 20 pixels apart;
//  - the launcher 12 x 200, the height of its column of ten small spikes;
//  - laser beams 6 pixels thick and as long as the arena (600 tall, 800 wide).
#include <cmath>

#include "tools/data/art.h"

namespace data {

namespace {

const Color kInk = {20, 16, 24, 255};

// True when a point lies inside a triangle pointing along +x: `along` is measured from its base,
// `across` from its middle line.
bool InsideArrow(float along, float across, float length, float halfBase) {
  // A column `along` pixels from the base is (1 - along / length) * halfBase tall on each side.
  float half = (1 - along / length) * halfBase;
  return along >= 0 && along < length && std::fabs(across) <= half;
}

// Draws a triangle pointing right into a size x size picture, then turns it to `facing`.
Image Arrow(int size, Facing facing, Color light, Color dark) {
  Image img(size, size);
  float mid = (size - 1) / 2.0f;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      // Map the output pixel back to the right-pointing shape.
      float along = 0, across = 0;
      switch (facing) {
        case Facing::Right:
          along = x;
          across = y - mid;
          break;
        case Facing::Left:
          along = size - 1 - x;
          across = y - mid;
          break;
        case Facing::Down:
          along = y;
          across = x - mid;
          break;
        case Facing::Up:
          along = size - 1 - y;
          across = x - mid;
          break;
      }
      if (!InsideArrow(along + 0.5f, across, size + 0.5f, size / 2.0f)) continue;
      bool edge = !InsideArrow(along + 1.5f, across, size + 0.5f, size / 2.0f - 1.2f);
      img.Set(x, y, edge ? dark : Mix(light, dark, std::fabs(across) / size));
    }
  }
  return img;
}

}  // namespace

Image WallTile() {
  Image img(16, 16);
  const Color brick = {150, 82, 52, 255}, light = {186, 112, 74, 255}, shade = {104, 54, 36, 255};
  const Color mortar = {62, 56, 58, 255};
  img.Fill(0, 0, 16, 16, brick);
  // Two courses of bricks, the lower one shifted by half a brick.
  for (int course = 0; course < 2; ++course) {
    int top = course * 8, joint = course == 0 ? 0 : 8;
    img.Fill(0, top, 16, 1, mortar);
    img.Fill(joint, top, 1, 8, mortar);
    for (int x = 0; x < 16; ++x) {
      if (x == joint) continue;
      img.Set(x, top + 1, light);
      img.Set(x, top + 7, shade);
    }
  }
  return img;
}

Image Player(Color body, Color dark) {
  Image img(14, 14);
  for (int y = 0; y < 14; ++y) {
    for (int x = 0; x < 14; ++x) {
      // A rounded square: cut two pixels off each corner.
      bool corner = (x + y < 2) || (13 - x + y < 2) || (x + 13 - y < 2) || (26 - x - y < 2);
      if (corner) continue;
      bool edge = x == 0 || y == 0 || x == 13 || y == 13 || x + y == 2 || 13 - x + y == 2 ||
                  x + 13 - y == 2 || 26 - x - y == 2;
      img.Set(x, y, edge ? dark : Mix(body, dark, y / 26.0f));
    }
  }
  // Eyes: white with dark pupils, looking ahead.
  const Color white = {250, 250, 250, 255};
  img.Fill(3, 4, 3, 3, white);
  img.Fill(8, 4, 3, 3, white);
  img.Fill(4, 5, 2, 2, kInk);
  img.Fill(9, 5, 2, 2, kInk);
  img.Fill(5, 10, 4, 1, dark);  // mouth
  return img;
}

Image Bonus() {
  Image img(16, 16);
  const Color gold = {255, 214, 64, 255}, deep = {196, 130, 20, 255}, shine = {255, 250, 210, 255};
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      float dx = x - 7.5f, dy = y - 7.5f, d = std::sqrt(dx * dx + dy * dy);
      if (d > 7.6f) continue;
      img.Set(x, y, d > 6.4f ? deep : Mix(shine, gold, (d + dx * 0.3f + dy * 0.3f) / 6.0f));
    }
  }
  // An embossed star stroke in the middle.
  for (int i = 4; i <= 11; ++i) {
    img.Set(i, 7, deep);
    img.Set(7, i, deep);
  }
  return img;
}

Image Spike(Facing facing) { return Arrow(16, facing, {225, 230, 238, 255}, {70, 78, 96, 255}); }

Image SmallSpike() { return Arrow(12, Facing::Right, {255, 196, 120, 255}, {150, 60, 20, 255}); }

Image Launcher() {
  Image img(12, 200);
  const Color steel = {92, 100, 116, 255}, edge = {42, 46, 56, 255}, light = {140, 150, 168, 255};
  img.Fill(0, 0, 12, 200, steel);
  img.Frame(0, 0, 12, 200, edge);
  img.Fill(1, 1, 1, 198, light);
  // One muzzle per small spike, 20 pixels apart, on the side they fly out of.
  for (int i = 0; i < 10; ++i) {
    int top = i * 20 + 2;
    img.Fill(5, top, 7, 8, edge);
    img.Fill(6, top + 1, 6, 6, {24, 20, 20, 255});
    img.Fill(2, top + 12, 8, 1, edge);  // a rivet line between muzzles
  }
  return img;
}

Image LaserBeam(bool vertical) {
  const int thickness = 6, length = vertical ? 600 : 800;
  Image img(vertical ? thickness : length, vertical ? length : thickness);
  // Across the beam: a faint red glow outside, a hot white core inside.
  const Color profile[thickness] = {{255, 40, 40, 90},    {255, 70, 60, 190}, {255, 220, 210, 255},
                                    {255, 220, 210, 255}, {255, 70, 60, 190}, {255, 40, 40, 90}};
  for (int along = 0; along < length; ++along) {
    for (int across = 0; across < thickness; ++across) {
      Color c = profile[across];
      if (along % 24 < 3 && (across == 2 || across == 3)) c = {255, 255, 255, 255};  // pulses
      if (vertical)
        img.Set(across, along, c);
      else
        img.Set(along, across, c);
    }
  }
  return img;
}

}  // namespace data
