// Walking metafile records by their sizes.
#include "platform/imaging/metafile/record_walk.h"

#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

namespace {

constexpr uint32_t kWmfEof = 0x0000, kEmfEof = 14;

}  // namespace

bool RecordAt(const Header& header, const uint8_t* data, size_t size, size_t at, RecordSpan* out,
              size_t* next) {
  if (at > size) return false;
  RecordReader reader(data + at, size - at);
  uint64_t bytes = 0;
  if (header.kind == Kind::Wmf) {
    // Size in 16-bit words, then the function number.
    bytes = static_cast<uint64_t>(reader.U32(0)) * 2;
    out->type = reader.U16(4);
    if (reader.Short() || bytes < 6) return false;
  } else {
    bytes = reader.U32(4);
    out->type = reader.U32(0);
    if (reader.Short() || bytes < 8 || bytes % 4 != 0) return false;
  }
  if (bytes > size - at) return false;
  out->data = data + at;
  out->size = static_cast<size_t>(bytes);
  *next = at + out->size;
  return true;
}

uint32_t EofType(const Header& header) { return header.kind == Kind::Wmf ? kWmfEof : kEmfEof; }

bool RecordsWhole(const Header& header, const uint8_t* data, size_t size) {
  return ForEachRecord(header, data, size, [](const RecordSpan&) {});
}

}  // namespace platform::metafile
