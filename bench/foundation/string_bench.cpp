// Splitting a 1 MB text into lines with KvSplitBuffer, as the font, markup and model
// readers split whole files.
#include "foundation/string.h"

#include <benchmark/benchmark.h>

#include <string>

static void SplitBufferLines(benchmark::State& state) {
  std::string text;
  int line = 0;
  while (text.size() < (1u << 20)) {
    text += "char id=" + std::to_string(line++) + " x=12 y=34 width=8 height=16\r\n";
    if (line % 10 == 0) text += "\r\n";
  }
  text.resize(1u << 20);
  unsigned int count = 0;
  for (auto _ : state) {
    KV_STRING* lines =
        KvSplitBuffer(text.data(), (unsigned int)text.size(), "\r\n", count, nullptr);
    benchmark::DoNotOptimize(lines);
    delete[] lines;
  }
  state.SetBytesProcessed(state.iterations() * (int64_t)text.size());
  state.counters["lines"] = count;
}
BENCHMARK(SplitBufferLines)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
