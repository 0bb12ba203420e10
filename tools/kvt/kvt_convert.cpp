// kvt_convert: converts images to the engine's .kvt texture files and back.
//   kvt_convert picture.png texture.kvt   (also JPEG, BMP, TGA, or another .kvt)
//   kvt_convert texture.kvt picture.png
// The direction follows the output's extension. Exit code 0 on success, 1 on any failure.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/textures/image_files.h"
#include "engine/textures/kvt_format.h"

#include "platform/imaging/stb_image_write_here.h"

namespace {

bool EndsWith(const std::string& text, const char* suffix) {
  size_t length = std::strlen(suffix);
  if (text.size() < length) return false;
  std::string tail = text.substr(text.size() - length);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == suffix;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "kvt_convert: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Fail("usage: kvt_convert <input image> <output .kvt or .png>");
  std::string input = argv[1], output = argv[2];
  std::vector<uint8_t> file;
  kv::engine::Image image;
  if (!kv::engine::ReadWholeFile(input.c_str(), &file)) return Fail("cannot read " + input);
  if (!kv::engine::DecodeImage(file.data(), file.size(), &image))
    return Fail(input + " is not an image it can read");
  if (EndsWith(output, ".kvt")) {
    if (!WriteBytes(output, kv::engine::kvt::Write(image.width, image.height, image.rgba.data()))) {
      return Fail("cannot write " + output);
    }
  } else if (EndsWith(output, ".png")) {
    int w = static_cast<int>(image.width), h = static_cast<int>(image.height);
    if (stbi_write_png(output.c_str(), w, h, 4, image.rgba.data(), w * 4) == 0)
      return Fail("cannot write " + output);
  } else {
    return Fail("the output must end in .kvt or .png");
  }
  return 0;
}
