// A one-connection TCP server on 127.0.0.1 for the network tests: it accepts one client, reads
// its request (the head and an announced body), then sends a script of byte pieces, each as its
// own write with a pause between, so the client receives them as separate blocks, and closes.
// Every wait is bounded, so a test that goes wrong ends by itself.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

class ScriptedServer {
 public:
  // Listens on a free port of 127.0.0.1; the pieces are sent in order after the request.
  explicit ScriptedServer(std::vector<std::string> pieces, bool closeAtEnd = true);
  // Waits for the serving thread (bounded) and closes everything.
  ~ScriptedServer();

  unsigned short Port() const { return port_; }
  // The request as received (head and the body its Content-Length announced); valid after Join.
  std::string Request();
  // Waits until the exchange has ended.
  void Join();

 private:
  void Serve();

  std::vector<std::string> pieces_;
  bool closeAtEnd_;
  int listener_ = -1;
  unsigned short port_ = 0;
  std::string request_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A one-connection server on 127.0.0.1 that ends the connection abortively, as a server that
// crashes or refuses a request does: it reads the first take bytes of the request (0: up to the
// end of its head), sends reply, and resets the connection instead of closing it.
class ResettingServer {
 public:
  ResettingServer(size_t take, std::string reply);
  // Waits for the serving thread (bounded) and closes everything.
  ~ResettingServer();

  unsigned short Port() const { return port_; }

 private:
  void Serve();

  size_t take_;
  std::string reply_;
  int listener_ = -1;
  unsigned short port_ = 0;
  std::thread thread_;
};

// A keep-alive server on 127.0.0.1: it answers requests in turn with the replies, in order, on a
// connection for as long as the client keeps it open, and accepts the next connection when the
// client closes one before every reply was sent.
class KeepAliveServer {
 public:
  explicit KeepAliveServer(std::vector<std::string> replies);
  // Waits for the serving thread (bounded) and closes everything.
  ~KeepAliveServer();

  unsigned short Port() const { return port_; }
  // The requests as received, in order; valid after the client closed its last connection.
  std::vector<std::string> Requests();

 private:
  void Serve();
  // Answers the requests of one accepted connection until the client closes it.
  void ServeConnection(int client);

  std::vector<std::string> replies_;
  size_t next_ = 0;
  int listener_ = -1;
  unsigned short port_ = 0;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A free TCP port on 127.0.0.1 (bound and released again). Another program may take it before
// the caller does: ListenOnAFreePort tries again when that happens.
unsigned short FreePort();

// Calls listen(port), which is to listen on the port and say whether it could, with ports the
// system hands out until one succeeds; that port, or 0 when 20 ports in a row were taken.
template <typename Listen>
unsigned short ListenOnAFreePort(Listen listen) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    unsigned short port = FreePort();
    if (port != 0 && listen(port)) return port;
  }
  return 0;
}

// A port of 127.0.0.1 where every connection is refused: a socket of the test's own holds it bound
// without listening, so no other program (another copy of the test included) can listen there
// while the object lives.
class RefusingPort {
 public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;

  unsigned short Port() const { return port_; }

 private:
  int fd_ = -1;
  unsigned short port_ = 0;
};
