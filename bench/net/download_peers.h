// The downloads the HTTP benches compare, and how one is measured. Each download fetches one body
// of a known size from the body server and succeeds only when all of it came:
// - the client's keep-alive request, polled in a loop until complete, and its one-shot request;
// - a program using libcurl that keeps the body in memory, its connection kept between downloads
//   or made anew for each, the body in one vector it keeps or in a fresh vector each time;
// - the curl program, writing the body to /dev/null.
#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <string>
#include <vector>

// What one download cost: wall time, processor time of the whole downloading process (every
// thread; for the curl program, its own process) and page faults.
struct DownloadCost {
  double wall = 0;
  double processor = 0;
  long faults = 0;
  bool whole = false;
};

// The client's keep-alive GET of path from 127.0.0.1:port, polled until it completes. A poll that
// found nothing is followed by a wait until the connection has something to read, as libcurl's
// transfer loop waits in poll: the requests never wait themselves, and polled without a pause
// the client spent its whole wall time in processor time (95,000 to 120,000 polls that found
// nothing in a download of 100 MB), which measured the loop's spinning rather than the download.
bool ClientKeepAlive(unsigned short port, const std::string& path, size_t size,
                     unsigned int blockSize);
// The client's one-shot GET.
bool ClientOneShot(unsigned short port, const std::string& path, size_t size,
                   unsigned int blockSize);

// A program downloading into memory with libcurl: the write callback appends each piece to a
// vector, which reserves the announced length on the first piece (as a program that knows the
// size does), so the body is copied once from libcurl's receive buffer and never moved.
class LibcurlDownload {
 public:
  // keepConnection: one easy handle serves every download, so its connection is reused.
  // keepVector: one vector, emptied before each download, keeps its memory between downloads.
  LibcurlDownload(bool keepConnection, bool keepVector);
  ~LibcurlDownload();
  LibcurlDownload(const LibcurlDownload&) = delete;
  LibcurlDownload& operator=(const LibcurlDownload&) = delete;

  // One download of url; true when size bytes came.
  bool Run(const std::string& url, size_t size);

 private:
  static size_t Append(char* data, size_t size, size_t count, void* user);

  bool keepConnection_;
  bool keepVector_;
  CURL* handle_ = nullptr;
  CURL* current_ = nullptr;
  std::vector<unsigned char> kept_;
  std::vector<unsigned char>* body_ = nullptr;
};

// Runs download in this process and measures it.
template <typename Download>
DownloadCost Measure(Download download);
// One download of url by the curl program. wall is the transfer's time as the program measures
// it (from the start of its request, connecting included, to the end of the body), so that its
// process's start and end are not counted against it; processor and faults are its whole
// process's, as is *processWall, its wall time from its start to its end.
// A program run to its end with its standard output read: its wall time from start to end, the
// processor time and page faults of its whole process, its output (up to 127 bytes), and
// whether it exited with 0.
struct ProgramRun {
  double wall = 0, processor = 0;
  long faults = 0;
  std::string output;
  bool succeeded = false;
};
ProgramRun RunProgram(const char* path, const char* const* argv);

DownloadCost CurlProgram(const std::string& url, double* processWall);

// The processor time of this process and its page faults so far.
double ProcessSeconds();
long ProcessFaults();
double WallSeconds();

template <typename Download>
DownloadCost Measure(Download download) {
  DownloadCost cost;
  long faults = ProcessFaults();
  double processor = ProcessSeconds();
  double wall = WallSeconds();
  cost.whole = download();
  cost.wall = WallSeconds() - wall;
  cost.processor = ProcessSeconds() - processor;
  cost.faults = ProcessFaults() - faults;
  return cost;
}
