// The engine's frame buffers, seen from inside: what closure and the leak count need.
#pragma once

#include <cstddef>

namespace kv::engine {

// Destroys every frame buffer (at closure, before the textures).
void DestroyAllFrameBuffers();
// Number of live frame buffers.
size_t FrameBufferCount();

}  // namespace kv::engine
