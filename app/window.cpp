// The window: creation with its class, extended styles, layered attributes, tray icon and
// render target; tear-down; re-applying changed settings; fitting to the screen; display
// modes.
#include "app/window.h"

#include <cstdint>
#include <cstring>

#include "app/window_proc.h"
#include "app/window_registry.h"

namespace {

constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;  // 35
constexpr DWORD kWindowStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 7

// Each added tray icon takes the next id of the process.
UINT NextTrayId() {
  static UINT counter = 0;
  return ++counter;
}

// The render target's size and viewport: the whole window, field of view 45, depth -1..1.
bool SetTargetArea(KV_HANDLE target, int width, int height) {
  return KvRenderTargetArea(target, 0, 0, width, height, 45.0, -1.0, 1.0, 0.0) != 0;
}

}  // namespace

KV_WINDOW::KV_WINDOW()
    : notifyIcon{},
      created(0),
      hwnd(nullptr),
      instance(nullptr),
      fullScreen(0),
      refreshRate(0),
      width(1),
      height(1),
      aspect(1),
      x(0),
      y(0),
      colorBits(32),
      depthBits(16),
      visible(1),
      appWindow(1),
      trayIcon(0),
      title("Kelvo Core Framework"),
      opacity(1),
      colorKey(0),
      useColorKey(0),
      layered(0),
      topmost(0) {
  notifyIcon.cbSize = sizeof(NOTIFYICONDATAA);
  notifyIcon.hWnd = nullptr;
  notifyIcon.uCallbackMessage = WM_APP;
  ReadRefreshRate();
}

KV_WINDOW::~KV_WINDOW() { KvForgetWindow(this); }

// ---- derived values and small steps ----

DWORD KV_WINDOW::ExtendedStyle() const {
  DWORD style = appWindow ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
  if (topmost) style |= WS_EX_TOPMOST;
  return style;
}

unsigned char KV_WINDOW::Alpha() const {
  float o = opacity;
  if (!(o > 0.0f))  // negative, zero or not a number
    o = 0.0f;
  if (o > 1.0f) o = 1.0f;
  return (unsigned char)(o * 255.0f);
}

void KV_WINDOW::ReadRefreshRate() {
  HDC dc = GetDC(nullptr);
  if (dc == nullptr) {
    refreshRate = 0;
    return;
  }
  refreshRate = GetDeviceCaps(dc, VREFRESH);
  ReleaseDC(nullptr, dc);
}

void KV_WINDOW::SetLayeredAttributes() {
  // Made in this order, so the last call made decides.
  if (Translucent()) SetLayeredWindowAttributes(hwnd, colorKey, Alpha(), LWA_ALPHA);
  if (useColorKey) SetLayeredWindowAttributes(hwnd, colorKey, Alpha(), LWA_COLORKEY);
  if (Translucent() && useColorKey)
    SetLayeredWindowAttributes(hwnd, colorKey, Alpha(), LWA_ALPHA | LWA_COLORKEY);
}

void KV_WINDOW::ShowAndActivate() {
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  SetActiveWindow(hwnd);
}

void KV_WINDOW::AddTrayIcon() {
  notifyIcon.hWnd = hwnd;
  notifyIcon.uID = NextTrayId();
  notifyIcon.uFlags = kTrayFlags;
  notifyIcon.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  // The tip holds 127 characters and a terminator; a longer title is cut.
  size_t length = strnlen(title.c_str(), sizeof notifyIcon.szTip - 1);
  memcpy(notifyIcon.szTip, title.c_str(), length);
  notifyIcon.szTip[length] = '\0';
  Shell_NotifyIconA(NIM_ADD, &notifyIcon);
}

void KV_WINDOW::RemoveTrayIcon() {
  notifyIcon.uFlags = 0;
  Shell_NotifyIconA(NIM_DELETE, &notifyIcon);
  notifyIcon.hWnd = nullptr;
}

