// The window-system and kernel calls the framework makes, served by platform/ on SDL2 and POSIX.
// Each returns what the window system returns on failure: FALSE, 0 or a null handle.
// All of them are called from the one thread that runs the windows and the frame loop.
#pragma once

#include "platform/winapi/records.h"

// ---- Message queue (platform/messages) ------------------------------------------------------
// Takes the oldest matching message (all when min and max are 0); FALSE when none waits.
BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
// Posts WM_CHAR for a key-down that makes a control character; FALSE when it posted nothing.
BOOL WINAPI TranslateMessage(const MSG* msg);
// Calls the procedure of the message's window class; 0 for a message without a live window.
LRESULT WINAPI DispatchMessageA(const MSG* msg);
// Posts a message to a window's queue (null: to the thread); FALSE for an unknown window.
BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Asks the thread's loop to end: WM_QUIT is taken once no other message waits.
void WINAPI PostQuitMessage(int exitCode);
// The default handling of a message this system does not answer itself; returns 0.
LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Windows (platform/windows) -------------------------------------------------------------
// Registers a class by name (compared without case); 0 when the name exists or is missing.
ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass);
// Removes a class; FALSE when it is unknown or still has windows.
BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance);
// The client rectangle is the window rectangle here (frames belong to the desktop); FALSE for null.
BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
// Creates a hidden (unless WS_VISIBLE) OpenGL-capable window of a registered class; null on failure.
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param);
// Destroys a window; FALSE for a null or unknown window.
BOOL WINAPI DestroyWindow(HWND hwnd);
// Shows, hides, minimises or restores; returns whether the window was visible before.
BOOL WINAPI ShowWindow(HWND hwnd, int command);
// Raises the window and makes it the foreground window; FALSE for an unknown window.
BOOL WINAPI SetForegroundWindow(HWND hwnd);
// Gives the window keyboard focus; returns the window that had it (null when none or unknown).
HWND WINAPI SetFocus(HWND hwnd);
// Makes the window the active one; returns the window that was active (null when none or unknown).
HWND WINAPI SetActiveWindow(HWND hwnd);
// Places and sizes the window (screen pixels, the client area); FALSE for an unknown window.
BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
// Nothing to paint synchronously here; FALSE for an unknown window.
BOOL WINAPI UpdateWindow(HWND hwnd);
// Reads GWL_STYLE or GWL_EXSTYLE; 0 for an unknown window or index.
LONG WINAPI GetWindowLongA(HWND hwnd, int index);
// Writes GWL_STYLE or GWL_EXSTYLE and applies what SDL can; returns the old value, 0 on failure.
LONG WINAPI SetWindowLongA(HWND hwnd, int index, LONG value);
// Whole-window opacity (LWA_ALPHA) and colour key (LWA_COLORKEY, recorded only); FALSE unless the
// window has WS_EX_LAYERED.
BOOL WINAPI SetLayeredWindowAttributes(HWND hwnd, COLORREF colorKey, BYTE alpha, DWORD flags);
// An icon handle: a system icon, or an icon resource the module registered; null when absent.
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
// A cursor handle: a system cursor, or a cursor resource the module registered; null when absent.
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);

// ---- Tray icon (platform/shell) -------------------------------------------------------------
// Adds, modifies or deletes a tray icon record (recorded only); FALSE for an unknown icon.
BOOL WINAPI Shell_NotifyIconA(DWORD message, PNOTIFYICONDATAA data);

// ---- Screen, display and cursor (platform/display) ------------------------------------------
// SM_CXSCREEN / SM_CYSCREEN: the primary screen in pixels; 0 when unknown.
int WINAPI GetSystemMetrics(int index);
// SPI_GETWORKAREA into a RECT; FALSE for other actions or when the screen is unknown.
BOOL WINAPI SystemParametersInfoA(UINT action, UINT param, PVOID out, UINT winIni);
// A device context of the screen (null window) or of a window; null when video cannot start.
HDC WINAPI GetDC(HWND hwnd);
// Releases a device context; 0 when it was not one.
int WINAPI ReleaseDC(HWND hwnd, HDC dc);
// VREFRESH: the refresh rate in Hz, 0 when unknown; 0 for other indexes.
int WINAPI GetDeviceCaps(HDC dc, int index);
// Changes to a full-screen display mode (on the foreground window), or back with null.
LONG WINAPI ChangeDisplaySettingsA(LPDEVMODEA mode, DWORD flags);
// The cursor position in screen pixels; FALSE when it cannot be read.
BOOL WINAPI GetCursorPos(LPPOINT point);
// Moves the cursor; FALSE where the desktop does not allow it.
BOOL WINAPI SetCursorPos(int x, int y);
// Raises or lowers the display counter; the cursor shows while it is >= 0. Returns the new count.
int WINAPI ShowCursor(BOOL show);

// ---- Time (platform/time) -------------------------------------------------------------------
// Counts per second of the performance counter; FALSE when the counter is unavailable.
BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency);
// The performance counter, counted from the start of the process; FALSE when unavailable.
BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* counter);
// Milliseconds since the start of the process, wrapping at 32 bits.
DWORD WINAPI GetTickCount();
// Gives up the processor for about the given milliseconds.
void WINAPI Sleep(DWORD milliseconds);

// ---- Modules, resources and directories (platform/modules) ----------------------------------
// Null: the program's module; a name: a module registered under it (without case); null if none.
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
// Finds a resource by name and type (numbers via MAKEINTRESOURCE, or "#n"); null when absent.
HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
// A handle to the found resource's data; null for a null or unknown resource.
HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource);
// The data of a loaded resource; null for a null handle or an empty resource.
LPVOID WINAPI LockResource(HGLOBAL data);
// The size in bytes of a found resource; 0 for a null or unknown resource.
DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource);
// Resources live as long as their module: always FALSE, as the window system answers.
BOOL WINAPI FreeResource(HGLOBAL data);
// Copies the working directory and returns its length; the size needed (with the terminator)
// when the buffer is too small; 0 on failure.
DWORD WINAPI GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);

// ---- Program entry (platform/main.cpp calls it; the program defines it) ---------------------
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int show);
