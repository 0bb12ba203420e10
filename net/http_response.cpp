// Finding the head's end, reading its fields and de-chunking the body.
#include "net/http_response.h"

#include <cstring>

#include "foundation/string.h"

namespace kv::net {
namespace {

constexpr size_t kMaxLine = 4096;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a chunk-size line (without its "\n"): hexadecimal digits, then optional blanks, an
// optional extension after ";" and the "\r". False when it is not that or passes 32 bits.
bool ParseChunkSize(const std::string& line, uint64_t* size) {
  size_t i = 0;
  uint64_t value = 0;
  while (i < line.size() && HexValue(line[i]) >= 0) {
    value = value * 16 + static_cast<uint64_t>(HexValue(line[i]));
    if (value > 0xFFFFFFFFu) return false;
    ++i;
  }
  if (i == 0) return false;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i < line.size() && line[i] != ';' && !(line[i] == '\r' && i + 1 == line.size())) return false;
  *size = value;
  return true;
}

}  // namespace

size_t FindHeadEnd(const unsigned char* p, size_t n, size_t limit) {
  if (p == nullptr || n < 4) return kNoHeadEnd;
  size_t last = n - 4;
  if (limit == 0) return kNoHeadEnd;
  if (last > limit - 1) last = limit - 1;
  for (size_t i = 0; i <= last; ++i) {
    // Find the next CR quickly, then compare the whole mark.
    const void* cr = std::memchr(p + i, '\r', last - i + 1);
    if (cr == nullptr) return kNoHeadEnd;
    i = static_cast<size_t>(static_cast<const unsigned char*>(cr) - p);
    if (p[i + 1] == '\n' && p[i + 2] == '\r' && p[i + 3] == '\n') return i;
  }
  return kNoHeadEnd;
}

bool ReadContentLength(const std::string& head, unsigned int* length) {
  size_t start = 0;
  while (start <= head.size()) {
    size_t end = head.find("\r\n", start);
    if (end == std::string::npos) end = head.size();
    std::string line = head.substr(start, end - start);
    size_t space = line.find(' ');
    if (space != std::string::npos && line.compare(0, space, "Content-Length:") == 0) {
      std::string value = line.substr(space + 1);
      size_t cr = value.find('\r');
      if (cr != std::string::npos) value.resize(cr);
      // The value is read as a typed literal with the forced suffix "d" (unsigned 32 bits).
      unsigned int decoded = 0;
      KV_STRING(value.c_str()).Decode(&decoded, 'd');
      *length = decoded;
      return true;
    }
    start = end + 2;
  }
  return false;
}

int ReadStatusCode(const std::string& head) {
  if (head.compare(0, 5, "HTTP/") != 0) return 0;
  size_t lineEnd = head.find("\r\n");
  if (lineEnd == std::string::npos) lineEnd = head.size();
  size_t space = head.find(' ');
  if (space == std::string::npos || space + 4 > lineEnd) return 0;
  int status = 0;
  for (size_t i = space + 1; i < space + 4; ++i) {
    if (head[i] < '0' || head[i] > '9') return 0;
    status = status * 10 + (head[i] - '0');
  }
  if (space + 4 < lineEnd && head[space + 4] != ' ') return 0;
  return status;
}

bool IsInterimStatus(int status) { return status >= 100 && status <= 199; }

bool HasNoBody(int status, bool headRequest) {
  return headRequest || IsInterimStatus(status) || status == 204 || status == 304;
}

bool IsHeadRequest(const unsigned char* request, size_t n) {
  return request != nullptr && n >= 5 && std::memcmp(request, "HEAD ", 5) == 0;
}

bool IsChunked(const std::string& head) {
  return head.find("Transfer-Encoding: chunked") != std::string::npos;
}

size_t ChunkDecoder::TakeLine(const unsigned char* p, size_t n, size_t i) {
  const void* found = std::memchr(p + i, '\n', n - i);
  size_t end = found ? static_cast<size_t>(static_cast<const unsigned char*>(found) - p) : n;
  if (line_.size() + (end - i) > kMaxLine) {
    status_ = Status::Malformed;
    return n;
  }
  line_.append(reinterpret_cast<const char*>(p + i), end - i);
  if (found == nullptr) return n;
  EndOfLine();
  line_.clear();
  return end + 1;
}

void ChunkDecoder::EndOfLine() {
  switch (step_) {
    case Step::SizeLine:
      if (!ParseChunkSize(line_, &remaining_)) {
        status_ = Status::Malformed;
      } else {
        step_ = remaining_ == 0 ? Step::Trailer : Step::Data;
      }
      break;
    case Step::DataEnd:
      // The chunk's bytes must be followed directly by the line end.
      if (line_.empty() || line_ == "\r") {
        step_ = Step::SizeLine;
      } else {
        status_ = Status::Malformed;
      }
      break;
    case Step::Trailer:
      // Trailer fields are skipped; the blank line ends the body.
      if (line_.empty() || line_ == "\r") status_ = Status::Done;
      break;
    case Step::Data: break;
  }
}

}  // namespace kv::net
