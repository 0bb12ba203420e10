// KV_BUFFER: the framework's memory stream, a growable block of bytes with a read and write
// position and a used length, loaded from and saved to files. The block (a KV_ARRAY of bytes,
// whose count is the capacity and whose cursor is the position) is owned by the buffer.
// Positions and sizes count bytes.
#pragma once

#include "engine/kv_array.h"
#include "foundation/string.h"

class KV_BUFFER {
 public:
  KV_ARRAY<unsigned char> bytes;  // the block and the stream position
  unsigned int length;            // used length of the stream; reads stop there
  unsigned int growStep;  // capacity step of writes; 0: exactly as large as each write needs

  // Empty: no block, length 0, step 0.
  KV_BUFFER() : length(0), growStep(0) {}

  // ---- files ----
  // Reads size bytes (0: the whole file) from offset into a new block; length := bytes read.
  // False, leaving the buffer unchanged, when the file cannot be opened or the block not allocated.
  bool LoadFromFile(const char* path, unsigned int offset, unsigned int size);
  // Writes min(size, length) bytes (size 0: length) from the start of the block at offset of a new
  // file; false when the file cannot be created or nothing was written.
  bool SaveToFile(const char* path, unsigned int offset, unsigned int size);
  // Appends length bytes to the file; false when it cannot be opened or the write fails.
  bool AppendToFile(const char* path);
  // The size of the file at path (0 when it cannot be opened); with a null path, length.
  unsigned int GetFileSize(const char* path);

  // ---- stream ----
  // Writes n bytes at the position, growing the block (see growStep), and sets length to the end
  // of the write; returns the number of bytes copied, 0 for null data or a failed allocation.
  unsigned int Write(const void* data, unsigned int n);
  // Writes the text's bytes, with its terminating zero when withTerminator; 0 for a null text.
  unsigned int WriteString(const char* text, bool withTerminator);
  // Copies up to n bytes from the position (never past length) into out and advances; returns
  // the count, 0 for a null out or at the end of the stream.
  unsigned int Read(void* out, unsigned int n);
  // out := the text from the position up to a zero byte or length; advances past it (and past the
  // zero when skipTerminator). Returns the text's length (+1 with skipTerminator); 0 for an empty
  // block or at the end of the stream.
  unsigned int ReadString(KV_STRING& out, bool skipTerminator);
  // Moves the position: from the start (relative 0) or from the current position (relative 1),
  // backwards with reverse (from the end of the stream when not relative); never past length.
  void Seek(unsigned int offset, bool relative, bool reverse);
  // The position.
  unsigned int Tell() const { return bytes.Tell(); }
  // True when the position is at or past length.
  bool Eof() const { return Tell() >= length; }
  // The first byte of the block; null when there is no block.
  unsigned char* GetData() const { return bytes.data; }
  // Frees the block; length := 0.
  void Clear();
  // length := the capacity; returns it.
  unsigned int FillLength();
  // The buffer itself, where a buffer pointer is expected.
  operator KV_BUFFER*() { return this; }

 private:
  // Replaces the block by one of capacity bytes keeping the first min(keep, capacity) old bytes,
  // the position at the start; false, with nothing changed, when it cannot be allocated.
  bool ReplaceBlock(unsigned int capacity, unsigned int keep);
};
