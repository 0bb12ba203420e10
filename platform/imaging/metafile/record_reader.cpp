// Reading floating-point fields of metafile records.
#include "platform/imaging/metafile/record_reader.h"

#include <cstring>

namespace platform::metafile {

float RecordReader::F32(size_t at) {
  uint32_t bits = U32(at);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace platform::metafile
