// Throughput of the HTTP client against two peers that download the same 100 MB body from a small
// server on 127.0.0.1 sending it from memory, so that the client side is what is measured: the
// curl program, writing the body to /dev/null, and a program using libcurl that keeps the body in
// memory, as the client does. Each request kind prints its speed relative to both.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "foundation/buffer.h"
#include "net/socket.h"

extern char** environ;

namespace {

constexpr size_t kBodySize = 100u * 1024 * 1024;

// Serves every GET with the same body until stopped, each connection on a thread of its own and
// as many requests on it as the client sends, so that a client keeping its connection between
// downloads (libcurl with a reused handle) is served on it, while other downloads go on beside it.
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
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (int client : clients_) shutdown(client, SHUT_RDWR);
    }
    for (std::thread& t : connections_) t.join();
    close(listener_);
  }
  unsigned short Port() const { return port_; }

 private:
  void Run() {
    while (!stop_) {
      pollfd waiting{listener_, POLLIN, 0};
      if (poll(&waiting, 1, 50) <= 0) continue;
      int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      std::lock_guard<std::mutex> lock(mutex_);
      clients_.push_back(client);
      connections_.emplace_back([this, client] { Serve(client); });
    }
  }
  // Answers requests on one connection until the client closes it or asks to close.
  void Serve(int client) {
    std::string pending;
    char block[4096];
    for (;;) {
      size_t end;
      while ((end = pending.find("\r\n\r\n")) == std::string::npos) {
        ssize_t n = recv(client, block, sizeof block, 0);
        if (n <= 0) return Forget(client);
        pending.append(block, (size_t)n);
      }
      std::string request = pending.substr(0, end);
      pending.erase(0, end + 4);
      if (!SendBody(client)) return Forget(client);
      if (request.find("Connection: close") != std::string::npos) return Forget(client);
    }
  }
  bool SendBody(int client) {
    std::string head =
        "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
        std::to_string(body_.size()) + "\r\n\r\n";
    if (send(client, head.data(), head.size(), MSG_NOSIGNAL) != (ssize_t)head.size()) return false;
    for (size_t sent = 0; sent < body_.size();) {
      ssize_t n = send(client, body_.data() + sent, body_.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return false;
      sent += (size_t)n;
    }
    return true;
  }
  void Forget(int client) {
    std::lock_guard<std::mutex> lock(mutex_);
    clients_.remove(client);
    close(client);
  }

  std::string body_;
  int listener_ = -1;
  unsigned short port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::list<int> clients_;
  std::vector<std::thread> connections_;
};

BodyServer& Server() {
  static BodyServer server;
  return server;
}

const std::string& Url() {
  static const std::string url = "http://127.0.0.1:" + std::to_string(Server().Port()) + "/body";
  return url;
}

// One download with the curl command-line tool, writing the body to /dev/null; true when it
// succeeded.
bool CurlProgram() {
  const char* argv[] = {"curl", "-s", "-o", "/dev/null", Url().c_str(), nullptr};
  pid_t child;
  if (posix_spawn(&child, "/usr/bin/curl", nullptr, nullptr, (char* const*)argv, environ) != 0)
    return false;
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A program downloading into memory with libcurl: the write callback appends each piece to a
// vector, which reserves the announced length on the first piece (as a program that knows the
// size does), so the body is copied once from libcurl's receive buffer and never moved. With
// keepConnection one easy handle serves every download, so its connection is reused; otherwise
// each download makes a handle of its own, as the one-shot client makes a connection.
class LibcurlDownload {
 public:
  explicit LibcurlDownload(bool keepConnection) : keep_(keepConnection) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (initialised && keep_) handle_ = curl_easy_init();
  }
  ~LibcurlDownload() {
    if (handle_ != nullptr) curl_easy_cleanup(handle_);
  }
  LibcurlDownload(const LibcurlDownload&) = delete;
  LibcurlDownload& operator=(const LibcurlDownload&) = delete;

  // One download into a new vector; true when the whole body came.
  bool Run() {
    CURL* handle = keep_ ? handle_ : curl_easy_init();
    if (handle == nullptr) return false;
    std::vector<unsigned char> body;
    Sink sink{handle, &body};
    curl_easy_setopt(handle, CURLOPT_URL, Url().c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Append);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
    bool done = curl_easy_perform(handle) == CURLE_OK;
    if (!keep_) curl_easy_cleanup(handle);
    return done && body.size() == kBodySize;
  }

 private:
  struct Sink {
    CURL* handle;
    std::vector<unsigned char>* body;
  };
  static size_t Append(char* data, size_t size, size_t count, void* user) {
    Sink* sink = static_cast<Sink*>(user);
    size_t n = size * count;
    if (sink->body->empty()) {
      curl_off_t length = -1;
      curl_easy_getinfo(sink->handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
      if (length > 0) sink->body->reserve((size_t)length);
    }
    sink->body->insert(sink->body->end(), (unsigned char*)data, (unsigned char*)data + n);
    return n;
  }

  bool keep_;
  CURL* handle_ = nullptr;
};

// Page faults taken by the calling thread so far.
long ThreadFaults() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_minflt + usage.ru_majflt;
}

