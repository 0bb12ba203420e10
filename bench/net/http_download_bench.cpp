// Throughput of the HTTP client against curl: both download the same 100 MB body from a small
// server on 127.0.0.1 that sends it from memory, so the client side is what is measured. Each
// request kind prints its speed relative to curl.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "foundation/buffer.h"
#include "net/socket.h"

extern char** environ;

namespace {

constexpr size_t kBodySize = 100u * 1024 * 1024;

// Serves every GET with the same body, one connection at a time, until stopped.
class BodyServer {
 public:
  BodyServer() : body_(kBodySize, 'k') {
    for (size_t i = 0; i < body_.size(); i += 4096) body_[i] = (char)(i / 4096);
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, (sockaddr*)&address, sizeof address);
    listen(listener_, 8);
    socklen_t length = sizeof address;
    getsockname(listener_, (sockaddr*)&address, &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  ~BodyServer() {
    stop_ = true;
    thread_.join();
    close(listener_);
  }
  unsigned short Port() const { return port_; }

 private:
  void Run() {
    while (!stop_) {
      pollfd waiting{listener_, POLLIN, 0};
      if (poll(&waiting, 1, 50) <= 0) continue;
      int client = accept(listener_, nullptr, nullptr);
      if (client >= 0) Serve(client);
    }
  }
  void Serve(int client) {
    std::string request;
    char block[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
      ssize_t n = recv(client, block, sizeof block, 0);
      if (n <= 0) break;
      request.append(block, (size_t)n);
    }
    std::string head =
        "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
        std::to_string(body_.size()) + "\r\n\r\n";
    send(client, head.data(), head.size(), MSG_NOSIGNAL);
    for (size_t sent = 0; sent < body_.size();) {
      ssize_t n = send(client, body_.data() + sent, body_.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) break;
      sent += (size_t)n;
    }
    // A keep-alive client closes first; a one-shot client waits for the server to close.
    if (request.find("Connection: close") == std::string::npos) {
      pollfd waiting{client, POLLIN, 0};
      poll(&waiting, 1, 2000);
    }
    close(client);
  }

  std::string body_;
  int listener_ = -1;
  unsigned short port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

BodyServer& Server() {
  static BodyServer server;
  return server;
}

// One download with the curl command-line tool, writing the body to /dev/null; its wall time in
// seconds, or a negative value when curl is missing or fails.
double CurlSeconds() {
  static const std::string url = "http://127.0.0.1:" + std::to_string(Server().Port()) + "/body";
  const char* argv[] = {"curl", "-s", "-o", "/dev/null", url.c_str(), nullptr};
  auto start = std::chrono::steady_clock::now();
  pid_t child;
  if (posix_spawn(&child, "/usr/bin/curl", nullptr, nullptr, (char* const*)argv, environ) != 0)
    return -1;
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Times download (one whole request, true when it brought the whole body) as the benchmark's
// time, each iteration paired with one curl download in alternating order, so that the load of a
// shared machine weighs on both alike. "vs_curl" is the median curl time over the median client
// time: above 1 means faster than curl.
template <typename DOWNLOAD>
void PairedWithCurl(benchmark::State& state, DOWNLOAD download) {
  std::vector<double> own;
  std::vector<double> curl;
  for (auto _ : state) {
    bool curlFirst = own.size() % 2 == 1;
    double curlSeconds = curlFirst ? CurlSeconds() : 0;
    auto start = std::chrono::steady_clock::now();
    bool whole = download();
    own.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!curlFirst) curlSeconds = CurlSeconds();
    if (!whole) {
      state.SkipWithError("short download");
      return;
    }
    if (curlSeconds < 0) {
      state.SkipWithError("curl is missing or failed");
      return;
    }
    curl.push_back(curlSeconds);
    state.SetIterationTime(own.back());
  }
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)kBodySize);
  if (!own.empty()) state.counters["vs_curl"] = Median(curl) / Median(own);
}

void KeepAliveClient(benchmark::State& state) {
  unsigned int blockSize = (unsigned int)state.range(0);
  unsigned short port = Server().Port();
  PairedWithCurl(state, [&] {
    KV_SOCKET socket;
    KV_BUFFER out;
    KV_HTTP_PROGRESS progress;
    if (!socket.HttpGetKeepAlive(progress, "127.0.0.1", "body", port)) return false;
    while (progress.state != 19 && progress.state != 0)
      socket.HttpGetKeepAlivePoll(progress, out, blockSize);
    return progress.state == 19 && out.length == kBodySize;
  });
}
BENCHMARK(KeepAliveClient)
    ->Arg(64 * 1024)
    ->Arg(1024 * 1024)
    ->Iterations(21)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

void OneShotClient(benchmark::State& state) {
  unsigned int blockSize = (unsigned int)state.range(0);
  unsigned short port = Server().Port();
  PairedWithCurl(state, [&] {
    KV_SOCKET socket;
    KV_BUFFER out;
    return socket.HttpGet("127.0.0.1", "body", out, port, blockSize) && out.length == kBodySize;
  });
}
BENCHMARK(OneShotClient)
    ->Arg(64 * 1024)
    ->Arg(1024 * 1024)
    ->Iterations(21)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// curl alone.
void Curl(benchmark::State& state) {
  for (auto _ : state) {
    double seconds = CurlSeconds();
    if (seconds < 0) {
      state.SkipWithError("curl is missing or failed");
      break;
    }
    state.SetIterationTime(seconds);
  }
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)kBodySize);
}
BENCHMARK(Curl)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
