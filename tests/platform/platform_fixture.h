// Shared set-up of the platform tests: every test starts and ends with the platform reset, and
// can make a registered class and a window whose procedure records what reaches it.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/testing/testing.h"
#include "platform/winapi/windows.h"

struct ProcCall {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class PlatformTest : public ::testing::Test {
 protected:
  static std::vector<ProcCall>& Calls() {
    static std::vector<ProcCall> calls;
    return calls;
  }

  static LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Calls().push_back({hwnd, message, wParam, lParam});
    return 7;
  }

  void SetUp() override {
    platform::testing::Reset();
    Calls().clear();
  }
  void TearDown() override { platform::testing::Reset(); }

  static bool Register(const char* name) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    return RegisterClassA(&windowClass) != 0;
  }

  // A registered class and a hidden popup window of it, as the framework creates its windows.
  static HWND MakeWindow(const char* name = "Test Window", DWORD exStyle = WS_EX_APPWINDOW,
                         int x = 10, int y = 20, int width = 64, int height = 48) {
    if (!Register(name)) return nullptr;
    return CreateWindowExA(exStyle, name, name, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y,
                           width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }

  // Takes every waiting message, translating and dispatching as the frame loop does.
  static std::vector<MSG> Drain() {
    std::vector<MSG> taken;
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      taken.push_back(msg);
      if (msg.message == WM_QUIT) break;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    return taken;
  }
};
