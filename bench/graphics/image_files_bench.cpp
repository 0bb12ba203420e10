// An image file into an engine texture through the whole imaging call, KvTextureLoadImage: the
// file read, the decode, the bitmap's lock and unlock, the swap to R, G, B, A and the upload,
// as a program loading its pictures pays for them. The files come from the folder named by
// KV_BENCH_IMAGES (scripts/bench_images.sh makes photographs and sprites there); each file gets
// one benchmark, "load/<file>", reloading one texture of a hidden window's engine target.
//
// The CPU column is the processor time of the whole process (the software renderer keeps
// threads of its own), which a busy machine disturbs less than the wall time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <list>
#include <string>
#include <vector>

#include "engine/kv_engine.h"
#include "graphics/image_files.h"
#include "platform/winapi/windows.h"

namespace {

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

// A hidden window with a current render target, which textures need.
bool StartEngine() {
  KvInitiation();
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = Proc;
  windowClass.lpszClassName = "Image Files Bench";
  RegisterClassA(&windowClass);
  HWND hwnd = CreateWindowExA(0, "Image Files Bench", "Image Files Bench", WS_POPUP, 0, 0, 64, 48,
                              nullptr, nullptr, nullptr, nullptr);
  KV_HANDLE target;
  if (hwnd == nullptr || KvRenderTargetCreate(&target, hwnd, KV_FORMAT_OPAQUE, 32, 16) == 0)
    return false;
  KvRenderTargetActivate(target);
  return true;
}

void LoadImage(benchmark::State& state, const std::string* path) {
  KV_HANDLE texture;
  if (KvTextureCreate(&texture) == 0) {
    state.SkipWithError("no texture");
    return;
  }
  for (auto _ : state) {
    if (!KvTextureLoadImage(texture, path->c_str())) {
      state.SkipWithError("refused");
      break;
    }
  }
  KvTextureDestroy(texture);
}

std::list<std::string> ImagePaths(const char* folder) {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file()) paths.push_back(entry.path().string());
  std::sort(paths.begin(), paths.end());
  return {paths.begin(), paths.end()};
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const char* folder = std::getenv("KV_BENCH_IMAGES");
  if (folder == nullptr || !std::filesystem::is_directory(folder)) {
    std::fprintf(stderr, "KV_BENCH_IMAGES must name a folder of image files\n");
    return 1;
  }
  if (!StartEngine()) {
    std::fprintf(stderr, "no engine target (set SDL_VIDEODRIVER=offscreen without a display)\n");
    return 1;
  }
  std::list<std::string> paths = ImagePaths(folder);  // a list: the benchmarks keep pointers
  for (const std::string& path : paths) {
    std::string name = "load/" + std::filesystem::path(path).filename().string();
    benchmark::RegisterBenchmark(name.c_str(), LoadImage, &path)
        ->Unit(benchmark::kMicrosecond)
        ->MeasureProcessCPUTime();
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
