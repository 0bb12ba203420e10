// Output appends and request texts shared by the one-shot and keep-alive requests.
#include "net/http_output.h"

#include <climits>
#include <cstring>
#include <new>

namespace kv::net {

const char* const kGetOneShot =
    "GET /%s HTTP/1.1\r\nHost: %s\r\nUser-Agent: Kelvo Core\r\nConnection: close\r\n\r\n";
const char* const kGetKeepAlive =
    "GET /%s HTTP/1.1\r\nHost: %s\r\nUser-Agent: Kelvo Core\r\nConnection: keep-alive\r\n\r\n";
const char* const kPostOneShot =
    "POST /%s HTTP/1.1\r\nHost: %s\r\nUser-Agent: Kelvo Core\r\nConnection: close\r\nContent-Length: "
    "%u\r\nContent-Type: application/x-www-form-urlencoded\r\n\r\n%s";
const char* const kPostKeepAlive =
    "POST /%s HTTP/1.1\r\nHost: %s\r\nUser-Agent: Kelvo Core\r\nConnection: keep-alive\r\nContent-Length: "
    "%u\r\nContent-Type: application/x-www-form-urlencoded\r\n\r\n%s";

bool AppendToBuffer(KV_BUFFER& out, const unsigned char* bytes, size_t n) {
  if (n == 0) return true;
  unsigned long long end = static_cast<unsigned long long>(out.length) + n;
  if (end > UINT_MAX || bytes == nullptr) return false;
  KV_ARRAY<unsigned char>& block = out.bytes;
  if (end > block.count) {
    unsigned long long capacity = static_cast<unsigned long long>(block.count) * 2;
    if (capacity < end) capacity = end;
    if (capacity > UINT_MAX) capacity = UINT_MAX;
    unsigned char* grown = new (std::nothrow) unsigned char[capacity]();
    if (grown == nullptr) return false;
    unsigned int keep = out.length < block.count ? out.length : block.count;
    if (keep > 0) std::memcpy(grown, block.data, keep);
    block.Free();
    block.data = grown;
    block.count = static_cast<unsigned int>(capacity);
  }
  std::memcpy(block.data + out.length, bytes, n);
  out.length = static_cast<unsigned int>(end);
  block.cursor = block.data + out.length;
  return true;
}

void BuildRequest(KV_ARRAY<unsigned char>& out, const char* format, const char* host, const char* path,
                  const char* body) {
  KV_STRING encoded;
  KV_STRING(path).Replace(encoded, " ", "%20");
  const char* bodyText = body != nullptr ? body : "";
  KV_STRING text;
  text.Format(format, encoded.c_str(), host != nullptr ? host : "",
              static_cast<unsigned int>(std::strlen(bodyText)), bodyText);
  out.Resize(text.Length());
  if (!out.IsEmpty()) std::memcpy(out.data, text.c_str(), text.Length());
}

}  // namespace kv::net
