// The frame loop's pacing on a real offscreen window: two registered states run their own
// frame loops with a 16 ms frame limit in busy-wait mode, each frame presenting the window's
// render target. Reports the frame time's median and spread (p10, p90, min, max), measured
// from frame start to frame start, as the loop itself counts it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/loop.h"
#include "app/state_machine.h"
#include "app/window.h"
#include "engine/kv_engine.h"

namespace {

constexpr int kFramesPerState = 30;

std::vector<float> frameStarts;  // loop.previousTime seen at each frame, seconds
int framesLeft = 0;
std::vector<double> frameMs;  // every measured frame of the run

void PresentFrame(HWND, uintptr_t) {
  KV_LOOP& loop = KV_LOOP::Instance();
  frameStarts.push_back(loop.previousTime);
  KvRenderScene(KV_SCENE_FRAME);
  if (--framesLeft <= 0) loop.running = 0;
}

void PacedState() {
  frameStarts.clear();
  framesLeft = kFramesPerState;
  KV_LOOP::Instance().Run(PresentFrame, 0);
  for (size_t i = 1; i < frameStarts.size(); ++i)
    frameMs.push_back((frameStarts[i] - frameStarts[i - 1]) * 1000.0);
}

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  size_t index = (size_t)(p * (double)(values.size() - 1) + 0.5);
  return values[index];
}

void BM_FrameLoopBusyWait16ms(benchmark::State& state) {
  KvInitiation();
  KV_WINDOW window;
  window.title = "Frame Loop Bench";
  window.width = 320;
  window.height = 240;
  if (!window.Create(KV_HANDLE())) {
    state.SkipWithError("no window");
    return;
  }
  KvRenderTargetActivate(window.renderTarget);
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = 16;
  loop.sleepMode = 0;

  KV_STATE_MACHINE machine;
  *machine.states.GetValue("first") = KV_CALLBACK(PacedState);
  *machine.states.GetValue("second") = KV_CALLBACK(PacedState);
  frameMs.clear();
  for (auto _ : state) {
    machine.current = machine.states.Get("first");
    machine.Run();
  }
  window.Destroy();
  KvClosure();

  state.counters["frames"] = (double)frameMs.size();
  state.counters["median_ms"] = Percentile(frameMs, 0.5);
  state.counters["p10_ms"] = Percentile(frameMs, 0.1);
  state.counters["p90_ms"] = Percentile(frameMs, 0.9);
  state.counters["min_ms"] = *std::min_element(frameMs.begin(), frameMs.end());
  state.counters["max_ms"] = *std::max_element(frameMs.begin(), frameMs.end());
  double sum = 0;
  for (double ms : frameMs) sum += ms;
  state.counters["mean_ms"] = sum / (double)frameMs.size();
  state.counters["targetA_ms"] = loop.targetA;
  state.counters["targetB_ms"] = loop.targetB;
}
BENCHMARK(BM_FrameLoopBusyWait16ms)->Iterations(4)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Headless unless the caller chose a video driver.
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
