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
#include "platform/winapi/windows.h"

namespace {

using platform::WindowRecord;

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

// Creates the SDL window; one made layered on a compositing X desktop gets a visual with an alpha
// channel, which the compositor blends over the desktop. GL does not draw on such a window (the
// engine's one context has another visual): its frames arrive as pictures (layered_frames.h).
// SDL asks compositors by default to leave its windows out, which some honour by stopping
// compositing altogether: a layered window must be composited.
SDL_Window* CreateSdlWindow(const char* title, int x, int y, int width, int height, uint32_t flags,
                            DWORD exStyle, bool* alphaVisual) {
  unsigned long visual = (exStyle & WS_EX_LAYERED) ? platform::AlphaVisualForNewWindow() : 0;
  *alphaVisual = visual != 0;
  if (visual == 0) return SDL_CreateWindow(title, x, y, width, height, flags);
  std::string id = std::to_string(visual);
  SDL_SetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID, id.c_str());
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_Window* sdl = SDL_CreateWindow(title, x, y, width, height, flags & ~SDL_WINDOW_OPENGL);
  SDL_ResetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID);
  SDL_ResetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR);
  return sdl;
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
  ApplyVisibility(*window, command);
  // Showing activates the window unless the command says otherwise; hiding or minimising the
  // window in front hands the front on.
  if (ActivatesWindow(command)) {
    platform::Activate(hwnd);
  } else if (command == SW_HIDE || command == SW_MINIMIZE || command == SW_SHOWMINIMIZED ||
             command == SW_SHOWMINNOACTIVE) {
    platform::HandFocusOnFrom(hwnd);
  }
  return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
  WindowRecord* window = platform::FindWindowRecord(hwnd);
  if (window == nullptr) return FALSE;
  width = std::max(width, 1);
  height = std::max(height, 1);
  SDL_SetWindowPosition(window->sdl, x, y);
  SDL_SetWindowSize(window->sdl, width, height);
  window->x = x;
  window->y = y;
  window->width = width;
  window->height = height;
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
