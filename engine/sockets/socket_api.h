// The engine's socket functions: TCP endpoints on POSIX sockets behind engine handles. The
// framework creates a socket object, opens it, then listens or connects; received blocks and sent
// bytes travel in the framework's byte arrays (KV_ARRAY, engine/kv_array.h), which the receive call
// resizes and fills. Receive and accept wait by default; after KvSocketAsync(h, 1) they return 0 at
// once when nothing waits. Sends always wait until at least part of the data is taken. Null and
// unknown handles are accepted everywhere and give the failure result (destroy does nothing).
// SIGPIPE is never raised.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "engine/kv_array.h"

extern "C" {

// Starts the socket layer (nothing to do on POSIX); 1.
uint8_t KvSocketInitiation(void);
// Destroys every socket still alive; 1.
uint8_t KvSocketClosure(void);
// Fills *out with a new socket object that has no connection yet; leaves it null and returns 0 on
// failure (a null out).
uint8_t KvSocketCreate(KV_HANDLE* out);
// Makes the object a stream endpoint: mode 0 TCP over IPv4, mode 1 TCP over IPv6. Any endpoint the
// object held is closed first. 0 for an unknown handle or mode, or when the system refuses.
uint8_t KvSocketOpen(KV_HANDLE socket, uint8_t mode);
// Binds the opened socket to port on every interface (address reuse on) and listens; 1 on success.
uint8_t KvSocketListen(KV_HANDLE socket, uint16_t port, uint32_t backlog);
// Connects the opened socket to host (a name or an address) at port, waiting until it is made;
// 1 when connected, 0 when refused, unreachable or the name is unknown.
uint8_t KvSocketConnect(KV_HANDLE socket, const char* host, uint16_t port);
// Takes one waiting connection of the listening socket into the object into (created in advance;
// whatever it held is closed). 1 when taken, 0 when none waits (in async mode) or on failure.
uint8_t KvSocketAccept(KV_HANDLE into, KV_HANDLE listening);
// Sends bytes offset .. offset + size of data (size 0: to the end). flag 1 sends them all, flag 0
// makes one send of as much as the system takes. Returns the count sent, 0 on failure.
uint32_t KvSocketSend(KV_HANDLE socket, KV_ARRAY<unsigned char>* data, uint8_t flag,
                      uint32_t offset, uint32_t size);
// Receives one block of up to blockSize bytes (0: 64 KiB) and makes it the array's whole content;
// returns its count. 0 when nothing waits (async), when the peer has closed, or on failure, the
// array then left alone. With a null handle it frees the array's bytes and returns 0. reserved is
// 0.
uint32_t KvSocketReceive(KV_HANDLE socket, KV_ARRAY<unsigned char>* data, uint32_t blockSize,
                         uint32_t reserved);
// Receives up to size bytes straight into memory the caller owns, waiting as KvSocketReceive does
// but allocating nothing; returns the count. 0 as KvSocketReceive, and for null bytes or size 0.
uint32_t KvSocketReceiveInto(KV_HANDLE socket, unsigned char* bytes, uint32_t size);
// 1 when the connection ended in an error (reset by the peer, a send or receive that failed)
// rather than by the peer's orderly close; 0 while it is open, after an orderly close, and for
// unknown handles.
uint8_t KvSocketFailed(KV_HANDLE socket);
// mode 1: receive and accept no longer wait; mode 0: they wait again. 0 for an unknown handle.
uint8_t KvSocketAsync(KV_HANDLE socket, uint8_t mode);
// Sets the Nagle setting of a connection: 1 sends every piece at once (no gathering of small
// sends, as interactive programs want), 0 lets the system gather them. 0 for an unknown handle.
uint8_t KvSocketNagle(KV_HANDLE socket, uint8_t mode);
// 1 while the connection is open; 0 once the peer has gone (end of stream or an error seen by a
// receive, or found now without waiting), and for unknown or unconnected sockets. After a receive
// that found the connection open with nothing waiting, the next call takes that finding and asks
// the system nothing; the call after it asks again.
uint8_t KvSocketIsConnected(KV_HANDLE socket);
// Closes the endpoint and destroys the object; null and unknown handles do nothing.
void KvSocketDestroy(KV_HANDLE socket);

}  // extern "C"
