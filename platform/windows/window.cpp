// Window creation, placement, showing and styles, each on the SDL window behind the handle; the
// focus that showing and destroying move is in focus.cpp.
#include <SDL2/SDL.h>

#include <algorithm>
#include <string>

#include "platform/display/video.h"
#include "platform/display/x_layered.h"
#include "platform/display/x_window_state.h"
#include "platform/shell/tray.h"
#include "platform/testing/test_hooks.h"
#include "platform/text/code_page.h"
#include "platform/windows/focus.h"
#include "platform/windows/layered_frames.h"
#include "platform/windows/style_table.h"
#include "platform/windows/window_classes.h"
#include "platform/windows/window_table.h"
#include "platform/windows/window_visual.h"
#include "platform/winapi/windows.h"

namespace {

using platform::WindowRecord;

// Two values in the words of a message's lParam, each kept to 16 bits as the window system
// packs a place or a size.
LPARAM PackedPair(int low, int high) {
  return MAKELPARAM(static_cast<SHORT>(low), static_cast<SHORT>(high));
}

int SdlPosition(int value) { return value == CW_USEDEFAULT ? SDL_WINDOWPOS_UNDEFINED : value; }

// The show commands that activate the window they show, and leave it restored or maximised.
bool ActivatesWindow(int command) {
  switch (command) {
    case SW_SHOWNORMAL:
    case SW_SHOWMAXIMIZED:
    case SW_SHOW:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: return true;
    default: return false;
  }
}

void ApplyVisibility(WindowRecord& window, int command) {
  switch (command) {
    case SW_HIDE:
      SDL_HideWindow(window.sdl);
      window.visible = false;
      return;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      SDL_ShowWindow(window.sdl);
      SDL_MinimizeWindow(window.sdl);
      break;
    case SW_SHOWMAXIMIZED:
      SDL_ShowWindow(window.sdl);
      SDL_MaximizeWindow(window.sdl);
      break;
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
    case SW_SHOWNORMAL:
      SDL_RestoreWindow(window.sdl);
      SDL_ShowWindow(window.sdl);
      break;
    default: SDL_ShowWindow(window.sdl); break;
  }
  window.visible = true;
}

// The extended style's effects on a live window: always-on-top through SDL, and the task-bar
// kind (a tool window has no button) through the desktop's window state, since SDL fixes it
// when it creates the window. SDL writes a hidden window's whole state again, from that first
// kind, when it changes its always-on-top; the kind is told after it, so that it stands. A
// window that stops being layered loses its colour key's shape with its layered attributes.
void ApplyExStyle(WindowRecord& window, DWORD exStyle) {
  // A new SDL window, when it comes, is made with the new style's flags already.
  platform::FitVisualToStyle(window, exStyle);
  DWORD changed = exStyle ^ window.exStyle;
  if (changed & WS_EX_TOPMOST) {
    SDL_SetWindowAlwaysOnTop(window.sdl, (exStyle & WS_EX_TOPMOST) ? SDL_TRUE : SDL_FALSE);
  }
  if ((changed & WS_EX_TOOLWINDOW) || (!window.visible && (changed & WS_EX_TOPMOST))) {
    platform::SetTaskbarButton(window.sdl, !(exStyle & WS_EX_TOOLWINDOW), window.visible);
  }
  if (!(exStyle & WS_EX_LAYERED)) platform::DropColorKeyShape(window);
  window.exStyle = exStyle;
}

void ApplyStyle(WindowRecord& window, DWORD style) {
  if ((style ^ window.style) & (WS_POPUP | WS_CAPTION)) {
    bool bordered = !(style & WS_POPUP) || (style & WS_CAPTION);
    SDL_SetWindowBordered(window.sdl, bordered ? SDL_TRUE : SDL_FALSE);
  }
  window.style = style;
}

}  // namespace

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD, BOOL, DWORD) {
  // SDL sizes a window by its client area and the desktop adds any frame outside it, so the
  // rectangle asked for is already the one to create.
  return rect != nullptr ? TRUE : FALSE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND, HMENU, HINSTANCE, LPVOID) {
  using namespace platform;
  if (FindWindowClass(className) == nullptr) return nullptr;
  if (ConsumeFailure(Hooks().failCreateWindow)) return nullptr;
  if (!VideoReady()) return nullptr;

  uint32_t flags = SDL_WINDOW_OPENGL | SdlFlagsOfStyles(style, exStyle);
  if (!(style & WS_VISIBLE)) flags |= SDL_WINDOW_HIDDEN;
  width = std::max(width == CW_USEDEFAULT ? 640 : width, 1);
  height = std::max(height == CW_USEDEFAULT ? 480 : height, 1);
  std::string title = Latin1ToUtf8(windowName ? windowName : "");
  bool alphaVisual = false;
  SDL_Window* sdl = CreateSdlWindow(title.c_str(), SdlPosition(x), SdlPosition(y), width, height,
                                    flags, exStyle, &alphaVisual);
  if (sdl == nullptr) return nullptr;

  auto record = std::make_unique<WindowRecord>();
  record->className = className;
  record->title = windowName ? windowName : "";
  record->style = style;
  record->exStyle = exStyle;
  SDL_GetWindowPosition(sdl, &record->x, &record->y);
  record->width = width;
  record->height = height;
  record->visible = (style & WS_VISIBLE) != 0;
  record->sdl = sdl;
  record->alphaVisual = alphaVisual;
  return HandleOf(AddWindowRecord(std::move(record)));
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
  using namespace platform;
  WindowRecord* window = FindWindowRecord(hwnd);
  if (window == nullptr) return FALSE;
  // A window's tray icons go with it: no host keeps an icon whose clicks have nowhere to go.
  RemoveTrayIconsOf(hwnd);
  WatchFrontLeaving(hwnd);
  ForgetWindowPictures(window->sdl);
  SDL_DestroyWindow(window->sdl);
  Windows().erase(window->id);
  HandFocusOnFrom(hwnd);
  return TRUE;
}

