// The life of an engine socket: creation, opening, listening, connecting, accepting, its modes and
// its destruction. Sending and receiving are in socket_io.cpp.
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "engine/numbers.h"
#include "engine/sockets/socket_api.h"
#include "engine/sockets/socket_table.h"
#include "engine/trace/trace.h"

namespace kv::engine::sockets {
namespace {

// The address family each open mode stands for; 0 for an unknown mode.
int FamilyOfMode(uint8_t mode) {
  switch (mode) {
    case KV_SOCKET_TCP_IPV4: return AF_INET;
    case KV_SOCKET_TCP_IPV6: return AF_INET6;
    default: return 0;
  }
}

int FamilyOf(int fd) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return AF_INET;
  return address.ss_family;
}

// A fresh stream descriptor of the family in the socket's receive mode; false when refused.
bool OpenDescriptor(Socket& socket, int family) {
  socket.Reset();
  int fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  if (socket.async && !SetNonBlocking(fd, true)) {
    close(fd);
    return false;
  }
  socket.fd = fd;
  return true;
}

// Connects fd to one address and waits for the outcome even when fd does not block.
bool ConnectOne(int fd, const addrinfo& address) {
  int result;
  do {
    result = connect(fd, address.ai_addr, address.ai_addrlen);
  } while (result != 0 && errno == EINTR);
  if (result == 0) return true;
  if (errno != EINPROGRESS) return false;
  pollfd waiting{fd, POLLOUT, 0};
  while (poll(&waiting, 1, -1) < 0) {
    if (errno != EINTR) return false;
  }
  int error = 0;
  socklen_t length = sizeof error;
  return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

}  // namespace
}  // namespace kv::engine::sockets

using namespace kv::engine;
using kv::engine::sockets::Socket;

extern "C" {

uint8_t KvSocketInitiation(void) {
  if (trace::Call("KvSocketInitiation")) return 0;
  return 1;
}

uint8_t KvSocketClosure(void) {
  if (trace::Call("KvSocketClosure")) return 0;
  sockets::Table().Clear();
  return 1;
}

uint8_t KvSocketCreate(KV_HANDLE* out) {
  if (trace::Call("KvSocketCreate", out)) return 0;
  if (out == nullptr) return 0;
  *out = sockets::Table().Add(std::make_unique<Socket>());
  return 1;
}

uint8_t KvSocketOpen(KV_HANDLE socket, uint8_t mode) {
  if (trace::Call("KvSocketOpen", socket, mode)) return 0;
  Socket* object = sockets::Find(socket);
  int family = sockets::FamilyOfMode(mode);
  if (object == nullptr || family == 0) return 0;
  return sockets::OpenDescriptor(*object, family) ? 1 : 0;
}

uint8_t KvSocketListen(KV_HANDLE socket, uint16_t port, uint32_t backlog) {
  if (trace::Call("KvSocketListen", socket, static_cast<uint32_t>(port), backlog)) return 0;
  Socket* object = sockets::Find(socket);
  if (object == nullptr || object->fd < 0 || object->connected || object->listening) return 0;
  int fd = object->fd;
  int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_storage address{};
  socklen_t length;
  if (sockets::FamilyOf(fd) == AF_INET6) {
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
    v6->sin6_family = AF_INET6;
    v6->sin6_addr = in6addr_any;
    v6->sin6_port = htons(port);
    length = sizeof *v6;
  } else {
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
    v4->sin_family = AF_INET;
    v4->sin_addr.s_addr = htonl(INADDR_ANY);
    v4->sin_port = htons(port);
    length = sizeof *v4;
  }
  int queue = backlog > static_cast<uint32_t>(INT_MAX) ? SOMAXCONN : static_cast<int>(backlog);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd, queue) != 0)
    return 0;
  object->listening = true;
  return 1;
}

uint8_t KvSocketConnect(KV_HANDLE socket, const char* host, uint16_t port) {
  if (trace::Call("KvSocketConnect", socket, host, static_cast<uint32_t>(port))) return 0;
  Socket* object = sockets::Find(socket);
  if (object == nullptr || host == nullptr || object->fd < 0 || object->connected ||
      object->listening)
    return 0;
  int family = sockets::FamilyOf(object->fd);
  addrinfo hints{};
  hints.ai_family = family;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  char service[8];
  std::snprintf(service, sizeof service, "%u", static_cast<unsigned>(port));
  addrinfo* found = nullptr;
  if (getaddrinfo(host, service, &hints, &found) != 0 || found == nullptr) return 0;
  bool connected = false;
  for (addrinfo* address = found; address != nullptr && !connected; address = address->ai_next) {
    // A descriptor whose connect failed is not reliably reusable: take a fresh one per try.
    if (address != found && !sockets::OpenDescriptor(*object, family)) break;
    connected = sockets::ConnectOne(object->fd, *address);
  }
  freeaddrinfo(found);
  object->connected = connected;
  return connected ? 1 : 0;
}

uint8_t KvSocketAccept(KV_HANDLE into, KV_HANDLE listening) {
  if (trace::Call("KvSocketAccept", into, listening)) return 0;
  Socket* target = sockets::Find(into);
  Socket* server = sockets::Find(listening);
  if (target == nullptr || server == nullptr || target == server || !server->listening) return 0;
  int fd;
  do {
    fd = accept4(server->fd, nullptr, nullptr, SOCK_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return 0;
  if (target->async && !sockets::SetNonBlocking(fd, true)) {
    close(fd);
    return 0;
  }
  target->Reset();
  target->fd = fd;
  target->connected = true;
  return 1;
}

uint8_t KvSocketAsync(KV_HANDLE socket, uint8_t mode) {
  if (trace::Call("KvSocketAsync", socket, mode)) return 0;
  Socket* object = sockets::Find(socket);
  if (object == nullptr) return 0;
  object->async = mode != 0;
  if (object->fd >= 0 && !sockets::SetNonBlocking(object->fd, object->async)) return 0;
  return 1;
}

uint8_t KvSocketNagle(KV_HANDLE socket, uint8_t mode) {
  if (trace::Call("KvSocketNagle", socket, mode)) return 0;
  Socket* object = sockets::Find(socket);
  if (object == nullptr || object->fd < 0) return 0;
  int noDelay = mode != 0 ? 1 : 0;
  return setsockopt(object->fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay) == 0 ? 1 : 0;
}

void KvSocketDestroy(KV_HANDLE socket) {
  if (trace::Call("KvSocketDestroy", socket)) return;
  // Removing the object from the table closes its descriptor.
  sockets::Table().Remove(socket);
}

}  // extern "C"
