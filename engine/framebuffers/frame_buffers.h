// The engine's frame buffers, seen from inside: what closure and the leak count need.
#pragma once

#include <cstddef>

namespace kv::engine {

// Destroys every frame buffer (at closure, before the textures).
void DestroyAllFrameBuffers();
// Number of live frame buffers.
size_t FrameBufferCount();
// Binds what drawing goes to now: the active frame buffer, else the current render target; false
// when there is neither (the default frame buffer is bound then).
bool BindDrawing();
// True while drawing goes to a frame buffer; depth (when given) tells whether it has depth and stencil.
bool DrawingIntoFrameBuffer(bool* depth);

}  // namespace kv::engine
