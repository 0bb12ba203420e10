// The one-shot HTTP requests: connect, send the request, read until the server closes, and give
// the body (or the whole response) in the caller's buffer. The connection waits in receive.
//
// The response head is gathered across received blocks, so a head whose end mark is split between
// two blocks is still found and no byte after it is lost; a head longer than 64 KiB fails the
// request. A chunked body is taken apart, so out holds exactly the entity body. Once the head is
// read, a body that is not chunked is received straight into out, which was sized by the
// announced length, so the bulk of a download is written once, by the receive itself.
//
// Interim answers (1xx) before the final response are passed over. A response that has no body
// (to a HEAD request, or with status 204 or 304) is whole at the end of its head, whatever
// length it names; the reading stops there and what follows it is not taken.
//
// The request succeeds only when the whole response came: its head ended, and its body reached
// the announced length, the last chunk, or (without either) the server's orderly close. A server
// that closes or resets the connection earlier fails the request; out keeps what came.
#include <memory>
#include <string>

#include "foundation/buffer.h"
#include "net/http_head_gatherer.h"
#include "net/http_output.h"
#include "net/http_response.h"
#include "net/socket.h"

namespace {

// The receive side of one one-shot exchange.
class OneShotReader {
 public:
  // receiveBlock: the most bytes one receive takes; headRequest: the request asked with HEAD.
  OneShotReader(KV_BUFFER& out, bool stripHead, KV_STRING* headOut, unsigned int receiveBlock,
                bool headRequest)
      : out_(out),
        stripHead_(stripHead),
        headOut_(headOut),
        receiveBlock_(receiveBlock),
        headRequest_(headRequest) {}

  // True when the rest of the response goes into out unchanged, so it may be received straight
  // into out and counted with Took.
  bool ReceivesIntoOut() const { return !headPending_ && !chunked_ && !endedAtHead_; }

  // True when the response had no body and so ended with its head: nothing more is to be read.
  bool EndedAtHead() const { return endedAtHead_; }

  // Handles one received block; false when the request must fail.
  bool Take(const unsigned char* p, size_t n) {
    if (!stripHead_ && !kv::net::AppendToBuffer(out_, p, n)) return false;
    if (headPending_) return TakeHeadBytes(p, n);
    return TakeBody(p, n);
  }

  // Counts n body bytes received straight into out.
  void Took(size_t n) { bodyReceived_ += n; }

  // Whether the whole response came, once the connection has ended (failed: by an error rather
  // than the server's orderly close).
  bool Complete(bool failed) const {
    if (headPending_) return false;
    if (chunked_) return decoder_.GetStatus() == kv::net::ChunkDecoder::Status::Done;
    if (announced_) return bodyReceived_ >= length_;
    return !failed;
  }

 private:
  bool TakeHeadBytes(const unsigned char* p, size_t n) {
    kv::net::HeadGatherer::Status found = head_.Feed(p, n);
    if (found != kv::net::HeadGatherer::Status::Found)
      return found == kv::net::HeadGatherer::Status::More;
    headPending_ = false;
    const std::string& head = head_.Head();
    if (headOut_ != nullptr) headOut_->Assign(head.c_str());
    bool taken = kv::net::HasNoBody(head_.StatusCode(), headRequest_) ? EndAtHead() : StartBody();
    head_.Clear();
    return taken;
  }

  // A response without a body is complete with its head, whatever length the head names; bytes
  // after it are not its body, so they leave out again when the whole response is wanted.
  bool EndAtHead() {
    endedAtHead_ = true;
    if (!stripHead_) kv::net::DropFromBuffer(out_, head_.RestSize());
    return true;
  }

  // Reads how the body is delimited and takes the body bytes that came with the head.
  bool StartBody() {
    const std::string& head = head_.Head();
    chunked_ = kv::net::IsChunked(head);
    announced_ = !chunked_ && kv::net::ReadContentLength(head, &length_);
    // Room for the announced body and one more block, so that it arrives without the block being
    // copied as it grows, and the receive that finds the server closed needs no more.
    if (announced_) kv::net::ReserveInBuffer(out_, (size_t)length_ + receiveBlock_);
    return TakeBody(head_.Rest(), head_.RestSize());
  }

  // Body bytes that came in a block: into out (unless they are there already, with the head),
  // a chunked body taken apart on the way.
  bool TakeBody(const unsigned char* p, size_t n) {
    if (!chunked_) {
      bodyReceived_ += n;
      return !stripHead_ || kv::net::AppendToBuffer(out_, p, n);
    }
    auto sink = [this](const unsigned char* bytes, size_t count) {
      return !stripHead_ || kv::net::AppendToBuffer(out_, bytes, count);
    };
    return decoder_.Feed(p, n, sink) != kv::net::ChunkDecoder::Status::Malformed;
  }

