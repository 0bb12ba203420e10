// The engine's socket objects: one POSIX descriptor each, with the receive mode and what the
// engine has learned about the connection. The table owns the objects and closes their
// descriptors when they leave it.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/kv_engine.h"
#include "engine/objects/object_table.h"

namespace kv::engine::sockets {

struct Socket {
  int fd = -1;             // -1 until opened or accepted into
  bool async = false;      // receive and accept return at once when nothing waits
  bool listening = false;  // a listening endpoint, never a connection
  bool connected = false;  // connected or accepted, and the end of the stream not yet seen
  bool failed = false;     // the connection ended in an error, not the peer's orderly close
  // The last receive found the connection open with nothing waiting; the next test for a peer
  // that has gone takes that answer instead of asking the system again.
  bool foundOpen = false;
  ~Socket();
  // Closes the descriptor (if any) and forgets the connection state; keeps the async mode.
  void Reset();
};

// The one table of sockets.
ObjectTable<Socket>& Table();

// The socket a handle names; null for a null, unknown or destroyed handle.
inline Socket* Find(KV_HANDLE handle) { return Table().Find(handle); }

// Puts the descriptor into blocking or non-blocking mode; false when the system refuses.
bool SetNonBlocking(int fd, bool on);

}  // namespace kv::engine::sockets
