// KV_WINDOW: a top-level popup window of the system and the engine render target that draws
// into it. Its settings are plain fields filled before Create, or changed and re-applied
// with Apply. It owns its window, window class, tray icon and render target between Create
// and Destroy; the destructor releases only the title (call Destroy first).
#pragma once

#include "engine/kv_engine.h"
#include "foundation/string.h"
#include "platform/winapi/windows.h"

struct KV_WINDOW {
  // The tray record comes first, so the window's address is the record's address.
  NOTIFYICONDATAA notifyIcon;
  KV_HANDLE renderTarget;    // null until created
  unsigned char created;     // set by Attach, cleared by Destroy and Detach
  HWND hwnd;                 // 0 when none
  HINSTANCE instance;        // 0 when none
  unsigned char fullScreen;  // 1 while SetFullScreen has changed the display mode
  int refreshRate;           // the display's refresh rate in Hz; 0 when unknown
  int width;                 // size in pixels; follows MoveWindow and the desktop
  int height;
  float aspect;
  int x;  // top-left corner in screen pixels; follows MoveWindow and the desktop
  int y;
  int colorBits;
  int depthBits;
  unsigned char visible;    // show and activate on Create
  unsigned char appWindow;  // task-bar button (1) or tool window (0)
  unsigned char trayIcon;   // has a notification-area icon
  KV_STRING title;          // window text and window-class name
  float opacity;            // below 1: the whole window is translucent
  COLORREF colorKey;        // the colour that becomes transparent with useColorKey
  unsigned char useColorKey;
  unsigned char
      layered;  // render target with per-pixel alpha (KV_FORMAT_ALPHA, else KV_FORMAT_OPAQUE)
  unsigned char topmost;

  // Default settings: 1 x 1 at (0, 0), 32/16 bits, visible, task-bar button, opaque;
  // reads the refresh rate.
  KV_WINDOW();
  // Releases the title only (call Destroy first); the window procedure stops following it.
  ~KV_WINDOW();

  // Makes the window and its render target, shared with share when that is not null;
  // false on any failure, with the partial work undone.
  bool Create(KV_HANDLE share);
  // Destroys the render target, the tray icon, the window and its class; restores the
  // display mode when it was changed. Harmless on a window never created.
  void Destroy();
  // As Create on a window the caller made (no class, no window, no target area); false on
  // failure, after which the caller's window is destroyed too.
  bool Attach(HWND window, KV_HANDLE share);
  // Releases the render target and the tray icon of an attached window; the window stays.
  void Detach();
  // Brings a created window in line with its fields (style, opacity, place, size, tray,
  // render-target size and format) and makes its target current. True.
  bool Apply();
  // The window was resized to a client area of newWidth x newHeight (MoveWindow, a window
  // manager, a user dragging its edge): the stored size takes it and the render target is sized
  // to it as Apply would size it, so that frames are drawn at the new size, not stretched to it.
  void FollowDesktopSize(int newWidth, int newHeight);
  // Place and size := the whole screen; aspect := width / height; re-reads the refresh rate.
  void FitScreen();
  // Place and size := the desktop's work area; the aspect stays.
  void FitWorkArea();
  // mode 0: back to the desktop's display mode; > 0: width x height at colorBits bits;
  // refresh > 0 also asks for that frequency. A refused change leaves fullScreen 0.
  void SetFullScreen(int mode, int refresh);

  unsigned char IsFullScreen() const { return fullScreen; }
  unsigned char IsCreated() const { return created; }
  int GetRefreshRate() const { return refreshRate; }
  HWND GetHandle() const { return hwnd; }
  // A copy of the render-target handle.
  KV_HANDLE GetRenderTarget() const { return renderTarget; }

 private:
  DWORD ExtendedStyle() const;
  unsigned char Alpha() const;
  bool Translucent() const { return opacity < 1.0f; }
  void ReadRefreshRate();
  void SetLayeredAttributes();
  void ShowAndActivate();
  void AddTrayIcon();
  void RemoveTrayIcon();
  bool CreateRenderTarget();
  // Re-makes the render target at the window's size and in its format (per-pixel alpha or not)
  // when its viewport size or format no longer matches them.
  void FitRenderTarget();
  // Restores the display mode, destroys the render target and removes the tray icon: what
  // Destroy and Detach both undo.
  void ReleaseRenderTarget();
};
