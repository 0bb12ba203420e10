// The keep-alive HTTP requests and their progress record, against a scripted server on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "foundation/buffer.h"
#include "net/socket.h"
#include "buffer_text.h"
#include "scripted_server.h"

namespace {

// Polls once per "frame" until the record reaches state, at most three seconds; the record's
// state at the end.
unsigned int PollUntil(KV_SOCKET& socket, KV_HTTP_PROGRESS& progress, KV_BUFFER& out,
                       unsigned int state, int* handled = nullptr) {
  for (int frame = 0; frame < 1500 && progress.state != state; ++frame) {
    if (socket.HttpGetKeepAlivePoll(progress, out, 0) && handled != nullptr) ++*handled;
    if (progress.state != state) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return progress.state;
}

// Opens a keep-alive request with a head text of the test's own.
bool Begin(KV_SOCKET& socket, KV_HTTP_PROGRESS& progress, const char* text, unsigned short port) {
  KV_ARRAY<unsigned char> head((unsigned int)strlen(text));
  memcpy(head.data, text, head.Size());
  return socket.HttpBegin(progress, "127.0.0.1", head, 0, port);
}

const char* const kHeadRequest =
    "HEAD /one.bin HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: keep-alive\r\n\r\n";

TEST(HttpKeepAlive, GetRunsThroughItsStatesToCompletion) {
  ScriptedServer server({"HTTP/1.1 200 OK\r\nServer: t\r\nContent-Length: 6\r\n\r\nab", "cd", "ef"},
                        false);
  KV_SOCKET socket;
  KV_HTTP_PROGRESS progress;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpGetKeepAlive(progress, "127.0.0.1", "dir/a file", server.Port()));
  EXPECT_EQ(progress.state, 20u);
  EXPECT_EQ(socket.GetState(), 16u);
  EXPECT_FALSE(socket.Update());  // an HTTP connection is not polled by Update

  // The first poll finds no body to send and moves on to waiting for the head.
  EXPECT_FALSE(socket.HttpGetKeepAlivePoll(progress, out, 0));
  EXPECT_EQ(progress.state, 17u);
  ASSERT_EQ(PollUntil(socket, progress, out, 18), 18u);
  EXPECT_EQ(progress.length, 6u);
  EXPECT_EQ(progress.received, 2u);
  ASSERT_EQ(PollUntil(socket, progress, out, 19), 19u);
  EXPECT_EQ(progress.received, 6u);
  EXPECT_EQ(Text(out), "abcdef");
  EXPECT_EQ(socket.GetState(), 0u);  // closed on completion

  // The next poll resets the record; ending a finished request fails.
  EXPECT_FALSE(socket.HttpGetKeepAlivePoll(progress, out, 0));
  EXPECT_EQ(progress.state, 0u);
  EXPECT_EQ(progress.length, 0u);
  EXPECT_FALSE(socket.HttpGetKeepAliveEnd(progress));
  EXPECT_EQ(server.Request(),
            "GET /dir/a%20file HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: Kelvo Core\r\n"
            "Connection: keep-alive\r\n\r\n");
}

TEST(HttpKeepAlive, PostCarriesItsBodyWithTheHead) {
  ScriptedServer server({"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"}, false);
  KV_SOCKET socket;
  KV_HTTP_PROGRESS progress;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpPostKeepAlive(progress, "127.0.0.1", "post", "k=v", server.Port()));
  EXPECT_EQ(progress.length, 0u);
  EXPECT_EQ(PollUntil(socket, progress, out, 19), 19u);
  EXPECT_EQ(Text(out), "ok");
  EXPECT_EQ(server.Request(),
            "POST /post HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: Kelvo Core\r\n"
            "Connection: keep-alive\r\nContent-Length: 3\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\n\r\nk=v");
}

TEST(HttpKeepAlive, BodySentFromTheRecordInPieces) {
  ScriptedServer server({"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"}, false);
  KV_SOCKET socket;
  KV_HTTP_PROGRESS progress;
  KV_BUFFER out;
  const char* headText = "PUT /x HTTP/1.1\r\nContent-Length: 7\r\n\r\n";
  KV_ARRAY<unsigned char> head((unsigned int)strlen(headText));
  memcpy(head.data, headText, head.Size());
  KV_ARRAY<unsigned char> body(7);
  memcpy(body.data, "payload", 7);
  ASSERT_TRUE(socket.HttpBegin(progress, "127.0.0.1", head, 7, server.Port()));
  EXPECT_FALSE(socket.HttpPoll(progress, out, &body, 3));
  EXPECT_EQ(progress.received, 3u);
  EXPECT_FALSE(socket.HttpPoll(progress, out, &body, 3));
  EXPECT_FALSE(socket.HttpPoll(progress, out, &body, 3));
  EXPECT_EQ(progress.received, 7u);
  EXPECT_FALSE(socket.HttpPoll(progress, out, &body, 3));
  EXPECT_EQ(progress.state, 17u);
  EXPECT_EQ(PollUntil(socket, progress, out, 19), 19u);
  EXPECT_EQ(server.Request(), std::string(headText) + "payload");
}

