// KV_SOCKET: the framework's TCP endpoint over the engine's socket functions. It is a listening
// server that accepts clients into a list, a client connected to a server, or the connection of an
// HTTP request, and it owns the engine handles of its connections. It has no thread: the central
// object calls Update once per frame, which reports accepts, received blocks and lost connections
// through six plain callbacks. KV_HTTP_PROGRESS is the caller's record of one keep-alive request.
#pragma once

#include "engine/kv_engine.h"
#include "engine/kv_array.h"
#include "foundation/list.h"
#include "foundation/string.h"
#include "net/http_head_gatherer.h"

class KV_BUFFER;

// One accepted client of a server: its engine handle.
typedef KV_HANDLE KV_SOCKET_CLIENT;

// The progress of one keep-alive HTTP request (states shared with the socket's: 0, 17 to 20).
struct KV_HTTP_PROGRESS {
  unsigned int state = 0;     // 20 head sent, 17 waiting for the head, 18 body, 19 complete, 0 none
  unsigned int length = 0;    // body bytes to send (20), then the announced body length
  unsigned int received = 0;  // body bytes sent (20), then body bytes received
};

class KV_SOCKET {
 public:
  // The socket's roles.
  enum : unsigned int {
    STATE_CLOSED = 0,
    STATE_SERVER = 14,
    STATE_CLIENT = 15,
    STATE_HTTP = 16,
  };
  // The keep-alive progress states.
  enum : unsigned int {
    HTTP_WAIT_HEAD = 17,
    HTTP_BODY = 18,
    HTTP_COMPLETE = 19,
    HTTP_SENDING = 20,
  };

  unsigned int state = STATE_CLOSED;  // the role
  KV_HANDLE handle;                   // the listening socket, the client or the HTTP connection
  KV_LIST<KV_SOCKET_CLIENT> clients;  // a server's accepted clients, in the order accepted
  KV_HANDLE acceptHandle;             // the socket the next accepted connection is taken into

  // Server: after a client is accepted; false refuses (destroys) it.
  bool (*OnServerAccept)(KV_SOCKET* socket, KV_SOCKET_CLIENT* client) = nullptr;
  // Server: one non-empty block received from a client.
  void (*OnServerReceive)(KV_SOCKET* socket, KV_SOCKET_CLIENT* client,
                          KV_ARRAY<unsigned char>* data) = nullptr;
  // Server: a client has gone; called before its handle is destroyed.
  void (*OnServerDisconnect)(KV_SOCKET* socket, KV_SOCKET_CLIENT* client) = nullptr;
  // Client: the connection is made; false abandons it.
  bool (*OnClientConnect)(KV_SOCKET* socket) = nullptr;
  // Client: one non-empty block received from the server.
  void (*OnClientReceive)(KV_SOCKET* socket, KV_ARRAY<unsigned char>* data) = nullptr;
  // Client: the connection is lost; called before the socket is closed.
  void (*OnClientDisconnect)(KV_SOCKET* socket) = nullptr;

  // ---- the socket layer ----
  // Starts the engine's socket layer; its result.
  static bool Initiation();
  // Stops the engine's socket layer; its result.
  static bool Closure();

  // ---- roles ----
  // Closes what the socket held and listens on port; false (state 0) when the engine fails.
  bool Listen(unsigned short port, unsigned int backlog);
  // Closes what the socket held and connects to host:port with the engine's open mode; false
  // (state 0) when the engine fails or OnClientConnect refuses.
  bool Connect(const char* host, unsigned short port, unsigned char mode);
  // One per-frame step of a server or client; false in another state, on a missing handle and
  // on the frame a client's connection is lost.
  bool Update();
  // Ends every connection, without callbacks; state 0.
  void Close();

  // ---- data ----
  // Sends bytes offset .. offset + size (size 0: all) to target, to everyone (null target), or
  // to everyone but target (except); the largest count sent, 0 when nothing was sent.
  unsigned int Send(KV_ARRAY<unsigned char>& data, KV_HANDLE target, bool except,
                    unsigned int offset, unsigned int size);
  // Receives one block into data from from (null: the socket's own handle); its count, 0 in
  // state 0 or when nothing waits.
  unsigned int Receive(KV_ARRAY<unsigned char>& data, KV_HANDLE from);
  // Releases the bytes data holds; 0.
  unsigned int ResetBuffer(KV_ARRAY<unsigned char>& data);
  // Drops one accepted client without a callback; false when it is not in the list.
  bool Disconnect(KV_HANDLE client);

  // ---- queries ----
  unsigned int GetState() const { return state; }
  // Copies the handle into out and returns out.
  KV_HANDLE* GetHandle(KV_HANDLE* out) const;
  unsigned int GetClientCount() const { return clients.Count(); }

