// The keep-alive HTTP requests: the head is sent at once and the caller polls once per frame; each
// poll handles at most one received block and never waits. The progress record tells how far the
// request has come: 20 sending, 17 waiting for the head, 18 receiving the body, 19 complete.
//
// The head is gathered across polls (a mark split between two blocks is found, no byte after it is
// lost); a head longer than 64 KiB, and a server that goes away before the body is complete, close
// the connection and make the poll fail, so the next poll resets the record.
#include <algorithm>
#include <string>

#include "foundation/buffer.h"
#include "net/http_output.h"
#include "net/http_response.h"
#include "net/socket.h"

namespace {

// Appends n bytes to the array's content, keeping what it held.
void AppendToArray(KV_ARRAY<unsigned char>& array, const unsigned char* p, unsigned int n) {
  unsigned int old = array.Size();
  array.ResizeKeep(old + n);
  std::copy(p, p + n, array.data + old);
}

}  // namespace

bool KV_SOCKET::HttpBegin(KV_HTTP_PROGRESS& progress, const char* host,
                          KV_ARRAY<unsigned char>& head, unsigned int bodyLength,
                          unsigned short port) {
  Close();
  progress = KV_HTTP_PROGRESS();
  if (!HttpConnect(host, port)) return false;
  if (!SendWhole(head, 0)) {
    Close();
    return false;
  }
  KvSocketAsync(handle, 1);
  progress.state = HTTP_SENDING;
  progress.length = bodyLength;
  progress.received = 0;
  return true;
}

bool KV_SOCKET::HttpPoll(KV_HTTP_PROGRESS& progress, KV_BUFFER& out, KV_ARRAY<unsigned char>* body,
                         unsigned int blockSize) {
  if (handle.IsNull() || state != STATE_HTTP) {
    progress = KV_HTTP_PROGRESS();
    return false;
  }
  if (progress.state == HTTP_SENDING) {
    if (body == nullptr || progress.received >= progress.length) {
      progress.state = HTTP_WAIT_HEAD;
      progress.length = 0;
      progress.received = 0;
      return false;
    }
    unsigned int sent = KvSocketSend(handle, body, KV_SEND_ONCE, progress.received, blockSize);
    if (sent == 0)
      Close();
    else
      progress.received += sent;
    return false;
  }
  if (progress.state == HTTP_BODY) return PollBody(progress, out, blockSize);
  if (progress.state != HTTP_WAIT_HEAD) return false;

  KV_ARRAY<unsigned char> block;
  unsigned int n = KvSocketReceive(handle, &block, blockSize, 0);
  if (n == 0) {
    // Nothing waits, or the server has gone before the response was complete.
    if (KvSocketIsConnected(handle) == 0) Close();
    return false;
  }

  // Waiting for the head: gather until its end mark has come.
  size_t from = pendingHead.Size() < 3 ? 0 : pendingHead.Size() - 3;
  AppendToArray(pendingHead, block.data, n);
  KvSocketReceive(KV_HANDLE(), &block, 0, 0);
  size_t limit = kv::net::kMaxHeadSize > from ? kv::net::kMaxHeadSize - from : 0;
  size_t at = kv::net::FindHeadEnd(pendingHead.data + from, pendingHead.Size() - from, limit);
  if (at == kv::net::kNoHeadEnd) {
    if (pendingHead.Size() >= kv::net::kMaxHeadSize + 3) {
      Close();
      return false;
    }
    return true;
  }
  at += from;
  std::string head(reinterpret_cast<const char*>(pendingHead.data), at);
  unsigned int bodyCount = pendingHead.Size() - (unsigned int)(at + 4);
  if (!kv::net::AppendToBuffer(out, pendingHead.data + at + 4, bodyCount)) {
    Close();
    return false;
  }
  pendingHead.Free();
  unsigned int length = 0;
  if (!head.empty() && kv::net::ReadContentLength(head, &length)) {
    progress.state = HTTP_BODY;
    progress.length = length;
    progress.received = bodyCount;
    // Room for the rest of the announced body and one more block, so that it arrives without
    // regrowing out, however the last block falls.
    if (bodyCount < length)
      kv::net::ReserveInBuffer(out,
                               (size_t)(length - bodyCount) + kv::net::ReceiveBlock(blockSize));
    if (progress.received >= progress.length) {
      progress.received = progress.length;
      progress.state = HTTP_COMPLETE;
      Close();
    }
  }
  return true;
}

bool KV_SOCKET::PollBody(KV_HTTP_PROGRESS& progress, KV_BUFFER& out, unsigned int blockSize) {
  // The block is received straight into out, which the head made room in.
  unsigned int block = kv::net::ReceiveBlock(blockSize);
  size_t room = 0;
  unsigned char* into = kv::net::RoomInBuffer(out, block, &room);
  if (into == nullptr) {
    Close();
    return false;
  }
  unsigned int n = KvSocketReceiveInto(handle, into, room < block ? (unsigned int)room : block);
  if (n == 0) {
    // Nothing waits, or the server has gone before the response was complete.
    if (KvSocketIsConnected(handle) == 0) Close();
    return false;
  }
  kv::net::CommitToBuffer(out, n);
  unsigned long long received = (unsigned long long)progress.received + n;
  progress.received = received >= progress.length ? progress.length : (unsigned int)received;
  if (received >= progress.length) {
    progress.state = HTTP_COMPLETE;
    Close();
  }
  return true;
}

bool KV_SOCKET::HttpEnd(KV_HTTP_PROGRESS& progress) {
  if (state != STATE_HTTP) return false;
  Close();
  progress.state = 0;
  return true;
}

// ---- GET and POST -------------------------------------------------------------------------------

bool KV_SOCKET::HttpGetKeepAlive(KV_HTTP_PROGRESS& progress, const char* host, const char* path,
                                 unsigned short port) {
  KV_ARRAY<unsigned char> head;
  kv::net::BuildRequest(head, kv::net::kGetKeepAlive, host, path, nullptr);
  return HttpBegin(progress, host, head, 0, port);
}

bool KV_SOCKET::HttpPostKeepAlive(KV_HTTP_PROGRESS& progress, const char* host, const char* path,
                                  const char* body, unsigned short port) {
  KV_ARRAY<unsigned char> head;
  kv::net::BuildRequest(head, kv::net::kPostKeepAlive, host, path, body);
  return HttpBegin(progress, host, head, 0, port);
}

bool KV_SOCKET::HttpGetKeepAlivePoll(KV_HTTP_PROGRESS& progress, KV_BUFFER& out,
                                     unsigned int blockSize) {
  return HttpPoll(progress, out, nullptr, blockSize);
}

bool KV_SOCKET::HttpPostKeepAlivePoll(KV_HTTP_PROGRESS& progress, KV_BUFFER& out,
                                      unsigned int blockSize) {
  return HttpPoll(progress, out, nullptr, blockSize);
}

bool KV_SOCKET::HttpGetKeepAliveEnd(KV_HTTP_PROGRESS& progress) { return HttpEnd(progress); }

bool KV_SOCKET::HttpPostKeepAliveEnd(KV_HTTP_PROGRESS& progress) { return HttpEnd(progress); }
