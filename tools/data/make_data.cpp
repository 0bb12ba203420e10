// Writes the game's data files from code: the twelve sprite textures and the font texture
// ("1.kvt" to "13.kvt"), the font description "5.fnt", and on request the intro logo, either as
// a texture file or as a C++ source that builds it into the engine module.
//
//   make_data <data folder>
//   make_data --logo <file.kvt>
//   make_data --logo-source <file.cpp>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/data/art.h"

namespace {

bool WriteText(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

bool WriteGameData(const std::string& dir) {
  using namespace data;
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
  for (int i = 0; i < 13; ++i) {
    std::string path = dir + "/" + std::to_string(i + 1) + ".kvt";
    if (!images[i].SaveKvt(path)) {
      std::fprintf(stderr, "make_data: cannot write %s\n", path.c_str());
      return false;
    }
  }
  return WriteText(dir + "/5.fnt", FontDescription("5.kvt"));
}

// The logo as a source file: one byte array and its size, registered by the engine module.
bool WriteLogoSource(const std::string& path) {
  std::vector<uint8_t> bytes = data::IntroLogo().EncodeKvt();
  std::string text =
      "// Made by tools/data/make_data: the intro logo as an engine texture file.\n"
      "#include <cstdint>\n\nnamespace kv::engine {\n\nextern const uint8_t kIntroLogo[];\n"
      "extern const uint32_t kIntroLogoSize;\n\nconst uint8_t kIntroLogo[] = {\n";
  char number[8];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(number, sizeof number, "%u,", bytes[i]);
    text += number;
    if (i % 32 == 31) text += '\n';
  }
  text += "};\nconst uint32_t kIntroLogoSize = " + std::to_string(bytes.size()) +
          ";\n\n}  // namespace kv::engine\n";
  return WriteText(path, text);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--logo") == 0)
    return data::IntroLogo().SaveKvt(argv[2]) ? 0 : 1;
  if (argc == 3 && std::strcmp(argv[1], "--logo-source") == 0)
    return WriteLogoSource(argv[2]) ? 0 : 1;
  if (argc == 2) return WriteGameData(argv[1]) ? 0 : 1;
  std::fprintf(stderr,
               "usage: make_data <data folder> | --logo <file.kvt> | --logo-source <file.cpp>\n");
  return 2;
}
