// Frame buffers: the KvFrameBuffer* calls. A frame buffer draws into an engine texture (one of its
// own, or one it was given) through a GL frame buffer object, optionally with a depth buffer.
// While one is active, drawing goes into its texture with the viewport covering it. Activations
// nest: unactivating gives drawing back to what had it before (an outer frame buffer or the
// current render target) with the viewport, clipping and matrices then in force. Switching
// flushes the batch.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"

extern "C" {

// Makes a frame buffer with a new width x height texture (1 to 16384 each way, transparent black).
// depthBits above 0 add a depth and stencil buffer; a non-zero option gives the texture mipmaps,
// which KvFrameBufferMipmap renews. Leaves *out null and returns 0 on failure.
uint8_t KvFrameBufferCreate(KV_HANDLE* out, int32_t width, int32_t height, int32_t depthBits,
                            uint8_t option);
// Makes a frame buffer that draws into an existing filled texture, which stays the caller's; a
// non-zero option adds a depth and stencil buffer. 0 (and *out null) on failure.
uint8_t KvFrameBufferCreateFromTexture(KV_HANDLE* out, KV_HANDLE texture, uint8_t option);
// Destroys the frame buffer and the texture it made (not one it was given). While it draws, drawing
// goes to the one beneath first; lower down, it is taken out of the nesting. Null and unknown
// handles do nothing.
void KvFrameBufferDestroy(KV_HANDLE fb);
// Sends drawing into the frame buffer's texture, viewport (0, 0, width, height), no clipping, on
// top of whatever drew before. 0 for an unknown frame buffer, one whose texture is gone, or when
// no render target is current.
uint8_t KvFrameBufferActivate(KV_HANDLE fb);
// Gives drawing back to what had it before this frame buffer's activation, as it was then. Does
// nothing unless the frame buffer is the one drawing now.
void KvFrameBufferUnactivate(KV_HANDLE fb);
// Renews the smaller levels of the frame buffer's texture from what was drawn.
void KvFrameBufferMipmap(KV_HANDLE fb);
// Makes the frame buffer's texture the current texture, as KvTextureActivate does.
void KvFrameBufferActivateTexture(KV_HANDLE fb);
// Pointer to a live property: KV_FB_WIDTH and KV_FB_HEIGHT (int32), KV_FB_TEXTURE the texture's
// handle (KV_HANDLE). Null for an unknown frame buffer or number.
void* KvFrameBufferGet(KV_HANDLE fb, uint32_t property);
// Draws into another filled texture from now on (the frame buffer takes its size); the texture
// stays the caller's. 0, changing nothing, when the texture is unknown or GL refuses it.
uint8_t KvFrameBufferSwapTexture(KV_HANDLE fb, KV_HANDLE texture);
// 1 when the frame buffer is a GL frame buffer object (every one the engine makes is); 0 for an
// unknown handle.
uint8_t KvFrameBufferUseFBO(KV_HANDLE fb);

}  // extern "C"
