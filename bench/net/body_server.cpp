// The body server's process: a listener made before the fork, so the port is known to both sides,
// and workers in the child that serve one connection at a time, sending bodies from one block made
// at its start.
#include "bench/net/body_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

// The bodies: one block of the largest size, of which a body of n bytes is the first n. Every page
// differs, so nothing along the way can share pages. They are sent with send, as a server sends
// what it makes in memory: sent from a file with sendfile they reached every client from pages
// no cache held, and 100 MB took every client 70 to 94 ms instead of 55 to 58, which measured the
// memory more than the clients.
const std::vector<char>& Bodies() {
  static const std::vector<char> bodies = [] {
    std::vector<char> bytes(BodyServer::kLargest, 'k');
    for (size_t i = 0; i < bytes.size(); i += 4096) bytes[i] = (char)(i / 4096);
    return bytes;
  }();
  return bodies;
}

bool SendAll(int client, const char* bytes, size_t n) {
  for (size_t sent = 0; sent < n;) {
    ssize_t taken = send(client, bytes + sent, n - sent, MSG_NOSIGNAL);
    if (taken <= 0) return false;
    sent += (size_t)taken;
  }
  return true;
}

// Answers one request head: the body its path names, the whole block for a path that names none.
bool Answer(int client, const std::string& request) {
  size_t n = BodyServer::kLargest;
  size_t slash = request.find('/');
  if (slash != std::string::npos) {
    size_t asked = std::strtoull(request.c_str() + slash + 1, nullptr, 10);
    if (asked > 0 && asked < n) n = asked;
  }
  std::string head =
      "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
      std::to_string(n) + "\r\n\r\n";
  return SendAll(client, head.data(), head.size()) && SendAll(client, Bodies().data(), n);
}

// Serves requests on one connection until the client closes it or asks to close.
void Serve(int client) {
  std::string pending;
  char block[4096];
  for (;;) {
    size_t end;
    while ((end = pending.find("\r\n\r\n")) == std::string::npos) {
      ssize_t n = recv(client, block, sizeof block, 0);
      if (n <= 0) return (void)close(client);
      pending.append(block, (size_t)n);
    }
    std::string request = pending.substr(0, end);
    pending.erase(0, end + 4);
    if (!Answer(client, request) || request.find("Connection: close") != std::string::npos)
      return (void)close(client);
  }
}

// Takes connections and serves each until it closes.
[[noreturn]] void Work(int listener) {
  for (;;) {
    int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client >= 0) Serve(client);
  }
}

// Splits the processors this process may run on in two: the first half for the downloading side
// (this process and the programs it starts), the second for the server. On a single processor
// both keep it.
void SplitProcessors(cpu_set_t* downloading, cpu_set_t* serving) {
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  sched_getaffinity(0, sizeof allowed, &allowed);
  *downloading = allowed;
  *serving = allowed;
  int count = CPU_COUNT(&allowed);
  if (count < 2) return;
  CPU_ZERO(downloading);
  CPU_ZERO(serving);
  for (int cpu = 0, seen = 0; cpu < CPU_SETSIZE && seen < count; ++cpu) {
    if (!CPU_ISSET(cpu, &allowed)) continue;
    CPU_SET(cpu, seen < count / 2 ? downloading : serving);
    ++seen;
  }
}

[[noreturn]] void RunServer(int listener, int ready) {
  // The server ends with the bench, however the bench ends.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  Bodies();
  // Workers started in advance each wait in accept, as a real server's do: a thread started for
  // each connection took up to 7 ms to first run on a busy machine, which every new connection
  // then paid and a kept one did not. Enough of them for the connections the benches keep open.
  constexpr int kWorkers = 16;
  for (int i = 1; i < kWorkers; ++i) std::thread(Work, listener).detach();
  char byte = 1;
  if (write(ready, &byte, 1) != 1) std::abort();
  close(ready);
  Work(listener);
}

}  // namespace

BodyServer::BodyServer() {
  int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener < 0 || bind(listener, (sockaddr*)&address, sizeof address) != 0 ||
      listen(listener, 16) != 0 || getsockname(listener, (sockaddr*)&address, &length) != 0)
    std::abort();
  port_ = ntohs(address.sin_port);
  // The first download waits until the bodies are made, so that none pays for it.
  int ready[2];
  if (pipe(ready) != 0) std::abort();
  // The server runs on processors apart from the downloads. Where the system was free to place
  // them, it sometimes put a server's thread beside the download it served (every time after
  // the curl program had run), and the download then did the sending side's work too: 10 MB
  // took the client and libcurl 5 to 6 ms of processor time instead of 1.6 to 2.6, and the
  // server 1.1 instead of 3.6.
  cpu_set_t downloading, serving;
  SplitProcessors(&downloading, &serving);
  child_ = fork();
  if (child_ < 0) std::abort();
  if (child_ == 0) {
    sched_setaffinity(0, sizeof serving, &serving);
    RunServer(listener, ready[1]);
  }
  sched_setaffinity(0, sizeof downloading, &downloading);
  close(listener);
  close(ready[1]);
  if (clock_getcpuclockid(child_, &clock_) != 0) std::abort();
  char byte = 0;
  if (read(ready[0], &byte, 1) != 1) std::abort();
  close(ready[0]);
}

BodyServer::~BodyServer() {
  kill(child_, SIGKILL);
  waitpid(child_, nullptr, 0);
}

double BodyServer::ProcessorSeconds() const {
  timespec now{};
  clock_gettime(clock_, &now);
  return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}

std::string BodyServer::Url(size_t n) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/" + Path(n);
}
