// Appending to the caller's buffer and building request texts.
#include "net/http_output.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "buffer_text.h"
#include "engine/large_block_cache.h"

namespace {

TEST(HttpOutput, AppendsAfterTheLengthAndReservesWithoutChangingTheStream) {
  KV_BUFFER out;
  out.WriteString("head", false);
  out.Seek(1, false, false);
  ASSERT_TRUE(kv::net::AppendToBuffer(out, (const unsigned char*)"er", 2));
  EXPECT_EQ(Text(out), "header");
  EXPECT_EQ(out.Tell(), 6u);

  out.Seek(2, false, false);
  ASSERT_TRUE(kv::net::ReserveInBuffer(out, 1u << 20));
  EXPECT_EQ(Text(out), "header");
  EXPECT_EQ(out.Tell(), 2u);  // reserving keeps the position
  EXPECT_GE(out.bytes.Size(), 6u + (1u << 20));
  for (int i = 0; i < 1000; ++i)
    ASSERT_TRUE(kv::net::AppendToBuffer(out, (const unsigned char*)"0123456789", 10));
  EXPECT_EQ(out.length, 10006u);
  EXPECT_EQ(Text(out).substr(9996), "0123456789");
  EXPECT_TRUE(kv::net::AppendToBuffer(out, nullptr, 0));
  EXPECT_FALSE(kv::net::AppendToBuffer(out, nullptr, 1));
}

TEST(HttpOutput, RoomForAReceiveGrowsOnlyWhenTooSmallAndCommitsAfterTheLength) {
  KV_BUFFER out;
  out.WriteString("abc", false);
  out.Seek(0, false, false);
  size_t room = 0;
  unsigned char* into = kv::net::RoomInBuffer(out, 100, &room);
  ASSERT_NE(into, nullptr);
  EXPECT_GE(room, 100u);
  EXPECT_EQ(into, out.GetData() + 3);
  EXPECT_EQ(Text(out), "abc");  // growing kept the bytes
  memcpy(into, "defg", 4);
  kv::net::CommitToBuffer(out, 4);
  EXPECT_EQ(Text(out), "abcdefg");
  EXPECT_EQ(out.Tell(), 7u);  // the position follows the bytes, as appending does

  // Room that is already there is handed out as it is, however large.
  ASSERT_TRUE(kv::net::ReserveInBuffer(out, 1u << 20));
  unsigned char* block = out.GetData();
  into = kv::net::RoomInBuffer(out, 10, &room);
  EXPECT_EQ(out.GetData(), block);
  EXPECT_EQ(into, block + 7);
  EXPECT_GE(room, 1u << 20);
}

TEST(HttpOutput, ALargeBodyTakesTheBlockOfOneFreedBeforeButNeverOneInUse) {
  constexpr size_t kBody = 64u * 1024 * 1024;
  unsigned char* first;
  {
    KV_BUFFER earlier;
    ASSERT_TRUE(kv::net::ReserveInBuffer(earlier, kBody));
    first = earlier.GetData();
    first[kBody - 1] = 0x5A;
  }
  KV_BUFFER next;
  ASSERT_TRUE(kv::net::ReserveInBuffer(next, kBody));
  // The freed body's pages, already touched, serve again (a fresh block would read 0 here).
  EXPECT_EQ(next.GetData(), first);
  EXPECT_EQ(next.GetData()[kBody - 1], 0x5A);
  KV_BUFFER beside;
  ASSERT_TRUE(kv::net::ReserveInBuffer(beside, kBody));
  EXPECT_NE(beside.GetData(), next.GetData());
}

// Whether the page holding byte offset of out's block is present in memory.
bool Present(const KV_BUFFER& out, size_t offset) {
  const uintptr_t page = (uintptr_t)sysconf(_SC_PAGESIZE);
  unsigned char present = 0;
  void* start = (void*)(((uintptr_t)out.GetData() + offset) & ~(page - 1));
  return mincore(start, page, &present) == 0 && (present & 1) != 0;
}

TEST(HttpOutput, PagesAreMadeReadyOnlyAShortStretchAheadOfTheData) {
  constexpr size_t kMiB = 1024 * 1024;
  // A fresh block: no block kept from before may serve it.
  delete[] kv::engine::TakeByteBlock(64 * kMiB);
  KV_BUFFER out;
  ASSERT_TRUE(kv::net::ReserveInBuffer(out, 64 * kMiB));
  EXPECT_TRUE(Present(out, 64 * 1024));
  // A length that nothing follows costs no memory far ahead.
  EXPECT_FALSE(Present(out, 32 * kMiB));

  // Data arriving a block at a time: the pages ahead of it are ready before it reaches them, and
  // the bytes already there are kept.
  std::string expected;
  for (size_t i = 0; i < 48; ++i) {
    size_t room = 0;
    unsigned char* into = kv::net::RoomInBuffer(out, 64 * 1024, &room);
    ASSERT_NE(into, nullptr);
    memset(into, (int)('a' + i % 26), 64 * 1024);
    kv::net::CommitToBuffer(out, 64 * 1024);
    expected.append(64 * 1024, (char)('a' + i % 26));
  }
  EXPECT_TRUE(Present(out, 3 * kMiB + 64 * 1024));
  EXPECT_FALSE(Present(out, 32 * kMiB));
  EXPECT_EQ(Text(out), expected);
}

TEST(HttpOutput, RequestTextHasExactlyItsLength) {
  KV_ARRAY<unsigned char> request;
  kv::net::BuildRequest(request, kv::net::kPostKeepAlive, "example.test", " x ", "a b");
  std::string text((const char*)request.data, request.Size());
  EXPECT_EQ(text,
            "POST /%20x%20 HTTP/1.1\r\nHost: example.test\r\nUser-Agent: Kelvo Core\r\nConnection: "
            "keep-alive\r\n"
            "Content-Length: 3\r\nContent-Type: application/x-www-form-urlencoded\r\n\r\na b");
  kv::net::BuildRequest(request, kv::net::kGetOneShot, nullptr, nullptr, nullptr);
  EXPECT_EQ(std::string((const char*)request.data, request.Size()),
            "GET / HTTP/1.1\r\nHost: \r\nUser-Agent: Kelvo Core\r\nConnection: close\r\n\r\n");
}

}  // namespace
