// KV_CANVAS: drawing into a texture. A thin owner of one engine frame buffer: while active, the
// projection is an orthographic camera over the frame buffer's pixels; afterwards the projection
// that was current before comes back. The frame buffer's texture belongs to the engine object.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "foundation/matrix.h"

class KV_CANVAS {
 public:
  KV_HANDLE handle;             // the engine frame buffer; null until created
  KV_MATRIX_D savedProjection;  // the projection Activate replaced

  // Makes the frame buffer (width, height, depth bits, mipmap option); the engine's result.
  uint8_t Create(int32_t width, int32_t height, int32_t depthBits, uint8_t option);
  // Makes a frame buffer drawing into an existing texture; the engine's result.
  uint8_t CreateFromTexture(KV_HANDLE texture, uint8_t option);
  // Destroys the frame buffer (nothing for a canvas never created).
  void Destroy();
  // Sends drawing into the canvas and sets the camera over its pixels, rows upside down with
  // flip set; false, leaving the projection alone, when the frame buffer cannot be made current.
  bool Activate(uint8_t flip);
  // Sends drawing back, renews the mipmaps when asked, and restores the saved projection with
  // the model-view matrix current.
  void Unactivate(uint8_t mipmap);
  // Makes the canvas's texture the current texture for drawing.
  void ActivateTexture();
  // The frame buffer's size in pixels; 0 for a canvas never created.
  int32_t GetWidth() const;
  int32_t GetHeight() const;
  // A copy of the texture's handle; a null handle for a canvas never created.
  KV_HANDLE GetTexture() const;
  // Draws into another texture from now on; the engine's result.
  uint8_t SwapTexture(KV_HANDLE texture);
  // The engine's answer whether the canvas is a GPU frame buffer object.
  uint8_t UseFBO();
};
