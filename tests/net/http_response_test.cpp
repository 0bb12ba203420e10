// The response-reading pieces on their own: the head's end, the length field and de-chunking.
#include "net/http_response.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using kv::net::ChunkDecoder;

size_t HeadEnd(const std::string& text, size_t limit = kv::net::kMaxHeadSize) {
  return kv::net::FindHeadEnd((const unsigned char*)text.data(), text.size(), limit);
}

// Decodes text fed in pieces of the given size; the status and the bytes.
std::pair<ChunkDecoder::Status, std::string> Dechunk(const std::string& text, size_t piece) {
  ChunkDecoder decoder;
  std::string out;
  auto sink = [&](const unsigned char* p, size_t n) {
    out.append((const char*)p, n);
    return true;
  };
  ChunkDecoder::Status status = ChunkDecoder::Status::More;
  for (size_t i = 0; i < text.size(); i += piece)
    status =
        decoder.Feed((const unsigned char*)text.data() + i, std::min(piece, text.size() - i), sink);
  return {status, out};
}

TEST(HttpResponse, FindsTheFirstWholeEndMarkWithinTheLimit) {
  EXPECT_EQ(HeadEnd("A\r\n\r\nB\r\n\r\n"), 1u);
  EXPECT_EQ(HeadEnd("\r\n\r\n"), 0u);
  EXPECT_EQ(HeadEnd("\r\n\r"), kv::net::kNoHeadEnd);
  EXPECT_EQ(HeadEnd("\r\r\n\r\r\n\r\n"), 4u);
  // The mark must begin within the first limit bytes.
  EXPECT_EQ(HeadEnd("abc\r\n\r\n", 4), 3u);
  EXPECT_EQ(HeadEnd("abcd\r\n\r\n", 4), kv::net::kNoHeadEnd);
  EXPECT_EQ(kv::net::FindHeadEnd(nullptr, 10), kv::net::kNoHeadEnd);
}

TEST(HttpResponse, ReadsTheStatusCodeOnlyFromAWellFormedStatusLine) {
  EXPECT_EQ(kv::net::ReadStatusCode("HTTP/1.1 204 No Content\r\nA: b"), 204);
  EXPECT_EQ(kv::net::ReadStatusCode("HTTP/1.0 304"), 304);
  EXPECT_EQ(kv::net::ReadStatusCode("HTTP/1.1 100\r\nA: b"), 100);
  // Anything else gives no status, so the response is read as one with a body.
  EXPECT_EQ(kv::net::ReadStatusCode("HTTP/1.1 1000 Long"), 0);
  EXPECT_EQ(kv::net::ReadStatusCode("HTTP/1.1 10"), 0);
  EXPECT_EQ(kv::net::ReadStatusCode("HTTP/1.1\r\n100 Continue"), 0);
  EXPECT_EQ(kv::net::ReadStatusCode("ICY 204 OK"), 0);
  EXPECT_EQ(kv::net::ReadStatusCode(""), 0);
}

TEST(HttpResponse, ReadsTheLengthFieldOnlyWhenWrittenExactly) {
  unsigned int length = 99;
  EXPECT_TRUE(kv::net::ReadContentLength("HTTP/1.1 200 OK\r\nContent-Length: 42", &length));
  EXPECT_EQ(length, 42u);
  EXPECT_TRUE(
      kv::net::ReadContentLength("HTTP/1.1 200 OK\r\nContent-Length: 010\r\nA: b", &length));
  EXPECT_EQ(length, 8u);  // a leading 0 reads as octal
  EXPECT_FALSE(kv::net::ReadContentLength("HTTP/1.1 200 OK\r\ncontent-length: 4", &length));
  EXPECT_FALSE(kv::net::ReadContentLength("HTTP/1.1 200 OK\r\nContent-Length:4", &length));
  EXPECT_FALSE(kv::net::ReadContentLength("HTTP/1.1 200 OK\r\nX-Content-Length: 4", &length));
  EXPECT_FALSE(kv::net::ReadContentLength("", &length));
  EXPECT_TRUE(kv::net::IsChunked("A: b\r\nTransfer-Encoding: chunked"));
  EXPECT_FALSE(kv::net::IsChunked("transfer-encoding: chunked"));
}

TEST(HttpResponse, DechunksTheSameWayWhateverTheBlockSplit) {
  const std::string body =
      "4\r\nWiki\r\n0005 ; name=value\r\npedia\r\nE\r\n in\r\n\r\nchunks.\r\n0\r\nT: "
      "1\r\n\r\nafter";
  for (size_t piece : {1u, 2u, 3u, 7u, 1000u}) {
    auto [status, out] = Dechunk(body, piece);
    EXPECT_EQ(status, ChunkDecoder::Status::Done) << piece;
    EXPECT_EQ(out, "Wikipedia in\r\n\r\nchunks.") << piece;
  }
  auto [status, out] = Dechunk("3\r\nabc\r\n", 100);
  EXPECT_EQ(status, ChunkDecoder::Status::More);
  EXPECT_EQ(out, "abc");
}

TEST(HttpResponse, MalformedChunksAreRejected) {
  EXPECT_EQ(Dechunk("g\r\n", 100).first, ChunkDecoder::Status::Malformed);
  EXPECT_EQ(Dechunk("\r\n", 100).first, ChunkDecoder::Status::Malformed);
  EXPECT_EQ(Dechunk("100000000\r\n", 100).first,
            ChunkDecoder::Status::Malformed);  // passes 32 bits
  EXPECT_EQ(Dechunk("3\r\nabcX\r\n", 100).first, ChunkDecoder::Status::Malformed);
  EXPECT_EQ(Dechunk("3x\r\nabc\r\n", 100).first, ChunkDecoder::Status::Malformed);
  EXPECT_EQ(Dechunk(std::string(5000, '1'), 100).first, ChunkDecoder::Status::Malformed);
  // A sink that refuses stops the decoder.
  ChunkDecoder decoder;
  auto refuse = [](const unsigned char*, size_t) { return false; };
  EXPECT_EQ(decoder.Feed((const unsigned char*)"1\r\na", 4, refuse),
            ChunkDecoder::Status::Malformed);
}

}  // namespace
