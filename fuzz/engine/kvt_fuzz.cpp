// Fuzzes the .kvt loader's checks and decoding: any bytes must give a clean result, and what is
// accepted must be exactly a header and its pixels, written back byte for byte by the writer.
// Bytes that start like a .kvt file also go through the engine's texture loading (from memory
// when accepted, from a file always) on an engine started once for the whole run: the texture
// must take exactly the file's size and pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/kv_engine.h"
#include "engine/numbers.h"
#include "engine/textures/image_files.h"
#include "engine/textures/kvt_format.h"
#include "fuzz/scratch_folder.h"

namespace {

namespace kvt = kv::engine::kvt;

KV_HANDLE texture;  // one engine texture, filled again by every input that reaches the engine

// The texture holds exactly the header's size and pixels.
void CheckTexture(const kvt::Header& header, const uint8_t* pixels) {
  auto* width = static_cast<uint32_t*>(KvTextureGet(texture, KV_TEX_WIDTH));
  auto* height = static_cast<uint32_t*>(KvTextureGet(texture, KV_TEX_HEIGHT));
  if (width == nullptr || height == nullptr) std::abort();
  if (*width != header.width || *height != header.height) std::abort();
  void* copy = KvTextureLock(texture, KV_LOCK_READ);
  if (copy == nullptr || std::memcmp(copy, pixels, header.payloadSize) != 0) std::abort();
  KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
}

// Loads the bytes through the engine as a file and, when they are a whole file, from memory.
void LoadThroughEngine(const uint8_t* data, size_t size, kvt::Status status,
                       const kvt::Header& header, const uint8_t* pixels) {
  fuzz::WriteFile("t.kvt", data, size);
  bool loaded = KvTextureLoad(texture, "t.kvt", 0) != 0;
  if (loaded != (status == kvt::Status::Ok)) std::abort();
  if (!loaded) return;
  CheckTexture(header, pixels);
  // A block in memory says its own length: only a whole file may be handed over this way.
  if (KvTextureLoadFromMemory(texture, data, 0) == 0) std::abort();
  CheckTexture(header, pixels);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  fuzz::EnterScratchFolder("kv_fuzz_kvt");
  if (KvInitiation() == 0 || KvTextureCreate(&texture) == 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kvt::Header header;
  const uint8_t* pixels = nullptr;
  kvt::Status status = kvt::Parse(data, size, &header, &pixels);
  if (status == kvt::Status::Ok) {
    if (size != kvt::kHeaderSize + static_cast<size_t>(header.width) * header.height * 4)
      std::abort();
    if (pixels != data + kvt::kHeaderSize) std::abort();
    std::vector<uint8_t> written = kvt::Write(header.width, header.height, pixels);
    if (written.size() != size || std::memcmp(written.data(), data, size) != 0) std::abort();
  }
  // The memory-block path measures a .kvt block by its header alone.
  if (size >= kvt::kHeaderSize && kvt::HasMagic(data, size)) {
    size_t measured = kv::engine::MeasureImageBlock(data);
    kv::engine::Image image;
    bool decoded = kv::engine::DecodeImage(data, size, &image);
    if (decoded != (status == kvt::Status::Ok)) std::abort();
    if (decoded && (measured != size || image.rgba.size() != header.payloadSize)) std::abort();
    LoadThroughEngine(data, size, status, header, pixels);
  }
  return 0;
}
