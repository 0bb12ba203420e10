// The engine's image decoding goes through the program's one compilation of stb_image, which
// platform/ keeps (its imaging calls decode with it too). The engine reads PNG, JPEG, BMP and
// TGA only: a GIF, which that compilation also knows, is refused here.
#include "engine/textures/stb_decode.h"

#include "platform/imaging/stb_codec.h"

namespace kv::engine::stb {

bool Info(const uint8_t* data, size_t size, int* w, int* h) {
  if (platform::stb::IsGif(data, size)) return false;
  return platform::stb::Info(data, size, w, h);
}

uint8_t* Decode(const uint8_t* data, size_t size, int* w, int* h) {
  if (platform::stb::IsGif(data, size)) return nullptr;
  return platform::stb::Decode(data, size, w, h);
}

void Free(uint8_t* pixels) { platform::stb::Free(pixels); }

}  // namespace kv::engine::stb
