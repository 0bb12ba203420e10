// The GL side of render targets: the buffers each one draws into (its window's own or a frame
// buffer), the copy of a frame buffer's frame to the window, and reading pixels back.
//
// Drawing straight into the window's back buffer is what pays on a software renderer: a frame
// buffer costs a second fill of every pixel each frame (the copy to the window) and a second pass
// of the renderer's threads. The window's buffers serve only where they behave as the frame
// buffer would: the same colour channels (no alpha channel, which an opaque frame buffer lacks:
// blending and reading back see alpha 1), the same depth and stencil, the same size, and one
// target per window; drawing_buffers.cpp moves a picture out when they stop keeping it.
#include <algorithm>
#include <cstring>

#include "engine/draw/batch.h"
#include "engine/gl/context.h"
#include "engine/states/render_states.h"
#include "engine/targets/drawing_buffers.h"
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

// Depth and stencil bits of the frame buffer a target with depth bits gets (GL_DEPTH24_STENCIL8).
constexpr GLint kDepthBits = 24;
constexpr GLint kStencilBits = 8;

GLint BitsOf(GLenum name) {
  GLint bits = -1;
  gl.GetIntegerv(name, &bits);
  return bits;
}

// Whether the window's own buffers, with the context current on it and framebuffer 0 bound, have
// exactly the channels the target's frame buffer would.
bool WindowBuffersFit(const RenderTarget& target) {
  if (BitsOf(GL_RED_BITS) != 8 || BitsOf(GL_GREEN_BITS) != 8 || BitsOf(GL_BLUE_BITS) != 8 ||
      BitsOf(GL_ALPHA_BITS) != 0) {
    return false;
  }
  GLint depth = BitsOf(GL_DEPTH_BITS), stencil = BitsOf(GL_STENCIL_BITS);
  if (target.depthBits == 0) return depth == 0 && stencil == 0;
  return depth >= kDepthBits && stencil == kStencilBits;
}

// Whether the window's buffers reach w x h, cleared to see: a driver may keep a window's buffers
// at the size the window was made at (SDL's offscreen driver does), and GL reads nothing outside
// them. The clear leaves opaque black, read back as such without an alpha channel.
bool WindowBuffersReach(int w, int h) {
  gl.Disable(GL_SCISSOR_TEST);
  gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  gl.ClearColor(0, 0, 0, 0);
  gl.Clear(GL_COLOR_BUFFER_BIT);
  uint8_t corner[4] = {1, 2, 3, 4};
  gl.ReadPixels(w - 1, h - 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
  return corner[0] == 0 && corner[1] == 0 && corner[2] == 0 && corner[3] == 255;
}

// Whether the target can draw into its window's back buffer at w x h; leaves the context current
// on the window when it can.
bool CanDrawDirectly(const RenderTarget& target, int w, int h) {
  if (target.staysOffscreen || target.format != KV_FORMAT_OPAQUE) return false;
  if (target.colorBits > 0 && target.colorBits <= 16) return false;
  SDL_Window* window = WindowOf(target);
  if (window == nullptr || TargetInWindowBuffers(window) != nullptr) return false;
  int windowW = 0, windowH = 0;
  SDL_GL_GetDrawableSize(window, &windowW, &windowH);
  if (windowW != w || windowH != h || !EnterWindow(window)) return false;
  gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
  return WindowBuffersFit(target) && WindowBuffersReach(w, h);
}

// Makes a frame buffer of the target's format; false when GL refuses it.
bool CreateFrameBuffer(RenderTarget& target, int w, int h) {
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
  if (gl.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    DeleteBuffers(target);
    return false;
  }
  return true;
}

// Copies a rectangle of w x h at the origin from one frame buffer to another (0: the window's),
// whatever the clip is.
void Copy(GLuint from, GLuint to, int w, int h, GLbitfield mask, GLenum filter, int toW, int toH) {
  gl.BindFramebuffer(GL_READ_FRAMEBUFFER, from);
  gl.BindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
  gl.Disable(GL_SCISSOR_TEST);
  gl.BlitFramebuffer(0, 0, w, h, 0, 0, toW, toH, mask, filter);
  if (States().clip != 0) gl.Enable(GL_SCISSOR_TEST);
}

// Reads w x h pixels of the bound read frame buffer, blue first, rows top first. GL gives the
// bottom row first: the rows are swapped in place.
void ReadRowsTopFirst(int w, int h, std::vector<uint8_t>* out) {
  const size_t rowBytes = static_cast<size_t>(w) * 4;
  out->resize(rowBytes * h);
  gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
  gl.ReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE, out->data());
  std::vector<uint8_t> spare(rowBytes);
  for (int row = 0; row < h / 2; ++row) {
    uint8_t* top = out->data() + rowBytes * row;
    uint8_t* bottom = out->data() + rowBytes * (h - 1 - row);
    std::memcpy(spare.data(), top, rowBytes);
    std::memcpy(top, bottom, rowBytes);
    std::memcpy(bottom, spare.data(), rowBytes);
  }
}

}  // namespace

