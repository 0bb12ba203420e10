// The one compilation of stb_image, kept private to the engine (static functions) so that other
// libraries of the program can compile their own. Only the formats the engine reads are built.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

#include "engine/textures/stb_decode.h"

namespace kv::engine::stb {

bool Info(const uint8_t* data, size_t size, int* w, int* h) {
  if (size > 0x7fffffff) return false;
  int components = 0;
  return stbi_info_from_memory(data, static_cast<int>(size), w, h, &components) != 0;
}

uint8_t* Decode(const uint8_t* data, size_t size, int* w, int* h) {
  if (size > 0x7fffffff) return nullptr;
  int components = 0;
  return stbi_load_from_memory(data, static_cast<int>(size), w, h, &components, 4);
}

void Free(uint8_t* pixels) { stbi_image_free(pixels); }

}  // namespace kv::engine::stb
