// The tray icons as an X desktop shows them: each icon a small window of the program's own,
// docked with the notification-area host that owns the screen's system-tray selection (the
// freedesktop system tray protocol, over XEmbed). Its own connection to SDL's X server carries
// the icon windows, so that their events reach the program and not SDL's event loop, which drops
// events of windows it did not make. Where the video driver is not X11 (Wayland, headless) the
// tray records stay all there is. Internal to platform/.
#pragma once

namespace platform {

// Brings the notification area in line with the tray records: docks the icons not shown yet,
// names and draws again those that changed, and takes away those deleted. With no host running,
// the icons dock when one appears, and again when it restarts.
void FollowTrayIcons();
// Handles what the X server reported for the tray since the last call, without waiting: hosts
// appearing and going, the sizes hosts give the icons, exposures, and pointer events on the
// icons, which are posted as the icons' callback messages.
void PumpTrayEvents();

}  // namespace platform
