// The one-shot HTTP requests: connect, send the request, read until the server closes, and give
// the body (or the whole response) in the caller's buffer. The connection waits in receive.
//
// The response head is gathered across received blocks, so a head whose end mark is split between
// two blocks is still found and no byte after it is lost; a head longer than 64 KiB fails the
// request. A chunked body is taken apart, so out holds exactly the entity body.
#include <string>
#include <vector>

#include "foundation/buffer.h"
#include "net/http_output.h"
#include "net/http_response.h"
#include "net/socket.h"

namespace {

// The receive side of one one-shot exchange.
class OneShotReader {
 public:
  OneShotReader(KV_BUFFER& out, bool stripHead, KV_STRING* headOut)
      : out_(out), stripHead_(stripHead), headOut_(headOut), headPending_(stripHead) {}

  // Handles one received block; false when the request must fail.
  bool Take(const unsigned char* p, size_t n) {
    if (!stripHead_) return kv::net::AppendToBuffer(out_, p, n);
    if (!headPending_) return Deliver(p, n);
    return TakeHeadBytes(p, n);
  }

 private:
  bool TakeHeadBytes(const unsigned char* p, size_t n) {
    // Search again only where the new bytes can complete a mark.
    size_t from = pending_.size() < 3 ? 0 : pending_.size() - 3;
    pending_.insert(pending_.end(), p, p + n);
    size_t at =
        kv::net::FindHeadEnd(pending_.data() + from, pending_.size() - from,
                             kv::net::kMaxHeadSize > from ? kv::net::kMaxHeadSize - from : 0);
    if (at == kv::net::kNoHeadEnd) return pending_.size() < kv::net::kMaxHeadSize + 3;
    at += from;
    headPending_ = false;
    std::string head(reinterpret_cast<const char*>(pending_.data()), at);
    if (headOut_ != nullptr) headOut_->Assign(head.c_str());
    chunked_ = kv::net::IsChunked(head);
    // An announced length only makes room ahead; the body still ends where the server closes.
    unsigned int announced = 0;
    if (!chunked_ && kv::net::ReadContentLength(head, &announced))
      kv::net::ReserveInBuffer(out_, announced);
    std::vector<unsigned char> rest(pending_.begin() + static_cast<long>(at + 4), pending_.end());
    pending_.clear();
    pending_.shrink_to_fit();
    return Deliver(rest.data(), rest.size());
  }

  bool Deliver(const unsigned char* p, size_t n) {
    if (!chunked_) return kv::net::AppendToBuffer(out_, p, n);
    auto sink = [this](const unsigned char* bytes, size_t count) {
      return kv::net::AppendToBuffer(out_, bytes, count);
    };
    return decoder_.Feed(p, n, sink) != kv::net::ChunkDecoder::Status::Malformed;
  }

  KV_BUFFER& out_;
  bool stripHead_;
  KV_STRING* headOut_;
  bool headPending_;
  bool chunked_ = false;
  std::vector<unsigned char> pending_;
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

bool KV_SOCKET::HttpRequest(const char* host, KV_ARRAY<unsigned char>& head, KV_BUFFER& out,
                            KV_ARRAY<unsigned char>* body, unsigned short port, bool stripHead,
                            KV_STRING* headOut, unsigned int blockSize) {
  if (!HttpConnect(host, port)) return false;
  if (KvSocketSend(handle, &head, KV_SEND_ONCE, 0, 0) == 0) {
    Close();
    return false;
  }
  if (body != nullptr) {
    if (blockSize == 0) {
      if (KvSocketSend(handle, body, KV_SEND_ONCE, 0, 0) == 0) {
        Close();
        return false;
      }
    } else {
      for (unsigned int offset = 0; offset < body->Size();) {
        unsigned int sent = KvSocketSend(handle, body, KV_SEND_ONCE, offset, blockSize);
        if (sent == 0) {
          Close();
          return false;
        }
        offset += sent;
      }
    }
  }

  out.Clear();
  OneShotReader reader(out, stripHead, headOut);
  KV_ARRAY<unsigned char> block;
  // The connection never switched to async mode, so a receive of 0 means the server has closed.
  while (KvSocketReceive(handle, &block, blockSize, 0) != 0) {
    bool taken = reader.Take(block.data, block.Size());
    KvSocketReceive(KV_HANDLE(), &block, 0, 0);
    if (!taken) {
      Close();
      return false;
    }
  }
  Close();
  return true;
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
