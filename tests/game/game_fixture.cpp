// The game tests' program runner.
#include "game_fixture.h"

#include <SDL2/SDL.h>

#include <unistd.h>

#include <cstring>

namespace {

GameTest::Script script;
int frame = 0;
int frameLimit = 0;

// The update hook: numbers the frame, runs the script, and presses Escape past the limit.
void OnUpdate() {
  ++frame;
  if (script) script(frame);
  if (frame == frameLimit) platform::testing::InjectKey(SDL_SCANCODE_ESCAPE, true);
}

}  // namespace

void GameTest::SetUp() {
  // The game reads its textures and font as "data/..." from the working directory.
  ASSERT_EQ(chdir(KV_SOURCE_ROOT), 0);
  platform::testing::Reset();
  kv::engine::testing::ClearFailures();
  kv::engine::testing::StopTrace();
  kv::engine::testing::ClearTrace();
  // A display without a refresh rate: the refused vertical sync limits frames to 60 a second,
  // which every frame of the test clock's 50 ms steps passes at once; the intro's three
  // seconds pass in a few dozen frames.
  platform::testing::SetRefreshRate(0);
  platform::testing::UseTestClock(0.05);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.running = 1;
  loop.frameTime = 0;
  loop.frameLimit = 0;
  loop.Calibrate();
  KvInputResetFrame(true);
  frame = 0;
}

void GameTest::TearDown() {
  Core.updateHook = KV_CALLBACK();
  script = nullptr;
  KvInputResetFrame(true);
  kv::engine::testing::StopTrace();
  kv::engine::testing::ClearFailures();
  kv::engine::testing::SetWindowResolver(nullptr);
  platform::testing::Reset();
}

int GameTest::RunProgram(Script s, int limit) {
  script = std::move(s);
  frame = 0;
  frameLimit = limit;
  Core.updateHook = KV_CALLBACK(OnUpdate);
  char commandLine[] = "";
  int result = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
  Core.updateHook = KV_CALLBACK();
  return result;
}

int GameTest::FramesRun() { return frame; }

std::vector<KvCore::KV_ACTOR2D*> GameTest::AllLive(const char* name) {
  std::vector<KvCore::KV_ACTOR2D*> found;
  for (auto it = Core.liveActors.Begin(); !it.IsEnd(); it.Next())
    if (Core.ActorHasName(*it.Get(), name))
      found.push_back(static_cast<KvCore::KV_ACTOR2D*>(*it.Get()));
  return found;
}

KvCore::KV_ACTOR2D* GameTest::Live(const char* name, int skip) {
  std::vector<KvCore::KV_ACTOR2D*> found = AllLive(name);
  return skip < static_cast<int>(found.size()) ? found[skip] : nullptr;
}

void GameTest::Key(int scancode, bool down) {
  platform::testing::InjectKey(static_cast<SDL_Scancode>(scancode), down);
}

void GameTest::KeepNextFrame() { kv::engine::testing::FailNext("KvRenderScene", {{0, "35"}}); }

std::vector<uint8_t> GameTest::Pixels(int x, int y, int w, int h) {
  return kv::engine::testing::ReadPixels(x, y, w, h);
}

int GameTest::LitPixels(int x, int y, int w, int h) {
  std::vector<uint8_t> pixels = Pixels(x, y, w, h);
  int lit = 0;
  for (size_t i = 0; i + 3 < pixels.size(); i += 4)
    if (pixels[i] != 0 || pixels[i + 1] != 0 || pixels[i + 2] != 0) ++lit;
  return lit;
}

int GameTest::CountTraced(const std::string& prefix) {
  int n = 0;
  for (const std::string& line : kv::engine::testing::TracedCalls())
    if (line.rfind(prefix, 0) == 0) ++n;
  return n;
}