TEST(HttpKeepAlive, ZeroLengthCompletesInThePollThatReadsTheHead) {
  ScriptedServer server({"HTTP/1.1 204 No Content\r\nContent-Length: 0\r\n\r\n"}, false);
  KV_SOCKET socket;
  KV_HTTP_PROGRESS progress;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpGetKeepAlive(progress, "127.0.0.1", "", server.Port()));
  int handled = 0;
  EXPECT_EQ(PollUntil(socket, progress, out, 19, &handled), 19u);
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(progress.received, 0u);
  EXPECT_EQ(out.length, 0u);
}

TEST(HttpKeepAlive, ResponseWithoutABodyCompletesAtItsHead) {
  // Each head is followed by bytes that are not its body, and the server keeps the connection.
  struct Case {
    const char* request;
    const char* response;
  } cases[] = {
      {kHeadRequest, "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nstray"},
      {"GET / HTTP/1.1\r\n\r\n", "HTTP/1.1 204 No Content\r\n\r\nstray"},
      {"GET / HTTP/1.1\r\n\r\n", "HTTP/1.1 304 Not Modified\r\nContent-Length: 5\r\n\r\nstray"},
  };
  for (const Case& c : cases) {
    ScriptedServer server({c.response}, false);
    KV_SOCKET socket;
    KV_HTTP_PROGRESS progress;
    KV_BUFFER out;
    ASSERT_TRUE(Begin(socket, progress, c.request, server.Port()));
    int handled = 0;
    EXPECT_EQ(PollUntil(socket, progress, out, 19, &handled), 19u) << c.response;
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(progress.length, 0u);
    EXPECT_EQ(progress.received, 0u);
    EXPECT_EQ(out.length, 0u);
    EXPECT_EQ(socket.GetState(), 0u);
  }
}

TEST(HttpKeepAlive, InterimAnswersArePassedOver) {
  const std::string interim = "HTTP/1.1 100 Continue\r\n\r\n";
  const std::string final = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
  for (const std::vector<std::string>& pieces :
       {std::vector<std::string>{interim + final}, std::vector<std::string>{interim, final}}) {
    ScriptedServer server(pieces, false);
    KV_SOCKET socket;
    KV_HTTP_PROGRESS progress;
    KV_BUFFER out;
    ASSERT_TRUE(socket.HttpGetKeepAlive(progress, "127.0.0.1", "", server.Port()));
    EXPECT_EQ(PollUntil(socket, progress, out, 19), 19u);
    EXPECT_EQ(progress.length, 2u);
    EXPECT_EQ(Text(out), "ok");
  }
}

TEST(HttpKeepAlive, HeadThenGetOnTheSameSocketGetsTheBody) {
  KeepAliveServer server({"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n",
                          "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello"});
  KV_SOCKET socket;
  KV_HTTP_PROGRESS progress;
  KV_BUFFER head;
  ASSERT_TRUE(Begin(socket, progress, kHeadRequest, server.Port()));
  ASSERT_EQ(PollUntil(socket, progress, head, 19), 19u);
  EXPECT_EQ(head.length, 0u);

  KV_BUFFER body;
  ASSERT_TRUE(socket.HttpGetKeepAlive(progress, "127.0.0.1", "one.bin", server.Port()));
  ASSERT_EQ(PollUntil(socket, progress, body, 19), 19u);
  EXPECT_EQ(progress.length, 5u);
  EXPECT_EQ(Text(body), "hello");
  std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0], kHeadRequest);
  EXPECT_EQ(requests[1].substr(0, 17), "GET /one.bin HTTP");
}

TEST(HttpKeepAlive, BodyLongerThanAnnouncedCapsTheCountButKeepsTheBytes) {
  ScriptedServer server({"HTTP/1.1 200 OK\r\nContent-Length: 0x3\r\n\r\n", "abcdef"}, false);
  KV_SOCKET socket;
  KV_HTTP_PROGRESS progress;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpGetKeepAlive(progress, "127.0.0.1", "", server.Port()));
  EXPECT_EQ(PollUntil(socket, progress, out, 19), 19u);
  EXPECT_EQ(progress.length, 3u);  // the length is a typed literal: "0x3" is hexadecimal
  EXPECT_EQ(progress.received, 3u);
  EXPECT_EQ(Text(out), "abcdef");
}

