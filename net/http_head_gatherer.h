// Gathering a response head across received blocks until the final head has ended: a head whose
// end mark is split between blocks is found, interim answers (1xx) before the final head are
// passed over, and the bytes after the final head are kept for the caller. The one-shot reader
// owns one for a request, the socket one for its keep-alive request.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kv::net {

class HeadGatherer {
 public:
  enum class Status { More, Found, TooLong };

  // Adds n received bytes. Found once the final head has ended (Head, StatusCode and Rest then
  // describe it; feed no more until Clear); TooLong when a head passes the head cap.
  Status Feed(const unsigned char* p, size_t n);

  // The final head's text, without its end mark.
  const std::string& Head() const { return head_; }
  // The final head's status code, 0 when its status line is not one.
  int StatusCode() const { return status_; }
  // The bytes after the final head's end mark, from the blocks fed so far.
  const unsigned char* Rest() const { return bytes_.data() + rest_; }
  size_t RestSize() const { return bytes_.size() - rest_; }

  // Frees what was gathered and starts a new head.
  void Clear();

 private:
  // Searches the gathered bytes for the end of the head that begins at start_, from scan_; the
  // position of its mark, or kNoHeadEnd.
  size_t FindEnd() const;
  // Moves the bytes of the head being gathered to the front, dropping interim heads before it.
  void DropPassed();

  std::vector<unsigned char> bytes_;
  size_t start_ = 0;  // where the head being gathered begins; interim heads lie before it
  size_t scan_ = 0;   // no end mark begins between start_ and here
  std::string head_;
  int status_ = 0;
  size_t rest_ = 0;  // where the bytes after the final head begin
};

}  // namespace kv::net
