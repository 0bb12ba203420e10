// Fuzzes the .kvt loader's checks and decoding: any bytes must give a clean result, and what is
// accepted must be exactly a header and its pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/textures/image_files.h"
#include "engine/textures/kvt_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace kvt = kv::engine::kvt;
  kvt::Header header;
  const uint8_t* pixels = nullptr;
  kvt::Status status = kvt::Parse(data, size, &header, &pixels);
  if (status == kvt::Status::Ok) {
    if (size != kvt::kHeaderSize + static_cast<size_t>(header.width) * header.height * 4)
      std::abort();
    if (pixels != data + kvt::kHeaderSize) std::abort();
  }
  // The memory-block path measures a .kvt block by its header alone.
  if (size >= kvt::kHeaderSize && kvt::HasMagic(data, size)) {
    size_t measured = kv::engine::MeasureImageBlock(data);
    kv::engine::Image image;
    bool decoded = kv::engine::DecodeImage(data, size, &image);
    if (decoded != (status == kvt::Status::Ok)) std::abort();
    if (decoded && (measured != size || image.rgba.size() != header.payloadSize)) std::abort();
  }
  return 0;
}
