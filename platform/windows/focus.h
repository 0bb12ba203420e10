// The keyboard focus as the desktop of the Windows calls gives it: a window that is shown or
// activated takes the input focus, and when the window in front goes away (destroyed, hidden or
// minimised) another visible window of the process takes its place. Without a window manager
// nobody else moves the X input focus, so the platform asks for it itself. Internal to platform/.
#pragma once

#include "platform/winapi/types.h"

namespace platform {

// Makes the window the foreground, active and focused one, raised, with the desktop's input
// focus when it is visible.
void Activate(HWND hwnd);
// Called when a window is destroyed, hidden or minimised: when it was in front, the newest
// other visible window of the process is activated (or the front is left empty).
void HandFocusOnFrom(HWND gone);

}  // namespace platform