bool KV_WINDOW::CreateRenderTarget() {
  if (KvRenderTargetCreate(&renderTarget, hwnd, layered ? KV_FORMAT_ALPHA : KV_FORMAT_OPAQUE,
                           colorBits, depthBits))
    return true;
  if (!layered) return false;
  // The desktop cannot show per-pixel alpha: fall back to an opaque target and drop the
  // layered style that asked for it.
  layered = 0;
  SetWindowLongA(hwnd, GWL_EXSTYLE, (LONG)ExtendedStyle());
  return KvRenderTargetCreate(&renderTarget, hwnd, KV_FORMAT_OPAQUE, colorBits, depthBits) != 0;
}

void KV_WINDOW::ReleaseRenderTarget() {
  if (fullScreen) {
    ChangeDisplaySettingsA(nullptr, 0);
    fullScreen = 0;
  }
  KvRenderTargetDestroy(renderTarget);
  // Forget the handle, so that a second Destroy or Detach cannot reach an object that took
  // its id.
  renderTarget = KV_HANDLE();
  if (trayIcon) RemoveTrayIcon();
}

// ---- create and destroy ----

bool KV_WINDOW::Create(KV_HANDLE share) {
  RECT rect{x, y, x + width, y + height};
  instance = GetModuleHandleA(nullptr);

  WNDCLASSA windowClass{};
  windowClass.style = kClassStyle;
  windowClass.lpfnWndProc = KvWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = title.c_str();
  if (RegisterClassA(&windowClass) == 0) return false;

  ReadRefreshRate();
  DWORD exStyle = ExtendedStyle();
  if (layered || Translucent() || useColorKey) exStyle |= WS_EX_LAYERED;
  AdjustWindowRectEx(&rect, WS_POPUP, FALSE, exStyle);
  hwnd = CreateWindowExA(exStyle, title.c_str(), title.c_str(), kWindowStyle, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance,
                         nullptr);
  if (hwnd == nullptr) {
    Destroy();
    return false;
  }
  KvRememberWindow(this);
  SetLayeredAttributes();
  if (visible) ShowAndActivate();
  if (trayIcon) AddTrayIcon();
  if (!CreateRenderTarget() || !SetTargetArea(renderTarget, width, height)) {
    Destroy();
    return false;
  }
  if (!share.IsNull()) KvRenderTargetShare(renderTarget, share);
  return true;
}

void KV_WINDOW::Destroy() {
  KvForgetWindow(this);
  ReleaseRenderTarget();
  DestroyWindow(hwnd);
  hwnd = nullptr;
  UnregisterClassA(title.c_str(), instance);
  instance = nullptr;
  created = 0;
}

bool KV_WINDOW::Attach(HWND window, KV_HANDLE share) {
  hwnd = window;
  instance = GetModuleHandleA(nullptr);
  KvRememberWindow(this);
  ReadRefreshRate();
  if (Translucent() || useColorKey) {
    SetWindowLongA(hwnd, GWL_EXSTYLE, (LONG)(ExtendedStyle() | WS_EX_LAYERED));
    SetLayeredAttributes();
  }
  if (visible) ShowAndActivate();
  if (trayIcon) AddTrayIcon();
  if (!CreateRenderTarget()) {
    Destroy();
    return false;
  }
  if (!share.IsNull()) KvRenderTargetShare(renderTarget, share);
  created = 1;
  return true;
}

void KV_WINDOW::Detach() {
  KvForgetWindow(this);
  ReleaseRenderTarget();
  created = 0;
}

// ---- settings ----