BOOL WINAPI ShowWindow(HWND hwnd, int command) {
  WindowRecord* window = platform::FindWindowRecord(hwnd);
  if (window == nullptr) return FALSE;
  bool wasVisible = window->visible;
  const bool leaves = command == SW_HIDE || command == SW_MINIMIZE || command == SW_SHOWMINIMIZED ||
                      command == SW_SHOWMINNOACTIVE;
  if (leaves) platform::WatchFrontLeaving(hwnd);
  ApplyVisibility(*window, command);
  // Showing activates the window unless the command says otherwise; hiding or minimising the
  // window in front hands the front on.
  if (ActivatesWindow(command)) {
    platform::Activate(hwnd);
  } else if (leaves) {
    platform::HandFocusOnFrom(hwnd);
  }
  return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
  using namespace platform;
  WindowRecord* window = FindWindowRecord(hwnd);
  if (window == nullptr) return FALSE;
  width = std::max(width, 1);
  height = std::max(height, 1);
  const bool moved = x != window->x || y != window->y;
  const bool sized = width != window->width || height != window->height;
  if (moved) {
    SDL_SetWindowPosition(window->sdl, x, y);
    window->placesAsked.Add(x, y);
    window->x = x;
    window->y = y;
  }
  if (sized) {
    SDL_SetWindowSize(window->sdl, width, height);
    window->sizesAsked.Add(width, height);
    window->width = width;
    window->height = height;
  }
  // The window procedure hears of the change before the call returns, as of a move by the
  // desktop: the client area's corner, then its size. The procedure may destroy the window.
  if (moved) CallWindowProcedure(hwnd, WM_MOVE, 0, PackedPair(x, y));
  if (sized && FindWindowRecord(hwnd) != nullptr) {
    CallWindowProcedure(hwnd, WM_SIZE, SIZE_RESTORED, PackedPair(width, height));
  }
  return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
  return platform::FindWindowRecord(hwnd) != nullptr ? TRUE : FALSE;
}

LONG WINAPI GetWindowLongA(HWND hwnd, int index) {
  WindowRecord* window = platform::FindWindowRecord(hwnd);
  if (window == nullptr) return 0;
  if (index == GWL_EXSTYLE) return static_cast<LONG>(window->exStyle);
  if (index == GWL_STYLE) return static_cast<LONG>(window->style);
  return 0;
}

LONG WINAPI SetWindowLongA(HWND hwnd, int index, LONG value) {
  WindowRecord* window = platform::FindWindowRecord(hwnd);
  if (window == nullptr) return 0;
  LONG previous = GetWindowLongA(hwnd, index);
  if (index == GWL_EXSTYLE) {
    ApplyExStyle(*window, static_cast<DWORD>(value));
  } else if (index == GWL_STYLE) {
    ApplyStyle(*window, static_cast<DWORD>(value));
  }
  return previous;
}
