// Sprites per frame: N rotated, alpha-blended 16 x 16 sprites drawn through the engine exactly as
// the framework's sprite draw does (push, identity, translate, three turns, scale, bind, four
// vertices as quads, pop), offscreen at 800 x 600, against the same sprites through SDL_Renderer's
// OpenGL driver, once as the driver hint leaves it (batching off) and once with batching on.
// Every frame ends by reading one pixel back, so the GPU work is inside the measured time.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/kv_engine.h"
#include "engine/testing.h"
#include "platform/winapi/windows.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSide = 16;
constexpr double kFrameMs = 1000.0 / 60.0;

// A 16 x 16 disc with soft alpha.
std::vector<uint8_t> SpritePixels() {
  std::vector<uint8_t> pixels;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      int dx = 2 * x - kSide + 1, dy = 2 * y - kSide + 1;
      int alpha = dx * dx + dy * dy < kSide * kSide ? 200 : 0;
      pixels.insert(pixels.end(), {uint8_t(x * 16), uint8_t(y * 16), 180, uint8_t(alpha)});
    }
  }
  return pixels;
}

struct Placement {
  float x, y, angle;
};

std::vector<Placement> Placements(int n) {
  std::vector<Placement> placements;
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) & 0xffff;
  };
  for (int i = 0; i < n; ++i) {
    placements.push_back({float(next() % kWidth), float(next() % kHeight), float(next() % 360)});
  }
  return placements;
}

// ---- the engine -----------------------------------------------------------------------------

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

struct Engine {
  HWND hwnd = nullptr;
  KV_HANDLE target, texture;
  KV_VERTEX vertices[4];

  Engine() {
    KvInitiation();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.lpszClassName = "Sprites Bench";
    RegisterClassA(&windowClass);
    hwnd = CreateWindowExA(0, "Sprites Bench", "Sprites Bench", WS_POPUP, 0, 0, kWidth, kHeight,
                           nullptr, nullptr, nullptr, nullptr);
    KvRenderTargetCreate(&target, hwnd, KV_FORMAT_OPAQUE, 32, 16);
    KvRenderTargetArea(target, 0, 0, kWidth, kHeight, 45.0, -1.0, 1.0, 0.0);
    KvRenderTargetActivate(target);
    KvRenderVsync(0);
    KvSetState(KV_STATE_TEXTURING, 1);
    KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 0.0);
    KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 1.0, 1.0);
    KvSetState(KV_STATE_BLEND, 1);
    KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE_MINUS_SRC_ALPHA);
    KvTextureCreate(&texture);
    std::vector<uint8_t> pixels = SpritePixels();
    KvTextureLoadRGBAFromMemory(texture, pixels.data(), kSide, kSide);
    KvTextureParameter(KV_TEX_MIN_FILTER, KV_FILTER_NEAREST);
    KvTextureParameter(KV_TEX_MAG_FILTER, KV_FILTER_NEAREST);
    KvTextureUnactivate(KV_TEXTURE_TARGET);
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
      KV_VERTEX& v = vertices[i];
      v.texCoord[0] = corners[i][0];
      v.texCoord[1] = corners[i][1];
      v.color[0] = v.color[1] = v.color[2] = v.color[3] = 1.0f;
      v.normal[2] = 1.0f;
      v.position[0] = corners[i][0] * kSide - kSide / 2;
      v.position[1] = corners[i][1] * kSide - kSide / 2;
    }
  }

  void Frame(const std::vector<Placement>& placements) {
    KvCameraOrtho(0.0, 0.0, kWidth, kHeight, 0.0);
    for (const Placement& p : placements) {
      KvMatrixPush();
      KvMatrixIdentity();
      KvMatrixTranslate(p.x, p.y, 0.0);
      KvMatrixRotate(0.0, 1, 0, 0);
      KvMatrixRotate(0.0, 0, 1, 0);
      KvMatrixRotate(p.angle, 0, 0, 1);
      KvMatrixScale(1.0, 1.0, 1.0);
      KvTextureActivate(texture);
      KvDrawDataStruct(KV_PRIM_QUADS, 0, 4, vertices, nullptr, 0, 0, 0, 0, 0, 0);
      KvMatrixPop();
    }
    benchmark::DoNotOptimize(kv::engine::testing::ReadPixels(0, 0, 1, 1));
    KvRenderScene(KV_SCENE_FRAME);
  }
};

