// The one-shot HTTP requests against a scripted server on 127.0.0.1 that sends exact bytes.
#include <gtest/gtest.h>

#include <string>

#include "foundation/buffer.h"
#include "net/socket.h"
#include "buffer_text.h"
#include "scripted_server.h"

namespace {

const char* const kHead = "HTTP/1.1 200 OK\r\nServer: test";

KV_ARRAY<unsigned char> Request(const char* text) {
  KV_ARRAY<unsigned char> request((unsigned int)strlen(text));
  memcpy(request.data, text, request.Size());
  return request;
}

KV_ARRAY<unsigned char> MinimalRequest() { return Request("GET / HTTP/1.1\r\n\r\n"); }

TEST(HttpRequest, GetSendsThePathWithEncodedSpacesAndStripsTheHead) {
  ScriptedServer server({std::string(kHead) + "\r\n\r\nok"});
  KV_SOCKET socket;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpGet("127.0.0.1", "a b c.txt?x=1", out, server.Port(), 0));
  EXPECT_EQ(Text(out), "ok");
  EXPECT_EQ(out.Tell(), 2u);
  EXPECT_EQ(socket.GetState(), 0u);
  EXPECT_EQ(server.Request(),
            "GET /a%20b%20c.txt?x=1 HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: Kelvo Core\r\n"
            "Connection: close\r\n\r\n");
}

TEST(HttpRequest, PostAnnouncesItsBodyAndSendsItUnchanged) {
  ScriptedServer server({std::string(kHead) + "\r\n\r\n", "done"});
  KV_SOCKET socket;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpPost("127.0.0.1", "form", "a=1&b=2 3", out, server.Port(), 4));
  EXPECT_EQ(Text(out), "done");
  EXPECT_EQ(server.Request(),
            "POST /form HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: Kelvo Core\r\n"
            "Connection: close\r\nContent-Length: 9\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\n\r\na=1&b=2 3");
}

TEST(HttpRequest, SeparateBodyIsSentInPiecesOfTheBlockSize) {
  ScriptedServer server({std::string(kHead) + "\r\n\r\n"});
  KV_SOCKET socket;
  KV_BUFFER out;
  const char* headText = "POST /p HTTP/1.1\r\nHost: h\r\nContent-Length: 10\r\n\r\n";
  KV_ARRAY<unsigned char> head((unsigned int)strlen(headText));
  memcpy(head.data, headText, head.Size());
  KV_ARRAY<unsigned char> body(10);
  memcpy(body.data, "0123456789", 10);
  ASSERT_TRUE(socket.HttpRequest("127.0.0.1", head, out, &body, server.Port(), true, nullptr, 3));
  EXPECT_EQ(server.Request(), std::string(headText) + "0123456789");
  EXPECT_EQ(out.length, 0u);
}

TEST(HttpRequest, HeadTextAndTwoByteBody) {
  ScriptedServer server({std::string(kHead) + "\r\n\r\nhi"});
  KV_SOCKET socket;
  KV_BUFFER out;
  KV_STRING head;
  KV_ARRAY<unsigned char> request = MinimalRequest();
  ASSERT_TRUE(
      socket.HttpRequest("127.0.0.1", request, out, nullptr, server.Port(), true, &head, 0));
  EXPECT_EQ(Text(out), "hi");
  EXPECT_STREQ(head.c_str(), kHead);
}

TEST(HttpRequest, WithoutStrippingOutHoldsTheWholeResponse) {
  std::string response = std::string(kHead) + "\r\nContent-Length: 3\r\n\r\nabc";
  ScriptedServer server({response.substr(0, 10), response.substr(10)});
  KV_SOCKET socket;
  KV_BUFFER out;
  KV_ARRAY<unsigned char> request = MinimalRequest();
  ASSERT_TRUE(
      socket.HttpRequest("127.0.0.1", request, out, nullptr, server.Port(), false, nullptr, 0));
  EXPECT_EQ(Text(out), response);
}

