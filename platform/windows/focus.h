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
// Called just before a window is destroyed, hidden or minimised, or its SDL window replaced:
// when it is in front, the window manager's answer to its leaving is watched for (x_focus.h).
void WatchFrontLeaving(HWND leaving);
// Called when a window is destroyed, hidden or minimised: when it was in front, the newest
// other visible window of the process is activated (or the front is left empty). Should the
// window manager's answer to the leaving leave the keyboard nowhere, it is asked for again.
void HandFocusOnFrom(HWND gone);
// Called after the window's SDL window was replaced by another: when it is in front, the new
// one takes the keyboard, held as a hand-over is.
void KeepFocusAfterReplacement(HWND hwnd);
// Asks once more for the keyboard for the window it was handed to, when the window manager has
// answered a leaving and left the keyboard nowhere; called as messages are pumped.
void FollowFocusHandOver();

}  // namespace platform
