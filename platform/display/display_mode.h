// The full-screen display mode. SDL2 has no display-wide mode change, so the mode is taken by
// the window in front, made full screen in it; restoring ends that window's full screen.
// Internal to platform/.
#pragma once

#include "platform/winapi/records.h"

namespace platform {

// Finds the closest mode SDL offers and, unless only testing, switches to it.
// Returns a DISP_CHANGE_* value.
LONG ApplyDisplayMode(const DEVMODEA& mode, bool testOnly);
// Leaves full screen; DISP_CHANGE_SUCCESSFUL also when nothing was changed.
LONG RestoreDisplayMode();

}  // namespace platform
