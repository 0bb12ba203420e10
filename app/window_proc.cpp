// The window procedure, message by message. Handled messages are answered 0 and skip the
// default handling.
#include "app/window_proc.h"

#include "app/input.h"
#include "app/loop.h"
#include "app/window.h"
#include "app/window_registry.h"

namespace {

constexpr UINT kFirstAppMessage = 0x8001;
constexpr UINT kLastAppMessage = 0xBFFE;

// Storage indexes of the buttons: left, middle, right.
constexpr int kLeft = 0;
constexpr int kMiddle = 1;
constexpr int kRight = 2;

void KeyDown(WPARAM key) {
  // Codes above 255 are no virtual keys; they would index past the tables.
  if (key > 255) return;
  KV_INPUT& input = KV_INPUT::Instance();
  if (input.keyRepeatFilter && input.keyDown[key]) return;
  input.keyDown[key] = 1;
  input.keyPressed[key] = 1;
  input.lastKey = (unsigned char)key;
}

void KeyUp(WPARAM key) {
  if (key > 255) return;
  KV_INPUT& input = KV_INPUT::Instance();
  input.keyDown[key] = 0;
  input.keyReleased[key] = 1;
}

void ButtonDown(int index) {
  KV_INPUT& input = KV_INPUT::Instance();
  input.mouseDown[index] = 1;
  input.mousePressed[index] = 1;
}

void ButtonUp(int index) {
  KV_INPUT& input = KV_INPUT::Instance();
  input.mouseDown[index] = 0;
  input.mouseReleased[index] = 1;
}

// Gathers wheel deltas until they make at least one notch of 120.
void Wheel(WPARAM wParam) {
  KV_INPUT& input = KV_INPUT::Instance();
  input.wheelAccumulator += GET_WHEEL_DELTA_WPARAM(wParam);
  if (input.wheelAccumulator >= 120 || input.wheelAccumulator <= -120) {
    input.wheelNotches = input.wheelAccumulator / 120;
    if (input.wheelAccumulator > 0) input.wheelUp = 1;
    if (input.wheelAccumulator < 0) input.wheelDown = 1;
    input.wheelAccumulator %= 120;
  }
}

// A window moved, by MoveWindow (Apply's among them) or by the desktop (its client area's
// top-left corner, screen pixels, in lParam's two signed words): the stored place follows, so
// that positions in the window stay right.
void FollowMove(HWND hwnd, LPARAM lParam) {
  KV_WINDOW* window = KvWindowOfHandle(hwnd);
  if (window == nullptr) return;
  window->x = (SHORT)LOWORD(lParam);
  window->y = (SHORT)HIWORD(lParam);
}

// A window was resized, by MoveWindow or by the desktop (its client area, in lParam's two
// words): the stored size and the render target follow together, so that the frame, the
// projections taken from the window's size and the GUI's clip all agree. A minimised window keeps the size it will come
// back with.
void FollowSize(HWND hwnd, WPARAM kind, LPARAM lParam) {
  KV_WINDOW* window = KvWindowOfHandle(hwnd);
  if (window == nullptr || (kind != SIZE_RESTORED && kind != SIZE_MAXIMIZED)) return;
  window->FollowDesktopSize(LOWORD(lParam), HIWORD(lParam));
}

LRESULT Default(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  KV_LOOP& loop = KV_LOOP::Instance();
  if (loop.messageHook != nullptr) loop.messageHook(hwnd, message, wParam, lParam);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK KvWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: PostQuitMessage(0); return 0;
    case WM_KEYDOWN: KeyDown(wParam); return 0;
    case WM_KEYUP: KeyUp(wParam); return 0;
    case WM_CHAR:
      KV_INPUT::Instance().typedChars.PushBack((unsigned char)(wParam & 0xFF));
      return 0;
    case WM_SYSCOMMAND:
      // Every system command is swallowed, the screen saver and monitor power-off among
      // them; only a restore request is acted on.
      if (wParam == SC_RESTORE) ShowWindow(hwnd, SW_SHOWDEFAULT);
      return 0;
    case WM_LBUTTONDOWN: ButtonDown(kLeft); return 0;
    case WM_RBUTTONDOWN: ButtonDown(kRight); return 0;
    case WM_MBUTTONDOWN: ButtonDown(kMiddle); return 0;
    case WM_LBUTTONUP: ButtonUp(kLeft); return 0;
    case WM_RBUTTONUP: ButtonUp(kRight); return 0;
    case WM_MBUTTONUP: ButtonUp(kMiddle); return 0;
    case WM_MOUSEWHEEL: Wheel(wParam); return 0;
    // Followed, then offered to the hook and the default handling like any other message.
    case WM_MOVE: FollowMove(hwnd, lParam); break;
    case WM_SIZE: FollowSize(hwnd, wParam, lParam); break;
    case WM_APP: {
      KV_LOOP& loop = KV_LOOP::Instance();
      if (loop.trayHook != nullptr) loop.trayHook(hwnd, wParam, lParam);
      return 0;
    }
    default: break;
  }
  if (message >= kFirstAppMessage && message <= kLastAppMessage) {
    KV_LOOP& loop = KV_LOOP::Instance();
    if (loop.appMessageHook != nullptr) {
      loop.appMessageHook(hwnd, message, wParam, lParam);
      return 0;
    }
  }
  return Default(hwnd, message, wParam, lParam);
}
