// Throughput of the HTTP client's keep-alive and one-shot downloads of 1, 10 and 100 MB from a
// server on 127.0.0.1 (bench/net/body_server.h) beside four peers: a program using libcurl that
// keeps the body in one vector it reuses ("libcurl_reused"), the same program taking a fresh
// vector for every download ("libcurl_fresh"), both making a new connection for each download as
// the client does in either manner, the same program keeping one connection and one vector
// throughout ("libcurl_kept"), and the curl program ("curl").
//
// Each iteration downloads once with the client and once with each peer, in an order that turns
// with every iteration, so that the load of a shared machine weighs on all alike. The benchmark's
// time is the client's wall time; the counters are each peer's median over the client's (above 1
// means the client is faster): "vs_..." in wall time, for the curl program the transfer's time as
// it measures it itself, without its process's start and end ("vs_curl_process" counts its
// whole process, from its start to its end, against the client's download); "cpu_vs_..." in
// processor time of the downloading process, every thread of it (the curl program's process is
// not compared: its start and end cannot be told apart from its download). The server runs in a
// process of its own, on processors apart from the downloads, so none of its sending is counted
// there. But over 127.0.0.1 the system does part of either side's work for the connection in
// whichever process runs at the time, and a receiver that sleeps more leaves more of it to the
// sender: "cpu_and_server_vs_libcurl_reused" therefore compares the processor time of both
// processes together. "cpu_ms" is the client's median processor time and "server_ms" the
// server's during the client's downloads, "faults" the median page faults of one client download
// and "libcurl_fresh_faults" of one into a fresh vector.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/net/body_server.h"
#include "bench/net/download_peers.h"

namespace {

BodyServer* server = nullptr;

constexpr size_t kMegabyte = 1024 * 1024;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The costs one peer had over the iterations, with the server's processor time during each.
struct Costs {
  std::vector<double> wall, processor, faults, server, both;
  void Add(const DownloadCost& cost, double serverSeconds) {
    wall.push_back(cost.wall);
    processor.push_back(cost.processor);
    faults.push_back((double)cost.faults);
    server.push_back(serverSeconds);
    both.push_back(cost.processor + serverSeconds);
  }
};

enum class Manner { KeepAlive, OneShot };

// The peers in the order of their counters' names; the client first.
const char* const kNames[] = {"", "libcurl_reused", "libcurl_fresh", "libcurl_kept", "curl"};
constexpr size_t kCurl = 4;

void Report(benchmark::State& state, const std::vector<Costs>& costs) {
  const Costs& client = costs[0];
  for (size_t peer = 1; peer < costs.size(); ++peer) {
    std::string name = kNames[peer];
    state.counters["vs_" + name] = Median(costs[peer].wall) / Median(client.wall);
    if (peer != kCurl)
      state.counters["cpu_vs_" + name] = Median(costs[peer].processor) / Median(client.processor);
  }
  state.counters["cpu_and_server_vs_libcurl_reused"] = Median(costs[1].both) / Median(client.both);
  state.counters["cpu_ms"] = Median(client.processor) * 1e3;
  state.counters["server_ms"] = Median(client.server) * 1e3;
  state.counters["faults"] = Median(client.faults);
  state.counters["libcurl_fresh_faults"] = Median(costs[2].faults);
}

void Download(benchmark::State& state, Manner manner) {
  const size_t size = (size_t)state.range(0) * kMegabyte;
  const unsigned int blockSize = (unsigned int)state.range(1);
  const std::string path = BodyServer::Path(size), url = server->Url(size);
  LibcurlDownload reused(false, true), fresh(false, false), kept(true, true);
  double curlProcess = 0;
  const std::vector<std::function<DownloadCost()>> peers = {
      [&] {
        return Measure([&] {
          return manner == Manner::KeepAlive
                     ? ClientKeepAlive(server->Port(), path, size, blockSize)
                     : ClientOneShot(server->Port(), path, size, blockSize);
        });
      },
      [&] { return Measure([&] { return reused.Run(url, size); }); },
      [&] { return Measure([&] { return fresh.Run(url, size); }); },
      [&] { return Measure([&] { return kept.Run(url, size); }); },
      [&] { return CurlProgram(url, &curlProcess); },
  };
  std::vector<Costs> costs(peers.size());
  std::vector<double> curlProcesses;
  size_t turn = 0;
  for (auto _ : state) {
    DownloadCost client;
    for (size_t i = 0; i < peers.size(); ++i) {
      size_t peer = (turn + i) % peers.size();
      double serverBefore = server->ProcessorSeconds();
      DownloadCost cost = peers[peer]();
      double serverSeconds = server->ProcessorSeconds() - serverBefore;
      if (!cost.whole) return state.SkipWithError(peer == 0 ? "short download" : "a peer failed");
      costs[peer].Add(cost, serverSeconds);
      if (peer == 0) client = cost;
      if (peer == kCurl) curlProcesses.push_back(curlProcess);
    }
    ++turn;
    state.SetIterationTime(client.wall);
  }
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)size);
  Report(state, costs);
  state.counters["vs_curl_process"] = Median(curlProcesses) / Median(costs[0].wall);
}

void Register(const char* name, Manner manner) {
  // Fewer rounds for larger bodies, so that each size takes a few seconds.
  const std::pair<int, int> sizes[] = {{1, 201}, {10, 51}, {100, 15}};
  for (auto [megabytes, iterations] : sizes) {
    for (int blockSize : {64 * 1024, 1024 * 1024}) {
      benchmark::RegisterBenchmark(name, Download, manner)
          ->Args({megabytes, blockSize})
          ->ArgNames({"MB", "block"})
          ->Iterations(iterations)
          ->Unit(benchmark::kMillisecond)
          ->UseManualTime();
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The server's process is made before anything starts a thread.
  BodyServer bodies;
  server = &bodies;
  benchmark::Initialize(&argc, argv);
  Register("KeepAlive", Manner::KeepAlive);
  Register("OneShot", Manner::OneShot);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
