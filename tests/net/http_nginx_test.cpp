// HEAD and conditional requests against a real nginx on 127.0.0.1, serving a file from a temporary
// folder: the answers without a body end at their head, one-shot and keep-alive, and a GET on the
// same socket afterwards still gets the whole file. The server is a child process that every test
// stops, and that dies with the test process if it is killed.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "foundation/buffer.h"
#include "net/socket.h"
#include "buffer_text.h"
#include "scratch_folder.h"
#include "scripted_server.h"

namespace {

namespace fs = std::filesystem;

const char* const kNginx = "/usr/sbin/nginx";

class HttpNginx : public ::testing::Test {
 protected:
  void SetUp() override {
    if (access(kNginx, X_OK) != 0) GTEST_SKIP() << "nginx is not installed";
    fs::create_directories(folder / "www");
    std::mt19937 random(11);
    content.resize(300 * 1024 + 5);
    for (char& c : content) c = (char)(random() & 0xFF);
    std::ofstream(folder / "www" / "one.bin", std::ios::binary)
        .write(content.data(), (long)content.size());
    // A port the system hands out may be taken by another program before nginx binds it; nginx
    // then ends, and the next one is tried.
    for (int attempt = 0; attempt < 5 && server <= 0; ++attempt) {
      port = FreePort();
      WriteConfig();
      StartServer();
    }
    if (server <= 0) {
      std::stringstream errors;
      errors << std::ifstream(folder / "error.log").rdbuf();
      FAIL() << "nginx did not start: " << errors.str();
    }
  }
  void TearDown() override {
    if (server > 0) {
      kill(server, SIGKILL);
      waitpid(server, nullptr, 0);
    }
  }

