// KvFrameBuffer*: frame buffer objects drawing into engine textures, and handing drawing between
// them and the current render target. Frame buffers nest: one that takes over drawing gets its
// whole area as viewport and no clipping, and giving drawing back returns to whatever had it
// before, with the viewport, clipping and matrices then in force. So a canvas painted inside
// another canvas leaves the outer one drawing as it was, and one painted inside a 2D camera's
// pass leaves the rest of that pass as the camera set it.
#include "engine/framebuffers/frame_buffers.h"

#include <algorithm>
#include <memory>

#include "engine/draw/batch.h"
#include "engine/framebuffers/activation_stack.h"
#include "engine/framebuffers/framebuffer_api.h"
#include "engine/gl/context.h"
#include "engine/gl/state_cache.h"
#include "engine/numbers.h"
#include "engine/objects/object_table.h"
#include "engine/states/render_states.h"
#include "engine/targets/drawing_buffers.h"
#include "engine/targets/render_targets.h"
#include "engine/textures/textures.h"
#include "engine/trace/trace.h"

namespace kv::engine {

namespace {

struct FrameBuffer {
  GLuint fbo = 0;
  GLuint depthBuffer = 0;  // depth and stencil, 0 when none was asked for
  int32_t width = 0;       // KV_FB_WIDTH
  int32_t height = 0;      // KV_FB_HEIGHT
  KV_HANDLE texture;       // KV_FB_TEXTURE: the texture drawn into
  // The texture the frame buffer made, destroyed with it; null when given one.
  KV_HANDLE ownTexture;
};

ObjectTable<FrameBuffer> frameBuffers;
// Who has drawing: the frame buffers that took it over, innermost on top.
ActivationStack drawingStack;

// Attaches the texture (and sizes the depth buffer to it) with the frame buffer bound; false when
// GL does not accept the combination. Leaves the frame buffer bound.
bool Attach(FrameBuffer& fb, const Texture& texture) {
  gl.BindFramebuffer(GL_FRAMEBUFFER, fb.fbo);
  gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture.id, 0);
  if (fb.depthBuffer != 0) {
    gl.BindRenderbuffer(GL_RENDERBUFFER, fb.depthBuffer);
    gl.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8,
                           static_cast<GLsizei>(texture.width),
                           static_cast<GLsizei>(texture.height));
    gl.BindRenderbuffer(GL_RENDERBUFFER, 0);
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                               fb.depthBuffer);
  }
  return gl.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void Release(FrameBuffer& fb) {
  if (EnsureCurrent()) {
    if (fb.fbo != 0) gl.DeleteFramebuffers(1, &fb.fbo);
    if (fb.depthBuffer != 0) gl.DeleteRenderbuffers(1, &fb.depthBuffer);
  }
  fb.fbo = fb.depthBuffer = 0;
  DestroyTexture(fb.ownTexture);
  fb.ownTexture = KV_HANDLE{};
}

// Makes the GL objects for a frame buffer drawing into texture; false (nothing kept) on failure.
bool Build(FrameBuffer& fb, KV_HANDLE textureHandle, bool depth) {
  Texture* texture = FindTexture(textureHandle);
  if (texture == nullptr || texture->width == 0 || !EnsureCurrent()) return false;
  batch::Flush();
  gl.GenFramebuffers(1, &fb.fbo);
  if (depth) gl.GenRenderbuffers(1, &fb.depthBuffer);
  bool complete = fb.fbo != 0 && (!depth || fb.depthBuffer != 0) && Attach(fb, *texture);
  BindDrawing();
  if (!complete) return false;
  fb.texture = textureHandle;
  fb.width = static_cast<int32_t>(texture->width);
  fb.height = static_cast<int32_t>(texture->height);
  return true;
}

uint8_t Store(KV_HANDLE* out, std::unique_ptr<FrameBuffer> fb) {
  *out = frameBuffers.Add(std::move(fb));
  return 1;
}

// Gives drawing back from the frame buffer on top to what it took over from, as it was then. A
// frame buffer beneath gets its whole area as it is now (its texture may have been swapped since).
void GiveBack() {
  if (!EnsureCurrent()) {
    drawingStack.Pop();
    return;
  }
  batch::Flush();
  DrawingInForce before = drawingStack.Pop();
  if (const FrameBuffer* beneath = frameBuffers.Find(drawingStack.Top())) {
    const int32_t whole[4] = {0, 0, beneath->width, beneath->height};
    std::copy_n(whole, 4, before.viewport);
  }
  BindDrawing();
  RestoreDrawing(before);
}

}  // namespace

GLuint ActiveFrameBuffer(bool* depth) {
  const FrameBuffer* current = frameBuffers.Find(drawingStack.Top());
  if (current == nullptr) return 0;
  if (depth != nullptr) *depth = current->depthBuffer != 0;
  return current->fbo;
}

void DestroyAllFrameBuffers() {
  while (!drawingStack.Empty()) GiveBack();
  frameBuffers.ForEach([](uint32_t, FrameBuffer& fb) { Release(fb); });
  frameBuffers.Clear();
}

size_t FrameBufferCount() { return frameBuffers.Count(); }

}  // namespace kv::engine

using namespace kv::engine;

