// One download in a process of its own, for the first-download bench: the process starts, fetches
// one body and ends, as a program that downloads one file does, so that the memory the body lands
// in is the process's first of that size.
//   http_one_download keep-alive|one-shot|libcurl PORT SIZE BLOCK
// Prints the download's wall seconds, processor seconds and page faults on one line; exits with 0
// when the whole body came, else 1.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "bench/net/body_server.h"
#include "bench/net/download_peers.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s keep-alive|one-shot|libcurl PORT SIZE BLOCK\n", argv[0]);
    return 2;
  }
  const char* peer = argv[1];
  unsigned short port = (unsigned short)std::atoi(argv[2]);
  size_t size = std::strtoull(argv[3], nullptr, 10);
  unsigned int blockSize = (unsigned int)std::strtoul(argv[4], nullptr, 10);
  std::string path = BodyServer::Path(size);
  std::string url = "http://127.0.0.1:" + std::to_string(port) + "/" + path;
  // libcurl's global set-up is part of its program's start, not of its download.
  std::unique_ptr<LibcurlDownload> libcurl;
  if (std::strcmp(peer, "libcurl") == 0) libcurl = std::make_unique<LibcurlDownload>(false, false);
  DownloadCost cost = Measure([&] {
    if (libcurl != nullptr) return libcurl->Run(url, size);
    if (std::strcmp(peer, "keep-alive") == 0) return ClientKeepAlive(port, path, size, blockSize);
    return ClientOneShot(port, path, size, blockSize);
  });
  std::printf("%.9f %.9f %ld\n", cost.wall, cost.processor, cost.faults);
  return cost.whole ? 0 : 1;
}
