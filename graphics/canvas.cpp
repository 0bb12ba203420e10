// KV_CANVAS: each operation forwards to the engine with the canvas's frame buffer.
#include "graphics/canvas.h"

namespace {

// The int32 property behind the pointer, 0 when the engine knows no such frame buffer.
int32_t IntegerProperty(KV_HANDLE handle, uint32_t property) {
  const int32_t* value = static_cast<const int32_t*>(KvFrameBufferGet(handle, property));
  return value != nullptr ? *value : 0;
}

}  // namespace

uint8_t KV_CANVAS::Create(int32_t width, int32_t height, int32_t depthBits, uint8_t option) {
  return KvFrameBufferCreate(&handle, width, height, depthBits, option);
}

uint8_t KV_CANVAS::CreateFromTexture(KV_HANDLE texture, uint8_t option) {
  return KvFrameBufferCreateFromTexture(&handle, texture, option);
}

void KV_CANVAS::Destroy() { KvFrameBufferDestroy(handle); }

bool KV_CANVAS::Activate(uint8_t flip) {
  if (KvFrameBufferActivate(handle) == 0) return false;
  KvMatrixSave(KV_MATRIX_PROJECTION, savedProjection.m);
  double w = GetWidth();
  double h = GetHeight();
  if (flip) {
    KvCameraOrtho(0, h, w, -h, 0);
  } else {
    KvCameraOrtho(0, 0, w, h, 0);
  }
  return true;
}

void KV_CANVAS::Unactivate(uint8_t mipmap) {
  KvFrameBufferUnactivate(handle);
  if (mipmap) KvFrameBufferMipmap(handle);
  KvMatrixMode(KV_MATRIX_PROJECTION);
  KvMatrixLoad(savedProjection.m);
  KvMatrixMode(KV_MATRIX_MODELVIEW);
}

void KV_CANVAS::ActivateTexture() { KvFrameBufferActivateTexture(handle); }

int32_t KV_CANVAS::GetWidth() const { return IntegerProperty(handle, KV_FB_WIDTH); }

int32_t KV_CANVAS::GetHeight() const { return IntegerProperty(handle, KV_FB_HEIGHT); }

// The engine's pointer is null for a canvas never created: the copy is then a null handle rather
// than a read through it.
KV_HANDLE KV_CANVAS::GetTexture() const {
  const KV_HANDLE* texture = static_cast<const KV_HANDLE*>(KvFrameBufferGet(handle, KV_FB_TEXTURE));
  return texture != nullptr ? *texture : KV_HANDLE{};
}

uint8_t KV_CANVAS::SwapTexture(KV_HANDLE texture) {
  return KvFrameBufferSwapTexture(handle, texture);
}

uint8_t KV_CANVAS::UseFBO() { return KvFrameBufferUseFBO(handle); }
