// Render targets: each draws for one window inside the engine's one GL context, and keeps a
// picture of its own. Where the window's own buffers are what the target asks for (an opaque
// colour of 8 bits a channel, the same depth and stencil, the window's size) and keep its picture
// (drawing_buffers.h says when they do), the target draws straight into the window's back buffer,
// which presenting swaps. Otherwise it draws into an offscreen frame buffer of the requested
// format that presenting copies, scaled, to the window.
// The record's property fields (KV_RT_*) are what KvRenderTargetGet points at; callers write
// the viewport and the range through those pointers, and the engine reads them when it needs them.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/gl/gl_functions.h"
#include "engine/kv_engine.h"
#include "platform/windows/layered_frames.h"

namespace kv::engine {

struct RenderTarget {
  HWND hwnd = nullptr;
  int32_t viewport[4] = {0, 0, 0, 0};  // KV_RT_VIEWPORT_X, _Y (from the bottom), _W, _H
  double fieldOfView = 45.0;           // KV_RT_FIELD_OF_VIEW
  double range[2] = {-1.0, 1.0};       // KV_RT_RANGE_NEAR, KV_RT_RANGE_FAR
  double extra = 0.0;                  // KV_RT_EXTRA
  int32_t format = KV_FORMAT_OPAQUE;   // KV_RT_FORMAT
  uint32_t colorBits = 32;
  uint32_t depthBits = 0;
  int width = 0;  // the frame buffer's size in pixels
  int height = 0;
  GLuint framebuffer = 0;
  GLuint colorBuffer = 0;
  GLuint depthBuffer = 0;
  bool direct = false;  // its picture is in the window's own back buffer (framebuffer 0)
  // A present once kept its frame to draw on (no whole clear followed it), which a window's back
  // buffer does not do across the swap: it draws into a frame buffer of its own from then on.
  bool staysOffscreen = false;
  // Its picture was moved out of its window's back buffer because the context left the window
  // or another target's frame was copied there; it goes back after a frame with neither.
  bool takenOut = false;
  // Since its last present, the context left its window or another target's frame was copied
  // into the window: what its back buffer held would have been lost.
  bool disturbed = false;
  bool vsync = false;  // vertical sync accepted for this target
};

// The current target, or null.
RenderTarget* CurrentTarget();
// The current target's handle (a null handle when there is none): what KvGetState(16) points at.
KV_HANDLE* CurrentTargetHandle();
// The SDL window the target draws for, or null when the window is gone.
SDL_Window* WindowOf(const RenderTarget& target);
// Calls visit with every live target.
void ForEachTarget(const std::function<void(RenderTarget&)>& visit);
// Sets GL's viewport (x, y from the bottom, width, height; negative sizes count as 0) and keeps
// it as the viewport in force: a target's own, one a 2D camera lent it, or a frame buffer's.
void ApplyViewport(int32_t x, int32_t y, int32_t w, int32_t h);
// The viewport last applied; all zeros before the first.
const int32_t* ViewportInForce();
// Destroys every target (at closure).
void DestroyAllTargets();
// Number of live targets.
size_t TargetCount();

// ---- the target's GL buffers (target_buffers.cpp) -----------------------------------------

// Makes the target's buffers at w x h in its format, cleared: the window's own where they fit,
// else a frame buffer; false when GL refuses them.
bool CreateBuffers(RenderTarget& target, int w, int h);
// Deletes the target's buffers.
void DeleteBuffers(RenderTarget& target);
// Moves the picture of a target that draws into its window's back buffer (the context current on
// that window) to a new frame buffer of its own, with depth and stencil. False when GL refuses
// the frame buffer.
bool MoveToFrameBuffer(RenderTarget& target);
// Moves the picture of a target back from its frame buffer into its window's back buffer, where
// it draws from then on; the window's depth and stencil are what they were when it left.
void MoveBackToWindow(RenderTarget& target);
// Copies the target's frame to its window's back buffer, scaled to the window's size; nothing for
// a target that draws there already.
void CopyToWindow(const RenderTarget& target, SDL_Window* window);
// Reads the rectangle (x, y, w, h), y down, clipped to the target, as RGBA rows top first; the
// rectangle actually read is written back. False when nothing of it lies inside the target.
bool ReadTargetPixels(const RenderTarget& target, int* x, int* y, int* w, int* h,
                      std::vector<uint8_t>* out);
// Reads the frame the window is to show, at the window's size, as 32-bit pixels with the bytes
// blue, green, red, alpha and rows top first, for a desktop that takes it as a picture: from the
// window's back buffer (fromWindow, the context current on the window and the frame copied or
// drawn there), else from the target's frame buffer, scaled where the sizes differ. Leaves
// something else bound: the caller binds what it draws into next.
void ReadFrameForWindow(const RenderTarget& target, SDL_Window* window, bool fromWindow,
                        std::vector<uint8_t>* out, int* w, int* h);

// ---- layered windows (layered_support.cpp) ----------------------------------------------------

// True when the desktop can show the window's per-pixel alpha: a compositor and an alpha channel,
// or on X a layered window whose desktop follows a compositor that starts later.
bool DesktopShowsPerPixelAlpha(SDL_Window* window);
// Presents the target's frame to a window that takes its frames as pictures (needs.picture): a
// layered present with its alpha, as premultiplied pixels, another fully opaque where the window
// shows such presents; the colour key cut out when it has one. False when the desktop cannot
// take the picture.
bool PresentAsPicture(RenderTarget& target, SDL_Window* window, bool layered,
                      const platform::FrameNeeds& needs);

}  // namespace kv::engine