TEST(HttpRequest, HeadSplitAcrossBlocksIsFoundAndNoBodyByteIsLost) {
  // The end mark straddles the blocks, and the first block is shorter than the mark.
  ScriptedServer server({"HT", "TP/1.1 200 OK\r\n\r", "\nbody", " continues"});
  KV_SOCKET socket;
  KV_BUFFER out;
  KV_STRING head;
  KV_ARRAY<unsigned char> request = MinimalRequest();
  ASSERT_TRUE(
      socket.HttpRequest("127.0.0.1", request, out, nullptr, server.Port(), true, &head, 0));
  EXPECT_EQ(Text(out), "body continues");
  EXPECT_STREQ(head.c_str(), "HTTP/1.1 200 OK");
}

TEST(HttpRequest, ResponseWithoutABodyEndsAtItsHead) {
  // Each head is followed by bytes that are not its body, and the server keeps the connection
  // open: only the head can end these responses.
  struct Case {
    const char* request;
    std::string head;
  } cases[] = {
      {"HEAD /one.bin HTTP/1.1\r\nHost: h\r\n\r\n", "HTTP/1.1 200 OK\r\nContent-Length: 5"},
      {"GET / HTTP/1.1\r\n\r\n", "HTTP/1.1 204 No Content"},
      {"GET / HTTP/1.1\r\n\r\n", "HTTP/1.1 304 Not Modified\r\nContent-Length: 5"},
  };
  for (const Case& c : cases) {
    for (bool stripHead : {true, false}) {
      ScriptedServer server({c.head + "\r\n\r\nstray"}, false);
      KV_SOCKET socket;
      KV_BUFFER out;
      KV_STRING head;
      KV_ARRAY<unsigned char> request = Request(c.request);
      EXPECT_TRUE(socket.HttpRequest("127.0.0.1", request, out, nullptr, server.Port(), stripHead,
                                     &head, 0))
          << c.head;
      EXPECT_EQ(Text(out), stripHead ? "" : c.head + "\r\n\r\n");
      EXPECT_EQ(head.c_str(), c.head);
      EXPECT_EQ(socket.GetState(), 0u);
    }
  }
}

TEST(HttpRequest, InterimAnswersArePassedOver) {
  // Two interim answers, the second split between blocks, then the real answer.
  const std::string interim = "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 102 Processing\r\n";
  const std::string final = "HTTP/1.1 200 OK\r\nContent-Length: 2";
  for (bool stripHead : {true, false}) {
    ScriptedServer server({interim, "\r\n" + final + "\r\n\r\no", "k"});
    KV_SOCKET socket;
    KV_BUFFER out;
    KV_STRING head;
    KV_ARRAY<unsigned char> request = MinimalRequest();
    ASSERT_TRUE(
        socket.HttpRequest("127.0.0.1", request, out, nullptr, server.Port(), stripHead, &head, 0));
    EXPECT_EQ(Text(out), stripHead ? "ok" : interim + "\r\n" + final + "\r\n\r\nok");
    EXPECT_EQ(head.c_str(), final);
  }
  // An interim answer before a final one without a body.
  ScriptedServer server({"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 204 No Content\r\n\r\n"}, false);
  KV_SOCKET socket;
  KV_BUFFER out;
  EXPECT_TRUE(socket.HttpGet("127.0.0.1", "", out, server.Port(), 0));
  EXPECT_EQ(out.length, 0u);
}

TEST(HttpRequest, ChunkedBodyIsTakenApartAcrossBlocks) {
  ScriptedServer server({std::string(kHead) + "\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhel",
                         "lo\r\n6;ext=1\r\n world\r", "\n0\r\nTrailer: x\r\n\r\n"});
  KV_SOCKET socket;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpGet("127.0.0.1", "", out, server.Port(), 0));
  EXPECT_EQ(Text(out), "hello world");
}

TEST(HttpRequest, MalformedChunkedBodyFails) {
  ScriptedServer server(
      {std::string(kHead) + "\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nhello\r\n0\r\n\r\n"});
  KV_SOCKET socket;
  KV_BUFFER out;
  EXPECT_FALSE(socket.HttpGet("127.0.0.1", "", out, server.Port(), 0));
  EXPECT_EQ(socket.GetState(), 0u);
}

