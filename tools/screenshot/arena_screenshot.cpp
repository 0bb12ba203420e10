// arena_screenshot: runs the real program (intro, then the game) offscreen and saves one whole
// game frame, score line included, as a PNG. The intro passes on a fast test clock; both players
// hold "down" from the start, so they stand clear of the score line; the chosen frame's present
// is held back so that its pixels can be read when the next frame starts.
//   arena_screenshot <out.png> [frame]     (frame 20 by default; run it where data/ is)
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/core.h"
#include "engine/testing.h"
#include "platform/testing/testing.h"
#include "platform/winapi/windows.h"

#include "platform/imaging/stb_image_write_here.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

int wantedFrame = 20;
int frame = 0;
std::vector<uint8_t> pixels;

// Called at the start of every game frame, before the actors update.
void OnUpdate() {
  ++frame;
  if (frame == 1) {
    platform::testing::InjectKey(SDL_SCANCODE_DOWN, true);
    platform::testing::InjectKey(SDL_SCANCODE_S, true);
  }
  if (frame == wantedFrame) kv::engine::testing::FailNext("KvRenderScene", {{0, "35"}});
  if (frame == wantedFrame + 1) {
    pixels = kv::engine::testing::ReadPixels(0, 0, kWidth, kHeight);
    Core.Quit();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: arena_screenshot <out.png> [frame]\n");
    return 2;
  }
  if (argc == 3) wantedFrame = std::atoi(argv[2]);
  if (wantedFrame < 1) wantedFrame = 1;
  setenv("SDL_VIDEODRIVER", "offscreen", 0);

  platform::testing::UseTestClock(0.05);
  platform::testing::SetRefreshRate(0);
  Core.updateHook = KV_CALLBACK(OnUpdate);
  char commandLine[] = "";
  int result = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
  Core.updateHook = KV_CALLBACK();

  if (result != 1 || pixels.size() != static_cast<size_t>(kWidth * kHeight * 4)) {
    std::fprintf(stderr, "arena_screenshot: the game did not reach frame %d\n", wantedFrame + 1);
    return 1;
  }
  if (!stbi_write_png(argv[1], kWidth, kHeight, 4, pixels.data(), kWidth * 4)) {
    std::fprintf(stderr, "arena_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
