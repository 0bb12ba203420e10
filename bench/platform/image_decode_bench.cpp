// Decoding JPEG and PNG files into R, G, B, A pixels, as a texture load does: the imaging calls'
// decoders (libjpeg-turbo, libpng) against stb_image, which they replaced and which is compiled
// here only for this comparison. The files come from the folder named by KV_BENCH_IMAGES
// (scripts/bench_images.sh makes photographs and sprites there with Pillow); each file gets one
// benchmark per decoder, named "new/<file>" and "stb/<file>".
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <list>
#include <string>
#include <vector>

#include "platform/imaging/image_decode.h"

namespace {

struct File {
  std::string name;
  std::vector<uint8_t> bytes;
};

// Each decode fills a fresh block, as a texture load does.
void DecodeNew(benchmark::State& state, const File* file) {
  for (auto _ : state) {
    platform::ByteBlock rgba;
    int w = 0, h = 0;
    if (!platform::imaging::DecodeImage(file->bytes.data(), file->bytes.size(),
                                        platform::imaging::PixelOrder::Rgba, &w, &h, &rgba)) {
      state.SkipWithError("refused");
      break;
    }
    benchmark::DoNotOptimize(rgba.data());
  }
}

void DecodeStb(benchmark::State& state, const File* file) {
  for (auto _ : state) {
    int w = 0, h = 0, components = 0;
    uint8_t* rgba = stbi_load_from_memory(file->bytes.data(), static_cast<int>(file->bytes.size()),
                                          &w, &h, &components, 4);
    if (rgba == nullptr) {
      state.SkipWithError("refused");
      break;
    }
    benchmark::DoNotOptimize(rgba);
    stbi_image_free(rgba);
  }
}

std::list<File> ReadFolder(const char* folder) {
  std::vector<std::filesystem::path> paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file()) paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  std::list<File> files;
  for (const auto& path : paths) {
    std::ifstream in(path, std::ios::binary);
    files.push_back({path.filename().string(), {std::istreambuf_iterator<char>(in), {}}});
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const char* folder = std::getenv("KV_BENCH_IMAGES");
  if (folder == nullptr || !std::filesystem::is_directory(folder)) {
    std::fprintf(stderr, "KV_BENCH_IMAGES must name a folder of JPEG and PNG files\n");
    return 1;
  }
  std::list<File> files = ReadFolder(folder);  // a list: the benchmarks keep pointers into it
  for (const File& file : files) {
    benchmark::RegisterBenchmark(("new/" + file.name).c_str(), DecodeNew, &file)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("stb/" + file.name).c_str(), DecodeStb, &file)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
