// A small program on the framework for the desktop test: a 240 x 120 window "Kelvo Tray Window"
// with a tray icon, whose icon resource 1 is a 32 x 32 orange square in a transparent margin of
// 4 pixels. It says on stdout, a line each:
//   "icon ID"                 once the window and its tray icon are made
//   "tray ID MESSAGE"         each tray callback that reaches trayHook, MESSAGE in hexadecimal
// Escape ends it with exit code 1, after the window (and with it the tray icon) is destroyed.
#include <cstdio>
#include <string>
#include <vector>

#include "app/input.h"
#include "app/loop.h"
#include "app/window.h"
#include "engine/kv_engine.h"
#include "platform/imaging/png_encode.h"
#include "platform/modules/module_registry.h"
#include "platform/winapi/windows.h"

namespace {

constexpr int kIconSize = 32;
constexpr int kIconMargin = 4;
constexpr uint8_t kOrange[3] = {255, 128, 0};

bool escaped = false;

// Registers the program's icon 1 as the PNG file of an orange square.
bool RegisterIcon() {
  std::vector<uint8_t> rgba(kIconSize * kIconSize * 4, 0);
  for (int y = kIconMargin; y < kIconSize - kIconMargin; ++y) {
    for (int x = kIconMargin; x < kIconSize - kIconMargin; ++x) {
      uint8_t* pixel = &rgba[(y * kIconSize + x) * 4];
      for (int c = 0; c < 3; ++c) pixel[c] = kOrange[c];
      pixel[3] = 255;
    }
  }
  std::string png;
  if (!platform::imaging::EncodePng(rgba.data(), kIconSize, kIconSize, &png)) return false;
  uintptr_t groupIcon = reinterpret_cast<uintptr_t>(RT_GROUP_ICON);
  return platform::AddResource(GetModuleHandleA(nullptr), groupIcon, 1, png.data(),
                               static_cast<DWORD>(png.size()));
}

void SayTray(HWND, WPARAM wParam, LPARAM lParam) {
  std::printf("tray %u 0x%x\n", static_cast<unsigned>(wParam), static_cast<unsigned>(lParam));
  std::fflush(stdout);
}

void Frame(HWND, uintptr_t) {
  if (!KvKeyPressed(VK_ESCAPE)) return;
  escaped = true;
  KV_LOOP::Instance().running = 0;
}

}  // namespace

// Returns 1 when Escape ended it, 0 when the window closed or could not be made.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (!RegisterIcon() || !KvInitiation()) return 0;
  KV_WINDOW window;
  window.title = "Kelvo Tray Window";
  window.x = 300;
  window.y = 300;
  window.width = 240;
  window.height = 120;
  window.trayIcon = 1;
  if (!window.Create(KV_HANDLE())) return 0;
  std::printf("icon %u\n", window.notifyIcon.uID);
  std::fflush(stdout);
  KV_INPUT::Instance().keyRepeatFilter = 1;
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.trayHook = SayTray;
  loop.frameLimit = 16;
  loop.sleepMode = 1;
  loop.Run(Frame, 0);
  window.Destroy();
  KvClosure();
  return escaped ? 1 : 0;
}
