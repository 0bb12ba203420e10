// Gathering the final response head across blocks.
#include "net/http_head_gatherer.h"

#include "net/http_response.h"

namespace kv::net {

HeadGatherer::Status HeadGatherer::Feed(const unsigned char* p, size_t n) {
  bytes_.insert(bytes_.end(), p, p + n);
  for (;;) {
    size_t at = FindEnd();
    if (at == kNoHeadEnd) {
      // The last three bytes may begin a mark that the next block completes.
      if (bytes_.size() > scan_ + 3) scan_ = bytes_.size() - 3;
      DropPassed();
      return bytes_.size() < kMaxHeadSize + 3 ? Status::More : Status::TooLong;
    }
    std::string head(reinterpret_cast<const char*>(bytes_.data() + start_), at - start_);
    int status = ReadStatusCode(head);
    if (!IsInterimStatus(status)) {
      head_ = std::move(head);
      status_ = status;
      rest_ = at + 4;
      return Status::Found;
    }
    // An interim answer: the final head follows it, in these bytes or in later blocks.
    start_ = scan_ = at + 4;
  }
}

size_t HeadGatherer::FindEnd() const {
  // The mark must begin within the head cap, counted from the head's start.
  size_t capEnd = start_ + kMaxHeadSize;
  if (scan_ >= capEnd) return kNoHeadEnd;
  size_t at = FindHeadEnd(bytes_.data() + scan_, bytes_.size() - scan_, capEnd - scan_);
  return at == kNoHeadEnd ? kNoHeadEnd : scan_ + at;
}

void HeadGatherer::DropPassed() {
  if (start_ == 0) return;
  bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<long>(start_));
  scan_ -= start_;
  start_ = 0;
}

void HeadGatherer::Clear() {
  std::vector<unsigned char>().swap(bytes_);
  start_ = scan_ = rest_ = 0;
  head_.clear();
  status_ = 0;
}

}  // namespace kv::net