TEST(HttpKeepAlive, HeadSplitAcrossPollsIsFound) {
  ScriptedServer server({"HTTP/1.1 200 OK\r\nContent-Length: 4\r", "\n\r", "\nbo", "dy"}, false);
  KV_SOCKET socket;
  KV_HTTP_PROGRESS progress;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpGetKeepAlive(progress, "127.0.0.1", "", server.Port()));
  EXPECT_EQ(PollUntil(socket, progress, out, 19), 19u);
  EXPECT_EQ(Text(out), "body");
}

TEST(HttpKeepAlive, LengthFieldMustBeWrittenExactly) {
  for (const char* field : {"content-length: 2", "Content-Length:2"}) {
    ScriptedServer server({std::string("HTTP/1.1 200 OK\r\n") + field + "\r\n\r\nxy"}, false);
    KV_SOCKET socket;
    KV_HTTP_PROGRESS progress;
    KV_BUFFER out;
    ASSERT_TRUE(socket.HttpGetKeepAlive(progress, "127.0.0.1", "", server.Port()));
    int handled = 0;
    for (int frame = 0; frame < 1500 && handled == 0; ++frame) {
      if (socket.HttpGetKeepAlivePoll(progress, out, 0))
        ++handled;
      else
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    for (int frame = 0; frame < 10; ++frame) socket.HttpGetKeepAlivePoll(progress, out, 0);
    // Without a recognised length the record stays waiting; the bytes after the head are kept.
    EXPECT_EQ(progress.state, 17u) << field;
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(Text(out), "xy");
    EXPECT_TRUE(socket.HttpGetKeepAliveEnd(progress));
    EXPECT_EQ(progress.state, 0u);
    EXPECT_EQ(socket.GetState(), 0u);
  }
}

TEST(HttpKeepAlive, ServerClosingEarlyFailsTheRequest) {
  ScriptedServer server({"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\nonly this"});
  KV_SOCKET socket;
  KV_HTTP_PROGRESS progress;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpGetKeepAlive(progress, "127.0.0.1", "", server.Port()));
  // The connection is closed by the poll that sees the server gone; the next one resets.
  EXPECT_EQ(PollUntil(socket, progress, out, 0), 0u);
  EXPECT_EQ(socket.GetState(), 0u);
  EXPECT_EQ(Text(out), "only this");
}

TEST(HttpKeepAlive, ResetWhileTheHeadIsSentFailsTheBegin) {
  // The head carries a body larger than every buffer between the two ends, so the reset meets it
  // while it is being sent.
  ResettingServer server(64 * 1024, "");
  std::string body(16u << 20, 'p');
  KV_SOCKET socket;
  KV_HTTP_PROGRESS progress;
  EXPECT_FALSE(
      socket.HttpPostKeepAlive(progress, "127.0.0.1", "upload", body.c_str(), server.Port()));
  EXPECT_EQ(progress.state, 0u);
  EXPECT_EQ(socket.GetState(), 0u);
}

TEST(HttpKeepAlive, EndlessHeadFailsAtItsCap) {
  std::string head = "HTTP/1.1 200 OK\r\n";
  while (head.size() < 70 * 1024) head += "X-Filler: " + std::string(1000, 'b') + "\r\n";
  ScriptedServer server({head}, false);
  KV_SOCKET socket;
  KV_HTTP_PROGRESS progress;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpGetKeepAlive(progress, "127.0.0.1", "", server.Port()));
  EXPECT_EQ(PollUntil(socket, progress, out, 0), 0u);
  EXPECT_EQ(socket.GetState(), 0u);
  EXPECT_EQ(out.length, 0u);
}

TEST(HttpKeepAlive, FailedBeginLeavesAZeroRecord) {
  KV_SOCKET socket;
  KV_HTTP_PROGRESS progress{19, 5, 5};
  RefusingPort refusing;
  EXPECT_FALSE(socket.HttpGetKeepAlive(progress, "127.0.0.1", "", refusing.Port()));
  EXPECT_EQ(progress.state, 0u);
  EXPECT_EQ(progress.length, 0u);
  EXPECT_EQ(progress.received, 0u);
  EXPECT_FALSE(socket.HttpGetKeepAliveEnd(progress));
}

}  // namespace
