// KvInitiation, KvClosure and KvExtensions: the engine's start and end. Initiation needs no
// window and no GL: the context is made with the first render target or texture. Closure
// releases every object and the context; a process may also end without it.
#include "engine/draw/batch.h"
#include "engine/fonts/fonts.h"
#include "engine/framebuffers/frame_buffers.h"
#include "engine/gl/context.h"
#include "engine/kv_engine.h"
#include "engine/matrices/matrix_stacks.h"
#include "engine/module/resources.h"
#include "engine/shaders/shaders.h"
#include "engine/softbody/softbody_objects.h"
#include "engine/states/render_states.h"
#include "engine/targets/render_targets.h"
#include "engine/testing.h"
#include "engine/textures/textures.h"
#include "engine/trace/trace.h"
#include "engine/vertexbuffers/vertex_buffers.h"

namespace kv::engine::testing {

size_t LiveObjectCount() {
  return TargetCount() + TextureCount() + FontCount() + ShaderCount() + FrameBufferCount() +
         VertexBufferCount();
}

}  // namespace kv::engine::testing

using namespace kv::engine;

extern "C" uint8_t KvInitiation(void) {
  if (trace::Call("KvInitiation")) return 0;
  return RegisterEngineModule() ? 1 : 0;
}

extern "C" uint8_t KvClosure(void) {
  if (trace::Call("KvClosure")) return 0;
  batch::Flush();
  DestroyAllShaders();
  DestroyAllFrameBuffers();
  DestroyAllVertexBuffers();
  softbody::DestroyAllSoftBodies();
  DestroyAllFonts();
  DestroyAllTextures();
  DestroyAllTargets();
  DestroyContext();
  ResetStates();
  ResetMatrices();
  batch::ResetCounts();
  return 1;
}

// The entry points were loaded with the context; this reports whether they are all there.
extern "C" uint8_t KvExtensions(uint32_t option) {
  if (trace::Call("KvExtensions", option)) return 0;
  return option == 0 && HasContext() ? 1 : 0;
}
