// Fuzzes the metafile reader alone (placeable WMF and EMF), so that a run's time goes to its
// records rather than to the other image formats. Any bytes must give a clean result, and a
// decode that succeeds must
//  - give the picture its header describes, and the same picture every time;
//  - have read nothing past the end of the file: the same bytes followed by others give the same
//    picture (the records end at the end-of-file record, so nothing after it counts);
//  - have taken no block of memory larger than that picture allows, as measured by the
//    allocator's own hooks.
// Pictures of more than kMostPixels are left out: drawing them costs time, not coverage.
#include <sanitizer/allocator_interface.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/metafile_decode.h"

namespace {

constexpr int64_t kMostPixels = 1 << 18;
constexpr uint8_t kTail[] = {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0e, 0x00, 0x00, 0x00,
                             0x14, 0x00, 0x00, 0x00, 0xd7, 0xcd, 0xc6, 0x9a, 0x20, 0x45};

bool measuring = false;
size_t largestBlock = 0;

void OnMalloc(const volatile void*, size_t size) {
  if (measuring && size > largestBlock) largestBlock = size;
}
void OnFree(const volatile void*) {}

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "metafile decode: %s\n", what);
  std::abort();
}

struct Picture {
  bool decoded = false;
  int w = 0;
  int h = 0;
  std::vector<uint8_t> rgba;
};

Picture Decode(const uint8_t* data, size_t size) {
  Picture picture;
  largestBlock = 0;
  measuring = true;
  picture.decoded =
      platform::metafile::DecodeMetafile(data, size, &picture.w, &picture.h, &picture.rgba);
  measuring = false;
  if (picture.decoded && picture.rgba.size() != static_cast<size_t>(picture.w) * picture.h * 4)
    Fail("pixels other than the sides'");
  return picture;
}

// A small EMF with text, decoded once before fuzzing so that fontconfig's one-time set-up (large
// blocks of its own) is not counted against the first input that draws text.
void WarmUp() {
  std::vector<uint8_t> emf(88, 0);
  auto put = [&emf](size_t at, uint32_t v) {
    if (emf.size() < at + 4) emf.resize(at + 4, 0);
    for (int i = 0; i < 4; ++i) emf[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put(0, 1), put(4, 88), put(32, 1000), put(36, 1000), put(40, 0x464D4520), put(52, 4);
  put(72, 96), put(76, 96), put(80, 25), put(84, 25);
  const uint32_t text[] = {84, 80, 0, 0, 0, 0, 1, 0, 0, 10, 10, 1, 76, 0, 0, 0, 0, 0, 0, 'A'};
  for (uint32_t v : text) put(emf.size(), v);
  for (uint32_t v : {14u, 20u, 0u, 16u, 20u}) put(emf.size(), v);
  int w = 0, h = 0;
  std::vector<uint8_t> rgba;
  platform::metafile::DecodeMetafile(emf.data(), emf.size(), &w, &h, &rgba);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  WarmUp();
  __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int w = 0, h = 0;
  if (!platform::metafile::MetafileSides(data, size, &w, &h)) {
    std::vector<uint8_t> rgba;
    if (platform::metafile::DecodeMetafile(data, size, &w, &h, &rgba))
      Fail("decoded without a header");
    return 0;
  }
  if (static_cast<int64_t>(w) * h > kMostPixels) return 0;
  Picture picture = Decode(data, size);
  if (largestBlock > platform::imaging::DecodeBlockLimit(w, h, size))
    Fail("a block over the limit");
  if (!picture.decoded) return 0;
  if (picture.w != w || picture.h != h) Fail("sides other than the header's");

  std::vector<uint8_t> longer(data, data + size);
  longer.insert(longer.end(), kTail, kTail + sizeof kTail);
  Picture again = Decode(longer.data(), longer.size());
  if (!again.decoded) Fail("refused with more bytes after it");
  if (again.w != w || again.h != h || again.rgba != picture.rgba)
    Fail("another picture with more bytes after it");
  return 0;
}
