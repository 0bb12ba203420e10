// Fuzzes the platform's image decode in every format it takes (PNG, JPEG, BMP, TGA, GIF, TIFF,
// icon files and metafiles): any bytes must give a clean result, and a decode that succeeds must
// give the picture its header describes, read nothing past the end of the file and take no block
// of memory larger than that picture (and, for a metafile, its file) allows; see decode_checks.h.
// Every decode is made in both pixel orders, which must give the same picture. Headers claiming
// more than kMostPixels pixels are left out, as every caller refuses them before decoding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/platform/decode_checks.h"
#include "platform/imaging/decode_budget.h"
#include "platform/imaging/image_decode.h"
#include "platform/imaging/metafile/metafile_decode.h"

namespace {

constexpr int64_t kMostPixels = 1 << 22;

// Bytes put after the file for the second decode.
constexpr uint8_t kTail[] = {0xff, 0xd9, 0x3b, 0x00, 0xa5, 0x5a, 0xff, 0xff,
                             0x01, 0x80, 0x7f, 0x00, 'I',  'E',  'N',  'D',
                             0xae, 0x42, 0x60, 0x82, 0xc3, 0x3c, 0x96, 0x69};

// The decode in the imaging calls' own order must give the same picture, red and blue swapped.
void CheckOtherOrder(const uint8_t* data, size_t size, bool decoded,
                     const std::vector<uint8_t>& rgba) {
  int w = 0, h = 0;
  platform::ByteBlock bgra;
  using platform::imaging::PixelOrder;
  if (platform::imaging::DecodeImage(data, size, PixelOrder::Bgra, &w, &h, &bgra) != decoded)
    decode_checks::Fail("decoded in one pixel order only");
  if (!decoded) return;
  if (bgra.size() != rgba.size()) decode_checks::Fail("pixels of other sides in the other order");
  for (size_t i = 0; i < rgba.size(); i += 4) {
    const uint8_t* p = bgra.data() + i;
    if (p[0] != rgba[i + 2] || p[1] != rgba[i + 1] || p[2] != rgba[i] || p[3] != rgba[i + 3])
      decode_checks::Fail("another picture in the other pixel order");
  }
}

bool DecodeAny(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba) {
  bool decoded = platform::imaging::DecodeImage(data, size, w, h, rgba);
  // The image decode gives pixels exactly when it succeeds.
  if (decoded == rgba->empty())
    decode_checks::Fail("a result without pixels, or pixels without one");
  CheckOtherOrder(data, size, decoded, *rgba);
  return decoded;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  decode_checks::Prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto limit = [data](int w, int h, size_t size) {
    return platform::metafile::IsMetafile(data, size)
               ? platform::metafile::MetafileBlockLimit(w, h, size)
               : platform::imaging::DecodeBlockLimit(w, h, size);
  };
  decode_checks::CheckInput(platform::imaging::ImageSides, DecodeAny, limit, kMostPixels, data,
                            size, kTail);
  return 0;
}
