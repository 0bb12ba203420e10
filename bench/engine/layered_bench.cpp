// Presenting to layered windows on an X display: an 800 x 600 window drawn and presented every
// frame, plain, with a colour key whose cut-out stays (the shape is made once) and with one whose
// cut-out moves every frame (a new shape each frame), and a 640 x 260 window with per-pixel alpha
// presented as the intro presents. On a compositing desktop a colour-keyed window is layered with
// an alpha visual and takes its frames as pictures; without one it is drawn by GL and only its
// shape follows the key. Each frame clears, draws a few rectangles and presents, so the times
// compare what the key and the alpha add to a frame.
//
// Needs an X display (scripts/bench_layered.sh starts one, with and without a compositing
// manager); the per-pixel alpha row runs only where a compositor makes it possible.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "engine/kv_engine.h"
#include "engine/numbers.h"
#include "platform/winapi/windows.h"

namespace {

constexpr COLORREF kMagenta = 0x00ff00ff;

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

enum class Kind { kPlain, kKeyStill, kKeyMoving, kAlpha };

struct Window {
  HWND hwnd = nullptr;
  KV_HANDLE target;
  int width = 0;
  int height = 0;
  bool made = false;
};

// Makes the window and its target as the framework's window does for that kind.
Window Make(Kind kind) {
  static bool registered = false;
  if (!registered) {
    KvInitiation();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.lpszClassName = "Layered Bench";
    RegisterClassA(&windowClass);
    registered = true;
  }
  Window window;
  window.width = kind == Kind::kAlpha ? 640 : 800;
  window.height = kind == Kind::kAlpha ? 260 : 600;
  DWORD exStyle = kind == Kind::kPlain ? 0 : WS_EX_LAYERED;
  window.hwnd = CreateWindowExA(exStyle, "Layered Bench", "Layered Bench", WS_POPUP | WS_VISIBLE, 0,
                                0, window.width, window.height, nullptr, nullptr, nullptr, nullptr);
  if (window.hwnd == nullptr) return window;
  if (kind == Kind::kKeyStill || kind == Kind::kKeyMoving) {
    SetLayeredWindowAttributes(window.hwnd, kMagenta, 255, LWA_COLORKEY);
  }
  uint32_t format = kind == Kind::kAlpha ? KV_FORMAT_ALPHA : KV_FORMAT_OPAQUE;
  window.made = KvRenderTargetCreate(&window.target, window.hwnd, format, 32, 16) != 0 &&
                KvRenderTargetArea(window.target, 0, 0, window.width, window.height, 45.0, -1.0,
                                   1.0, 0.0) != 0;
  return window;
}

void Destroy(Window& window) {
  KvRenderTargetDestroy(window.target);
  DestroyWindow(window.hwnd);
}

void Rect(double x, double y, double w, double h, double r, double g, double b, double a) {
  KV_VERTEX corners[4];
  const double xs[4] = {x, x + w, x + w, x};
  const double ys[4] = {y, y, y + h, y + h};
  for (int i = 0; i < 4; ++i) {
    corners[i].position[0] = static_cast<float>(xs[i]);
    corners[i].position[1] = static_cast<float>(ys[i]);
    corners[i].color[0] = static_cast<float>(r);
    corners[i].color[1] = static_cast<float>(g);
    corners[i].color[2] = static_cast<float>(b);
    corners[i].color[3] = static_cast<float>(a);
  }
  KvDrawDataStruct(KV_PRIM_QUADS, 0, 4, corners, nullptr, 0, 0, 0, 0, 0, 0);
}

// One frame: the key colour as background (transparent black for alpha), a blue panel, and a
// hole of the key colour that moves in the moving kind.
void Frame(const Window& window, Kind kind, int frame) {
  KvCameraOrtho(0.0, 0.0, window.width, window.height, 0.0);
  Rect(100, 100, window.width - 200, window.height - 200, 0, 0, 1, kind == Kind::kAlpha ? 0.5 : 1);
  double holeX = kind == Kind::kKeyMoving ? 150 + frame % 300 : 150;
  Rect(holeX, 150, 100, 100, 1, 0, 1, 1);
  KvRenderScene(kind == Kind::kAlpha ? KV_SCENE_LAYERED_FRAME : KV_SCENE_FRAME);
}

void BM_Present(benchmark::State& state) {
  const Kind kind = static_cast<Kind>(state.range(0));
  Window window = Make(kind);
  if (!window.made) {
    state.SkipWithError(kind == Kind::kAlpha ? "no per-pixel alpha here (no compositor)"
                                             : "no window");
    if (window.hwnd != nullptr) Destroy(window);
    return;
  }
  KvRenderTargetActivate(window.target);
  KvRenderVsync(0);
  KvSetState(KV_STATE_BLEND, 1);
  KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE_MINUS_SRC_ALPHA);
  if (kind == Kind::kAlpha)
    KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 0.0);
  else
    KvSetState(KV_STATE_CLEAR_COLOR, 1.0, 0.0, 1.0, 1.0);
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  int frame = 0;
  for (auto _ : state) Frame(window, kind, frame++);
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(frame), benchmark::Counter::kIsRate);
  Destroy(window);
}

BENCHMARK(BM_Present)
    ->ArgName("plain0_keystill1_keymoving2_alpha3")
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "engine_layered_bench: needs an X display (scripts/bench_layered.sh)\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  KvClosure();
  return 0;
}
