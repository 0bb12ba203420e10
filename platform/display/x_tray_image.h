// How tray icon windows look on X: the visual a host asks for (32-bit ARGB lets an icon's
// half-transparent edge blend with the panel) or the screen's own, where the panel shows through
// the icon's transparent pixels; and the icon's picture put into its window. Internal to
// platform/; x_tray.cpp is its one user.
#pragma once

#include <X11/Xlib.h>

#include "platform/winapi/types.h"

namespace platform {

struct IconLook {
  Visual* visual = nullptr;  // null: the screen's own visual, depth and colour map
  int depth = 0;
  Colormap colormap = None;  // made for the host's visual; None with the screen's own
  bool alpha = false;        // the visual has an alpha channel: pixels are put premultiplied
};

// The look for a host's visual (0 or an unknown id: the screen's own).
IconLook IconLookFor(Display* display, VisualID hostVisual);
// Frees what the look made; it is the screen's own look afterwards.
void FreeIconLook(Display* display, IconLook& look);
// An unmapped size x size window of that look under parent, selecting the events of mask.
Window CreateIconLookWindow(Display* display, Window parent, const IconLook& look, int size,
                            long mask);
// Draws the icon's picture (or the plain icon) fitted to width x height into the window.
void DrawTrayIcon(Display* display, Window window, const IconLook& look, HICON icon, int width,
                  int height);

}  // namespace platform
