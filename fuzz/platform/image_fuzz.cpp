// Fuzzes the platform's image decode in every format it takes (PNG, JPEG, BMP, TGA, GIF, TIFF and
// icon files): any bytes must give a clean result, and a decode that succeeds must
//  - give the picture its header describes;
//  - have read nothing past the end of the file: the same bytes followed by others decode to the
//    same picture (a decoder that needed bytes past the end got zeros for them in the first
//    decode and the other bytes in the second);
//  - have taken no block of memory larger than that picture allows, as measured by the
//    allocator's own hooks, not by the decoder's budget.
// Headers claiming more than kMostPixels pixels are left out, as every caller refuses them
// before decoding.
#include <sanitizer/allocator_interface.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/image_decode.h"

namespace {

constexpr int64_t kMostPixels = 1 << 22;

// Bytes put after the file for the second decode.
constexpr uint8_t kTail[] = {0xff, 0xd9, 0x3b, 0x00, 0xa5, 0x5a, 0xff, 0xff,
                             0x01, 0x80, 0x7f, 0x00, 'I',  'E',  'N',  'D',
                             0xae, 0x42, 0x60, 0x82, 0xc3, 0x3c, 0x96, 0x69};

bool measuring = false;
size_t largestBlock = 0;

void OnMalloc(const volatile void*, size_t size) {
  if (measuring && size > largestBlock) largestBlock = size;
}
void OnFree(const volatile void*) {}

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "image decode: %s\n", what);
  std::abort();
}

struct Picture {
  int w = 0;
  int h = 0;
  std::vector<uint8_t> rgba;  // empty: refused
};

Picture Decode(const uint8_t* data, size_t size) {
  Picture picture;
  largestBlock = 0;
  measuring = true;
  bool decoded = platform::imaging::DecodeImage(data, size, &picture.w, &picture.h, &picture.rgba);
  measuring = false;
  if (decoded != !picture.rgba.empty()) Fail("a result without pixels, or pixels without one");
  if (decoded && picture.rgba.size() != static_cast<size_t>(picture.w) * picture.h * 4)
    Fail("pixels other than the sides'");
  return picture;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int w = 0, h = 0;
  if (!platform::imaging::ImageSides(data, size, &w, &h)) {
    std::vector<uint8_t> rgba;
    if (platform::imaging::DecodeImage(data, size, &w, &h, &rgba)) Fail("decoded without a header");
    return 0;
  }
  if (w < 1 || h < 1 || static_cast<int64_t>(w) * h > kMostPixels) return 0;
  Picture picture = Decode(data, size);
  if (largestBlock > platform::imaging::DecodeBlockLimit(w, h, size))
    Fail("a block over the limit");
  if (picture.rgba.empty()) return 0;
  if (picture.w != w || picture.h != h) Fail("sides other than the header's");

  std::vector<uint8_t> longer(data, data + size);
  longer.insert(longer.end(), kTail, kTail + sizeof kTail);
  Picture again = Decode(longer.data(), longer.size());
  if (again.rgba.empty()) Fail("refused with more bytes after it");
  if (again.w != w || again.h != h || again.rgba != picture.rgba)
    Fail("another picture with more bytes after it");
  return 0;
}
