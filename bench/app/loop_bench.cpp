// The frame loop's pacing as a program feels it: a 16 ms frame limit and 1 ms of processor work
// in every frame, in busy-wait mode and in sleep mode. For each frame it measures the period from
// one frame's start to the next with the system's clock and reports how far the periods stray
// from their targets (median and 99th percentile; busy-wait aims odd frames at target A and even
// frames at target B, sleep mode at the limit), the mean period, what the loop itself reports as
// its frame time and frames per second, and the main thread's processor time as a share of the
// wall time.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/loop.h"
#include "engine/kv_engine.h"

namespace {

constexpr float kLimitMs = 16;
constexpr double kWorkMs = 1;
constexpr int kFrames = 300;

double Seconds(clockid_t clock) {
  timespec now;
  clock_gettime(clock, &now);
  return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}

struct Run {
  std::vector<double> starts;   // s: each frame's start on the monotonic clock
  std::vector<float> targets;   // ms: the target of each frame's pacing
  double loopFrameTimeSum = 0;  // s: the frame times the loop reported
  int framesLeft = 0;
};

Run run;

// 1 ms of work that keeps the processor busy, as a game's update and draw would.
void Work() {
  double until = Seconds(CLOCK_MONOTONIC) + kWorkMs / 1000.0;
  while (Seconds(CLOCK_MONOTONIC) < until) {}
}

void WorkFrame(HWND, uintptr_t) {
  KV_LOOP& loop = KV_LOOP::Instance();
  run.starts.push_back(Seconds(CLOCK_MONOTONIC));
  // Frames are counted from 1; odd frames wait for target A, even ones for target B.
  bool odd = run.starts.size() % 2 == 1;
  run.targets.push_back(loop.sleepMode ? loop.frameLimit : (odd ? loop.targetA : loop.targetB));
  if (run.starts.size() > 1) run.loopFrameTimeSum += loop.frameTime;
  Work();
  if (--run.framesLeft <= 0) loop.running = 0;
}

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  size_t index = (size_t)(p * (double)(values.size() - 1) + 0.5);
  return values[index];
}

void Pacing(benchmark::State& state, unsigned char sleepMode) {
  KvInitiation();
  KV_LOOP& loop = KV_LOOP::Instance();
  loop.frameLimit = kLimitMs;
  loop.sleepMode = sleepMode;
  std::vector<double> errors;
  std::vector<double> periods;
  double cpu = 0;
  double wall = 0;
  double loopFrameTime = 0;
  int loopFrames = 0;
  for (auto _ : state) {
    run = Run();
    run.framesLeft = kFrames;
    double cpu0 = Seconds(CLOCK_THREAD_CPUTIME_ID);
    double wall0 = Seconds(CLOCK_MONOTONIC);
    loop.Run(WorkFrame, 0);
    cpu += Seconds(CLOCK_THREAD_CPUTIME_ID) - cpu0;
    wall += Seconds(CLOCK_MONOTONIC) - wall0;
    for (size_t i = 1; i < run.starts.size(); ++i) {
      double period = (run.starts[i] - run.starts[i - 1]) * 1000.0;
      periods.push_back(period);
      errors.push_back(std::fabs(period - run.targets[i - 1]));
    }
    loopFrameTime += run.loopFrameTimeSum;
    loopFrames += (int)run.starts.size() - 1;
  }
  KvClosure();

  double sum = 0;
  for (double p : periods) sum += p;
  state.counters["frames"] = (double)periods.size();
  state.counters["error_p50_ms"] = Percentile(errors, 0.5);
  state.counters["error_p99_ms"] = Percentile(errors, 0.99);
  state.counters["period_mean_ms"] = sum / (double)periods.size();
  state.counters["loop_frame_time_ms"] = loopFrameTime * 1000.0 / loopFrames;
  state.counters["loop_fps"] = loop.framesPerSecond;
  state.counters["cpu_share_pct"] = 100.0 * cpu / wall;
  state.counters["targetA_ms"] = loop.targetA;
  state.counters["targetB_ms"] = loop.targetB;
  loop.frameLimit = 0;
  loop.sleepMode = 0;
}

void BM_BusyWait16msWith1msWork(benchmark::State& state) { Pacing(state, 0); }
void BM_Sleep16msWith1msWork(benchmark::State& state) { Pacing(state, 1); }

BENCHMARK(BM_BusyWait16msWith1msWork)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sleep16msWith1msWork)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Headless unless the caller chose a video driver.
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
