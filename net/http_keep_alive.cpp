// The keep-alive HTTP requests: the head is sent at once and the caller polls once per frame; each
// poll handles at most one received block and never waits. The progress record tells how far the
// request has come: 20 sending, 17 waiting for the head, 18 receiving the body, 19 complete.
//
// The head is gathered across polls (a mark split between two blocks is found, no byte after it is
// lost); a head longer than 64 KiB, and a server that goes away before the body is complete, close
// the connection and make the poll fail, so the next poll resets the record. Interim answers (1xx)
// before the final response are passed over; a response without a body (to a HEAD request, or
// with status 204 or 304) completes at its head with length and received 0.
#include <string>

#include "foundation/buffer.h"
#include "net/http_output.h"
#include "net/http_response.h"
#include "net/socket.h"

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
  headRequest = kv::net::IsHeadRequest(head.data, head.Size());
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
  // Waiting for the head: gather until the final head's end mark has come.
  kv::net::HeadGatherer::Status found = responseHead.Feed(block.data, n);
  KvSocketReceive(KV_HANDLE(), &block, 0, 0);
  if (found == kv::net::HeadGatherer::Status::TooLong) {
    Close();
    return false;
  }
  if (found == kv::net::HeadGatherer::Status::More) return true;
  return TakeResponseHead(progress, out, blockSize);
}

bool KV_SOCKET::TakeResponseHead(KV_HTTP_PROGRESS& progress, KV_BUFFER& out,
                                 unsigned int blockSize) {
  if (kv::net::HasNoBody(responseHead.StatusCode(), headRequest)) {
    // Complete with its head, whatever length the head names: bytes that follow it are not its
    // body. They stay unread on the connection, which closes, so no later request sees them.
    progress.state = HTTP_COMPLETE;
    progress.length = 0;
    progress.received = 0;
    Close();
    return true;
  }
  unsigned int bodyCount = (unsigned int)responseHead.RestSize();
  const std::string& head = responseHead.Head();
  unsigned int length = 0;
  bool announced = !head.empty() && kv::net::ReadContentLength(head, &length);
  // Room for the announced body and one more block, made before the body bytes of the head's
  // block go in, so that the body arrives without regrowing out, however the last block falls.
  if (announced && bodyCount < length)
    kv::net::ReserveInBuffer(out, (size_t)length + kv::net::ReceiveBlock(blockSize));
  if (!kv::net::AppendToBuffer(out, responseHead.Rest(), bodyCount)) {
    Close();
    return false;
  }
  // A response without a length stays waiting, and later blocks are searched for a head again.
  responseHead.Clear();
  if (!announced) return true;
  progress.state = HTTP_BODY;
  progress.length = length;
  progress.received = bodyCount;
  if (progress.received >= progress.length) {
    progress.received = progress.length;
    progress.state = HTTP_COMPLETE;
    Close();
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
