// Sending and receiving on engine sockets, and the test for a peer that has gone. Every send uses
// MSG_NOSIGNAL, so a peer that has closed gives an error result instead of killing the process.
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <memory>

#include "engine/numbers.h"
#include "engine/sockets/socket_api.h"
#include "engine/sockets/socket_table.h"
#include "engine/trace/trace.h"

namespace kv::engine::sockets {
namespace {

// The block size a receive with blockSize 0 uses, and the largest block one receive returns.
constexpr uint32_t kDefaultBlock = 64 * 1024;
constexpr uint32_t kLargestBlock = 16 * 1024 * 1024;

// Waits until fd can take more bytes; false on an error.
bool WaitWritable(int fd) {
  pollfd waiting{fd, POLLOUT, 0};
  while (poll(&waiting, 1, -1) < 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// Marks the connection as gone; failed when an error ended it rather than the peer's close.
void Lost(Socket& socket, bool failed) {
  socket.connected = false;
  socket.failed = socket.failed || failed;
}

// One send of up to size bytes that waits for room when the descriptor does not block. Returns the
// count taken; 0 after an error, which also marks the connection as gone and failed.
size_t SendSome(Socket& socket, const unsigned char* bytes, size_t size) {
  for (;;) {
    ssize_t sent = send(socket.fd, bytes, size, MSG_NOSIGNAL);
    if (sent > 0) return static_cast<size_t>(sent);
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitWritable(socket.fd)) continue;
    Lost(socket, true);
    return 0;
  }
}

// Tells what one receive found: n > 0 bytes, nothing waiting (EAGAIN), the end of the stream (n
// is 0) or an error. Returns the count, 0 for the other three; the end and an error mark the
// connection as gone, while nothing waiting is remembered for KvSocketIsConnected.
uint32_t Found(Socket& socket, ssize_t n) {
  socket.foundOpen = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  if (n > 0) return static_cast<uint32_t>(n);
  if (!socket.foundOpen) Lost(socket, n < 0);
  return 0;
}

// The most bytes one system receive takes; a larger block is received in pieces of this size, as
// libcurl reads. Over 127.0.0.1 a receiver that took 64 KiB or more at once slept and was woken
// more often (some 440 times a download against 280), and 100 MB took 47 to 49 ms in blocks of
// 64 KiB or 1 MiB against 37 to 42 ms in pieces of 16 KiB (32 KiB: 39 to 43 ms), for the same
// processor time; 1 MB took 0.01 ms longer (medians of three runs of the download bench).
constexpr uint32_t kPiece = 16 * 1024;

// One system receive of up to size bytes, made again when a signal interrupts it.
ssize_t ReceiveOnce(int fd, unsigned char* bytes, uint32_t size, int flags) {
  ssize_t n;
  do {
    n = recv(fd, bytes, size, flags);
  } while (n < 0 && errno == EINTR);
  return n;
}

// Up to size more bytes that have already arrived, after a first piece, taken in pieces until one
// comes short (nothing more waits), the stream ends or an error comes; the end and an error mark
// the connection as gone. Returns the count taken, at most size.
uint32_t ReceiveArrived(Socket& socket, unsigned char* bytes, uint32_t size) {
  uint32_t taken = 0;
  while (taken < size) {
    uint32_t piece = size - taken < kPiece ? size - taken : kPiece;
    ssize_t n = ReceiveOnce(socket.fd, bytes + taken, piece, MSG_DONTWAIT);
    if (n <= 0) {
      if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) Lost(socket, n < 0);
      break;
    }
    taken += static_cast<uint32_t>(n);
    if (static_cast<uint32_t>(n) < piece) break;
  }
  return taken;
}

// One receive of up to size bytes into bytes; it waits for data unless the socket is in async
// mode (its descriptor then does not block), and then takes what else has arrived, up to size.
// Returns the count; 0 when nothing waits, at the end of the stream, or after an error, the last
// two marking the connection as gone. An end or error met after some bytes came marks it gone
// too, and the bytes are returned.
uint32_t ReceiveSome(Socket& socket, unsigned char* bytes, uint32_t size) {
  uint32_t first = size < kPiece ? size : kPiece;
  uint32_t n = Found(socket, ReceiveOnce(socket.fd, bytes, first, 0));
  if (n < first || n == size) return n;
  return n + ReceiveArrived(socket, bytes + n, size - n);
}

// The number of bytes waiting, up to blockSize, without taking them; it waits for something to
// arrive unless the socket is in async mode. 0 when nothing waits, at the end of the stream or
// after an error, as ReceiveSome. A peek with MSG_TRUNC copies nothing on a TCP socket but counts
// what it would have copied, so this one call also answers an empty poll, which would otherwise
// take a count of the waiting bytes and then a receive to tell an empty connection from one that
// has ended.
uint32_t Waiting(Socket& socket, uint32_t blockSize) {
  return Found(socket, ReceiveOnce(socket.fd, nullptr, blockSize, MSG_PEEK | MSG_TRUNC));
}

// Makes block, holding n received bytes, the array's whole content. The block was sized by what
// was waiting, which a receive takes whole (the bytes of a stream only grow), so it is kept as it
// is and no byte is copied again.
void Install(KV_ARRAY<unsigned char>& data, unsigned char* block, uint32_t n) {
  data.Free();
  data.data = block;
  data.cursor = block;
  data.count = n;
}

}  // namespace
}  // namespace kv::engine::sockets

