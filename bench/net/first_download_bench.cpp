// The first download of a process: one body of 100 MB fetched by a fresh process
// (http_one_download, beside this program) with the client's keep-alive or one-shot request,
// paired with a fresh process downloading it with libcurl into a fresh vector and with the curl
// program. Every iteration starts one process per peer, in an order that turns with every
// iteration; five iterations give five processes per peer.
//
// The benchmark's time is the client's download alone, as its process measured it. Counters, each
// the peer's median over the client's (above 1: the client is faster): "vs_libcurl" and
// "cpu_vs_libcurl" compare the downloads alone, in wall and processor time; "whole_vs_libcurl" and
// "vs_curl" compare whole processes, from their start to their end, in wall time. "whole_ms" is
// the client's whole process, "libcurl_ms" libcurl's download and "curl_ms" the curl program's
// whole process, in milliseconds; "faults" and "libcurl_faults" are the median page faults of one
// download.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/net/body_server.h"
#include "bench/net/download_peers.h"

extern char** environ;

namespace {

BodyServer* server = nullptr;

constexpr size_t kSize = 100u * 1024 * 1024;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The download helper, next to this program.
std::string Helper() {
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string path(self, n > 0 ? (size_t)n : 0);
  return path.substr(0, path.rfind('/') + 1) + "http_one_download";
}

// One process of the helper: the download's own cost as the helper measured it, and the whole
// process's wall time.
struct ProcessCost {
  DownloadCost download;
  double whole = 0;
};

ProcessCost RunHelper(const char* peer, unsigned int blockSize) {
  ProcessCost cost;
  static const std::string helper = Helper();
  std::string port = std::to_string(server->Port()), size = std::to_string(kSize);
  std::string block = std::to_string(blockSize);
  const char* argv[] = {helper.c_str(), peer, port.c_str(), size.c_str(), block.c_str(), nullptr};
  ProgramRun run = RunProgram(helper.c_str(), argv);
  cost.whole = run.wall;
  DownloadCost& download = cost.download;
  download.whole = run.succeeded && std::sscanf(run.output.c_str(), "%lf %lf %ld", &download.wall,
                                                &download.processor, &download.faults) == 3;
  return cost;
}

ProcessCost RunCurlProgram() {
  ProcessCost cost;
  cost.download = CurlProgram(server->Url(kSize), &cost.whole);
  return cost;
}

void FirstDownload(benchmark::State& state, const char* manner) {
  const unsigned int blockSize = (unsigned int)state.range(0);
  std::vector<ProcessCost> client, libcurl, curl;
  size_t turn = 0;
  for (auto _ : state) {
    for (size_t i = 0; i < 3; ++i) {
      switch ((turn + i) % 3) {
        case 0: client.push_back(RunHelper(manner, blockSize)); break;
        case 1: libcurl.push_back(RunHelper("libcurl", blockSize)); break;
        default: curl.push_back(RunCurlProgram()); break;
      }
    }
    ++turn;
    if (!client.back().download.whole) return state.SkipWithError("short download");
    if (!libcurl.back().download.whole || !curl.back().download.whole)
      return state.SkipWithError("a peer failed");
    state.SetIterationTime(client.back().download.wall);
  }
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)kSize);
  auto median = [](const std::vector<ProcessCost>& costs, auto field) {
    std::vector<double> values;
    for (const ProcessCost& cost : costs) values.push_back(field(cost));
    return Median(values);
  };
  auto wall = [](const ProcessCost& c) { return c.download.wall; };
  auto processor = [](const ProcessCost& c) { return c.download.processor; };
  auto whole = [](const ProcessCost& c) { return c.whole; };
  auto faults = [](const ProcessCost& c) { return (double)c.download.faults; };
  state.counters["vs_libcurl"] = median(libcurl, wall) / median(client, wall);
  state.counters["cpu_vs_libcurl"] = median(libcurl, processor) / median(client, processor);
  state.counters["whole_vs_libcurl"] = median(libcurl, whole) / median(client, whole);
  state.counters["vs_curl"] = median(curl, whole) / median(client, whole);
  state.counters["whole_ms"] = median(client, whole) * 1e3;
  state.counters["libcurl_ms"] = median(libcurl, wall) * 1e3;
  state.counters["curl_ms"] = median(curl, whole) * 1e3;
  state.counters["faults"] = median(client, faults);
  state.counters["libcurl_faults"] = median(libcurl, faults);
}

}  // namespace

int main(int argc, char** argv) {
  // The server's process is made before anything starts a thread.
  BodyServer bodies;
  server = &bodies;
  benchmark::Initialize(&argc, argv);
  for (const char* manner : {"keep-alive", "one-shot"}) {
    benchmark::RegisterBenchmark((std::string("FirstDownload/") + manner).c_str(), FirstDownload,
                                 manner)
        ->Arg(64 * 1024)
        ->Arg(1024 * 1024)
        ->ArgName("block")
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
