// Output appends and request texts shared by the one-shot and keep-alive requests.
#include "net/http_output.h"

#include <sys/mman.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

namespace kv::net {

const char* const kGetOneShot =
    "GET /%s HTTP/1.1\r\nHost: %s\r\nUser-Agent: Kelvo Core\r\nConnection: close\r\n\r\n";
const char* const kGetKeepAlive =
    "GET /%s HTTP/1.1\r\nHost: %s\r\nUser-Agent: Kelvo Core\r\nConnection: keep-alive\r\n\r\n";
const char* const kPostOneShot =
    "POST /%s HTTP/1.1\r\nHost: %s\r\nUser-Agent: Kelvo Core\r\nConnection: "
    "close\r\nContent-Length: "
    "%u\r\nContent-Type: application/x-www-form-urlencoded\r\n\r\n%s";
const char* const kPostKeepAlive =
    "POST /%s HTTP/1.1\r\nHost: %s\r\nUser-Agent: Kelvo Core\r\nConnection: "
    "keep-alive\r\nContent-Length: "
    "%u\r\nContent-Type: application/x-www-form-urlencoded\r\n\r\n%s";

namespace {

// The most room ReserveInBuffer makes ahead of what has arrived.
constexpr unsigned long long kMaxReserve = 256ull * 1024 * 1024;

// Fresh memory costs a page fault on its first touch, and a receive into fresh memory takes one
// for every page it writes. Asking the system for the pages of a stretch ahead of the data in one
// call spares those faults: the first 100 MB download of a process took 99 ms with a fault for
// every page and 68 ms asking ahead (medians of 15 processes), about what a download into memory
// already touched takes, where large pages (one fault for 512) took 48 to 338 ms, most of it in
// clearing them. Only a stretch ahead of what has arrived is asked for, so a lying length costs
// little more than address space. The system is free to ignore the request; the pages then fault
// as they are written. The receives wait while a stretch is made ready (about 1.3 us a page on the
// machine measured), and shorter waits served the download better: with stretches of 2 MiB the
// first 100 MB download took 65 to 69 ms in blocks of 64 KiB, with 512 KiB 51 to 58 ms (medians
// of three runs of five processes each), while a download into a block taken again was unchanged.
constexpr size_t kPrefaultStretch = 512 * 1024;

// Makes the pages of out's block from byte from on, at least stretch bytes of them, present and
// writable, as far as the block goes.
void PrefaultAhead(KV_BUFFER& out, size_t from, size_t stretch) {
  constexpr uintptr_t kPage = 4096;
  if (stretch < kPrefaultStretch) stretch = kPrefaultStretch;
  size_t end = from + stretch < out.bytes.count ? from + stretch : out.bytes.count;
  if (end <= from) return;
  // Only whole pages of the block: a page it shares with other memory is not its to ask for.
  uintptr_t first = (reinterpret_cast<uintptr_t>(out.bytes.data + from) + kPage - 1) & ~(kPage - 1);
  uintptr_t last = reinterpret_cast<uintptr_t>(out.bytes.data + end) & ~(kPage - 1);
  if (last <= first) return;
  // A block taken back from an earlier download is present already, and asking for its pages
  // again would only walk them (6% of a warm download's processor time): a stretch whose last
  // page is present is left alone.
  unsigned char present = 0;
  if (mincore(reinterpret_cast<void*>(last - kPage), kPage, &present) == 0 && (present & 1)) return;
  madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
}

// Replaces out's block by one of capacity bytes that keeps the bytes up to length. The new bytes
// are left uninitialised: they are written before length ever covers them. A large block freed
// earlier (the body of the last download, say) is taken again when it fits, so its pages, already
// touched, are not paid for again.
bool Regrow(KV_BUFFER& out, unsigned long long capacity) {
  KV_ARRAY<unsigned char>& block = out.bytes;
  unsigned char* grown = kv::engine::TakeByteBlock(capacity);
  if (grown == nullptr) {
    grown = new (std::nothrow) unsigned char[capacity];
    if (grown == nullptr) return false;
  }
  unsigned int keep = out.length < block.count ? out.length : block.count;
  unsigned int position = block.Tell() < keep ? block.Tell() : keep;
  if (keep > 0) std::memcpy(grown, block.data, keep);
  block.Free();
  block.data = grown;
  block.count = static_cast<unsigned int>(capacity);
  block.cursor = grown + position;
  return true;
}

// Makes out's block hold at least end bytes, doubling its capacity so that a long download is not
// copied again with every block. False when end passes 4 GiB or memory runs out.
bool GrowTo(KV_BUFFER& out, unsigned long long end) {
  if (end > UINT_MAX) return false;
  if (end <= out.bytes.count) return true;
  unsigned long long capacity = static_cast<unsigned long long>(out.bytes.count) * 2;
  if (capacity < end) capacity = end;
  if (capacity > UINT_MAX) capacity = UINT_MAX;
  return Regrow(out, capacity);
}

}  // namespace

bool AppendToBuffer(KV_BUFFER& out, const unsigned char* bytes, size_t n) {
  if (n == 0) return true;
  if (bytes == nullptr || !GrowTo(out, static_cast<unsigned long long>(out.length) + n))
    return false;
  std::memcpy(out.bytes.data + out.length, bytes, n);
  CommitToBuffer(out, n);
  return true;
}

unsigned char* RoomInBuffer(KV_BUFFER& out, size_t want, size_t* room) {
  unsigned long long end = static_cast<unsigned long long>(out.length) + want;
  if (end > UINT_MAX) end = UINT_MAX;
  if (end <= out.length || !GrowTo(out, end)) return nullptr;
  *room = out.bytes.count - out.length;
  return out.bytes.data + out.length;
}

void CommitToBuffer(KV_BUFFER& out, size_t n) {
  size_t before = out.length;
  out.length += static_cast<unsigned int>(n);
  out.bytes.cursor = out.bytes.data + out.length;
  // Each time the data passes into another stretch, the pages of the next one (or of as much as
  // this receive brought, when that is more) are asked for before the receives reach them.
  if (before / kPrefaultStretch != out.length / kPrefaultStretch) PrefaultAhead(out, out.length, n);
}

void DropFromBuffer(KV_BUFFER& out, size_t n) {
  out.length -= n < out.length ? static_cast<unsigned int>(n) : out.length;
  out.bytes.cursor = out.bytes.data + out.length;
}

unsigned int ReceiveBlock(unsigned int blockSize) {
  constexpr unsigned int kDefault = 64 * 1024;
  constexpr unsigned int kLargest = 16 * 1024 * 1024;
  if (blockSize == 0) return kDefault;
  return blockSize < kLargest ? blockSize : kLargest;
}

bool ReserveInBuffer(KV_BUFFER& out, size_t n) {
  unsigned long long wanted =
      static_cast<unsigned long long>(out.length) + (n < kMaxReserve ? n : kMaxReserve);
  if (wanted > UINT_MAX) wanted = UINT_MAX;
  if (wanted > out.bytes.count && !Regrow(out, wanted)) return false;
  PrefaultAhead(out, out.length, 0);
  return true;
}

void BuildRequest(KV_ARRAY<unsigned char>& out, const char* format, const char* host,
                  const char* path, const char* body) {
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
