// KV_SPRITE's five loaders. They share one pattern (LoadSources) and differ only in where each
// texture's pixels come from: texture files, memory blocks, the current render, image files read
// through the imaging interface, or nothing (empty).
#include <cstring>
#include <string>
#include <vector>

#include "engine/numbers.h"
#include "graphics/image_files.h"
#include "graphics/sprite.h"

namespace {

// The value a texture property points to; 0 when the engine knows no such property.
int32_t TextureValue(KV_HANDLE texture, uint32_t property) {
  auto* value = static_cast<const int32_t*>(KvTextureGet(texture, property));
  return value ? *value : 0;
}

// The items of a ";"-separated list, empty items left out.
std::vector<std::string> SplitFileList(const char* files) {
  std::vector<std::string> items;
  const char* start = files;
  for (const char* p = files;; ++p) {
    if (*p == ';' || *p == '\0') {
      if (p > start) items.emplace_back(start, p);
      if (*p == '\0') break;
      start = p + 1;
    }
  }
  return items;
}

// ---- the fill of each loader -----------------------------------------------------------------

struct FILE_SOURCES {
  std::vector<std::string> names;
  uint8_t option;
};

bool FillFromFile(KV_HANDLE texture, const void* context, uint32_t i) {
  auto* sources = static_cast<const FILE_SOURCES*>(context);
  return KvTextureLoad(texture, sources->names[i].c_str(), sources->option) != 0;
}

struct MEMORY_SOURCES {
  const void* const* blocks;
  uint8_t option;
};

bool FillFromMemory(KV_HANDLE texture, const void* context, uint32_t i) {
  auto* sources = static_cast<const MEMORY_SOURCES*>(context);
  return KvTextureLoadFromMemory(texture, sources->blocks[i], sources->option) != 0;
}

bool FillFromRender(KV_HANDLE texture, const void* context, uint32_t) {
  auto* area = static_cast<const uint32_t*>(context);
  return KvTextureFromRender(texture, area[0], area[1], area[2], area[3], 1) != 0;
}

bool FillFromImage(KV_HANDLE texture, const void* context, uint32_t i) {
  auto* names = static_cast<const std::vector<std::string>*>(context);
  return KvTextureLoadImage(texture, (*names)[i].c_str());
}

bool FillEmpty(KV_HANDLE texture, const void* context, uint32_t) {
  auto* size = static_cast<const int32_t*>(context);
  return KvTextureLoadEmpty(texture, size[0], size[1], 1) != 0;
}

}  // namespace

// ---- the shared pattern ------------------------------------------------------------------------

void KV_SPRITE::LoadSources(uint32_t sourceCount, FILL fill, const void* context,
                            bool activateAfterFill, float minFilter, float magFilter,
                            const int32_t six[6]) {
  for (uint32_t i = 0; i < sourceCount; ++i) {
    KV_HANDLE texture;
    KvTextureCreate(&texture);
    if (texture.IsNull()) continue;
    if (!fill(texture, context, i)) {
      // A texture that could not be filled is released, so a failed file leaves nothing behind.
      KvTextureDestroy(texture);
      continue;
    }
    if (activateAfterFill) KvTextureActivate(texture);
    KvTextureParameter(KV_TEX_MIN_FILTER, minFilter);
    KvTextureParameter(KV_TEX_MAG_FILTER, magFilter);
    KvTextureUnactivate(KV_TEXTURE_TARGET);
    AddFrame(texture);
    // Sizes are never reset: loading into a sprite that has a size can only grow it.
    int32_t w = TextureValue(texture, KV_TEX_WIDTH), h = TextureValue(texture, KV_TEX_HEIGHT);
    if (w > width) width = w;
    if (h > height) height = h;
  }
  SetFrame(0.0f);
  pivotX = six[0];
  pivotY = six[1];
  boxWidth = six[2];
  boxHeight = six[3];
  boxX = six[4];
  boxY = six[5];
  if (stripCount > 1) width /= stripCount;
  if (boxWidth < 0) {
    boxWidth = width;
    boxX = pivotX;
  }
  if (boxHeight < 0) {
    boxHeight = height;
    boxY = pivotY;
  }
  UpdateSize();
  UpdateCoords();
  loaded = 1;
}

// ---- the five loaders ------------------------------------------------------------------------

bool KV_SPRITE::Load(const char* files, uint8_t loadOption, float minFilter, float magFilter,
                     int32_t pivotX, int32_t pivotY, int32_t boxWidth, int32_t boxHeight,
                     int32_t boxX, int32_t boxY) {
  if (files == nullptr) return false;
  FILE_SOURCES sources{SplitFileList(files), loadOption};
  const int32_t six[6] = {pivotX, pivotY, boxWidth, boxHeight, boxX, boxY};
  LoadSources((uint32_t)sources.names.size(), FillFromFile, &sources, true, minFilter, magFilter,
              six);
  return true;
}

bool KV_SPRITE::LoadFromMemory(const void* const* blocks, int32_t count, uint8_t loadOption,
                               float minFilter, float magFilter, int32_t pivotX, int32_t pivotY,
                               int32_t boxWidth, int32_t boxHeight, int32_t boxX, int32_t boxY) {
  if (blocks == nullptr || count <= 0) return false;
  // Null entries are skipped before any texture is made for them.
  std::vector<const void*> present;
  for (int32_t i = 0; i < count; ++i)
    if (blocks[i] != nullptr) present.push_back(blocks[i]);
  MEMORY_SOURCES sources{present.data(), loadOption};
  const int32_t six[6] = {pivotX, pivotY, boxWidth, boxHeight, boxX, boxY};
  LoadSources((uint32_t)present.size(), FillFromMemory, &sources, true, minFilter, magFilter, six);
  return true;
}

bool KV_SPRITE::LoadFromRender(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, float minFilter,
                               float magFilter, int32_t pivotX, int32_t pivotY, int32_t boxWidth,
                               int32_t boxHeight, int32_t boxX, int32_t boxY) {
  const uint32_t area[4] = {x1, y1, x2, y2};
  const int32_t six[6] = {pivotX, pivotY, boxWidth, boxHeight, boxX, boxY};
  // The fill call leaves the texture current, so no extra activation.
  LoadSources(1, FillFromRender, area, false, minFilter, magFilter, six);
  return true;
}

bool KV_SPRITE::LoadImages(const char* files, float minFilter, float magFilter, int32_t pivotX,
                           int32_t pivotY, int32_t boxWidth, int32_t boxHeight, int32_t boxX,
                           int32_t boxY) {
  if (files == nullptr) return false;
  std::vector<std::string> names = SplitFileList(files);
  const int32_t six[6] = {pivotX, pivotY, boxWidth, boxHeight, boxX, boxY};
  LoadSources((uint32_t)names.size(), FillFromImage, &names, true, minFilter, magFilter, six);
  return true;
}

bool KV_SPRITE::LoadEmpty(int32_t w, int32_t h, float minFilter, float magFilter, int32_t pivotX,
                          int32_t pivotY, int32_t boxWidth, int32_t boxHeight, int32_t boxX,
                          int32_t boxY) {
  if (w < 1 || h <= 0) return false;
  const int32_t size[2] = {w, h};
  const int32_t six[6] = {pivotX, pivotY, boxWidth, boxHeight, boxX, boxY};
  LoadSources(1, FillEmpty, size, false, minFilter, magFilter, six);
  return true;
}
