// Sprites per frame: 10,000 and 20,000 rotated, alpha-blended 16 x 16 sprites a frame at
// 800 x 600, drawn through the engine exactly as the framework's sprite draw does (push, identity,
// translate, three turns, scale, bind, four vertices as quads, pop), against the same scene
// through its peers: SDL_Renderer's OpenGL driver with batching off (as the driver hint leaves it)
// and on, and SFML with one sf::Sprite draw per sprite and with one sf::VertexArray a frame.
// Every renderer draws the same number of frames and ends each frame by reading one pixel back,
// so the rasterizing is inside the measured time. SFML needs an X display: without one its rows
// are left out (scripts/bench_sprites.sh starts a virtual one and runs everything on it).
//
// The table's CPU column is the processor time of all the process's threads a frame (llvmpipe
// rasterizes on worker threads), which a busy machine disturbs less than the frame time. After
// the table, the median frame time of each renderer over the repetitions, and the engine's ratio
// to the fastest peer (the peer's frame time over the engine's: above 1, the engine wins).
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/engine/sfml_sprites.h"
#include "bench/engine/sprite_scene.h"
#include "engine/kv_engine.h"
#include "engine/testing.h"
#include "platform/winapi/windows.h"

namespace sprites_bench {

namespace {

// Frames each renderer draws per repetition, at every size.
constexpr int kFrames = 60;
const int kCounts[] = {10000, 20000};

// ---- the engine -----------------------------------------------------------------------------

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

class Engine : public Renderer {
 public:
  Engine() {
    KvInitiation();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.lpszClassName = "Sprites Bench";
    RegisterClassA(&windowClass);
    HWND hwnd = CreateWindowExA(0, "Sprites Bench", "Sprites Bench", WS_POPUP, 0, 0, kWidth,
                                kHeight, nullptr, nullptr, nullptr, nullptr);
    KvRenderTargetCreate(&target_, hwnd, KV_FORMAT_OPAQUE, 32, 16);
    KvRenderTargetArea(target_, 0, 0, kWidth, kHeight, 45.0, -1.0, 1.0, 0.0);
    KvRenderTargetActivate(target_);
    KvRenderVsync(0);
    KvSetState(KV_STATE_TEXTURING, 1);
    KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 0.0);
    KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 1.0, 1.0);
    KvSetState(KV_STATE_BLEND, 1);
    KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE_MINUS_SRC_ALPHA);
    KvTextureCreate(&texture_);
    std::vector<uint8_t> pixels = SpritePixels();
    KvTextureLoadRGBAFromMemory(texture_, pixels.data(), kSide, kSide);
    KvTextureParameter(KV_TEX_MIN_FILTER, KV_FILTER_NEAREST);
    KvTextureParameter(KV_TEX_MAG_FILTER, KV_FILTER_NEAREST);
    KvTextureUnactivate(KV_TEXTURE_TARGET);
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
      KV_VERTEX& v = vertices_[i];
      v.texCoord[0] = corners[i][0];
      v.texCoord[1] = corners[i][1];
      v.color[0] = v.color[1] = v.color[2] = v.color[3] = 1.0f;
      v.normal[2] = 1.0f;
      v.position[0] = corners[i][0] * kSide - kSide / 2;
      v.position[1] = corners[i][1] * kSide - kSide / 2;
    }
  }

  void Frame(const std::vector<Placement>& placements) override {
    KvCameraOrtho(0.0, 0.0, kWidth, kHeight, 0.0);
    for (const Placement& p : placements) {
      KvMatrixPush();
      KvMatrixIdentity();
      KvMatrixTranslate(p.x, p.y, 0.0);
      KvMatrixRotate(0.0, 1, 0, 0);
      KvMatrixRotate(0.0, 0, 1, 0);
      KvMatrixRotate(p.angle, 0, 0, 1);
      KvMatrixScale(1.0, 1.0, 1.0);
      KvTextureActivate(texture_);
      KvDrawDataStruct(KV_PRIM_QUADS, 0, 4, vertices_, nullptr, 0, 0, 0, 0, 0, 0);
      KvMatrixPop();
    }
    benchmark::DoNotOptimize(kv::engine::testing::ReadPixels(0, 0, 1, 1));
    KvRenderScene(KV_SCENE_FRAME);
  }

 private:
  KV_HANDLE target_, texture_;
  KV_VERTEX vertices_[4];
};

// ---- SDL_Renderer ---------------------------------------------------------------------------

