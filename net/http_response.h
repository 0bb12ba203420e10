// Reading an HTTP/1.1 response as it arrives in blocks: finding the end of its head, reading its
// status and the announced body length from the head's lines, telling a response that has no body
// at all, and taking a chunked body apart into its bytes. Pure byte work with no sockets, shared
// by the one-shot and the keep-alive requests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kv::net {

// The longest response head accepted: its end mark must begin within this many bytes, or the
// request fails.
constexpr size_t kMaxHeadSize = 64 * 1024;
// Returned by FindHeadEnd when the mark is not there.
constexpr size_t kNoHeadEnd = static_cast<size_t>(-1);

// The position of the first "\r\n\r\n" that begins within the first limit bytes of p (the whole
// mark lying within the n bytes), or kNoHeadEnd.
size_t FindHeadEnd(const unsigned char* p, size_t n, size_t limit = kMaxHeadSize);

// Reads the "Content-Length:" field of a head (lines split at "\r\n", the name is the text before
// the first space, matched exactly); the value is an unsigned 32-bit literal ("0x" hexadecimal, a
// leading 0 octal). False when no line has that name.
bool ReadContentLength(const std::string& head, unsigned int* length);

// The status code of a head's status line ("HTTP/1.1 204 No Content" gives 204): three digits
// after the first space, ending the line or followed by a space; 0 when the line is not that.
int ReadStatusCode(const std::string& head);

// True for an interim answer (1xx, such as 100 Continue), which the final response follows on the
// same connection.
bool IsInterimStatus(int status);

// True when the response ends with its head whatever length it names: the answer to a HEAD request,
// and every response with status 1xx, 204 or 304.
bool HasNoBody(int status, bool headRequest);

// True when the request text asks with the HEAD method.
bool IsHeadRequest(const unsigned char* request, size_t n);

// True when the head names the chunked transfer coding ("Transfer-Encoding: chunked", exactly).
bool IsChunked(const std::string& head);

// Takes a chunked body apart as its blocks arrive and hands the entity bytes to a sink; chunk
// extensions and trailer fields are skipped. Lines longer than 4 KiB, a size that is not
// hexadecimal or passes 32 bits, or a chunk not followed by its line end make the body malformed.
class ChunkDecoder {
 public:
  enum class Status { More, Done, Malformed };

  // Feeds n received bytes; sink(const unsigned char*, size_t) takes the entity bytes and returns
  // false to stop (then Malformed is returned). Bytes after the last chunk are ignored.
  template <typename Sink>
  Status Feed(const unsigned char* p, size_t n, Sink&& sink) {
    size_t i = 0;
    while (i < n && status_ == Status::More) {
      if (step_ == Step::Data) {
        size_t take = n - i < remaining_ ? n - i : static_cast<size_t>(remaining_);
        if (!sink(p + i, take)) return status_ = Status::Malformed;
        remaining_ -= take;
        i += take;
        if (remaining_ == 0) step_ = Step::DataEnd;
      } else {
        i = TakeLine(p, n, i);
      }
    }
    return status_;
  }
  Status GetStatus() const { return status_; }

 private:
  enum class Step { SizeLine, Data, DataEnd, Trailer };

  // Gathers line bytes from position i; at the line's end acts on it. Returns the next position.
  size_t TakeLine(const unsigned char* p, size_t n, size_t i);
  void EndOfLine();

  Step step_ = Step::SizeLine;
  Status status_ = Status::More;
  uint64_t remaining_ = 0;
  std::string line_;
};

}  // namespace kv::net
