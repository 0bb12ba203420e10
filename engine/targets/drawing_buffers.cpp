// Binding what drawing goes to, and moving the context between windows without losing a picture
// that a window's own buffers hold (see drawing_buffers.h for the rule).
#include "engine/targets/drawing_buffers.h"

#include "engine/draw/batch.h"
#include "engine/framebuffers/frame_buffers.h"
#include "engine/gl/context.h"

namespace kv::engine {

namespace {

// Marks every target of the window, except one, as disturbed: what the window's back buffer
// held for them is gone or overwritten.
void Disturb(SDL_Window* window, const RenderTarget* except) {
  if (window == nullptr) return;
  ForEachTarget([&](RenderTarget& target) {
    if (&target != except && WindowOf(target) == window) target.disturbed = true;
  });
}

// Whether the target, drawing into a frame buffer now, fits its window's buffers again: the
// window is its size and holds no other target's picture. Its format and depth fitted when it
// was taken out, and a change of either rebuilds its buffers.
bool FitsWindowAgain(const RenderTarget& target, SDL_Window* window) {
  if (window == nullptr || TargetInWindowBuffers(window) != nullptr) return false;
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(window, &w, &h);
  return w == target.width && h == target.height;
}

}  // namespace

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

RenderTarget* TargetInWindowBuffers(SDL_Window* window) {
  RenderTarget* holder = nullptr;
  if (window == nullptr) return holder;
  ForEachTarget([&](RenderTarget& target) {
    if (target.direct && WindowOf(target) == window) holder = &target;
  });
  return holder;
}

bool EnterWindow(SDL_Window* window) {
  SDL_Window* leaving = CurrentWindow();
  if (leaving != nullptr && leaving == window) return true;
  // A window made without GL (one that takes its frames as pictures) is never entered.
  if (window != nullptr && !(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) return false;
  if (RenderTarget* holder = TargetInWindowBuffers(leaving)) {
    // The move leaves its own frame buffers bound; the caller binds what it needs next.
    TakeOutOfWindow(*holder);
  }
  Disturb(leaving, nullptr);
  return MakeCurrentOn(window);
}

SDL_Window* EnterWindowToPresent(RenderTarget& target) {
  SDL_Window* window = WindowOf(target);
  if (window == nullptr || !EnterWindow(window)) return nullptr;
  if (!target.direct) {
    // The copy of this target's frame overwrites the window's back buffer.
    RenderTarget* holder = TargetInWindowBuffers(window);
    if (holder != nullptr) TakeOutOfWindow(*holder);
    Disturb(window, &target);
  }
  return window;
}

void Presented(RenderTarget& target, bool wholeClearFollows) {
  const bool undisturbed = !target.disturbed;
  target.disturbed = false;
  if (!target.takenOut || target.staysOffscreen || !undisturbed || !wholeClearFollows) return;
  SDL_Window* window = WindowOf(target);
  if (window != CurrentWindow() || !FitsWindowAgain(target, window)) return;
  MoveBackToWindow(target);
  target.takenOut = false;
}

void LeaveReplacedWindow(SDL_Window* window) {
  if (window == nullptr || !HasContext() || CurrentWindow() != window) return;
  EnterWindow(nullptr);
  BindDrawing();
}

bool TakeOutOfWindow(RenderTarget& target) {
  if (!target.direct) return true;
  target.takenOut = true;
  // What waits in the batch is drawn where it belongs, into the picture about to move.
  batch::Flush();
  return MoveToFrameBuffer(target);
}

}  // namespace kv::engine