class SdlRenderer : public Renderer {
 public:
  explicit SdlRenderer(bool batching) {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, batching ? "1" : nullptr);
    window_ = SDL_CreateWindow("SDL_Renderer", 0, 0, kWidth, kHeight,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    std::vector<uint8_t> pixels = SpritePixels();
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC,
                                 kSide, kSide);
    SDL_UpdateTexture(texture_, nullptr, pixels.data(), kSide * 4);
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_BLEND);
    SDL_RenderSetVSync(renderer_, 0);
  }

  void Frame(const std::vector<Placement>& placements) override {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 0);
    SDL_RenderClear(renderer_);
    for (const Placement& p : placements) {
      SDL_FRect rect{p.x - kSide / 2, p.y - kSide / 2, kSide, kSide};
      SDL_RenderCopyExF(renderer_, texture_, nullptr, &rect, p.angle, nullptr, SDL_FLIP_NONE);
    }
    uint8_t pixel[4];
    SDL_Rect one{0, 0, 1, 1};
    SDL_RenderReadPixels(renderer_, &one, SDL_PIXELFORMAT_ABGR8888, pixel, 4);
    benchmark::DoNotOptimize(pixel);
    SDL_RenderPresent(renderer_);
  }

 private:
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
};

// ---- the table --------------------------------------------------------------------------------

struct Row {
  const char* name;   // the benchmark's name
  const char* label;  // the renderer as the summary names it
  std::unique_ptr<Renderer> (*make)();
  bool needsX;
};

const Row kRows[] = {
    {"Engine", "engine", [] { return std::unique_ptr<Renderer>(new Engine); }, false},
    {"SdlRendererUnbatched", "SDL_Renderer unbatched",
     [] { return std::unique_ptr<Renderer>(new SdlRenderer(false)); }, false},
    {"SdlRendererBatched", "SDL_Renderer batched",
     [] { return std::unique_ptr<Renderer>(new SdlRenderer(true)); }, false},
    {"SfmlSprite", "SFML sf::Sprite", MakeSfmlSprites, true},
    {"SfmlVertexArray", "SFML sf::VertexArray", MakeSfmlVertexArray, true},
};

// Each renderer is made on its first use and kept for the whole run (GL contexts live long).
Renderer& RendererOf(const Row& row) {
  static std::map<const Row*, std::unique_ptr<Renderer>> made;
  std::unique_ptr<Renderer>& renderer = made[&row];
  if (!renderer) renderer = row.make();
  return *renderer;
}

void Run(benchmark::State& state, const Row* row) {
  std::vector<Placement> placements = Placements(static_cast<int>(state.range(0)));
  Renderer& renderer = RendererOf(*row);
  renderer.Activate();
  renderer.Frame(placements);  // warm up: first uploads, shader compiles
  for (auto _ : state) renderer.Frame(placements);
  renderer.Deactivate();
}

std::string BenchmarkName(const Row& row) { return std::string("Sprites/") + row.name; }

// Keeps the time per frame of every repetition, for the medians after the table.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !run.error_occurred) {
        std::string key = run.run_name.function_name + "/" + run.run_name.args;
        msPerFrame_[key].push_back(1000.0 * run.real_accumulated_time / run.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The median milliseconds per frame of the row at the count; 0 when it did not run.
  double Median(const Row& row, int count) {
    std::vector<double>& times = msPerFrame_[BenchmarkName(row) + "/" + std::to_string(count)];
    if (times.empty()) return 0;
    std::sort(times.begin(), times.end());
    size_t half = times.size() / 2;
    return times.size() % 2 == 1 ? times[half] : (times[half - 1] + times[half]) / 2;
  }

  size_t Repetitions(const Row& row, int count) {
    return msPerFrame_[BenchmarkName(row) + "/" + std::to_string(count)].size();
  }

 private:
  std::map<std::string, std::vector<double>> msPerFrame_;
};

void PrintSummary(MedianReporter& reporter) {
  for (int count : kCounts) {
    double engine = reporter.Median(kRows[0], count);
    if (engine <= 0) continue;
    std::printf("\n%d sprites a frame, median of %zu (ms a frame):\n", count,
                reporter.Repetitions(kRows[0], count));
    const Row* fastest = nullptr;
    double fastestMs = 0;
    for (const Row& row : kRows) {
      double ms = reporter.Median(row, count);
      if (ms <= 0) continue;
      std::printf("  %-24s %8.2f ms\n", row.label, ms);
      if (&row != &kRows[0] && (fastest == nullptr || ms < fastestMs)) {
        fastest = &row;
        fastestMs = ms;
      }
    }
    if (fastest != nullptr) {
      std::printf("  fastest peer (%s) time / engine time: %.2fx\n", fastest->label,
                  fastestMs / engine);
    }
  }
}

}  // namespace

}  // namespace sprites_bench

int main(int argc, char** argv) {
  using namespace sprites_bench;
  bool withX = SfmlAvailable();
  if (!withX) std::printf("No X display: the SFML rows are left out.\n");
  for (int count : kCounts) {
    for (const Row& row : kRows) {
      if (row.needsX && !withX) continue;
      benchmark::RegisterBenchmark(BenchmarkName(row).c_str(), Run, &row)
          ->Arg(count)
          ->Iterations(kFrames)
          ->MeasureProcessCPUTime()
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintSummary(reporter);
  benchmark::Shutdown();
  return 0;
}
