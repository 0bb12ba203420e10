// A server of bodies for the download benches: it answers every GET of "/<n>" with n bytes, sent
// from memory, on 127.0.0.1. It runs in a process of its own, on processors apart from the
// downloading side's, so that the processor time of the bench's process is the downloading
// side's; each connection is served by a thread of its own there, for as many requests as the
// client sends on it.
#pragma once

#include <sys/types.h>
#include <time.h>

#include <cstddef>
#include <string>

class BodyServer {
 public:
  // The largest body served.
  static constexpr size_t kLargest = 100u * 1024 * 1024;

  // Starts the serving process, on half of the processors the calling process may use; the
  // calling process keeps the other half, for itself and the programs it starts. Call it before
  // the calling process starts any thread.
  BodyServer();
  // Stops the serving process.
  ~BodyServer();
  BodyServer(const BodyServer&) = delete;
  BodyServer& operator=(const BodyServer&) = delete;

  unsigned short Port() const { return port_; }
  // The processor time the serving process has taken so far, in seconds: what sending costs, and
  // the part of the connection's work the system does on the sending side.
  double ProcessorSeconds() const;
  // The path (without its leading slash) and the whole address of a body of n bytes.
  static std::string Path(size_t n) { return std::to_string(n); }
  std::string Url(size_t n) const;

 private:
  unsigned short port_ = 0;
  pid_t child_ = -1;
  clockid_t clock_ = CLOCK_PROCESS_CPUTIME_ID;
};
