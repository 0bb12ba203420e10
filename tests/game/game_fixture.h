// Shared set-up of the game's tests: the whole program (WinMain, the intro, the game state) runs
// offscreen on a test clock, and a script of the test's own is called at the start of every game
// frame through the central object's update hook (before any actor updates). Keys go in through
// the platform's testing interface, so they reach the game as window messages do.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/input.h"
#include "app/loop.h"
#include "core/core.h"
#include "engine/kv_engine.h"
#include "engine/testing.h"
#include "platform/testing/testing.h"
#include "platform/winapi/windows.h"

class GameTest : public ::testing::Test {
 public:
  // Called with the game frame's number, 1 for the first frame of the game state.
  using Script = std::function<void(int frame)>;

 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the program to its end with the script; WinMain's result. A script that has not quit
  // by frame limit gets Escape pressed then, so a failing test still ends.
  static int RunProgram(Script script, int limit = 2000);
  // The game frames run in the last RunProgram.
  static int FramesRun();

  // The first live actor with that actor name after skip others; null when there is none.
  static KvCore::KV_ACTOR2D* Live(const char* name, int skip = 0);
  // Every live actor with that actor name, in live order.
  static std::vector<KvCore::KV_ACTOR2D*> AllLive(const char* name);
  // Holds or lets go of a key (SDL scancode) on the focused window; it counts from the next
  // frame, once the frame loop has handled the message.
  static void Key(int scancode, bool down);
  // Keeps the next present of the game from happening, so the next frame's script can read the
  // whole finished frame with Pixels.
  static void KeepNextFrame();
  // The current target's pixels (R, G, B, A, top row first) of the rectangle.
  static std::vector<uint8_t> Pixels(int x, int y, int w, int h);
  // Pixels of the rectangle whose colour is not black.
  static int LitPixels(int x, int y, int w, int h);
  // Engine calls traced so far whose text starts with prefix.
  static int CountTraced(const std::string& prefix);
};
