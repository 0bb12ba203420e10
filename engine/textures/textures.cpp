// KvTexture*: creating, filling, reading and destroying textures.
#include "engine/numbers.h"
#include "engine/textures/textures.h"

#include <algorithm>

#include "engine/draw/batch.h"
#include "engine/targets/drawing_buffers.h"
#include "engine/gl/context.h"
#include "engine/gl/state_cache.h"
#include "engine/objects/object_table.h"
#include "engine/targets/render_targets.h"
#include "engine/textures/image_files.h"
#include "engine/textures/kvt_format.h"
#include "engine/trace/trace.h"

namespace kv::engine {

namespace {

ObjectTable<Texture> textures;

bool ValidSide(int64_t side) { return side >= 1 && side <= static_cast<int64_t>(kvt::kMaxSide); }

// Replaces the texture's pixels (RGBA, top row first) and leaves it current.
bool Upload(KV_HANDLE handle, Texture& texture, const uint8_t* rgba, uint32_t w, uint32_t h) {
  if (!EnsureCurrent()) return false;
  batch::FlushIfUses(texture.id);
  glcache::BindTexture(0, texture.id);
  gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(w), static_cast<GLsizei>(h), 0,
                GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, texture.minFilter);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, texture.magFilter);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, texture.wrapS);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, texture.wrapT);
  texture.width = w;
  texture.height = h;
  // A reload ends any lock: the copy no longer matches the texture.
  texture.locked = false;
  texture.lockedSize = 0;
  texture.lockedPixels.Clear();
  MakeCurrent(handle, texture);
  return true;
}

bool UploadImage(KV_HANDLE handle, Texture* texture, const Image& image) {
  return Upload(handle, *texture, image.rgba.data(), image.width, image.height);
}

void Release(Texture& texture) {
  batch::FlushIfUses(texture.id);
  if (EnsureCurrent()) gl.DeleteTextures(1, &texture.id);
  glcache::ForgetTexture(texture.id);
}

}  // namespace

Texture* FindTexture(KV_HANDLE handle) { return textures.Find(handle); }
size_t TextureCount() { return textures.Count(); }

KV_HANDLE CreateBlankTexture(uint32_t w, uint32_t h) {
  if (!ValidSide(w) || !ValidSide(h) || !EnsureContext() || !EnsureCurrent()) return KV_HANDLE{};
  auto texture = std::make_unique<Texture>();
  gl.GenTextures(1, &texture->id);
  if (texture->id == 0) return KV_HANDLE{};
  std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4, 0);
  glcache::BindTexture(0, texture->id);
  gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(w), static_cast<GLsizei>(h), 0,
                GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, texture->minFilter);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, texture->magFilter);
  texture->width = w;
  texture->height = h;
  return textures.Add(std::move(texture));
}

void DestroyTexture(KV_HANDLE handle) {
  std::unique_ptr<Texture> texture = textures.Remove(handle);
  if (texture == nullptr) return;
  ForgetCurrent(handle);
  Release(*texture);
}

void DestroyAllTextures() {
  textures.ForEach([](uint32_t id, Texture& texture) {
    ForgetCurrent(MakeHandle(id));
    Release(texture);
  });
  textures.Clear();
}

}  // namespace kv::engine

using namespace kv::engine;

extern "C" uint8_t KvTextureCreate(KV_HANDLE* out) {
  if (trace::Call("KvTextureCreate", out)) return 0;
  if (out == nullptr) return 0;
  *out = KV_HANDLE{};
  if (!EnsureContext() || !EnsureCurrent()) return 0;
  auto texture = std::make_unique<Texture>();
  gl.GenTextures(1, &texture->id);
  if (texture->id == 0) return 0;
  *out = textures.Add(std::move(texture));
  return 1;
}

extern "C" void KvTextureDestroy(KV_HANDLE tex) {
  if (trace::Call("KvTextureDestroy", tex)) return;
  DestroyTexture(tex);
}

extern "C" uint8_t KvTextureLoad(KV_HANDLE tex, const char* path, uint8_t option) {
  if (trace::Call("KvTextureLoad", tex, path, option)) return 0;
  Texture* texture = textures.Find(tex);
  std::vector<uint8_t> file;
  Image image;
  if (texture == nullptr || !ReadWholeFile(path, &file) ||
      !DecodeImage(file.data(), file.size(), &image))
    return 0;
  return UploadImage(tex, texture, image) ? 1 : 0;
}

extern "C" uint8_t KvTextureLoadFromMemory(KV_HANDLE tex, const void* block, uint8_t option) {
  if (trace::Call("KvTextureLoadFromMemory", tex, block, option)) return 0;
  Texture* texture = textures.Find(tex);
  if (texture == nullptr || block == nullptr) return 0;
  const uint8_t* bytes = static_cast<const uint8_t*>(block);
  size_t size = MeasureImageBlock(bytes);
  Image image;
  if (size == 0 || !DecodeImage(bytes, size, &image)) return 0;
  return UploadImage(tex, texture, image) ? 1 : 0;
}

