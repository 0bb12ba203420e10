// The scripted test server.
#include "scripted_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kWaitMs = 5000;

// A socket bound to a port of 127.0.0.1 that the system chooses, listening when asked; -1 when
// the system refuses.
int BindLoopback(unsigned short* port, bool listening) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (listening) {
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  }
  if (bind(fd, (sockaddr*)&address, sizeof address) != 0 || (listening && listen(fd, 4) != 0)) {
    close(fd);
    return -1;
  }
  socklen_t length = sizeof address;
  getsockname(fd, (sockaddr*)&address, &length);
  *port = ntohs(address.sin_port);
  return fd;
}

int ListenLoopback(unsigned short* port) { return BindLoopback(port, true); }

bool WaitReadable(int fd, int ms) {
  pollfd waiting{fd, POLLIN, 0};
  return poll(&waiting, 1, ms) > 0;
}

// The body length a request head announces, 0 when none.
size_t AnnouncedLength(const std::string& head) {
  size_t at = head.find("Content-Length: ");
  return at == std::string::npos ? 0 : (size_t)strtoul(head.c_str() + at + 16, nullptr, 10);
}

// Reads one request (its head and the body it announces) from the client into request, keeping
// bytes that came after it in pending; false when the client closed or sent nothing in time.
bool ReadRequest(int client, std::string& pending, std::string* request) {
  for (;;) {
    size_t headEnd = pending.find("\r\n\r\n");
    if (headEnd != std::string::npos) {
      size_t end = headEnd + 4 + AnnouncedLength(pending.substr(0, headEnd));
      if (pending.size() >= end) {
        *request = pending.substr(0, end);
        pending.erase(0, end);
        return true;
      }
    }
    if (!WaitReadable(client, kWaitMs)) return false;
    char block[4096];
    ssize_t n = recv(client, block, sizeof block, 0);
    if (n <= 0) return false;
    pending.append(block, (size_t)n);
  }
}

}  // namespace

unsigned short FreePort() {
  unsigned short port = 0;
  int fd = ListenLoopback(&port);
  if (fd >= 0) close(fd);
  return port;
}

RefusingPort::RefusingPort() { fd_ = BindLoopback(&port_, false); }

RefusingPort::~RefusingPort() {
  if (fd_ >= 0) close(fd_);
}

ScriptedServer::ScriptedServer(std::vector<std::string> pieces, bool closeAtEnd)
    : pieces_(std::move(pieces)), closeAtEnd_(closeAtEnd) {
  listener_ = ListenLoopback(&port_);
  thread_ = std::thread([this] { Serve(); });
}

ScriptedServer::~ScriptedServer() {
  stop_ = true;
  Join();
  if (listener_ >= 0) close(listener_);
}

void ScriptedServer::Join() {
  if (thread_.joinable()) thread_.join();
}

std::string ScriptedServer::Request() {
  Join();
  return request_;
}

void ScriptedServer::Serve() {
  if (listener_ < 0 || !WaitReadable(listener_, kWaitMs)) return;
  int client = accept(listener_, nullptr, nullptr);
  if (client < 0) return;
  int on = 1;
  setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);

  // Read the head, then the body it announces.
  std::string received;
  size_t headEnd = std::string::npos;
  while (WaitReadable(client, kWaitMs)) {
    char block[4096];
    ssize_t n = recv(client, block, sizeof block, 0);
    if (n <= 0) break;
    received.append(block, (size_t)n);
    if (headEnd == std::string::npos) headEnd = received.find("\r\n\r\n");
    if (headEnd != std::string::npos &&
        received.size() >= headEnd + 4 + AnnouncedLength(received.substr(0, headEnd)))
      break;
  }
  request_ = received;

  for (const std::string& piece : pieces_) {
    if (send(client, piece.data(), piece.size(), MSG_NOSIGNAL) < 0) break;
    // A pause between pieces makes the client receive each one as its own block.
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
  }
  if (!closeAtEnd_) {
    // Hold the connection open until the test ends or the client closes.
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (!stop_ && std::chrono::steady_clock::now() < until) {
      if (WaitReadable(client, 20)) {
        char byte;
        if (recv(client, &byte, 1, 0) <= 0) break;
      }
    }
  }
  close(client);
}

ResettingServer::ResettingServer(size_t take, std::string reply)
    : take_(take), reply_(std::move(reply)) {
  listener_ = ListenLoopback(&port_);
  thread_ = std::thread([this] { Serve(); });
}

ResettingServer::~ResettingServer() {
  if (thread_.joinable()) thread_.join();
  if (listener_ >= 0) close(listener_);
}

void ResettingServer::Serve() {
  if (listener_ < 0 || !WaitReadable(listener_, kWaitMs)) return;
  int client = accept(listener_, nullptr, nullptr);
  if (client < 0) return;
  std::string received;
  while (take_ == 0 ? received.find("\r\n\r\n") == std::string::npos : received.size() < take_) {
    if (!WaitReadable(client, kWaitMs)) break;
    char block[4096];
    size_t want = take_ == 0 ? sizeof block : std::min(sizeof block, take_ - received.size());
    ssize_t n = recv(client, block, want, 0);
    if (n <= 0) break;
    received.append(block, (size_t)n);
  }
  if (!reply_.empty()) send(client, reply_.data(), reply_.size(), MSG_NOSIGNAL);
  // Lingering for no time makes the close send a reset instead of the orderly end.
  linger abortive{1, 0};
  setsockopt(client, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
  close(client);
}

KeepAliveServer::KeepAliveServer(std::vector<std::string> replies) : replies_(std::move(replies)) {
  listener_ = ListenLoopback(&port_);
  thread_ = std::thread([this] { Serve(); });
}

KeepAliveServer::~KeepAliveServer() {
  if (thread_.joinable()) thread_.join();
  if (listener_ >= 0) close(listener_);
}

std::vector<std::string> KeepAliveServer::Requests() {
  if (thread_.joinable()) thread_.join();
  return requests_;
}

void KeepAliveServer::Serve() {
  while (listener_ >= 0 && next_ < replies_.size() && WaitReadable(listener_, kWaitMs)) {
    int client = accept(listener_, nullptr, nullptr);
    if (client < 0) return;
    ServeConnection(client);
    close(client);
  }
}

void KeepAliveServer::ServeConnection(int client) {
  std::string pending;
  std::string request;
  while (ReadRequest(client, pending, &request)) {
    requests_.push_back(request);
    if (next_ == replies_.size()) continue;
    const std::string& reply = replies_[next_++];
    if (send(client, reply.data(), reply.size(), MSG_NOSIGNAL) < 0) return;
  }
}
