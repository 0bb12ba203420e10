// Binding what drawing goes to, and moving the context between windows without losing a picture
// that a window's own buffers hold (see drawing_buffers.h for the rule).
#include "engine/targets/drawing_buffers.h"

#include "engine/draw/batch.h"
#include "engine/framebuffers/frame_buffers.h"
#include "engine/gl/context.h"

namespace kv::engine {

bool BindDrawing() {
  if (GLuint frameBuffer = ActiveFrameBuffer(nullptr); frameBuffer != 0) {
    gl.BindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    return true;
  }
  RenderTarget* target = CurrentTarget();
  if (target != nullptr && EnsureCurrent()) {
    BindTargetBuffers(*target, GL_FRAMEBUFFER);
    return true;
  }
  // Nothing to draw into: whatever is drawn now must not land on a target's picture.
  if (TargetInWindowBuffers(CurrentWindow()) != nullptr) EnterWindow(nullptr);
  gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
  return false;
}

void BindTargetBuffers(const RenderTarget& target, GLenum binding) {
  // A window's own buffers are framebuffer 0 of the window the context is current on.
  if (target.direct) EnterWindow(WindowOf(target));
  gl.BindFramebuffer(binding, target.framebuffer);
}

bool EnterWindow(SDL_Window* window) {
  SDL_Window* leaving = CurrentWindow();
  if (leaving != nullptr && leaving == window) return true;
  if (RenderTarget* holder = TargetInWindowBuffers(leaving)) {
    TakeOutOfWindow(*holder);
    // The move left its own frame buffers bound; the caller binds what it needs next.
  }
  return MakeCurrentOn(window);
}

SDL_Window* EnterWindowToPresent(const RenderTarget& target) {
  SDL_Window* window = WindowOf(target);
  if (window == nullptr || !EnterWindow(window)) return nullptr;
  if (!target.direct) {
    RenderTarget* holder = TargetInWindowBuffers(window);
    if (holder != nullptr && holder != &target) TakeOutOfWindow(*holder);
  }
  return window;
}

bool TakeOutOfWindow(RenderTarget& target) {
  target.staysOffscreen = true;
  if (!target.direct) return true;
  // What waits in the batch is drawn where it belongs, into the picture about to move.
  batch::Flush();
  return MoveToFrameBuffer(target);
}

}  // namespace kv::engine
