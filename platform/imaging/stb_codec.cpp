// The one compilation of stb_image (its BMP and TGA decoders only) and stb_image_write. Both are
// compiled static, so their own names stay private to this file and nothing else in the program
// can define them again. The decoder takes its memory under the budget of the decode in
// progress.
#include <cstdlib>

#include "platform/imaging/decode_budget.h"

#define STBI_MALLOC(size) platform::imaging::BudgetMalloc(size)
#define STBI_REALLOC(block, size) platform::imaging::BudgetRealloc(block, size)
#define STBI_FREE(block) std::free(block)
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
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

#include <climits>
#include <cstring>
#include <utility>

#include "platform/imaging/image_length.h"
#include "platform/imaging/image_reader.h"
#include "platform/imaging/stb_codec.h"

namespace platform::stb {
namespace {

using imaging::DecodeBlockLimit;
using imaging::DecodeBudget;
using imaging::LongEnough;

void AppendBytes(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                             static_cast<size_t>(size));
}

bool IsBmp(const uint8_t* data, size_t size) {
  return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

// A TGA, the one format without a signature, is what the decoder takes when none of the others
// match; every other format's second byte is above 1, a TGA's (its colour-map type) never is.
bool IsTga(const uint8_t* data, size_t size) { return size >= 18 && data[1] <= 1; }

// A TGA whose descriptor says its rows run right to left (bit 4): the decoder heeds only the
// top-or-bottom bit, so the rows are turned round here.
void MirrorRightToLeftTga(const uint8_t* data, uint8_t* rgba, int w, int h) {
  if ((data[17] & 0x10) == 0) return;
  auto* pixels = reinterpret_cast<uint32_t*>(rgba);
  for (int y = 0; y < h; ++y) {
    uint32_t* row = pixels + static_cast<size_t>(y) * w;
    for (int left = 0, right = w - 1; left < right; ++left, --right)
      std::swap(row[left], row[right]);
  }
}

}  // namespace

bool Info(const uint8_t* data, size_t size, int* w, int* h) {
  if (data == nullptr || size == 0 || size > 0x7fffffff) return false;
  int components = 0;
  if (stbi_info_from_memory(data, static_cast<int>(size), w, h, &components) == 0) return false;
  // A BMP stored top row first gives its height as a negative number; the decoder turns those
  // rows the right way up itself.
  if (*h < 0 && IsBmp(data, size)) {
    if (*h == INT_MIN) return false;
    *h = -*h;
  }
  return true;
}

uint8_t* Decode(const uint8_t* data, size_t size, int* w, int* h) {
  if (data == nullptr || size == 0 || size > 0x7fffffff) return nullptr;
  // A file shorter than the image its header describes is damaged: refused before the decoder
  // allocates for the whole image.
  int sideW = 0, sideH = 0;
  if (!Info(data, size, &sideW, &sideH) || !LongEnough(data, size, sideW, sideH)) return nullptr;
  ImageReader reader(data, size);
  stbi_io_callbacks callbacks = {ImageReader::Read, ImageReader::Skip, ImageReader::AtEnd};
  int components = 0;
  uint8_t* pixels = nullptr;
  {
    DecodeBudget budget(DecodeBlockLimit(sideW, sideH, size));
    pixels = stbi_load_from_callbacks(&callbacks, &reader, w, h, &components, 4);
  }
  if (pixels == nullptr) return nullptr;
  // A decode that needed bytes past the end made up the rest of the picture.
  if (reader.AskedPastEnd() || *w != sideW || *h != sideH) {
    stbi_image_free(pixels);
    return nullptr;
  }
  if (IsTga(data, size)) MirrorRightToLeftTga(data, pixels, *w, *h);
  return pixels;
}

void Free(uint8_t* pixels) { stbi_image_free(pixels); }

bool Encode(Format format, const uint8_t* rgba, int w, int h, std::string* out) {
  if (rgba == nullptr || w < 1 || h < 1) return false;
  out->clear();
  int written = 0;
  switch (format) {
    case Format::Bmp: written = stbi_write_bmp_to_func(AppendBytes, out, w, h, 4, rgba); break;
    case Format::Tga: written = stbi_write_tga_to_func(AppendBytes, out, w, h, 4, rgba); break;
  }
  return written != 0 && !out->empty();
}

}  // namespace platform::stb
