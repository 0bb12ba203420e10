// The list of the game's data files: which picture goes into which numbered texture file.
// The game loads them by these numbers (see the sprite names beside each).
#include "tools/data/game_data.h"

#include "tools/data/art.h"

namespace data {

std::vector<DataFile> GameDataFiles() {
  const Image images[13] = {
      WallTile(),                                       // 1 spr_mur
      Player({240, 96, 64, 255}, {120, 36, 24, 255}),   // 2 spr_gracz2: red
      Player({80, 170, 255, 255}, {24, 64, 140, 255}),  // 3 spr_gracz: blue
      Bonus(),                                          // 4 spr_bonus
      FontAtlas(),                                      // 5 fnt_1's texture
      Spike(Facing::Up),                                // 6 spr_kolec_gora
      Spike(Facing::Right),                             // 7 spr_kolec_prawo
      Spike(Facing::Down),                              // 8 spr_kolec_dol
      Spike(Facing::Left),                              // 9 spr_kolec_lewo
      Launcher(),                                       // 10 spr_wyrzutnia_kolcow
      SmallSpike(),                                     // 11 spr_maly_kolec
      LaserBeam(true),                                  // 12 spr_laser_pionowy
      LaserBeam(false),                                 // 13 spr_laser_poziomy
  };
  std::vector<DataFile> files;
  for (int i = 0; i < 13; ++i)
    files.push_back({std::to_string(i + 1) + ".kvt", images[i].EncodeKvt()});
  std::string font = FontDescription("5.kvt");
  files.push_back({"5.fnt", std::vector<uint8_t>(font.begin(), font.end())});
  return files;
}

}  // namespace data
