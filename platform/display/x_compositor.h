// The compositing manager, followed: the screen's _NET_WM_CM_S<screen> selection, which every
// compositing manager takes when it starts, watched on the desktop connection (x_desktop.h)
// through the XFixes extension's selection events. A compositor that starts while a layered
// window sits on an opaque X window is seen when it takes the selection, without a timer or
// polling, and such windows are given the alpha visual then (window_visual.h). Where the video
// driver is not X11, or the server lacks XFixes, nothing is watched. Internal to platform/.
#pragma once

// The X library's event record, declared as Xlib declares it, so that the callers need no X
// header.
union _XEvent;

namespace platform {

// Starts watching the selection, once; true while it is watched. False where it cannot be:
// the video driver is not X11, the desktop connection cannot be opened, or the server lacks the
// XFixes extension (its selection events).
bool WatchCompositor();
// Whether the event is the watch's. When it says a compositor took the selection, every
// layered window on an opaque X window is made again with the alpha visual; when the selection
// is let go, nothing needs doing.
bool TakeCompositorEvent(const _XEvent& event);

}  // namespace platform