bool KV_WINDOW::Apply() {
  ReadRefreshRate();
  // Windows change their task-bar kind only while hidden.
  DWORD current = (DWORD)GetWindowLongA(hwnd, GWL_EXSTYLE);
  bool hidden =
      (appWindow && (current & WS_EX_TOOLWINDOW)) || (!appWindow && (current & WS_EX_APPWINDOW));
  if (hidden) ShowWindow(hwnd, SW_HIDE);

  if (!Translucent() && !useColorKey && !layered) {
    SetWindowLongA(hwnd, GWL_EXSTYLE, (LONG)ExtendedStyle());
  } else {
    SetWindowLongA(hwnd, GWL_EXSTYLE, (LONG)(ExtendedStyle() | WS_EX_LAYERED));
    SetLayeredAttributes();
  }
  if (hidden) ShowWindow(hwnd, SW_SHOW);
  MoveWindow(hwnd, x, y, width, height, TRUE);

  // An added icon is updated with its record as it was, or removed when no longer wanted.
  if (notifyIcon.hWnd != nullptr) {
    if (!trayIcon)
      RemoveTrayIcon();
    else
      Shell_NotifyIconA(NIM_MODIFY, &notifyIcon);
  } else if (trayIcon) {
    AddTrayIcon();
  }
  UpdateWindow(hwnd);

  FitRenderTarget();
  KvRenderTargetActivate(renderTarget);
  return true;
}

void KV_WINDOW::FitRenderTarget() {
  const uint32_t* targetWidth = (const uint32_t*)KvRenderTargetGet(renderTarget, KV_RT_VIEWPORT_W);
  const uint32_t* targetHeight = (const uint32_t*)KvRenderTargetGet(renderTarget, KV_RT_VIEWPORT_H);
  const uint32_t* format = (const uint32_t*)KvRenderTargetGet(renderTarget, KV_RT_FORMAT);
  if (targetWidth == nullptr || targetHeight == nullptr || format == nullptr) return;
  bool resize = (int64_t)*targetWidth != width || (int64_t)*targetHeight != height;
  bool reformat =
      (*format == KV_FORMAT_OPAQUE && layered) || (*format == KV_FORMAT_ALPHA && !layered);
  if (resize || reformat) {
    KvRenderTargetChange(renderTarget, layered ? KV_FORMAT_ALPHA : KV_FORMAT_OPAQUE);
    SetTargetArea(renderTarget, width, height);
  }
}

void KV_WINDOW::FollowDesktopSize(int newWidth, int newHeight) {
  width = newWidth;
  height = newHeight;
  // Which target is current stays as the program made it: only this window's target changes.
  FitRenderTarget();
}

void KV_WINDOW::FitScreen() {
  x = 0;
  y = 0;
  width = GetSystemMetrics(SM_CXSCREEN);
  height = GetSystemMetrics(SM_CYSCREEN);
  // An unknown screen reads 0 x 0; the aspect then keeps its value instead of 0 / 0.
  if (height != 0) aspect = (float)width / (float)height;
  ReadRefreshRate();
}

void KV_WINDOW::FitWorkArea() {
  RECT area{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) return;
  x = area.left;
  y = area.top;
  width = area.right - area.left;
  height = area.bottom - area.top;
}

void KV_WINDOW::SetFullScreen(int mode, int refresh) {
  if (mode == 0) {
    ChangeDisplaySettingsA(nullptr, 0);
    fullScreen = 0;
  } else {
    DEVMODEA displayMode{};
    displayMode.dmSize = sizeof(DEVMODEA);
    if (mode > 0) {
      displayMode.dmPelsWidth = (DWORD)width;
      displayMode.dmPelsHeight = (DWORD)height;
      displayMode.dmBitsPerPel = (DWORD)colorBits;
      displayMode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
      fullScreen = 1;
    }
    if (refresh > 0) {
      displayMode.dmDisplayFrequency = (DWORD)refresh;
      displayMode.dmFields |= DM_DISPLAYFREQUENCY;
    }
    if (ChangeDisplaySettingsA(&displayMode, 0) != DISP_CHANGE_SUCCESSFUL) fullScreen = 0;
  }
  ReadRefreshRate();
}
