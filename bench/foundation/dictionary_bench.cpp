// Find-or-add in a dictionary that already holds N names: the lookup every named
// resource access makes. Names are looked up in a scattered order.
#include "foundation/dictionary.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

static void DictionaryGet(benchmark::State& state) {
  const int n = (int)state.range(0);
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) {
    char name[32];
    snprintf(name, sizeof(name), "spr_resource_%d", i);
    names.push_back(name);
  }
  KV_DICTIONARY<int> d;
  for (const auto& name : names) *d.GetValue(name.c_str()) = 1;
  size_t k = 0;
  for (auto _ : state) {
    auto it = d.Get(names[k].c_str(), 0);
    benchmark::DoNotOptimize(it);
    k = (k + 7919) % names.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DictionaryGet)->Arg(10)->Arg(100)->Arg(1000);
