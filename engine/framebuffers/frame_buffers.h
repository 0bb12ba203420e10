// The engine's frame buffers, seen from inside: what closure, the leak count and binding what
// drawing goes to need.
#pragma once

#include <cstddef>

#include "engine/gl/gl_functions.h"

namespace kv::engine {

// Destroys every frame buffer (at closure, before the textures).
void DestroyAllFrameBuffers();
// Number of live frame buffers.
size_t FrameBufferCount();
// The GL frame buffer of the frame buffer drawing goes to now, or 0 while it goes to the render
// target; depth (when given) tells whether it has depth and stencil.
GLuint ActiveFrameBuffer(bool* depth);

}  // namespace kv::engine
