// The compared downloads and their measurement.
#include "bench/net/download_peers.h"

#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>

#include "engine/sockets/socket_table.h"
#include "foundation/buffer.h"
#include "net/socket.h"

extern char** environ;

namespace {

double Seconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}

double Seconds(const timeval& t) { return (double)t.tv_sec + (double)t.tv_usec * 1e-6; }

}  // namespace

double ProcessSeconds() { return Seconds(CLOCK_PROCESS_CPUTIME_ID); }

double WallSeconds() { return Seconds(CLOCK_MONOTONIC); }

long ProcessFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt + usage.ru_majflt;
}

// ---- the client ---------------------------------------------------------------------------------

namespace {

// Waits until the request's connection has bytes to read or has ended.
void WaitReadable(const KV_SOCKET& socket) {
  const kv::engine::sockets::Socket* object = kv::engine::sockets::Find(socket.handle);
  if (object == nullptr) return;
  pollfd waiting{object->fd, POLLIN, 0};
  poll(&waiting, 1, -1);
}

}  // namespace

bool ClientKeepAlive(unsigned short port, const std::string& path, size_t size,
                     unsigned int blockSize) {
  KV_SOCKET socket;
  KV_BUFFER out;
  KV_HTTP_PROGRESS progress;
  if (!socket.HttpGetKeepAlive(progress, "127.0.0.1", path.c_str(), port)) return false;
  while (progress.state != KV_SOCKET::HTTP_COMPLETE && progress.state != KV_SOCKET::STATE_CLOSED)
    if (!socket.HttpGetKeepAlivePoll(progress, out, blockSize)) WaitReadable(socket);
  return progress.state == KV_SOCKET::HTTP_COMPLETE && out.length == size;
}

bool ClientOneShot(unsigned short port, const std::string& path, size_t size,
                   unsigned int blockSize) {
  KV_SOCKET socket;
  KV_BUFFER out;
  return socket.HttpGet("127.0.0.1", path.c_str(), out, port, blockSize) && out.length == size;
}

// ---- libcurl ------------------------------------------------------------------------------------

LibcurlDownload::LibcurlDownload(bool keepConnection, bool keepVector)
    : keepConnection_(keepConnection), keepVector_(keepVector) {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (initialised && keepConnection_) handle_ = curl_easy_init();
}

LibcurlDownload::~LibcurlDownload() {
  if (handle_ != nullptr) curl_easy_cleanup(handle_);
}

bool LibcurlDownload::Run(const std::string& url, size_t size) {
  current_ = keepConnection_ ? handle_ : curl_easy_init();
  if (current_ == nullptr) return false;
  std::vector<unsigned char> fresh;
  kept_.clear();
  body_ = keepVector_ ? &kept_ : &fresh;
  curl_easy_setopt(current_, CURLOPT_URL, url.c_str());
  curl_easy_setopt(current_, CURLOPT_WRITEFUNCTION, &Append);
  curl_easy_setopt(current_, CURLOPT_WRITEDATA, this);
  bool done = curl_easy_perform(current_) == CURLE_OK;
  if (!keepConnection_) curl_easy_cleanup(current_);
  return done && body_->size() == size;
}

size_t LibcurlDownload::Append(char* data, size_t size, size_t count, void* user) {
  LibcurlDownload* download = static_cast<LibcurlDownload*>(user);
  std::vector<unsigned char>& body = *download->body_;
  size_t n = size * count;
  if (body.empty()) {
    curl_off_t length = -1;
    curl_easy_getinfo(download->current_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (length > 0) body.reserve((size_t)length);
  }
  body.insert(body.end(), (unsigned char*)data, (unsigned char*)data + n);
  return n;
}

// ---- the curl program ---------------------------------------------------------------------------

ProgramRun RunProgram(const char* path, const char* const* argv) {
  ProgramRun run;
  int out[2];
  if (pipe(out) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  double start = WallSeconds();
  pid_t child;
  bool spawned = posix_spawn(&child, path, &actions, nullptr, (char* const*)argv, environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  char text[128] = {};
  size_t length = 0;
  while (spawned && length < sizeof text - 1) {
    ssize_t n = read(out[0], text + length, sizeof text - 1 - length);
    if (n <= 0) break;
    length += (size_t)n;
  }
  close(out[0]);
  if (!spawned) return run;
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  run.wall = WallSeconds() - start;
  run.processor = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  run.faults = usage.ru_minflt + usage.ru_majflt;
  run.output.assign(text, length);
  run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

DownloadCost CurlProgram(const std::string& url, double* processWall) {
  const char* argv[] = {"curl",          "-s",        "-o",   "/dev/null", "-w",
                        "%{time_total}", url.c_str(), nullptr};
  ProgramRun run = RunProgram("/usr/bin/curl", argv);
  DownloadCost cost;
  *processWall = run.wall;
  cost.processor = run.processor;
  cost.faults = run.faults;
  cost.whole = run.succeeded && std::sscanf(run.output.c_str(), "%lf", &cost.wall) == 1;
  return cost;
}
