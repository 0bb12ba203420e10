// The socket table and the descriptor helpers shared by the socket functions.
#include "engine/sockets/socket_table.h"

#include <fcntl.h>
#include <unistd.h>

namespace kv::engine::sockets {

Socket::~Socket() { Reset(); }

void Socket::Reset() {
  if (fd >= 0) close(fd);
  fd = -1;
  listening = false;
  connected = false;
  failed = false;
  foundOpen = false;
}

ObjectTable<Socket>& Table() {
  // Built on first use and destroyed at exit, which closes what is still open.
  static ObjectTable<Socket> table;
  return table;
}

bool SetNonBlocking(int fd, bool on) {
  int flags = fcntl(fd, F_GETFL, 0);
  if (flags < 0) return false;
  flags = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  return fcntl(fd, F_SETFL, flags) == 0;
}

}  // namespace kv::engine::sockets
