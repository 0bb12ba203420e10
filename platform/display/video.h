// SDL's video subsystem, started by the first call that needs it (tests do not go through main).
// The X11 driver is preferred unless SDL_VIDEODRIVER chooses one (offscreen is the headless mode,
// taken only when asked for); Wayland where only a Wayland display is named.
#pragma once

namespace platform {

// Starts SDL video once; false, after one line on stderr that says so, when no display can be
// opened.
bool VideoReady();
// Whether video is running now, without starting it. Once started it runs until the process ends.
bool VideoRunning();

}  // namespace platform
