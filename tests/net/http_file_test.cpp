// Downloads a file from python3's http.server on 127.0.0.1, one-shot and keep-alive, and compares
// it byte for byte. The server runs in a child process that the fixture stops; it listens on a
// port the system chooses and says which, so copies of the test running at once never meet.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "foundation/buffer.h"
#include "net/socket.h"
#include "buffer_text.h"
#include "scratch_folder.h"
#include "scripted_server.h"

namespace {

namespace fs = std::filesystem;

class HttpFile : public ::testing::Test {
 protected:
  void SetUp() override {
    if (access("/usr/bin/python3", X_OK) != 0) GTEST_SKIP() << "python3 is not installed";
    std::mt19937 random(7);
    content.resize(3 * 1024 * 1024 + 17);
    for (char& c : content) c = (char)(random() & 0xFF);
    std::ofstream(folder / "data file.bin", std::ios::binary)
        .write(content.data(), (long)content.size());

    int said[2];
    ASSERT_EQ(pipe2(said, O_CLOEXEC), 0);
    // The child must not write out what the parent's streams still hold.
    fflush(nullptr);
    server = fork();
    if (server == 0) {
      // The child: serve the folder on loopback only, on port 0, which makes the system choose
      // one; the server's first line says it ("Serving HTTP on 127.0.0.1 port N ...").
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (dup2(said[1], STDOUT_FILENO) < 0 || !freopen("/dev/null", "w", stderr)) _exit(126);
      execl("/usr/bin/python3", "python3", "-u", "-m", "http.server", "--bind", "127.0.0.1",
            "--directory", folder.c_str(), "0", (char*)nullptr);
      _exit(127);
    }
    close(said[1]);
    port = ReadPort(said[0]);
    close(said[0]);
    ASSERT_GT(server, 0);
    ASSERT_NE(port, 0) << "http.server did not say its port";
  }

  // The port in the server's first line, read within ten seconds; 0 when none came. The server
  // listens before it writes that line.
  static unsigned short ReadPort(int from) {
    std::string line;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (line.find('\n') == std::string::npos) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd waiting{from, POLLIN, 0};
      if (left.count() <= 0 || poll(&waiting, 1, (int)left.count()) <= 0) return 0;
      char block[256];
      ssize_t n = read(from, block, sizeof block);
      if (n <= 0) return 0;
      line.append(block, (size_t)n);
    }
    size_t at = line.find(" port ");
    return at == std::string::npos ? 0 : (unsigned short)std::atoi(line.c_str() + at + 6);
  }
  void TearDown() override {
    if (server > 0) {
      kill(server, SIGTERM);
      waitpid(server, nullptr, 0);
    }
  }

  ScratchFolder scratch{"kv_http_file"};
  fs::path folder = scratch.Path();
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
