// A small program on the framework for the desktop test: one 320 x 200 window whose procedure
// says on stdout every key message that reaches it, a line each, before it hands the message to
// the framework's window procedure:
//   "down K fresh", "down K repeat"   a key-down of virtual key K; a repeat says the key was
//                                     already down, so the key-repeat filter drops it
//   "up K"                            a key-up
// The frame loop paces at 60 frames a second by sleeping, as a game does, so that key events
// fall into the batches that a paced program takes. Escape ends it with exit code 1.
#include <cstdio>

#include "app/input.h"
#include "app/loop.h"
#include "app/window_proc.h"
#include "platform/winapi/windows.h"

namespace {

const char* const kTitle = "Kelvo Keys Desktop";
constexpr LPARAM kWasDown = LPARAM(1) << 30;

bool escaped = false;

LRESULT CALLBACK SayingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) {
    std::printf("down %u %s\n", static_cast<unsigned>(wParam),
                (lParam & kWasDown) ? "repeat" : "fresh");
    std::fflush(stdout);
  } else if (message == WM_KEYUP) {
    std::printf("up %u\n", static_cast<unsigned>(wParam));
    std::fflush(stdout);
  }
  return KvWindowProc(hwnd, message, wParam, lParam);
}

void Frame(HWND, uintptr_t) {
  if (!KvKeyPressed(VK_ESCAPE)) return;
  escaped = true;
  KV_LOOP::Instance().running = 0;
}

HWND MakeWindow(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = SayingProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kTitle;
  if (RegisterClassA(&windowClass) == 0) return nullptr;
  return CreateWindowExA(WS_EX_APPWINDOW, kTitle, kTitle, WS_POPUP, 200, 150, 320, 200, nullptr,
                         nullptr, instance, nullptr);
}

}  // namespace

// Returns 1 when Escape ended it, 0 when the window closed or could not be made.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  HWND hwnd = MakeWindow(instance);
  if (hwnd == nullptr) return 0;
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  KV_INPUT::Instance().keyRepeatFilter = 1;
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = 16;
  loop.sleepMode = 1;
  loop.Run(Frame, 0);
  DestroyWindow(hwnd);
  return escaped ? 1 : 0;
}
