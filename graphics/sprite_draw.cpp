// KV_SPRITE's drawing: the quad around its pivot at a position, rotation and scale, and the
// selected frame stretched or tiled over an explicit rectangle.
#include "engine/numbers.h"
#include "graphics/placement.h"
#include "graphics/sprite.h"

namespace {

// Sends four vertices as one quad with the given texture current.
void DrawQuad(KV_HANDLE texture, const KV_VERTEX* quad) {
  KvTextureActivate(texture);
  KvDrawDataStruct(KV_PRIM_QUADS, 0, 4, quad, nullptr, 0, 0, 0, 0, 0, 0);
}

// A copy of the sprite's vertices laid over the rectangle a..b with coordinates 0..u, 0..v.
void RectQuad(const KV_VERTEX* source, KV_VERTEX* quad, const KV_VECTOR& a, const KV_VECTOR& b,
              float u, float v) {
  const float corners[4][4] = {
      {a.x, a.y, 0, 0}, {b.x, a.y, u, 0}, {b.x, b.y, u, v}, {a.x, b.y, 0, v}};
  for (int i = 0; i < 4; ++i) {
    quad[i] = source[i];
    quad[i].position[0] = corners[i][0];
    quad[i].position[1] = corners[i][1];
    quad[i].position[2] = 0;
    quad[i].position[3] = 1;
    quad[i].texCoord[0] = corners[i][2];
    quad[i].texCoord[1] = corners[i][3];
  }
}

}  // namespace

void KV_SPRITE::Draw(KV_VECTOR_D position, KV_VECTOR_D rotation, KV_VECTOR_D scale) {
  if (currentFrame.IsEnd()) return;
  // The current matrix is reset inside the push: the sprite is placed by its own values only,
  // under whatever projection (camera) is set.
  KvMatrixPush();
  KvMatrixIdentity();
  ApplyPlacement(position, rotation, scale);
  DrawQuad(GetTexture(), vertices);
  KvMatrixPop();
}

void KV_SPRITE::DrawRect(KV_VECTOR a, KV_VECTOR b, float u, float v) {
  if (currentFrame.IsEnd()) return;
  KV_VERTEX quad[4];
  RectQuad(vertices, quad, a, b, u, v);
  DrawQuad(GetTexture(), quad);
}

void KV_SPRITE::DrawEx(KV_VECTOR a, KV_VECTOR b, float repeatX, float repeatY) {
  if (currentFrame.IsEnd()) return;
  float u = (b.x - a.x) / (float)width * repeatX;
  float v = (b.y - a.y) / (float)height * repeatY;
  KV_VERTEX quad[4];
  RectQuad(vertices, quad, a, b, u, v);
  DrawQuad(GetTexture(), quad);
}
