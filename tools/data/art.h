// The game's pictures, drawn in code: wall tile, players, bonus, spikes, launcher, small spike,
// laser beams, the bitmap font's atlas and description, and the intro logo.
#pragma once

#include <string>

#include "tools/data/image.h"

namespace data {

enum class Facing { Up, Right, Down, Left };

Image WallTile();
Image Player(Color body, Color dark);
Image Bonus();
Image Spike(Facing facing);
Image Launcher();
Image SmallSpike();
Image LaserBeam(bool vertical);

// The score font: an atlas of outlined glyphs and its description text ("common" and "char"
// lines, in the widespread text format), naming the atlas file textureName.
Image FontAtlas();
std::string FontDescription(const std::string& textureName);

// The intro logo: 640 x 260, "Kelvo Core" on a translucent panel.
Image IntroLogo();

}  // namespace data
