// The framework's live windows by their handles, so that the window procedure can keep a
// window's stored place and size in line with what the desktop does to it (a user dragging it,
// a window manager placing or resizing it). A window is known from Create or Attach until
// Destroy, Detach or its destruction.
#pragma once

#include "platform/winapi/windows.h"

struct KV_WINDOW;

// Records the window under its handle (which must be set), replacing any earlier record.
void KvRememberWindow(KV_WINDOW* window);
// Drops the window's record, if it has one.
void KvForgetWindow(const KV_WINDOW* window);
// The window recorded under the handle; null when none.
KV_WINDOW* KvWindowOfHandle(HWND hwnd);