extern "C" uint8_t KvTextureLoadRGBAFromMemory(KV_HANDLE tex, const void* rgba, uint32_t w,
                                               uint32_t h) {
  if (trace::Call("KvTextureLoadRGBAFromMemory", tex, rgba, w, h)) return 0;
  Texture* texture = textures.Find(tex);
  if (texture == nullptr || rgba == nullptr || !ValidSide(w) || !ValidSide(h)) return 0;
  return Upload(tex, *texture, static_cast<const uint8_t*>(rgba), w, h) ? 1 : 0;
}

extern "C" uint8_t KvTextureLoadEmpty(KV_HANDLE tex, int32_t w, int32_t h, uint32_t option) {
  if (trace::Call("KvTextureLoadEmpty", tex, w, h, option)) return 0;
  Texture* texture = textures.Find(tex);
  if (texture == nullptr || !ValidSide(w) || !ValidSide(h)) return 0;
  std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4, 0);
  return Upload(tex, *texture, pixels.data(), static_cast<uint32_t>(w), static_cast<uint32_t>(h))
             ? 1
             : 0;
}

extern "C" uint8_t KvTextureFromRender(KV_HANDLE tex, uint32_t x1, uint32_t y1, uint32_t x2,
                                       uint32_t y2, uint8_t flag) {
  if (trace::Call("KvTextureFromRender", tex, x1, y1, x2, y2, flag)) return 0;
  Texture* texture = textures.Find(tex);
  RenderTarget* target = CurrentTarget();
  if (texture == nullptr || target == nullptr || !EnsureCurrent()) return 0;
  // The corners may come in any order; the area is clipped to the target.
  int64_t left = std::min(x1, x2), right = std::max(x1, x2), top = std::min(y1, y2),
          bottom = std::max(y1, y2);
  int x = static_cast<int>(std::min<int64_t>(left, target->width));
  int y = static_cast<int>(std::min<int64_t>(top, target->height));
  int w = static_cast<int>(std::min<int64_t>(right, target->width)) - x;
  int h = static_cast<int>(std::min<int64_t>(bottom, target->height)) - y;
  std::vector<uint8_t> pixels;
  if (w <= 0 || h <= 0) return 0;
  bool read = ReadTargetPixels(*target, &x, &y, &w, &h, &pixels);
  BindDrawing();
  if (!read) return 0;
  return Upload(tex, *texture, pixels.data(), static_cast<uint32_t>(w), static_cast<uint32_t>(h))
             ? 1
             : 0;
}

extern "C" void* KvTextureGet(KV_HANDLE tex, uint32_t property) {
  if (trace::Call("KvTextureGet", tex, property)) return nullptr;
  Texture* texture = textures.Find(tex);
  if (texture == nullptr) return nullptr;
  switch (property) {
    case KV_TEX_WIDTH: return &texture->width;
    case KV_TEX_HEIGHT: return &texture->height;
    case KV_TEX_LOCKED_SIZE: return &texture->lockedSize;
    default: return nullptr;
  }
}

// Both lock modes give a copy read back from the texture; locking a locked texture gives the same
// copy again.
extern "C" void* KvTextureLock(KV_HANDLE tex, uint32_t mode) {
  if (trace::Call("KvTextureLock", tex, mode)) return nullptr;
  Texture* texture = textures.Find(tex);
  if (texture == nullptr || (mode != KV_LOCK_EDIT && mode != KV_LOCK_READ) || texture->width == 0)
    return nullptr;
  if (texture->locked) return texture->lockedPixels.data();
  if (!EnsureCurrent()) return nullptr;
  if (!texture->lockedPixels.Allocate(static_cast<size_t>(texture->width) * texture->height * 4))
    return nullptr;
  glcache::BindTexture(0, texture->id);
  gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
  gl.GetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texture->lockedPixels.data());
  texture->locked = true;
  texture->lockedSize = static_cast<uint32_t>(texture->lockedPixels.size());
  return texture->lockedPixels.data();
}

// Option 0 discards the copy; any other value first uploads it into the texture.
extern "C" uint8_t KvTextureUnlock(KV_HANDLE tex, uint8_t option) {
  if (trace::Call("KvTextureUnlock", tex, option)) return 0;
  Texture* texture = textures.Find(tex);
  if (texture == nullptr || !texture->locked) return 0;
  if (option != KV_UNLOCK_DISCARD) {
    platform::ByteBlock pixels = std::move(texture->lockedPixels);
    if (!Upload(tex, *texture, pixels.data(), texture->width, texture->height)) return 0;
  }
  texture->locked = false;
  texture->lockedSize = 0;
  texture->lockedPixels.Clear();
  return 1;
}
