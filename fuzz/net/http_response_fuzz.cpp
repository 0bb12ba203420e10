// Feeds arbitrary bytes, cut into blocks at points the input chooses, through the response reader:
// the head's gathering across blocks (interim heads passed over), the head's end search, the status
// and length fields and the chunk decoder. It must neither crash nor leak.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/buffer.h"
#include "net/http_head_gatherer.h"
#include "net/http_output.h"
#include "net/http_response.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The first byte sets the block size, as the network would cut the stream.
  size_t block = (size_t)data[0] % 17 + 1;
  const unsigned char* bytes = data + 1;
  size_t n = size - 1;

  kv::net::HeadGatherer gatherer;
  for (size_t i = 0; i < n; i += block) {
    size_t take = n - i < block ? n - i : block;
    kv::net::HeadGatherer::Status status = gatherer.Feed(bytes + i, take);
    if (status == kv::net::HeadGatherer::Status::TooLong) break;
    if (status == kv::net::HeadGatherer::Status::Found) {
      // The final head and what follows it lie within the bytes fed.
      if (gatherer.Head().size() + 4 + gatherer.RestSize() > i + take) __builtin_trap();
      kv::net::HasNoBody(gatherer.StatusCode(), false);
      break;
    }
  }

  size_t end = kv::net::FindHeadEnd(bytes, n);
  std::string head(reinterpret_cast<const char*>(bytes), end == kv::net::kNoHeadEnd ? n : end);
  unsigned int length = 0;
  kv::net::ReadContentLength(head, &length);
  kv::net::ReadStatusCode(head);
  kv::net::IsChunked(head);

  KV_BUFFER out;
  kv::net::ChunkDecoder decoder;
  auto sink = [&](const unsigned char* p, size_t count) {
    return kv::net::AppendToBuffer(out, p, count);
  };
  size_t bodyStart = end == kv::net::kNoHeadEnd ? 0 : end + 4;
  for (size_t i = bodyStart; i < n; i += block) {
    size_t take = n - i < block ? n - i : block;
    if (decoder.Feed(bytes + i, take, sink) != kv::net::ChunkDecoder::Status::More) break;
  }
  // Every entity byte the decoder gave came from the input.
  if (out.length > n) __builtin_trap();
  return 0;
}
