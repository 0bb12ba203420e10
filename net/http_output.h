// Appending received bytes to the caller's output buffer and building request texts: the small
// pieces both HTTP request manners share.
#pragma once

#include <cstddef>

#include "engine/kv_array.h"
#include "foundation/buffer.h"
#include "foundation/string.h"

namespace kv::net {

// Appends n bytes at the end of out's stream (its length), leaving the position after them. The
// block grows by doubling, so a long download is not copied again with every block. False, with
// out unchanged, when out would pass 4 GiB or memory runs out.
bool AppendToBuffer(KV_BUFFER& out, const unsigned char* bytes, size_t n);

// Makes room in out's block for n more bytes after its length, at most 256 MiB ahead, so that a
// body of announced length arrives without the block being copied as it grows. A lying length
// costs address space and one stretch of pages only: the rest of the room is not touched until
// bytes arrive. False when out of memory.
bool ReserveInBuffer(KV_BUFFER& out, size_t n);

// The free room after out's length, grown (by doubling) to at least want bytes when smaller, for
// a receive straight into out; *room gets its size, fewer than want only where out would pass
// 4 GiB. Null when there is no room at all or memory runs out. CommitToBuffer takes the bytes.
unsigned char* RoomInBuffer(KV_BUFFER& out, size_t want, size_t* room);
// Counts n bytes written into the room as part of out: length and position move past them. The
// pages ahead of them are made ready for the next receives as they come.
void CommitToBuffer(KV_BUFFER& out, size_t n);
// Takes the last n bytes (at most its length) off out: length and position move back before them.
void DropFromBuffer(KV_BUFFER& out, size_t n);

// The most bytes one receive with blockSize takes: 64 KiB for 0, never more than 16 MiB, as the
// engine's receive calls do.
unsigned int ReceiveBlock(unsigned int blockSize);

// The request text from format with the path (each space as "%20"), the host and, for a POST,
// the body's length and the body, copied without a terminating zero into a byte array of exactly
// its length. A null path, host or body counts as empty.
void BuildRequest(KV_ARRAY<unsigned char>& out, const char* format, const char* host,
                  const char* path, const char* body);

// The request texts.
extern const char* const kGetOneShot;
extern const char* const kGetKeepAlive;
extern const char* const kPostOneShot;
extern const char* const kPostKeepAlive;

}  // namespace kv::net