struct Timing {
  double seconds = 0;
  long faults = 0;
  bool whole = false;
};

Timing Time(const std::function<bool()>& download) {
  Timing timing;
  long faults = ThreadFaults();
  auto start = std::chrono::steady_clock::now();
  timing.whole = download();
  timing.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  timing.faults = ThreadFaults() - faults;
  return timing;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Times download (one whole request, true when it brought the whole body) as the benchmark's
// time, each iteration paired with one download by the curl program and one by libcurl, in an
// order that turns with every iteration, so that the load of a shared machine weighs on all alike.
// "vs_curl" and "vs_libcurl" are the peer's median time over the client's: above 1 means faster
// than the peer. "faults" and "libcurl_faults" are the median page faults of one download.
void Paired(benchmark::State& state, const std::function<bool()>& download,
            LibcurlDownload& libcurl) {
  std::vector<double> own, curl, lib, ownFaults, libFaults;
  const std::function<bool()> curlRun = CurlProgram;
  const std::function<bool()> libRun = [&] { return libcurl.Run(); };
  for (auto _ : state) {
    const std::function<bool()>* order[3] = {&download, &curlRun, &libRun};
    std::rotate(order, order + own.size() % 3, order + 3);
    Timing timings[3];
    for (const std::function<bool()>* run : order) {
      Timing timing = Time(*run);
      if (run == &download) timings[0] = timing;
      if (run == &curlRun) timings[1] = timing;
      if (run == &libRun) timings[2] = timing;
    }
    if (!timings[0].whole || !timings[1].whole || !timings[2].whole) {
      state.SkipWithError(!timings[0].whole ? "short download" : "a peer failed");
      return;
    }
    own.push_back(timings[0].seconds);
    curl.push_back(timings[1].seconds);
    lib.push_back(timings[2].seconds);
    ownFaults.push_back((double)timings[0].faults);
    libFaults.push_back((double)timings[2].faults);
    state.SetIterationTime(own.back());
  }
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)kBodySize);
  if (own.empty()) return;
  state.counters["vs_curl"] = Median(curl) / Median(own);
  state.counters["vs_libcurl"] = Median(lib) / Median(own);
  state.counters["faults"] = Median(ownFaults);
  state.counters["libcurl_faults"] = Median(libFaults);
}

// The keep-alive client, paired with libcurl reusing one handle (and its connection) throughout.
void KeepAliveClient(benchmark::State& state) {
  unsigned int blockSize = (unsigned int)state.range(0);
  unsigned short port = Server().Port();
  LibcurlDownload libcurl(true);
  Paired(
      state,
      [&] {
        KV_SOCKET socket;
        KV_BUFFER out;
        KV_HTTP_PROGRESS progress;
        if (!socket.HttpGetKeepAlive(progress, "127.0.0.1", "body", port)) return false;
        while (progress.state != 19 && progress.state != 0)
          socket.HttpGetKeepAlivePoll(progress, out, blockSize);
        return progress.state == 19 && out.length == kBodySize;
      },
      libcurl);
}
BENCHMARK(KeepAliveClient)
    ->Arg(64 * 1024)
    ->Arg(1024 * 1024)
    ->Iterations(21)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// The one-shot client, paired with libcurl on a new handle (and connection) for every download.
void OneShotClient(benchmark::State& state) {
  unsigned int blockSize = (unsigned int)state.range(0);
  unsigned short port = Server().Port();
  LibcurlDownload libcurl(false);
  Paired(
      state,
      [&] {
        KV_SOCKET socket;
        KV_BUFFER out;
        return socket.HttpGet("127.0.0.1", "body", out, port, blockSize) && out.length == kBodySize;
      },
      libcurl);
}
BENCHMARK(OneShotClient)
    ->Arg(64 * 1024)
    ->Arg(1024 * 1024)
    ->Iterations(21)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
