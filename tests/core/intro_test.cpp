// The intro: its window and render states, the fade of the logo frame by frame, the cursor
// hidden while it runs, and a window close that ends it early.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "app/loop.h"
#include "app/window.h"
#include "core/intro.h"
#include "engine/kv_engine.h"
#include "engine/testing.h"
#include "graphics/sprite.h"
#include "platform/testing/testing.h"
#include "platform/windows/sdl_window.h"
#include "platform/winapi/windows.h"

namespace {

// What the test learns about the intro's window while the intro runs.
HWND introWindow = nullptr;
std::optional<platform::testing::WindowState> introState;
int cursorCountInLoop = 1;
bool closeIntro = false;
size_t mostLitPixels = 0;  // the most logo pixels seen in one presented frame

// Resolves windows for the engine as the platform does, and notes the intro's window the first
// time the engine asks for it: a message posted to it reaches the frame loop's hook.
SDL_Window* ResolveAndNote(HWND hwnd) {
  if (introWindow == nullptr) {
    auto state = platform::testing::Window(hwnd);
    if (state && state->title == "Kelvo Core Intro") {
      introWindow = hwnd;
      introState = state;
      PostMessageA(hwnd, WM_USER + 7, 0, 0);
      if (closeIntro) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }
  }
  // Presenting asks for the window too: the frame is complete then, and not yet cleared. Reading
  // the frame may ask again (a target that draws into its window's own buffers reads them there).
  static bool reading = false;
  if (hwnd == introWindow && !reading) {
    reading = true;
    std::vector<uint8_t> pixels = kv::engine::testing::ReadPixels(0, 0, 640, 260);
    reading = false;
    size_t lit = 0;
    for (size_t i = 0; i + 2 < pixels.size(); i += 4)
      lit += std::max({pixels[i], pixels[i + 1], pixels[i + 2]}) > 96;
    mostLitPixels = std::max(mostLitPixels, lit);
  }
  return platform::SdlWindowOf(hwnd);
}

LRESULT NoteCursor(HWND, UINT message, WPARAM, LPARAM) {
  if (message == WM_USER + 7) cursorCountInLoop = platform::testing::CursorDisplayCount();
  return 0;
}

size_t CountCalls(const std::string& call) {
  size_t n = 0;
  for (const std::string& line : kv::engine::testing::TracedCalls())
    if (line == call) ++n;
  return n;
}

size_t IndexOf(const std::string& call) {
  const auto& calls = kv::engine::testing::TracedCalls();
  for (size_t i = 0; i < calls.size(); ++i)
    if (calls[i] == call) return i;
  return calls.size();
}

class IntroTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::testing::Reset();
    kv::engine::testing::ClearFailures();
    KvInitiation();
    introWindow = nullptr;
    introState.reset();
    cursorCountInLoop = 1;
    closeIntro = false;
    mostLitPixels = 0;
    KV_LOOP& loop = KV_LOOP::Instance();
    loop.running = 1;
    // The first frame of a run steps by the frame time the previous run left behind.
    loop.frameTime = 0;
    loop.frameLimit = 0;
    loop.Calibrate();
    loop.messageHook = NoteCursor;
    kv::engine::testing::SetWindowResolver(ResolveAndNote);
  }

  void TearDown() override {
    KV_LOOP::Instance().messageHook = nullptr;
    kv::engine::testing::SetWindowResolver(nullptr);
    kv::engine::testing::StopTrace();
    platform::testing::Reset();
  }

  // Runs the whole intro on a test clock and traces its engine calls.
  static void RunIntro(double clockStep) {
    platform::testing::UseTestClock(clockStep);
    kv::engine::testing::StartTrace();
    IntroState();
    kv::engine::testing::StopTrace();
  }
};

// Runs IntroFrame with a fixed frame time until it ends the loop; the alphas of every frame.
std::vector<float> FadeAlphas(float frameTime, float& t) {
  KV_WINDOW window;
  window.width = 640;
  window.height = 260;
  KV_SPRITE sprite;
  KV_INTRO_FRAME record{&window, &t, &sprite};
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.running = 1;
  loop.frameTime = frameTime;
  std::vector<float> alphas;
  while (loop.running && alphas.size() < 10000) {
    IntroFrame(nullptr, reinterpret_cast<uintptr_t>(&record));
    alphas.push_back(sprite.GetColor().w);
  }
  loop.running = 1;
  return alphas;
}

}  // namespace