TEST(HttpRequest, ResponseEndingEarlyFailsAndKeepsWhatCame) {
  const std::string shortBody = std::string(kHead) + "\r\nContent-Length: 100\r\n\r\nshort";
  const std::string shortChunks =
      std::string(kHead) + "\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n";
  struct Case {
    std::string response;
    bool stripHead;
    std::string kept;
  } cases[] = {
      {shortBody, true, "short"},     // closed short of the announced length
      {shortBody, false, shortBody},  // the same, the whole response wanted
      {shortChunks, true, "hello"},   // closed before the last chunk
      {shortChunks, false, shortChunks},
      {"no head at all", true, ""},  // closed before the head ended
  };
  for (const Case& c : cases) {
    ScriptedServer server({c.response});
    KV_SOCKET socket;
    KV_BUFFER out;
    KV_ARRAY<unsigned char> request = MinimalRequest();
    EXPECT_FALSE(socket.HttpRequest("127.0.0.1", request, out, nullptr, server.Port(), c.stripHead,
                                    nullptr, 0))
        << c.response;
    EXPECT_EQ(Text(out), c.kept);
    EXPECT_EQ(socket.GetState(), 0u);
  }
}

TEST(HttpRequest, BodyWithoutLengthEndsOnlyWithAnOrderlyClose) {
  std::string response = std::string(kHead) + "\r\n\r\nall of it";
  {
    ScriptedServer server({response});
    KV_SOCKET socket;
    KV_BUFFER out;
    EXPECT_TRUE(socket.HttpGet("127.0.0.1", "", out, server.Port(), 0));
    EXPECT_EQ(Text(out), "all of it");
  }
  {
    ResettingServer server(0, response);
    KV_SOCKET socket;
    KV_BUFFER out;
    EXPECT_FALSE(socket.HttpGet("127.0.0.1", "", out, server.Port(), 0));
    EXPECT_EQ(socket.GetState(), 0u);
  }
}

TEST(HttpRequest, ConnectionResetInTheMiddleOfAPostFails) {
  // The body is larger than every buffer between the two ends can hold, so the reset meets the
  // request while it is being sent: in the head that carries the body, and in a separate body
  // sent in pieces.
  std::string body(16u << 20, 'p');
  {
    ResettingServer server(64 * 1024, "");
    KV_SOCKET socket;
    KV_BUFFER out;
    EXPECT_FALSE(socket.HttpPost("127.0.0.1", "upload", body.c_str(), out, server.Port(), 0));
    EXPECT_EQ(out.length, 0u);
    EXPECT_EQ(socket.GetState(), 0u);
  }
  {
    ResettingServer server(64 * 1024, "");
    KV_SOCKET socket;
    KV_BUFFER out;
    KV_ARRAY<unsigned char> request = MinimalRequest();
    KV_ARRAY<unsigned char> separate((unsigned int)body.size());
    EXPECT_FALSE(socket.HttpRequest("127.0.0.1", request, out, &separate, server.Port(), true,
                                    nullptr, 256 * 1024));
    EXPECT_EQ(socket.GetState(), 0u);
  }
}

TEST(HttpRequest, EndlessHeadFailsAtItsCap) {
  std::string field = "X-Filler: " + std::string(1000, 'a') + "\r\n";
  std::string head = "HTTP/1.1 200 OK\r\n";
  while (head.size() < 70 * 1024) head += field;
  ScriptedServer server({head + "\r\nbody"});
  KV_SOCKET socket;
  KV_BUFFER out;
  EXPECT_FALSE(socket.HttpGet("127.0.0.1", "", out, server.Port(), 1024));
  EXPECT_EQ(out.length, 0u);
  EXPECT_EQ(socket.GetState(), 0u);
}

TEST(HttpRequest, RefusedConnectionFails) {
  KV_SOCKET socket;
  KV_BUFFER out;
  RefusingPort refusing;
  EXPECT_FALSE(socket.HttpGet("127.0.0.1", "", out, refusing.Port(), 0));
  EXPECT_EQ(socket.GetState(), 0u);
}

}  // namespace
