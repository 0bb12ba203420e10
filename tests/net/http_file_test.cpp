// Downloads a file from python3's http.server on 127.0.0.1, one-shot and keep-alive, and compares
// it byte for byte. The server runs in a child process that the fixture stops.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "foundation/buffer.h"
#include "net/socket.h"
#include "buffer_text.h"
#include "scripted_server.h"

namespace {

namespace fs = std::filesystem;

class HttpFile : public ::testing::Test {
 protected:
  void SetUp() override {
    if (access("/usr/bin/python3", X_OK) != 0) GTEST_SKIP() << "python3 is not installed";
    folder = fs::temp_directory_path() / ("kv_http_file_" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::mt19937 random(7);
    content.resize(3 * 1024 * 1024 + 17);
    for (char& c : content) c = (char)(random() & 0xFF);
    std::ofstream(folder / "data file.bin", std::ios::binary)
        .write(content.data(), (long)content.size());

    port = FreePort();
    // The child must not write out what the parent's streams still hold.
    fflush(nullptr);
    server = fork();
    if (server == 0) {
      // The child: silence the server's log and serve the folder on loopback only.
      if (!freopen("/dev/null", "w", stderr) || !freopen("/dev/null", "w", stdout)) _exit(126);
      std::string portText = std::to_string(port);
      execl("/usr/bin/python3", "python3", "-m", "http.server", "--bind", "127.0.0.1",
            "--directory", folder.c_str(), portText.c_str(), (char*)nullptr);
      _exit(127);
    }
    ASSERT_GT(server, 0);
    // Wait (bounded) until the server answers.
    bool up = false;
    for (int i = 0; i < 250 && !up; ++i) {
      KV_SOCKET probe;
      up = probe.Connect("127.0.0.1", port, 0);
      probe.Close();
      if (!up) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(up) << "http.server did not start";
  }
  void TearDown() override {
    if (server > 0) {
      kill(server, SIGTERM);
      waitpid(server, nullptr, 0);
    }
    if (!folder.empty()) fs::remove_all(folder);
  }

  fs::path folder;
  std::string content;
  unsigned short port = 0;
  pid_t server = -1;
};

TEST_F(HttpFile, OneShotGetDownloadsTheFileByteForByte) {
  KV_SOCKET socket;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpGet("127.0.0.1", "data file.bin", out, port, 8192));
  ASSERT_EQ(out.length, content.size());
  EXPECT_TRUE(Text(out) == content);
}

TEST_F(HttpFile, KeepAliveGetDownloadsTheFileByteForByte) {
  KV_SOCKET socket;
  KV_BUFFER out;
  KV_HTTP_PROGRESS progress;
  ASSERT_TRUE(socket.HttpGetKeepAlive(progress, "127.0.0.1", "data file.bin", port));
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (progress.state != 19 && progress.state != 0 &&
         std::chrono::steady_clock::now() < deadline) {
    if (!socket.HttpGetKeepAlivePoll(progress, out, 65536))
      std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ASSERT_EQ(progress.state, 19u);
  EXPECT_EQ(progress.length, content.size());
  ASSERT_EQ(out.length, content.size());
  EXPECT_TRUE(Text(out) == content);
}

TEST_F(HttpFile, MissingFileGivesTheErrorPageBody) {
  KV_SOCKET socket;
  KV_BUFFER out;
  ASSERT_TRUE(socket.HttpGet("127.0.0.1", "no such file", out, port, 0));
  EXPECT_NE(Text(out).find("404"), std::string::npos);
}

}  // namespace
