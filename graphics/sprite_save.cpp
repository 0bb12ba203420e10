// KV_SPRITE's saving: the raw locked bytes of the selected frame to a file, or of every frame
// into a virtual-file archive whose entries are named by the frame's decimal index. Only the
// pixels are written, not the size or format.
#include <vector>

#include "engine/numbers.h"
#include "foundation/buffer.h"
#include "foundation/virtual_file.h"
#include "graphics/sprite.h"

namespace {

// The byte size of the texture's locked block; 0 when the engine does not say.
uint32_t LockedSize(KV_HANDLE texture) {
  auto* size = static_cast<const uint32_t*>(KvTextureGet(texture, KV_TEX_LOCKED_SIZE));
  return size ? *size : 0;
}

}  // namespace

bool KV_SPRITE::SaveFrame(const char* path) {
  KV_HANDLE frame = GetTexture();
  const void* pixels = KvTextureLock(frame, KV_LOCK_READ);
  if (pixels == nullptr) return false;
  KV_BUFFER buffer;
  buffer.Write(pixels, LockedSize(frame));
  bool saved = buffer.SaveToFile(path, 0, 0);
  buffer.Clear();
  KvTextureUnlock(frame, KV_UNLOCK_DISCARD);
  return saved;
}

bool KV_SPRITE::SaveFrames(const char* path) {
  uint32_t count = frames.Count();
  std::vector<KV_VIRTUAL_FILE_DATA> files(count);
  std::vector<KV_BUFFER> buffers(count);
  uint32_t n = 0;
  // Every frame stays locked until the archive is written: the buffers hold copies, but the
  // engine's locks are released together afterwards, all of them, in list order.
  for (auto it = frames.Begin(); !it.IsEnd(); it.Next()) {
    const void* pixels = KvTextureLock(*it, KV_LOCK_READ);
    if (pixels == nullptr) continue;
    buffers[n].Write(pixels, LockedSize(*it));
    files[n].buffer = &buffers[n];
    files[n].name.Format("%u", n);
    ++n;
  }
  bool saved = KV_VIRTUAL_FILE_INFO::Save(path, files.data(), n);
  for (auto it = frames.Begin(); !it.IsEnd(); it.Next()) KvTextureUnlock(*it, KV_UNLOCK_DISCARD);
  return saved;
}
