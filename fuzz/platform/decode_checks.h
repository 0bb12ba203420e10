// What the picture-decoding fuzz targets check of every decode:
//  - the largest block of memory it takes, measured by the allocator's own hooks rather than by
//    the decoder's budget, so that blocks taken inside the libraries count too;
//  - that a result comes with exactly the pixels of its sides, and a refusal with none;
//  - that the same bytes followed by others give the same picture: a decoder that read past the
//    end got zeros there the first time and other bytes the second.
#pragma once

#include <sanitizer/allocator_interface.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/imaging/metafile/metafile_decode.h"

namespace decode_checks {

inline bool measuring = false;
inline size_t largestBlock = 0;

inline void OnMalloc(const volatile void*, size_t size) {
  if (measuring && size > largestBlock) largestBlock = size;
}
inline void OnFree(const volatile void*) {}

// Call once, from LLVMFuzzerInitialize, after any one-time set-up that is not to be measured.
inline void MeasureBlocks() { __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree); }

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "picture decode: %s\n", what);
  std::abort();
}

// Decodes a small EMF with text, once before fuzzing, so that fontconfig's one-time set-up (large
// blocks of its own) is not counted against the first input that draws text.
inline void WarmUpText() {
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

// What both targets do once, from LLVMFuzzerInitialize: the text warm-up, then the measuring.
inline void Prepare() {
  WarmUpText();
  MeasureBlocks();
}

struct Picture {
  bool decoded = false;
  int w = 0;
  int h = 0;
  std::vector<uint8_t> rgba;
  size_t largestBlock = 0;
};

// decode(data, size, &w, &h, &rgba) -> bool, measured.
template <typename DecodeFn>
Picture Decode(DecodeFn decode, const uint8_t* data, size_t size) {
  Picture picture;
  largestBlock = 0;
  measuring = true;
  picture.decoded = decode(data, size, &picture.w, &picture.h, &picture.rgba);
  measuring = false;
  picture.largestBlock = largestBlock;
  if (!picture.decoded && !picture.rgba.empty()) Fail("pixels without a result");
  if (picture.decoded && picture.rgba.size() != static_cast<size_t>(picture.w) * picture.h * 4)
    Fail("pixels other than the sides'");
  return picture;
}

// The checks of a decode whose header gave sides w x h and whose blocks may reach limit.
template <typename DecodeFn, size_t kTailSize>
void CheckDecode(DecodeFn decode, const uint8_t* data, size_t size, int w, int h, size_t limit,
                 const uint8_t (&tail)[kTailSize]) {
  Picture picture = Decode(decode, data, size);
  if (picture.largestBlock > limit) Fail("a block over the limit");
  if (!picture.decoded) return;
  if (picture.w != w || picture.h != h) Fail("sides other than the header's");

  std::vector<uint8_t> longer(data, data + size);
  longer.insert(longer.end(), tail, tail + kTailSize);
  Picture again = Decode(decode, longer.data(), longer.size());
  if (!again.decoded) Fail("refused with more bytes after it");
  if (again.w != w || again.h != h || again.rgba != picture.rgba)
    Fail("another picture with more bytes after it");
}

// The whole check of one input: a file whose header gives no sides must not decode; one whose
// picture has more than mostPixels pixels is left out; any other is decoded and checked against
// limit(w, h, size).
template <typename SidesFn, typename DecodeFn, typename LimitFn, size_t kTailSize>
void CheckInput(SidesFn sides, DecodeFn decode, LimitFn limit, int64_t mostPixels,
                const uint8_t* data, size_t size, const uint8_t (&tail)[kTailSize]) {
  int w = 0, h = 0;
  if (!sides(data, size, &w, &h)) {
    std::vector<uint8_t> rgba;
    if (decode(data, size, &w, &h, &rgba)) Fail("decoded without a header");
    return;
  }
  if (w < 1 || h < 1 || static_cast<int64_t>(w) * h > mostPixels) return;
  CheckDecode(decode, data, size, w, h, limit(w, h, size), tail);
}

}  // namespace decode_checks