  // One process, in the foreground, with every path it writes inside the folder; an idle
  // connection is dropped after 5 seconds, so a client that waits for the close ends by itself.
  void WriteConfig() {
    std::string f = folder.string();
    std::ofstream conf(folder / "nginx.conf");
    conf << "master_process off;\npid " << f << "/nginx.pid;\nlock_file " << f
         << "/nginx.lock;\nerror_log " << f << "/error.log;\nevents { worker_connections 64; }\n"
         << "http {\n  access_log " << f << "/access.log;\n";
    for (const char* kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
      conf << "  " << kind << "_temp_path " << f << "/" << kind << ";\n";
    conf << "  keepalive_timeout 5s;\n  server {\n    listen 127.0.0.1:" << port << ";\n    root "
         << f << "/www;\n  }\n}\n";
  }

  void StartServer() {
    std::string prefix = folder.string() + "/";
    std::string conf = prefix + "nginx.conf";
    std::string log = prefix + "error.log";
    // The child must not write out what the parent's streams still hold.
    fflush(nullptr);
    server = fork();
    if (server == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (!freopen("/dev/null", "w", stderr) || !freopen("/dev/null", "w", stdout)) _exit(126);
      execl(kNginx, "nginx", "-p", prefix.c_str(), "-c", conf.c_str(), "-e", log.c_str(), "-g",
            "daemon off;", (char*)nullptr);
      _exit(127);
    }
    if (server < 0) return;
    // nginx writes its pid file once its socket listens, or ends when it cannot listen: wait
    // (bounded) for either. A server that answers on the port could be another program's.
    std::string pid = std::to_string(server) + "\n";
    for (int i = 0; i < 500; ++i) {
      std::stringstream written;
      written << std::ifstream(prefix + "nginx.pid").rdbuf();
      if (written.str() == pid) return;
      if (waitpid(server, nullptr, WNOHANG) == server) {
        server = -1;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(server, SIGKILL);
    waitpid(server, nullptr, 0);
    server = -1;
  }

  // A request head of the test's own, without a body.
  static KV_ARRAY<unsigned char> Request(const std::string& text) {
    KV_ARRAY<unsigned char> request((unsigned int)text.size());
    memcpy(request.data, text.data(), text.size());
    return request;
  }

  // Polls a keep-alive request once per "frame" until it completes or fails (at most 10 s).
  static unsigned int Finish(KV_SOCKET& socket, KV_HTTP_PROGRESS& progress, KV_BUFFER& out) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (progress.state != 19 && progress.state != 0 &&
           std::chrono::steady_clock::now() < deadline) {
      if (!socket.HttpPoll(progress, out, nullptr, 65536))
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return progress.state;
  }

  ScratchFolder scratch{"kv_http_nginx"};
  fs::path folder = scratch.Path();
  std::string content;
  unsigned short port = 0;
  pid_t server = -1;
};

// The value of a field of a head, empty when it has none.
std::string Field(const std::string& head, const std::string& name) {
  size_t at = head.find("\r\n" + name + ": ");
  if (at == std::string::npos) return "";
  at += name.size() + 4;
  return head.substr(at, head.find("\r\n", at) - at);
}

TEST_F(HttpNginx, OneShotHeadEndsAtTheHeadThatNamesTheLength) {
  // With the connection closed by the server, and kept open as a keep-alive server does.
  for (const char* connection : {"close", "keep-alive"}) {
    KV_SOCKET socket;
    KV_BUFFER out;
    KV_STRING head;
    KV_ARRAY<unsigned char> request =
        Request(std::string("HEAD /one.bin HTTP/1.1\r\nHost: ") +
                "127.0.0.1\r\nConnection: " + connection + "\r\n\r\n");
    EXPECT_TRUE(socket.HttpRequest("127.0.0.1", request, out, nullptr, port, true, &head, 0))
        << connection;
    EXPECT_EQ(out.length, 0u);
    EXPECT_EQ(std::string(head.c_str()).substr(0, 15), "HTTP/1.1 200 OK");
    EXPECT_EQ(Field(head.c_str(), "Content-Length"), std::to_string(content.size()));
  }
  KV_SOCKET socket;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpGet("127.0.0.1", "one.bin", out, port, 0));
  EXPECT_TRUE(Text(out) == content);
}

TEST_F(HttpNginx, KeepAliveHeadThenGetOnTheSameSocket) {
  KV_SOCKET socket;
  KV_HTTP_PROGRESS progress;
  KV_BUFFER out;
  KV_ARRAY<unsigned char> head =
      Request("HEAD /one.bin HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: keep-alive\r\n\r\n");
  ASSERT_TRUE(socket.HttpBegin(progress, "127.0.0.1", head, 0, port));
  ASSERT_EQ(Finish(socket, progress, out), 19u);
  EXPECT_EQ(out.length, 0u);

  ASSERT_TRUE(socket.HttpGetKeepAlive(progress, "127.0.0.1", "one.bin", port));
  ASSERT_EQ(Finish(socket, progress, out), 19u);
  EXPECT_EQ(progress.length, content.size());
  EXPECT_TRUE(Text(out) == content);
}

TEST_F(HttpNginx, NotModifiedEndsAtItsHead) {
  KV_SOCKET socket;
  KV_BUFFER out;
  KV_STRING head;
  KV_ARRAY<unsigned char> probe =
      Request("HEAD /one.bin HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
  ASSERT_TRUE(socket.HttpRequest("127.0.0.1", probe, out, nullptr, port, true, &head, 0));
  std::string tag = Field(head.c_str(), "ETag");
  ASSERT_FALSE(tag.empty());

  // A conditional GET on a connection the server keeps: answered 304 without a body.
  std::string conditional =
      "GET /one.bin HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: keep-alive\r\n"
      "If-None-Match: " +
      tag + "\r\n\r\n";
  KV_ARRAY<unsigned char> request = Request(conditional);
  EXPECT_TRUE(socket.HttpRequest("127.0.0.1", request, out, nullptr, port, true, &head, 0));
  EXPECT_EQ(std::string(head.c_str()).substr(0, 12), "HTTP/1.1 304");
  EXPECT_EQ(out.length, 0u);
  KV_HTTP_PROGRESS progress;
  ASSERT_TRUE(socket.HttpBegin(progress, "127.0.0.1", request, 0, port));
  EXPECT_EQ(Finish(socket, progress, out), 19u);
  EXPECT_EQ(out.length, 0u);
}

}  // namespace
