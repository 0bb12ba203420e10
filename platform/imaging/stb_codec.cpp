// The one compilation of stb_image and stb_image_write. Both are compiled static, so their own
// names stay private to this file and nothing else in the program can define them again.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

#include <cstring>

#include "platform/imaging/image_length.h"
#include "platform/imaging/stb_codec.h"

namespace platform::stb {
namespace {

// JPEG quality when the caller gives no encoder parameters.
const int kJpegQuality = 75;

void AppendBytes(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                             static_cast<size_t>(size));
}

}  // namespace

bool Info(const uint8_t* data, size_t size, int* w, int* h) {
  if (data == nullptr || size == 0 || size > 0x7fffffff) return false;
  int components = 0;
  return stbi_info_from_memory(data, static_cast<int>(size), w, h, &components) != 0;
}

uint8_t* Decode(const uint8_t* data, size_t size, int* w, int* h) {
  if (data == nullptr || size == 0 || size > 0x7fffffff) return nullptr;
  // A file shorter than the image its header describes is damaged: refused before the decoder
  // allocates for the whole image.
  int sideW = 0, sideH = 0;
  if (!Info(data, size, &sideW, &sideH) || !LongEnough(data, size, sideW, sideH)) return nullptr;
  int components = 0;
  return stbi_load_from_memory(data, static_cast<int>(size), w, h, &components, 4);
}

void Free(uint8_t* pixels) { stbi_image_free(pixels); }

bool IsGif(const uint8_t* data, size_t size) {
  return data != nullptr && size >= 4 && std::memcmp(data, "GIF8", 4) == 0;
}

bool Encode(Format format, const uint8_t* rgba, int w, int h, std::string* out) {
  if (rgba == nullptr || w < 1 || h < 1) return false;
  out->clear();
  int written = 0;
  switch (format) {
    case Format::Png:
      written = stbi_write_png_to_func(AppendBytes, out, w, h, 4, rgba, w * 4);
      break;
    case Format::Bmp: written = stbi_write_bmp_to_func(AppendBytes, out, w, h, 4, rgba); break;
    case Format::Jpeg:
      written = stbi_write_jpg_to_func(AppendBytes, out, w, h, 4, rgba, kJpegQuality);
      break;
    case Format::Tga: written = stbi_write_tga_to_func(AppendBytes, out, w, h, 4, rgba); break;
  }
  return written != 0 && !out->empty();
}

}  // namespace platform::stb
