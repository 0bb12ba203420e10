// Writes the game's data files from code: the twelve sprite textures and the font texture
// ("1.kvt" to "13.kvt"), the font description "5.fnt", and on request the intro logo, either as
// a texture file or as a C++ source that builds it into the engine module. The build uses only
// the last form; the data files are committed in data/ and remade by hand after a change to the
// drawings (`make_data data` from the top folder), which a test checks.
//
//   make_data <data folder>
//   make_data --logo <file.kvt>
//   make_data --logo-source <file.cpp>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/data/art.h"
#include "tools/data/game_data.h"

namespace {

bool WriteBytes(const std::string& path, const void* bytes, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

// Writes every game data file into dir (which must exist).
bool WriteGameData(const std::string& dir) {
  for (const data::DataFile& file : data::GameDataFiles()) {
    std::string path = dir + "/" + file.name;
    if (!WriteBytes(path, file.bytes.data(), file.bytes.size())) {
      std::fprintf(stderr, "make_data: cannot write %s\n", path.c_str());
      return false;
    }
  }
  return true;
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
  return WriteBytes(path, text.data(), text.size());
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
