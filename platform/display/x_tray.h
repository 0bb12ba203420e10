// The tray icons as an X desktop shows them: each icon a small window of the program's own,
// docked with the notification-area host that owns the screen's system-tray selection (the
// freedesktop system tray protocol, over XEmbed). The desktop connection (x_desktop.h) carries
// the icon windows, so that their events reach the program and not SDL's event loop, which drops
// events of windows it did not make. Where the video driver is not X11 (Wayland, headless) the
// tray records stay all there is. Internal to platform/.
#pragma once

// The X library's event record, declared as Xlib declares it, so that the callers of the tray
// need no X header.
union _XEvent;

namespace platform {

// Brings the notification area in line with the tray records: docks the icons not shown yet,
// names and draws again those that changed, and takes away those deleted. With no host running,
// the icons dock when one appears, and again when it restarts.
void FollowTrayIcons();
// Handles an event of the desktop connection that is the tray's: hosts appearing and going, the
// sizes hosts give the icons, exposures, and pointer events on the icons, which are posted as
// the icons' callback messages. Other events are left alone.
void TakeTrayEvent(const _XEvent& event);

}  // namespace platform