using namespace kv::engine;
using kv::engine::sockets::Socket;

extern "C" {

uint32_t KvSocketSend(KV_HANDLE socket, KV_ARRAY<unsigned char>* data, uint8_t flag,
                      uint32_t offset, uint32_t size) {
  if (trace::Call("KvSocketSend", socket, data, flag, offset, size)) return 0;
  Socket* object = sockets::Find(socket);
  if (object == nullptr || data == nullptr || !object->connected || data->IsEmpty()) return 0;
  if (offset >= data->count) return 0;
  uint32_t available = data->count - offset;
  if (size == 0 || size > available) size = available;
  const unsigned char* bytes = data->data + offset;
  if (flag == KV_SEND_ONCE) return static_cast<uint32_t>(sockets::SendSome(*object, bytes, size));
  size_t total = 0;
  while (total < size) {
    size_t sent = sockets::SendSome(*object, bytes + total, size - total);
    if (sent == 0) break;
    total += sent;
  }
  return static_cast<uint32_t>(total);
}

uint32_t KvSocketReceive(KV_HANDLE socket, KV_ARRAY<unsigned char>* data, uint32_t blockSize,
                         uint32_t reserved) {
  if (trace::Call("KvSocketReceive", socket, data, blockSize, reserved)) return 0;
  if (data == nullptr) return 0;
  if (socket.IsNull()) {
    data->Free();
    return 0;
  }
  Socket* object = sockets::Find(socket);
  if (object == nullptr || !object->connected) return 0;
  if (blockSize == 0) blockSize = sockets::kDefaultBlock;
  if (blockSize > sockets::kLargestBlock) blockSize = sockets::kLargestBlock;
  // The bytes go straight into a block the array will own, sized by what is waiting, so nothing
  // is copied again and an empty poll allocates nothing.
  uint32_t size = sockets::Waiting(*object, blockSize);
  if (size == 0) return 0;
  std::unique_ptr<unsigned char[]> block(new unsigned char[size]);
  uint32_t n = sockets::ReceiveSome(*object, block.get(), size);
  if (n > 0) sockets::Install(*data, block.release(), n);
  return n;
}

uint32_t KvSocketReceiveInto(KV_HANDLE socket, unsigned char* bytes, uint32_t size) {
  if (trace::Call("KvSocketReceiveInto", socket, bytes, size)) return 0;
  Socket* object = sockets::Find(socket);
  if (object == nullptr || bytes == nullptr || size == 0 || !object->connected) return 0;
  return sockets::ReceiveSome(*object, bytes, size);
}

uint8_t KvSocketFailed(KV_HANDLE socket) {
  if (trace::Call("KvSocketFailed", socket)) return 0;
  Socket* object = sockets::Find(socket);
  return object != nullptr && object->failed ? 1 : 0;
}

uint8_t KvSocketIsConnected(KV_HANDLE socket) {
  if (trace::Call("KvSocketIsConnected", socket)) return 0;
  Socket* object = sockets::Find(socket);
  if (object == nullptr || !object->connected) return 0;
  // The last receive found the connection open with nothing waiting: that finding answers this
  // test once, so that a poll that found nothing costs one system call; the next asks again.
  if (object->foundOpen) {
    object->foundOpen = false;
    return 1;
  }
  // Peek one byte without waiting: end of stream or an error means the peer has gone, while
  // waiting data or nothing at all means the connection is still open.
  unsigned char byte;
  for (;;) {
    ssize_t n = recv(object->fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n > 0) return 1;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 1;
    sockets::Lost(*object, n < 0);
    return 0;
  }
}

}  // extern "C"
