// The GL side of render targets: the frame buffer each one draws into, the copy of its frame to
// the window, and reading its pixels back.
#include <algorithm>

#include "engine/draw/batch.h"
#include "engine/states/render_states.h"
#include "engine/targets/render_targets.h"

namespace kv::engine {

namespace {

// KV_FORMAT_OPAQUE has no alpha channel; KV_FORMAT_ALPHA keeps per-pixel alpha. Fewer than 24
// colour bits ask for the 16-bit layouts.
GLenum ColorFormat(const RenderTarget& target) {
  bool alpha = target.format == KV_FORMAT_ALPHA;
  if (target.colorBits > 0 && target.colorBits <= 16) return alpha ? GL_RGBA4 : GL_RGB565;
  return alpha ? GL_RGBA8 : GL_RGB8;
}

}  // namespace

bool CreateBuffers(RenderTarget& target, int w, int h) {
  DeleteBuffers(target);
  gl.GenFramebuffers(1, &target.framebuffer);
  gl.BindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  gl.GenRenderbuffers(1, &target.colorBuffer);
  gl.BindRenderbuffer(GL_RENDERBUFFER, target.colorBuffer);
  gl.RenderbufferStorage(GL_RENDERBUFFER, ColorFormat(target), w, h);
  gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                             target.colorBuffer);
  if (target.depthBits > 0) {
    gl.GenRenderbuffers(1, &target.depthBuffer);
    gl.BindRenderbuffer(GL_RENDERBUFFER, target.depthBuffer);
    gl.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, w, h);
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                               target.depthBuffer);
  }
  gl.BindRenderbuffer(GL_RENDERBUFFER, 0);
  bool complete = gl.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  if (!complete) {
    DeleteBuffers(target);
    return false;
  }
  target.width = w;
  target.height = h;
  // A new buffer starts cleared to transparent black, whatever the clip and mask states are.
  gl.Disable(GL_SCISSOR_TEST);
  gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  gl.ClearColor(0, 0, 0, 0);
  gl.Clear(GL_COLOR_BUFFER_BIT |
           (target.depthBuffer != 0 ? GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT : 0));
  SyncStatesToGl();
  return true;
}

void DeleteBuffers(RenderTarget& target) {
  if (target.framebuffer != 0) gl.DeleteFramebuffers(1, &target.framebuffer);
  if (target.colorBuffer != 0) gl.DeleteRenderbuffers(1, &target.colorBuffer);
  if (target.depthBuffer != 0) gl.DeleteRenderbuffers(1, &target.depthBuffer);
  target.framebuffer = target.colorBuffer = target.depthBuffer = 0;
  target.width = target.height = 0;
}

void CopyToWindow(const RenderTarget& target, SDL_Window* window) {
  int windowW = 0, windowH = 0;
  SDL_GL_GetDrawableSize(window, &windowW, &windowH);
  gl.BindFramebuffer(GL_READ_FRAMEBUFFER, target.framebuffer);
  gl.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  // The copy is subject to the clip rectangle; the whole frame goes to the window.
  gl.Disable(GL_SCISSOR_TEST);
  GLenum filter = (windowW == target.width && windowH == target.height) ? GL_NEAREST : GL_LINEAR;
  gl.BlitFramebuffer(0, 0, target.width, target.height, 0, 0, windowW, windowH, GL_COLOR_BUFFER_BIT,
                     filter);
  if (States().clip != 0) gl.Enable(GL_SCISSOR_TEST);
}

bool ReadTargetPixels(const RenderTarget& target, int* x, int* y, int* w, int* h,
                      std::vector<uint8_t>* out) {
  int left = std::max(*x, 0), top = std::max(*y, 0);
  int right = std::min(*x + *w, target.width), bottom = std::min(*y + *h, target.height);
  if (right <= left || bottom <= top) return false;
  *x = left;
  *y = top;
  *w = right - left;
  *h = bottom - top;
  batch::Flush();
  std::vector<uint8_t> rows(static_cast<size_t>(*w) * *h * 4);
  gl.BindFramebuffer(GL_READ_FRAMEBUFFER, target.framebuffer);
  gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
  // GL counts rows from the bottom; the caller's rectangle counts from the top.
  gl.ReadPixels(left, target.height - bottom, *w, *h, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
  size_t rowBytes = static_cast<size_t>(*w) * 4;
  out->resize(rows.size());
  for (int row = 0; row < *h; ++row) {
    std::copy_n(rows.data() + rowBytes * (*h - 1 - row), rowBytes, out->data() + rowBytes * row);
  }
  return true;
}

}  // namespace kv::engine
