// Engine textures: a GL texture with its size and parameters, the locked copy of its pixels, and
// which texture is current on each texture unit. Pixels are stored with row 0 at the top, so
// v = 0 is the image's top row. Fill calls leave the filled texture current on the current unit.
#pragma once

#include <cstdint>

#include "engine/gl/gl_functions.h"
#include "engine/kv_engine.h"
#include "platform/runtime/byte_block.h"

namespace kv::engine {

struct Texture {
  GLuint id = 0;
  uint32_t width = 0;       // KV_TEX_WIDTH
  uint32_t height = 0;      // KV_TEX_HEIGHT
  uint32_t lockedSize = 0;  // KV_TEX_LOCKED_SIZE: bytes of the locked copy, 0 while unlocked
  bool locked = false;
  platform::ByteBlock lockedPixels;  // read back whole from GL, so never cleared first
  GLint minFilter = GL_NEAREST;
  GLint magFilter = GL_NEAREST;
  GLint wrapS = GL_REPEAT;
  GLint wrapT = GL_REPEAT;
};

// The texture a handle names, or null.
Texture* FindTexture(KV_HANDLE handle);
// The GL texture the batch draws with now: unit 0's current texture while texturing is on, else 0.
GLuint BatchTexture();
// Makes the texture current on the current unit (binding it in GL beyond unit 0).
void MakeCurrent(KV_HANDLE handle, Texture& texture);
// The texture current on the current unit, or null.
Texture* CurrentTexture();
// Forgets the texture wherever it is current (it is being destroyed).
void ForgetCurrent(KV_HANDLE handle);
// Adds a texture of w x h transparent black pixels for the engine's own use (a frame buffer's
// colour texture) without changing the current texture; a null handle when GL refuses it.
KV_HANDLE CreateBlankTexture(uint32_t w, uint32_t h);
// Destroys a texture as KvTextureDestroy does, without reporting a call of its own.
void DestroyTexture(KV_HANDLE handle);
// Destroys every texture (at closure).
void DestroyAllTextures();
// Number of live textures.
size_t TextureCount();

}  // namespace kv::engine