extern "C" uint8_t KvFrameBufferCreate(KV_HANDLE* out, int32_t width, int32_t height,
                                       int32_t depthBits, uint8_t option) {
  if (trace::Call("KvFrameBufferCreate", out, width, height, depthBits, option)) return 0;
  if (out == nullptr) return 0;
  *out = KV_HANDLE{};
  if (width < 1 || height < 1 || depthBits < 0) return 0;
  auto fb = std::make_unique<FrameBuffer>();
  fb->ownTexture = CreateBlankTexture(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
  if (fb->ownTexture.IsNull()) return 0;
  if (!Build(*fb, fb->ownTexture, depthBits > 0)) {
    Release(*fb);
    return 0;
  }
  if (option != 0) {
    Texture* texture = FindTexture(fb->ownTexture);
    texture->minFilter = GL_LINEAR_MIPMAP_LINEAR;
    glcache::BindTexture(0, texture->id);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, texture->minFilter);
    gl.GenerateMipmap(GL_TEXTURE_2D);
  }
  return Store(out, std::move(fb));
}

extern "C" uint8_t KvFrameBufferCreateFromTexture(KV_HANDLE* out, KV_HANDLE texture,
                                                  uint8_t option) {
  if (trace::Call("KvFrameBufferCreateFromTexture", out, texture, option)) return 0;
  if (out == nullptr) return 0;
  *out = KV_HANDLE{};
  auto fb = std::make_unique<FrameBuffer>();
  if (!Build(*fb, texture, option != 0)) {
    Release(*fb);
    return 0;
  }
  return Store(out, std::move(fb));
}

extern "C" void KvFrameBufferDestroy(KV_HANDLE fb) {
  if (trace::Call("KvFrameBufferDestroy", fb)) return;
  if (frameBuffers.Find(fb) == nullptr) return;
  // Drawing goes to the one beneath; lower down, the stack must never unwind to a deleted object.
  while (drawingStack.Top() == fb) GiveBack();
  drawingStack.TakeOut(fb);
  std::unique_ptr<FrameBuffer> removed = frameBuffers.Remove(fb);
  Release(*removed);
}

extern "C" uint8_t KvFrameBufferActivate(KV_HANDLE fb) {
  if (trace::Call("KvFrameBufferActivate", fb)) return 0;
  FrameBuffer* record = frameBuffers.Find(fb);
  if (record == nullptr || CurrentTarget() == nullptr || !EnsureCurrent()) return 0;
  Texture* texture = FindTexture(record->texture);
  if (texture == nullptr || texture->width == 0) return 0;
  // What waits in the batch belongs to whatever was drawn into before.
  batch::Flush();
  // The texture may have been refilled at another size since: attach it as it is now.
  if (!Attach(*record, *texture)) {
    BindDrawing();
    return 0;
  }
  record->width = static_cast<int32_t>(texture->width);
  record->height = static_cast<int32_t>(texture->height);
  drawingStack.Push(fb, CaptureDrawing());
  ApplyViewport(0, 0, record->width, record->height);
  SetClipping(0, States().clipRect);
  return 1;
}

extern "C" void KvFrameBufferUnactivate(KV_HANDLE fb) {
  if (trace::Call("KvFrameBufferUnactivate", fb)) return;
  // Only the frame buffer drawing now can give drawing back.
  if (frameBuffers.Find(fb) == nullptr || !(drawingStack.Top() == fb) || !EnsureCurrent()) return;
  GiveBack();
}

extern "C" void KvFrameBufferMipmap(KV_HANDLE fb) {
  if (trace::Call("KvFrameBufferMipmap", fb)) return;
  FrameBuffer* record = frameBuffers.Find(fb);
  Texture* texture = record != nullptr ? FindTexture(record->texture) : nullptr;
  if (texture == nullptr || texture->width == 0 || !EnsureCurrent()) return;
  batch::Flush();
  glcache::BindTexture(0, texture->id);
  gl.GenerateMipmap(GL_TEXTURE_2D);
}

extern "C" void KvFrameBufferActivateTexture(KV_HANDLE fb) {
  if (trace::Call("KvFrameBufferActivateTexture", fb)) return;
  FrameBuffer* record = frameBuffers.Find(fb);
  Texture* texture = record != nullptr ? FindTexture(record->texture) : nullptr;
  if (texture == nullptr || texture->width == 0) return;
  MakeCurrent(record->texture, *texture);
}

extern "C" void* KvFrameBufferGet(KV_HANDLE fb, uint32_t property) {
  if (trace::Call("KvFrameBufferGet", fb, property)) return nullptr;
  FrameBuffer* record = frameBuffers.Find(fb);
  if (record == nullptr) return nullptr;
  switch (property) {
    case KV_FB_WIDTH: return &record->width;
    case KV_FB_HEIGHT: return &record->height;
    case KV_FB_TEXTURE: return &record->texture;
    default: return nullptr;
  }
}

extern "C" uint8_t KvFrameBufferSwapTexture(KV_HANDLE fb, KV_HANDLE texture) {
  if (trace::Call("KvFrameBufferSwapTexture", fb, texture)) return 0;
  FrameBuffer* record = frameBuffers.Find(fb);
  Texture* next = FindTexture(texture);
  if (record == nullptr || next == nullptr || next->width == 0 || !EnsureCurrent()) return 0;
  batch::Flush();
  if (!Attach(*record, *next)) {
    // Back to the texture it had, when that one is still there.
    Texture* previous = FindTexture(record->texture);
    if (previous != nullptr && previous->width != 0) Attach(*record, *previous);
    BindDrawing();
    return 0;
  }
  record->texture = MakeHandle(texture.value);
  record->width = static_cast<int32_t>(next->width);
  record->height = static_cast<int32_t>(next->height);
  BindDrawing();
  if (fb == drawingStack.Top()) ApplyViewport(0, 0, record->width, record->height);
  return 1;
}

extern "C" uint8_t KvFrameBufferUseFBO(KV_HANDLE fb) {
  if (trace::Call("KvFrameBufferUseFBO", fb)) return 0;
  return frameBuffers.Find(fb) != nullptr ? 1 : 0;
}