bool CreateBuffers(RenderTarget& target, int w, int h) {
  DeleteBuffers(target);
  // New buffers start a new picture: where it goes is decided afresh.
  target.takenOut = target.disturbed = false;
  target.direct = CanDrawDirectly(target, w, h);
  if (!target.direct && !CreateFrameBuffer(target, w, h)) {
    SyncStatesToGl();  // the look at the window's buffers may have changed them
    return false;
  }
  target.width = w;
  target.height = h;
  // A new buffer starts cleared to transparent black, whatever the clip and mask states are.
  gl.Disable(GL_SCISSOR_TEST);
  gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  gl.ClearColor(0, 0, 0, 0);
  gl.Clear(GL_COLOR_BUFFER_BIT |
           (target.depthBits > 0 ? GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT : 0));
  SyncStatesToGl();
  return true;
}

void DeleteBuffers(RenderTarget& target) {
  if (target.framebuffer != 0) gl.DeleteFramebuffers(1, &target.framebuffer);
  if (target.colorBuffer != 0) gl.DeleteRenderbuffers(1, &target.colorBuffer);
  if (target.depthBuffer != 0) gl.DeleteRenderbuffers(1, &target.depthBuffer);
  target.framebuffer = target.colorBuffer = target.depthBuffer = 0;
  target.width = target.height = 0;
  target.direct = false;
}

bool MoveToFrameBuffer(RenderTarget& target) {
  if (!target.direct) return true;
  const int w = target.width, h = target.height;
  target.direct = false;
  if (!CreateFrameBuffer(target, w, h)) return false;
  target.width = w;
  target.height = h;
  // Depth and stencil apart from colour: a window's depth layout may not match the frame
  // buffer's, which fails only that copy.
  Copy(0, target.framebuffer, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST, w, h);
  if (target.depthBuffer != 0) {
    Copy(0, target.framebuffer, w, h, GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT, GL_NEAREST, w,
         h);
  }
  return true;
}

void MoveBackToWindow(RenderTarget& target) {
  if (target.direct) return;
  const int w = target.width, h = target.height;
  Copy(target.framebuffer, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST, w, h);
  if (target.depthBuffer != 0) {
    Copy(target.framebuffer, 0, w, h, GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT, GL_NEAREST, w,
         h);
  }
  DeleteBuffers(target);
  target.width = w;
  target.height = h;
  target.direct = true;
}

void CopyToWindow(const RenderTarget& target, SDL_Window* window) {
  if (target.direct) return;
  int windowW = 0, windowH = 0;
  SDL_GL_GetDrawableSize(window, &windowW, &windowH);
  // The copy is subject to the clip rectangle; the whole frame goes to the window.
  GLenum filter = (windowW == target.width && windowH == target.height) ? GL_NEAREST : GL_LINEAR;
  Copy(target.framebuffer, 0, target.width, target.height, GL_COLOR_BUFFER_BIT, filter, windowW,
       windowH);
}

void ReadFrameForWindow(const RenderTarget& target, SDL_Window* window, bool fromWindow,
                        std::vector<uint8_t>* out, int* w, int* h) {
  SDL_GL_GetDrawableSize(window, w, h);
  if (fromWindow) {
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    ReadRowsTopFirst(*w, *h, out);
    return;
  }
  if (*w == target.width && *h == target.height) {
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, target.framebuffer);
    ReadRowsTopFirst(*w, *h, out);
    return;
  }
  // The window is another size than the frame: the frame is scaled to it as a copy to a window
  // would be, through a frame buffer of the window's size.
  RenderTarget scaled;
  scaled.format = KV_FORMAT_ALPHA;
  if (!CreateFrameBuffer(scaled, *w, *h)) {
    out->assign(static_cast<size_t>(*w) * *h * 4, 0);
    return;
  }
  Copy(target.framebuffer, scaled.framebuffer, target.width, target.height, GL_COLOR_BUFFER_BIT,
       GL_LINEAR, *w, *h);
  gl.BindFramebuffer(GL_READ_FRAMEBUFFER, scaled.framebuffer);
  ReadRowsTopFirst(*w, *h, out);
  DeleteBuffers(scaled);
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
  BindTargetBuffers(target, GL_READ_FRAMEBUFFER);
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
