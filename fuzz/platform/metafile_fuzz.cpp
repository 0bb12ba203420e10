// Fuzzes the metafile reader alone (placeable WMF and EMF), so that a run's time goes to its
// records rather than to the other image formats. Any bytes must give a clean result, and a
// decode that succeeds must give the picture its header describes, the same picture every time,
// read nothing past the end of the file (the records end at the end-of-file record, so nothing
// after it counts) and take no block of memory larger than the picture and file allow; see
// decode_checks.h. Pictures of more than kMostPixels are left out: drawing them costs time, not
// coverage.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/platform/decode_checks.h"
#include "platform/imaging/metafile/metafile_decode.h"

namespace {

constexpr int64_t kMostPixels = 1 << 18;
constexpr uint8_t kTail[] = {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0e, 0x00, 0x00, 0x00,
                             0x14, 0x00, 0x00, 0x00, 0xd7, 0xcd, 0xc6, 0x9a, 0x20, 0x45};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  decode_checks::Prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  decode_checks::CheckInput(platform::metafile::MetafileSides, platform::metafile::DecodeMetafile,
                            platform::metafile::MetafileBlockLimit, kMostPixels, data, size, kTail);
  return 0;
}
