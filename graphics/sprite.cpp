// KV_SPRITE: construction, copies and moves, geometry, colour, locking and destruction.
// Loaders, frames, drawing and saving live in sprite_load.cpp, sprite_frames.cpp,
// sprite_draw.cpp and sprite_save.cpp.
#include "graphics/sprite.h"

#include <cmath>

#include "engine/numbers.h"

namespace {

// Texture coordinates of a whole texture, corner 0 to 3.
const float kWholeCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

void SetPosition(KV_VERTEX& vertex, float x, float y) {
  vertex.position[0] = x;
  vertex.position[1] = y;
  vertex.position[2] = 0;
  vertex.position[3] = 1;
}

void SetCoord(KV_VERTEX& vertex, float u, float v) {
  vertex.texCoord[0] = u;
  vertex.texCoord[1] = v;
  vertex.texCoord[2] = 0;
  vertex.texCoord[3] = 1;
}

}  // namespace

// ---- construction, copies and moves --------------------------------------------------------

KV_SPRITE::KV_SPRITE() {
  for (int i = 0; i < 4; ++i) {
    SetCoord(vertices[i], kWholeCoords[i][0], kWholeCoords[i][1]);
    for (float& c : vertices[i].color) c = 1;
    vertices[i].normal[0] = 0;
    vertices[i].normal[1] = 0;
    vertices[i].normal[2] = 1;
  }
}

KV_SPRITE::KV_SPRITE(const KV_SPRITE& other) : frames(other.frames) {
  CopyValues(other);
  SelectIndex(other.SelectedIndex());
}

KV_SPRITE& KV_SPRITE::operator=(const KV_SPRITE& other) {
  if (this == &other) return *this;
  // The old selection points into the old list: read the new one before replacing the list.
  int64_t index = other.SelectedIndex();
  frames = other.frames;
  CopyValues(other);
  SelectIndex(index);
  return *this;
}

KV_SPRITE::KV_SPRITE(KV_SPRITE&& other) noexcept { *this = static_cast<KV_SPRITE&&>(other); }

KV_SPRITE& KV_SPRITE::operator=(KV_SPRITE&& other) noexcept {
  if (this == &other) return *this;
  frames.Clear();
  // Adopting keeps the nodes, so the source's selection stays valid in this list.
  while (other.frames.Count() > 0) frames.Adopt(other.frames.Begin());
  CopyValues(other);
  currentFrame = other.currentFrame;
  loaded = other.loaded;
  other.loaded = 0;
  other.currentFrame.Reset();
  other.framePosition = -1.0f;
  return *this;
}

void KV_SPRITE::CopyValues(const KV_SPRITE& other) {
  loaded = 0;
  framePosition = other.framePosition;
  stripCount = other.stripCount;
  stripPosition = other.stripPosition;
  width = other.width;
  height = other.height;
  pivotX = other.pivotX;
  pivotY = other.pivotY;
  boxWidth = other.boxWidth;
  boxHeight = other.boxHeight;
  boxX = other.boxX;
  boxY = other.boxY;
  for (int i = 0; i < 4; ++i) vertices[i] = other.vertices[i];
}

int64_t KV_SPRITE::SelectedIndex() const {
  if (currentFrame.IsEnd()) return -1;
  int64_t index = 0;
  for (auto it = frames.Begin(); !it.IsEnd(); it.Next(), ++index)
    if (it == currentFrame) return index;
  return -1;
}

void KV_SPRITE::SelectIndex(int64_t index) {
  currentFrame.Reset();
  if (index < 0) return;
  auto it = frames.Begin();
  for (int64_t i = 0; i < index && !it.IsEnd(); ++i) it.Next();
  currentFrame = it;
}

// ---- geometry and colour ---------------------------------------------------------------------

void KV_SPRITE::SetColor(float r, float g, float b, float a) {
  for (KV_VERTEX& vertex : vertices) {
    vertex.color[0] = r;
    vertex.color[1] = g;
    vertex.color[2] = b;
    vertex.color[3] = a;
  }
}

KV_VECTOR KV_SPRITE::GetColor() const {
  const float* c = vertices[0].color;
  return KV_VECTOR(c[0], c[1], c[2], c[3]);
}

void KV_SPRITE::CenterPivot() {
  pivotX = width / 2;
  pivotY = height / 2;
  UpdateSize();
}

void KV_SPRITE::ResetRect() {
  boxX = pivotX;
  boxY = pivotY;
  boxWidth = width;
  boxHeight = height;
}

void KV_SPRITE::UpdateSize() {
  float left = (float)-pivotX, top = (float)-pivotY;
  float right = (float)(width - pivotX), bottom = (float)(height - pivotY);
  SetPosition(vertices[0], left, top);
  SetPosition(vertices[1], right, top);
  SetPosition(vertices[2], right, bottom);
  SetPosition(vertices[3], left, bottom);
}

void KV_SPRITE::UpdateCoords() {
  if (stripCount <= 0) {
    for (int i = 0; i < 4; ++i) SetCoord(vertices[i], kWholeCoords[i][0], kWholeCoords[i][1]);
    return;
  }
  float step = 1.0f / (float)stripCount;
  float uLeft = std::floor(stripPosition) * step;
  float uRight = std::floor(stripPosition + 1) * step;
  SetCoord(vertices[0], uLeft, 0);
  SetCoord(vertices[1], uRight, 0);
  SetCoord(vertices[2], uRight, 1);
  SetCoord(vertices[3], uLeft, 1);
}

// ---- pixels and ownership --------------------------------------------------------------------

void* KV_SPRITE::Lock(int32_t* outWidth, int32_t* outHeight) {
  KV_HANDLE frame = GetTexture();
  void* pixels = KvTextureLock(frame, KV_LOCK_EDIT);
  if (pixels == nullptr) return nullptr;
  auto* w = static_cast<const int32_t*>(KvTextureGet(frame, KV_TEX_WIDTH));
  auto* h = static_cast<const int32_t*>(KvTextureGet(frame, KV_TEX_HEIGHT));
  if (outWidth != nullptr) *outWidth = w ? *w : 0;
  if (outHeight != nullptr) *outHeight = h ? *h : 0;
  return pixels;
}

uint8_t KV_SPRITE::Unlock(uint8_t option) { return KvTextureUnlock(GetTexture(), option); }

void KV_SPRITE::SetLoaded(uint8_t value) { loaded = value; }

void KV_SPRITE::Destroy(uint8_t keepTextures) {
  if (loaded) {
    loaded = 0;
    if (!keepTextures) {
      while (frames.Count() > 0) {
        KvTextureDestroy(*frames.Begin());
        frames.Erase(frames.Begin());
      }
    }
  }
  frames.Clear();
  SetFrame(-1.0f);
}