Engine& TheEngine() {
  static Engine* engine = new Engine;
  return *engine;
}

// ---- SDL_Renderer ---------------------------------------------------------------------------

struct SdlRenderer {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;

  explicit SdlRenderer(bool batching) {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, batching ? "1" : nullptr);
    window = SDL_CreateWindow("SDL_Renderer", 0, 0, kWidth, kHeight,
                              SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    std::vector<uint8_t> pixels = SpritePixels();
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, kSide,
                                kSide);
    SDL_UpdateTexture(texture, nullptr, pixels.data(), kSide * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_RenderSetVSync(renderer, 0);
  }

  void Frame(const std::vector<Placement>& placements) {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 0);
    SDL_RenderClear(renderer);
    for (const Placement& p : placements) {
      SDL_FRect rect{p.x - kSide / 2, p.y - kSide / 2, kSide, kSide};
      SDL_RenderCopyExF(renderer, texture, nullptr, &rect, p.angle, nullptr, SDL_FLIP_NONE);
    }
    uint8_t pixel[4];
    SDL_Rect one{0, 0, 1, 1};
    SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ABGR8888, pixel, 4);
    benchmark::DoNotOptimize(pixel);
    SDL_RenderPresent(renderer);
  }
};

SdlRenderer& Unbatched() {
  static SdlRenderer* renderer = new SdlRenderer(false);
  return *renderer;
}

SdlRenderer& Batched() {
  static SdlRenderer* renderer = new SdlRenderer(true);
  return *renderer;
}

template <typename Drawer>
void Run(benchmark::State& state, Drawer& drawer) {
  std::vector<Placement> placements = Placements(static_cast<int>(state.range(0)));
  drawer.Frame(placements);  // warm up: first uploads, shader compiles
  for (auto _ : state) drawer.Frame(placements);
  state.counters["sprites_per_16.7ms"] = benchmark::Counter(
      static_cast<double>(state.range(0)) * state.iterations() * kFrameMs / 1000.0,
      benchmark::Counter::kIsRate);
}

void Ours(benchmark::State& state) { Run(state, TheEngine()); }
void SdlUnbatched(benchmark::State& state) { Run(state, Unbatched()); }
void SdlBatched(benchmark::State& state) { Run(state, Batched()); }

// Keeps each run's time per frame so that the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> secondsPerFrame;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.iterations > 0)
        secondsPerFrame[run.benchmark_name()] = run.real_accumulated_time / run.iterations;
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const std::vector<int64_t> counts = {1000, 10000, 20000};
  for (int64_t n : counts) {
    benchmark::RegisterBenchmark("Sprites/Ours", Ours)
        ->Arg(n)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Sprites/SdlRendererUnbatched", SdlUnbatched)
        ->Arg(n)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Sprites/SdlRendererBatched", SdlBatched)
        ->Arg(n)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (int64_t n : counts) {
    std::string suffix = "/" + std::to_string(n) + "/real_time";
    double ours = reporter.secondsPerFrame["Sprites/Ours" + suffix];
    double unbatched = reporter.secondsPerFrame["Sprites/SdlRendererUnbatched" + suffix];
    double batched = reporter.secondsPerFrame["Sprites/SdlRendererBatched" + suffix];
    if (ours <= 0 || unbatched <= 0 || batched <= 0) continue;
    auto perFrame = [n](double seconds) {
      return static_cast<double>(n) * kFrameMs / 1000.0 / seconds;
    };
    std::printf(
        "%6lld sprites: sprites per 16.7 ms frame: ours %.0f, SDL_Renderer unbatched %.0f, batched "
        "%.0f\n",
        static_cast<long long>(n), perFrame(ours), perFrame(unbatched), perFrame(batched));
    std::printf(
        "%6lld sprites: ratio ours / SDL_Renderer unbatched = %.2f, ratio ours / SDL_Renderer "
        "batched = %.2f\n",
        static_cast<long long>(n), unbatched / ours, batched / ours);
  }
  benchmark::Shutdown();
  return 0;
}
