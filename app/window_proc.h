// KvWindowProc: the framework's window procedure, registered for every window that
// KV_WINDOW::Create makes. It turns key, character, mouse and wheel messages into the input
// state, turns a close request into the quit message, keeps a window's stored place and size in
// line with the desktop's moves, and hands the tray and application messages to the frame
// loop's hooks.
#pragma once

#include "platform/winapi/windows.h"

// Answers the messages the framework handles with 0 and gives the rest to DefWindowProcA.
LRESULT CALLBACK KvWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