 private:
  KV_BUFFER& out_;
  bool stripHead_;
  KV_STRING* headOut_;
  unsigned int receiveBlock_;
  bool headRequest_;
  bool headPending_ = true;
  bool endedAtHead_ = false;  // the response has no body: it ended with its head
  bool chunked_ = false;
  bool announced_ = false;   // the head gave a Content-Length (and no chunked coding)
  unsigned int length_ = 0;  // the announced body length
  unsigned long long bodyReceived_ = 0;
  kv::net::HeadGatherer head_;
  kv::net::ChunkDecoder decoder_;
};

}  // namespace

bool KV_SOCKET::HttpConnect(const char* host, unsigned short port) {
  Close();
  KvSocketCreate(&handle);
  if (handle.IsNull()) return false;
  if (KvSocketOpen(handle, KV_SOCKET_TCP_IPV4) == 0 || KvSocketConnect(handle, host, port) == 0) {
    Close();
    return false;
  }
  state = STATE_HTTP;
  return true;
}

bool KV_SOCKET::SendWhole(KV_ARRAY<unsigned char>& data, unsigned int blockSize) {
  // One send may take fewer bytes than it was given (a signal, or a connection reset part way);
  // the rest is sent on, and a send that takes nothing fails the whole.
  for (unsigned int offset = 0; offset < data.Size();) {
    unsigned int sent = KvSocketSend(handle, &data, KV_SEND_ONCE, offset, blockSize);
    if (sent == 0) return false;
    offset += sent;
  }
  return true;
}

bool KV_SOCKET::HttpRequest(const char* host, KV_ARRAY<unsigned char>& head, KV_BUFFER& out,
                            KV_ARRAY<unsigned char>* body, unsigned short port, bool stripHead,
                            KV_STRING* headOut, unsigned int blockSize) {
  if (!HttpConnect(host, port)) return false;
  if (!SendWhole(head, 0) || (body != nullptr && !SendWhole(*body, blockSize))) {
    Close();
    return false;
  }

  out.Clear();
  const unsigned int block = kv::net::ReceiveBlock(blockSize);
  OneShotReader reader(out, stripHead, headOut, block,
                       kv::net::IsHeadRequest(head.data, head.Size()));
  // Where blocks land while the head is read and a chunked body is taken apart; never cleared,
  // since every byte read from it was received first.
  std::unique_ptr<unsigned char[]> scratch(new unsigned char[block]);
  // The connection never switched to async mode, so a receive of 0 means the server has closed
  // (or the connection failed). A response without a body is whole at the end of its head, so
  // the server's close is not awaited for it.
  while (!reader.EndedAtHead()) {
    if (reader.ReceivesIntoOut()) {
      size_t room = 0;
      unsigned char* into = kv::net::RoomInBuffer(out, block, &room);
      if (into == nullptr) break;
      unsigned int n = KvSocketReceiveInto(handle, into, room < block ? (unsigned int)room : block);
      if (n == 0) break;
      kv::net::CommitToBuffer(out, n);
      reader.Took(n);
    } else {
      unsigned int n = KvSocketReceiveInto(handle, scratch.get(), block);
      if (n == 0) break;
      if (!reader.Take(scratch.get(), n)) {
        Close();
        return false;
      }
    }
  }
  bool complete = reader.EndedAtHead() || (KvSocketIsConnected(handle) == 0 &&
                                           reader.Complete(KvSocketFailed(handle) != 0));
  Close();
  return complete;
}

bool KV_SOCKET::HttpGet(const char* host, const char* path, KV_BUFFER& out, unsigned short port,
                        unsigned int blockSize) {
  KV_ARRAY<unsigned char> head;
  kv::net::BuildRequest(head, kv::net::kGetOneShot, host, path, nullptr);
  return HttpRequest(host, head, out, nullptr, port, true, nullptr, blockSize);
}

bool KV_SOCKET::HttpPost(const char* host, const char* path, const char* body, KV_BUFFER& out,
                         unsigned short port, unsigned int blockSize) {
  KV_ARRAY<unsigned char> head;
  kv::net::BuildRequest(head, kv::net::kPostOneShot, host, path, body);
  return HttpRequest(host, head, out, nullptr, port, true, nullptr, blockSize);
}
