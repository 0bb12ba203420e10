// The whole game frame: the real program offscreen, each iteration one frame of the game state
// (update, draw, score line, present) with no frame limit, from the third frame on, when every
// actor is live. Reports frames per second and the process's peak resident memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>

#include "core/core.h"
#include "platform/testing/testing.h"
#include "platform/winapi/windows.h"

namespace {

benchmark::State* running = nullptr;
int frame = 0;

// The update hook: the intro passed on the test clock; the game's frames are timed on the real
// clock, one benchmark iteration per frame, and the program quits when the iterations are done.
void OnUpdate() {
  ++frame;
  if (frame == 1) platform::testing::UseRealClock();
  if (frame < 3) return;
  if (!running->KeepRunning()) Core.Quit();
}

void BM_GameFrame(benchmark::State& state) {
  running = &state;
  frame = 0;
  platform::testing::UseTestClock(0.05);
  platform::testing::SetRefreshRate(0);
  Core.updateHook = KV_CALLBACK(OnUpdate);
  char commandLine[] = "";
  int result = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
  Core.updateHook = KV_CALLBACK();
  if (result != 1) state.SkipWithError("the program did not end normally");
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_GameFrame)->Iterations(3000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  // Headless unless told otherwise; the game reads data/ from the source tree.
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  if (chdir(KV_SOURCE_ROOT) != 0) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
