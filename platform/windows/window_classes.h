// Window classes by name: the procedure every window of a class calls. Internal to platform/.
#pragma once

#include "platform/winapi/records.h"

namespace platform {

// The registered class of that name (compared without case); null when none.
const WNDCLASSA* FindWindowClass(const char* name);
// Calls the procedure of the window's class with the message, as a message sent to the window
// is handled: at once, before the caller goes on. 0 for a window that is gone or has none.
LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Drops every class (the testing interface's reset).
void ForgetWindowClasses();

}  // namespace platform