  // ---- HTTP/1.1 client (http_request.cpp, http_keep_alive.cpp) ----
  // One-shot GET of host/path: waits until the server closes; out holds the body. False when the
  // connection or the request fails, or the response did not come whole (see HttpRequest).
  bool HttpGet(const char* host, const char* path, KV_BUFFER& out, unsigned short port,
               unsigned int blockSize);
  // One-shot POST of the body text, announced with its length; as HttpGet.
  bool HttpPost(const char* host, const char* path, const char* body, KV_BUFFER& out,
                unsigned short port, unsigned int blockSize);
  // Starts a keep-alive GET; false when the connection or the head send fails.
  bool HttpGetKeepAlive(KV_HTTP_PROGRESS& progress, const char* host, const char* path,
                        unsigned short port);
  // Starts a keep-alive POST of the body text; as HttpGetKeepAlive.
  bool HttpPostKeepAlive(KV_HTTP_PROGRESS& progress, const char* host, const char* path,
                         const char* body, unsigned short port);
  // One step of a keep-alive GET or POST; true when a block of the response was handled.
  bool HttpGetKeepAlivePoll(KV_HTTP_PROGRESS& progress, KV_BUFFER& out, unsigned int blockSize);
  bool HttpPostKeepAlivePoll(KV_HTTP_PROGRESS& progress, KV_BUFFER& out, unsigned int blockSize);
  // Abandons a keep-alive request; false when no request is open.
  bool HttpGetKeepAliveEnd(KV_HTTP_PROGRESS& progress);
  bool HttpPostKeepAliveEnd(KV_HTTP_PROGRESS& progress);

  // The one-shot exchange: sends head (and body) whole, reads until the server closes; out holds
  // the body (stripHead) or the whole response, headOut the head text. False when the connection
  // or a send fails, the head passes 64 KiB, a chunked body is malformed, out would pass 4 GiB,
  // or the response ended early: without the end of its head, short of its announced length or
  // last chunk, or (a body without either) by a connection error rather than the server's close.
  // out then keeps what came. Interim answers (1xx) are passed over; a response without a body
  // (to HEAD, status 204 or 304) is whole at its head, without waiting for the server's close.
  bool HttpRequest(const char* host, KV_ARRAY<unsigned char>& head, KV_BUFFER& out,
                   KV_ARRAY<unsigned char>* body, unsigned short port, bool stripHead,
                   KV_STRING* headOut, unsigned int blockSize);
  // Opens a keep-alive request and sends its head whole; progress becomes (20, bodyLength, 0).
  bool HttpBegin(KV_HTTP_PROGRESS& progress, const char* host, KV_ARRAY<unsigned char>& head,
                 unsigned int bodyLength, unsigned short port);
  // One step of a keep-alive request: sends body pieces (20), reads the head (17) and the body
  // (18); a response without a body (to HEAD, status 1xx, 204 or 304) completes at its head, and
  // interim answers before the final response are passed over. True when a block of the response
  // was received and handled; false otherwise, and with the connection closed when a send fails,
  // the peer goes away or the head passes 64 KiB.
  bool HttpPoll(KV_HTTP_PROGRESS& progress, KV_BUFFER& out, KV_ARRAY<unsigned char>* body,
                unsigned int blockSize);
  // Closes an open keep-alive request; progress state 0. False when none is open.
  bool HttpEnd(KV_HTTP_PROGRESS& progress);

 private:
  // The keep-alive response's head, gathered across polls until its end has arrived.
  kv::net::HeadGatherer responseHead;
  // The keep-alive request asked with HEAD, so its response has no body.
  bool headRequest = false;

  // Creates, opens (mode 0) and connects the HTTP connection; state 16. False, closed, on failure.
  bool HttpConnect(const char* host, unsigned short port);
  // Sends every byte of data on the HTTP connection, in pieces of at most blockSize (0: as much
  // as each send takes); false when a send fails before the last byte went.
  bool SendWhole(KV_ARRAY<unsigned char>& data, unsigned int blockSize);
  // HttpPoll in state 17, once the response head has ended: completes a response without a body,
  // or moves on to its body (18) when the head names its length.
  bool TakeResponseHead(KV_HTTP_PROGRESS& progress, KV_BUFFER& out, unsigned int blockSize);
  // HttpPoll in state 18: receives one block of the body straight into out.
  bool PollBody(KV_HTTP_PROGRESS& progress, KV_BUFFER& out, unsigned int blockSize);
  // Receive pass of Update over one connection, calling the matching receive callback.
  void Drain(KV_HANDLE from, KV_SOCKET_CLIENT* client);
  bool UpdateServer();
  bool UpdateClient();
  // The largest count of sending to every client (but except, when given).
  unsigned int SendToClients(KV_ARRAY<unsigned char>& data, const KV_HANDLE* except,
                             unsigned int offset, unsigned int size);
};
