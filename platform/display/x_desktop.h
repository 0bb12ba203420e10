// The program's own connection to SDL's X server, over which the platform watches the desktop:
// the notification-area host and the tray icon windows (x_tray.h), and the compositing manager's
// selection (x_compositor.h). What it selects reaches the program and not SDL's event loop, which
// drops events of windows it did not make. Opened on first need and kept until the process ends,
// when the server takes away whatever the program made on it. Where the video driver is not X11
// there is none. Internal to platform/.
#pragma once

// The X library's connection record, declared as Xlib declares it, so that the callers need no
// X header.
typedef struct _XDisplay Display;

namespace platform {

// The connection, opened on the first call; null where the video driver is not X11 or the
// display cannot be opened (said once on stderr). Errors on it are expected (a watched window
// may go between a question and its answer) and dropped.
Display* DesktopDisplay();
// Handles what the server reported on the connection since the last call, without waiting:
// the compositing manager taking its selection, then the tray's events. Nothing happens before
// the connection is opened.
void PumpDesktopEvents();

}  // namespace platform
