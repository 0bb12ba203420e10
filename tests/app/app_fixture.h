// Shared set-up of the application-runtime tests: the platform, the engine's trace and forced
// failures, the frame loop's settings and the input state all start from their defaults, and
// helpers hand messages to the window procedure the way the frame loop does.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/input.h"
#include "app/loop.h"
#include "app/window_proc.h"
#include "engine/kv_engine.h"
#include "engine/testing.h"
#include "platform/testing/testing.h"
#include "platform/winapi/windows.h"

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::testing::Reset();
    kv::engine::testing::StopTrace();
    kv::engine::testing::ClearTrace();
    kv::engine::testing::ClearFailures();
    KvInitiation();
    ResetLoop();
    ResetInput();
  }

  void TearDown() override {
    kv::engine::testing::StopTrace();
    kv::engine::testing::ClearFailures();
    ResetLoop();
    ResetInput();
    platform::testing::Reset();
  }

  // The frame loop's settings back to their defaults.
  static void ResetLoop() {
    KV_LOOP& loop = KV_LOOP::Instance();
    loop.frameLimit = 0;
    loop.drawInterval = 0;
    loop.updateInterval = 0;
    loop.sleepMode = 0;
    loop.resetInput = 1;
    loop.clearCharacters = 1;
    loop.running = 1;
    loop.trayHook = nullptr;
    loop.appMessageHook = nullptr;
    loop.messageHook = nullptr;
    loop.lastMessage = MSG{};
    loop.Calibrate();
  }

  // Every input field back to 0.
  static void ResetInput() {
    KV_INPUT& input = KV_INPUT::Instance();
    memset(input.keyReleaseMark, 0, sizeof input.keyReleaseMark);
    memset(input.mouseReleaseMark, 0, sizeof input.mouseReleaseMark);
    KvInputResetFrame(true);
    input.wheelAccumulator = 0;
    input.wheelNotches = 0;
    input.cursorX = input.cursorY = 0;
    input.lastKey = 0;
    input.keyRepeatFilter = 0;
    KvClearChars();
  }

  // Hands one message straight to the window procedure.
  static LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, HWND hwnd = nullptr) {
    return KvWindowProc(hwnd, message, wParam, lParam);
  }

  // The wParam of a wheel message turned by delta.
  static WPARAM WheelParam(int delta) { return MAKEWPARAM(0, (WORD)(SHORT)delta); }

  // Whether the engine call trace holds a line equal to call.
  static bool Traced(const std::string& call) {
    for (const std::string& line : kv::engine::testing::TracedCalls())
      if (line == call) return true;
    return false;
  }

  // The traced lines that start with prefix, in order.
  static std::vector<std::string> TracedStartingWith(const std::string& prefix) {
    std::vector<std::string> lines;
    for (const std::string& line : kv::engine::testing::TracedCalls())
      if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    return lines;
  }
};
