// Throughput of the HTTP client against curl: both download the same 100 MB body from a small
// server on 127.0.0.1 that sends it from memory, so the client side is what is measured.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

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

void KeepAliveClient(benchmark::State& state) {
  unsigned int blockSize = (unsigned int)state.range(0);
  unsigned short port = Server().Port();
  for (auto _ : state) {
    KV_SOCKET socket;
    KV_BUFFER out;
    KV_HTTP_PROGRESS progress;
    if (!socket.HttpGetKeepAlive(progress, "127.0.0.1", "body", port)) {
      state.SkipWithError("the request failed");
      break;
    }
    while (progress.state != 19 && progress.state != 0)
      socket.HttpGetKeepAlivePoll(progress, out, blockSize);
    if (out.length != kBodySize) {
      state.SkipWithError("short download");
      break;
    }
  }
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)kBodySize);
}
BENCHMARK(KeepAliveClient)
    ->Arg(64 * 1024)
    ->Arg(1024 * 1024)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void OneShotClient(benchmark::State& state) {
  unsigned short port = Server().Port();
  for (auto _ : state) {
    KV_SOCKET socket;
    KV_BUFFER out;
    if (!socket.HttpGet("127.0.0.1", "body", out, port, (unsigned int)state.range(0)) ||
        out.length != kBodySize) {
      state.SkipWithError("short download");
      break;
    }
  }
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)kBodySize);
}
BENCHMARK(OneShotClient)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond)->UseRealTime();

// The curl command-line tool writing the body to /dev/null.
void Curl(benchmark::State& state) {
  std::string url = "http://127.0.0.1:" + std::to_string(Server().Port()) + "/body";
  for (auto _ : state) {
    const char* argv[] = {"curl", "-s", "-o", "/dev/null", url.c_str(), nullptr};
    pid_t child;
    if (posix_spawn(&child, "/usr/bin/curl", nullptr, nullptr, (char* const*)argv, environ) != 0) {
      state.SkipWithError("curl is not installed");
      break;
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("curl failed");
      break;
    }
  }
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)kBodySize);
}
BENCHMARK(Curl)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
