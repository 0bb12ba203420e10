// Where drawing goes, and which target's picture each window's own buffers hold: the one place
// that decides both.
//
// Drawing goes to the innermost active frame buffer, else to the current render target, whose
// picture is either in a frame buffer of its own or in its window's back buffer (framebuffer 0
// of the window the context is current on). A window's back buffer keeps a picture only while
// the context stays on that window and nothing else is drawn there: some drivers drop it when
// the context moves to another window, and presenting another target of the same window copies
// that target's frame over it. So before either happens the picture moves, drawing pending in
// the batch included, to a frame buffer of the target's own. It goes back into the window at a
// present that clears the next frame whole, after a frame in which neither happened: a program
// that draws into two windows, or two targets of one window, every frame keeps them in frame
// buffers; one that draws into one window (the game after its intro) draws straight into it.
#pragma once

#include <SDL2/SDL.h>

#include "engine/gl/gl_functions.h"
#include "engine/targets/render_targets.h"

namespace kv::engine {

// Binds what drawing goes to now: the active frame buffer, else the current render target's
// buffers. False when there is neither; the helper window's own buffers, which hold no target's
// picture, are bound then.
bool BindDrawing();
// Binds the buffers that hold the target's picture at the binding point (GL_FRAMEBUFFER,
// GL_READ_FRAMEBUFFER): its frame buffer, or its window's own, with the context moved there.
void BindTargetBuffers(const RenderTarget& target, GLenum binding);
// The target whose picture is in the window's own back buffer, or null.
RenderTarget* TargetInWindowBuffers(SDL_Window* window);
// Moves the context to the window (null: the helper window), first moving the picture that the
// window it leaves holds to its target's frame buffer. Every move of the context between windows
// goes through here. False when the context cannot be made current there.
bool EnterWindow(SDL_Window* window);
// Moves the context to the target's window to present the target there, first moving the picture
// of another target that the window's buffers hold, which the copy of this target's frame would
// overwrite. The window, or null when it is gone or the context cannot be made current on it.
SDL_Window* EnterWindowToPresent(RenderTarget& target);
// After the target's frame was presented (the context on its window): a target taken out of its
// window goes back when nothing disturbed the frame just presented and the next one starts with
// a whole clear, so no picture has to be carried over.
void Presented(RenderTarget& target, bool wholeClearFollows);
// Before the window system replaces a window's SDL window with another: the context leaves it,
// taking out the picture its back buffer holds, and drawing is bound again. The target goes on
// drawing into its frame buffer, and goes back into the new window's buffers where they fit.
void LeaveReplacedWindow(SDL_Window* window);
// Moves the target's picture out of its window's back buffer into a frame buffer of its own: the
// batch is drawn first, so nothing drawn for it is lost. False when GL refuses the frame buffer.
bool TakeOutOfWindow(RenderTarget& target);

}  // namespace kv::engine