TEST_F(IntroTest, FadesInHoldsAndFadesOutOverThreeSeconds) {
  float t = 0;
  std::vector<float> alphas = FadeAlphas(1.0f / 60, t);
  // 180 frames at 60 frames a second, each alpha taken before that frame's step.
  ASSERT_EQ(alphas.size(), 180u);
  EXPECT_FLOAT_EQ(alphas[0], 0.0f);
  EXPECT_NEAR(alphas[15], 2 * std::sin(15 * M_PI / 180), 1e-4);
  EXPECT_FLOAT_EQ(alphas[30], 1.0f);
  EXPECT_NEAR(alphas[150], 1.0f, 1e-5);
  EXPECT_LT(alphas[165], 1.0f);
  EXPECT_GT(alphas.back(), 0.0f);
  EXPECT_LT(alphas.back(), 0.1f);
  EXPECT_GE(t, 180.0f);
}

TEST_F(IntroTest, ALongFrameEndsItAtOnce) {
  float t = 0;
  EXPECT_EQ(FadeAlphas(3.5f, t).size(), 1u);
}

TEST_F(IntroTest, OpensACentredTopmostToolWindowWithAlphaStates) {
  platform::testing::SetScreenSize(1920, 1080);
  int cursorBefore = platform::testing::CursorDisplayCount();
  size_t objectsBefore = kv::engine::testing::LiveObjectCount();
  RunIntro(0.01);

  ASSERT_TRUE(introState.has_value());
  EXPECT_EQ(introState->x, 640);
  EXPECT_EQ(introState->y, 410);
  EXPECT_EQ(introState->width, 640);
  EXPECT_EQ(introState->height, 260);
  EXPECT_TRUE(introState->exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(introState->exStyle & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(introState->exStyle & WS_EX_APPWINDOW);

  // The render states come in this order, right after the target is made current.
  size_t vsync = IndexOf("KvRenderVsync(0)");
  size_t clear = IndexOf("KvSetState(262, 0, 0, 0, 0)");
  size_t blend = IndexOf("KvSetState(155, 164, 165)");
  size_t logo = kv::engine::testing::TracedCalls().size();
  for (const std::string& line : kv::engine::testing::TracedCalls())
    if (line.rfind("KvTextureLoadFromMemory(", 0) == 0) logo = IndexOf(line);
  size_t calls = kv::engine::testing::TracedCalls().size();
  ASSERT_LT(vsync, calls);
  EXPECT_LT(vsync, IndexOf("KvSetState(108, 1)"));
  EXPECT_LT(IndexOf("KvSetState(108, 1)"), clear);
  EXPECT_LT(clear, IndexOf("KvSetState(154, 1)"));
  EXPECT_LT(IndexOf("KvSetState(154, 1)"), blend);
  EXPECT_LT(blend, logo);
  EXPECT_LT(logo, calls);

  // The fade ran through every frame and ended with the closing present.
  EXPECT_GT(CountCalls("KvRenderScene(99)"), 10u);
  EXPECT_EQ(kv::engine::testing::TracedCalls().back().rfind("KvRenderTargetDestroy", 0), 0u)
      << kv::engine::testing::TracedCalls().back();
  EXPECT_EQ(CountCalls("KvRenderScene(35)"), 1u);
  // The logo was drawn: thousands of its pixels were bright at full alpha.
  EXPECT_GT(mostLitPixels, 5000u);

  // The cursor was hidden in the loop and is back; the window and the logo are gone.
  EXPECT_EQ(cursorCountInLoop, cursorBefore - 1);
  EXPECT_EQ(platform::testing::CursorDisplayCount(), cursorBefore);
  EXPECT_FALSE(platform::testing::Window(introWindow).has_value());
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), objectsBefore);
}

TEST_F(IntroTest, AClosedWindowEndsItEarly) {
  closeIntro = true;
  RunIntro(0.001);
  ASSERT_NE(introWindow, nullptr);
  EXPECT_LE(CountCalls("KvRenderScene(99)"), 1u);
  EXPECT_FALSE(platform::testing::Window(introWindow).has_value());
}

TEST_F(IntroTest, FallsBackToAnOpaqueTargetAndSkipsWithoutAWindow) {
  // Both creations fail: nothing is shown and the state returns at once.
  platform::testing::FailCreateWindow(2);
  RunIntro(0.01);
  EXPECT_EQ(introWindow, nullptr);
  EXPECT_EQ(CountCalls("KvRenderScene(99)"), 0u);
  EXPECT_EQ(CountCalls("KvRenderScene(35)"), 0u);

  // Only the first fails: the second try, without the alpha target, runs the intro.
  platform::testing::FailCreateWindow(1);
  RunIntro(0.05);
  EXPECT_NE(introWindow, nullptr);
  EXPECT_GT(CountCalls("KvRenderScene(99)"), 0u);
}
