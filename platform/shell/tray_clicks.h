// Pointer events on a tray icon, as the desktop reports them, turned into the icon's callback
// message: posted to the icon's window with wParam = the icon's id and lParam = the mouse
// message. Internal to platform/; the X tray feeds it what its icon windows hear, tests feed
// it events of their own.
#pragma once

#include "platform/shell/tray.h"

namespace platform {

struct TrayPointerEvent {
  enum class Kind { Press, Release, Motion };
  Kind kind;
  unsigned button;     // the X button (1 left, 2 middle, 3 right); unused for motion
  unsigned long time;  // the desktop's time stamp of the event, in milliseconds
  int x;               // where on the icon
  int y;
};

// Posts the callback message the event stands for, when the icon asked for callbacks
// (NIF_MESSAGE): a press, a release, a double click (a second press of the same button within
// the double-click time and distance of the first), or a move (a move still waiting at the end
// of the queue counts for the next).
void TranslateTrayPointer(TrayRecord& record, const TrayPointerEvent& event);

}  // namespace platform
